#pragma once

#include <QDateTime>
#include <QString>

// The copies a clear keeps of the record file, beside it: mitoon.txt.bak holds the newest, and
// each one before it keeps a dated name of its own, mitoon.txt.YYYYMMDD-HHMMSS.bak after the
// local time of the clear that moved it aside. No name is ever written twice.
namespace mitoon::recordbackups {

inline const QString kSuffix = QStringLiteral(".bak");

// Keeps the file `record` as it is now as its .bak, the .bak before it under the dated name of
// `now` (with -2, -3, ... when that name is taken). The copy is a second name of the file (a
// hard link), or a real copy where the file system has no hard links. False, errno set, when
// no copy could be kept; the .bak is then as it was.
bool keep(const QString &record, const QDateTime &now);

} // namespace mitoon::recordbackups
