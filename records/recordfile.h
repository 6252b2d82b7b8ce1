#pragma once

#include "fileio/result.h"
#include "records/recordformat.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace mitoon {

// The record file and the three ways the program touches it (RecordText reads it), through the
// program's one way of writing files (fileio/safefile): a record file that is a link to a file
// elsewhere stays a link, and the backups go beside the file it leads to. Neither call leaves
// a half-written file behind:
//  - an append writes its whole line with one write and syncs it to disk before it counts as
//    saved; a line that did not fully reach the disk is taken back out;
//  - a clear writes the header to a temporary file of its own beside the record file, keeps the
//    old file as mitoon.txt.bak (and the backup before it under a dated name) and renames the
//    temporary file over the record file.
// A failure's message names the file and the system's reason.
class RecordFile
{
public:
    // `windowsPath` is the name the user knows, `localPath` where the file is on this machine.
    RecordFile(const QString &windowsPath, const QString &localPath);
    // The program's record file "C:\Tool\devwork\mitoon.txt".
    static RecordFile standard();

    const QString &windowsPath() const { return windowsPath_; }
    const QString &localPath() const { return localPath_; }
    // mitoon.txt.bak beside the file the record file's path leads to.
    QString backupPath() const;

    // Appends one line; creates the file, without a header, when it does not exist.
    fileio::Result append(const QByteArray &line) const;
    // Appends the record line of the results at the clock's moment.
    fileio::Result
    appendRecord(const QString &hidarikekka, const QString &migikekka,
                 const recordformat::Clock &clock = recordformat::systemClock()) const;
    // Leaves the header line as the file's only line. The old file becomes mitoon.txt.bak, and
    // the mitoon.txt.bak before it stays as mitoon.txt.YYYYMMDD-HHMMSS.bak after the clock's
    // moment, so that no clear ever loses records.
    fileio::Result clear(const recordformat::Clock &clock = recordformat::systemClock()) const;
    // What a failure opening or reading the file (RecordText reads it) means for the records:
    // nothing for a file missing in an existing folder, which has no records yet, else a
    // failure that names the file and the reason.
    fileio::Result readOutcome(const fileio::Result &read) const;

private:
    // `result` with the message that names the file, what could not be done and why.
    fileio::Result told(const QString &what, const fileio::Result &result) const;

    QString windowsPath_;
    QString localPath_;
};

} // namespace mitoon
