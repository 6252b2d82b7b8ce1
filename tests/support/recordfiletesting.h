#pragma once

#include "records/recordfile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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
struct ReadOutcome : fileio::Result
{
    QStringList lines;
};
ReadOutcome readRecords(const RecordFile &file);

// Runs `operation` as a user without special rights, so that file permissions apply even when
// the tests run as root: a child process drops to "nobody" and reports the outcome back.
fileio::Result runUnprivileged(const std::function<fileio::Result()> &operation);
// The same for an operation that reports in bytes of its own; nothing when the child failed.
std::optional<QByteArray> runUnprivileged(const std::function<QByteArray()> &operation);

// Runs `operation` in a child process that has a file system of its own at `folder`: a tmpfs
// of `bytes` bytes, filled by `prepare` and then made read-only when `readOnly`. The file system
// goes with the child. Gives back what `operation` returned, or nothing when mounting is not
// allowed here (it needs root).
std::optional<QByteArray> runOnOwnFileSystem(const QString &folder, qint64 bytes, bool readOnly,
                                             const std::function<void()> &prepare,
                                             const std::function<QByteArray()> &operation);
// An outcome as bytes and back, to report it from a child process.
QByteArray serialized(const fileio::Result &outcome);
fileio::Result deserialized(const QByteArray &report);

} // namespace mitoon::testing
