#include "records/recordbackups.h"

#include "fileio/posixio.h"
#include "fileio/tempfile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon::recordbackups {

namespace {

// Gives `backup` a second name of its own, `record`.YYYYMMDD-HHMMSS.bak after `now`, never
// taking the name of a file that is there.
bool keepUnderDatedName(const QString &record, const QByteArray &backup, const QDateTime &now)
{
    const QString stem = record + u'.' + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int number = 1; number < 1000; ++number) {
        const QString suffix = number == 1 ? QString() : QStringLiteral("-%1").arg(number);
        const QByteArray name = posixio::nativePath(stem + suffix + kSuffix);
        // link() fails where anything stands; a file system without hard links moves the
        // backup instead, which the new .bak then replaces.
        if (::link(backup.constData(), name.constData()) == 0)
            return true;
        if (errno == EPERM || errno == EXDEV || errno == ENOTSUP || errno == EMLINK) {
            if (::renameat2(AT_FDCWD, backup.constData(), AT_FDCWD, name.constData(),
                            RENAME_NOREPLACE) == 0)
                return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

} // namespace

bool keep(const QString &record, const QDateTime &now)
{
    // The file gets a second name, and that name replaces the .bak in one rename, after the
    // .bak has a dated name of its own.
    const std::optional<tempfile::Temporary> pending = tempfile::secondName(record);
    if (!pending)
        return false;
    const QByteArray pendingName = posixio::nativePath(pending->path);
    const QByteArray backupName = posixio::nativePath(record + kSuffix);
    struct stat previous = {};
    if ((::lstat(backupName.constData(), &previous) == 0 &&
         !keepUnderDatedName(record, backupName, now)) ||
        std::rename(pendingName.constData(), backupName.constData()) != 0) {
        const int error = errno;
        ::unlink(pendingName.constData());
        errno = error;
        return false;
    }
    return true;
}

} // namespace mitoon::recordbackups
