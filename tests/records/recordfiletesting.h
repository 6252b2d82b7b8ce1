#pragma once

#include "records/recordfile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

namespace mitoon::testing {

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the records window reads from `file`: the outcome, and the lines of the whole text.
struct ReadOutcome : FileOutcome
{
    QStringList lines;
};
ReadOutcome readRecords(const RecordFile &file);

// Runs `operation` as a user without special rights, so that file permissions apply even when
// the tests run as root: a child process drops to "nobody" and reports the outcome back.
FileOutcome runUnprivileged(const std::function<FileOutcome()> &operation);

} // namespace mitoon::testing
