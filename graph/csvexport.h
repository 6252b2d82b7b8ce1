#pragma once

#include "fileio/result.h"
#include "graph/recordseries.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The records as a CSV file for spreadsheets: UTF-8 with a byte-order mark (so that
// spreadsheets take it for UTF-8), CR LF after every line, the header
// `日付,時刻,左目,右目,左目logMAR,右目logMAR`, then one line per record in the order of the
// record file: `2026-12-09,12:17:01,1.1,0.3,-0.04,0.52`. Dates are ISO, '.' is the decimal
// mark, logMAR has two decimals, and an eye that was not measured leaves both its fields empty.
// No field ever needs quotation marks.
namespace mitoon::csvexport {

QByteArray csvBytes(const QList<recordseries::AcuityRecord> &records);

// What the save dialog proposes: mitoon-records.csv in the documents folder (the home folder
// when there is none).
QString proposedPath();

// Writes `bytes` as the file `path` in one step (fileio::writeWhole), so that a failure leaves
// any old file as it was and no half file behind; the message of a failure names the file and
// the system's reason. `protectedPath` (the record file) is never written.
fileio::Result writeFile(const QString &path, const QByteArray &bytes,
                         const QString &protectedPath = QString());

} // namespace mitoon::csvexport
