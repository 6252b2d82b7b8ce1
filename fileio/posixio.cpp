#include "fileio/posixio.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon::posixio {

bool Descriptor::reset()
{
    if (fd_ < 0)
        return true;
    // close() must not be retried on EINTR on Linux: the descriptor is gone either way.
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

int openFile(const QString &path, int flags, mode_t mode)
{
    const QByteArray native = nativePath(path);
    int fd;
    do {
        fd = ::open(native.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeOnce(int fd, const QByteArray &bytes)
{
    ssize_t written;
    do {
        written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    } while (written < 0 && errno == EINTR);
    if (written < 0)
        return false;
    if (written != bytes.size()) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

std::optional<QByteArray> readAt(int fd, qint64 offset, qsizetype size)
{
    QByteArray bytes(size, '\0');
    ssize_t got;
    do {
        got = ::pread(fd, bytes.data(), size_t(size), off_t(offset));
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

bool lockExclusive(int fd)
{
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result < 0 && errno == EINTR);
    return result == 0;
}

bool clearNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool isFileAt(int fd, const QString &path)
{
    struct stat open = {};
    struct stat named = {};
    return ::fstat(fd, &open) == 0 && ::stat(nativePath(path).constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool sync(int fd)
{
    int result;
    do {
        result = ::fsync(fd);
    } while (result < 0 && errno == EINTR);
    return result == 0 || errno == EINVAL || errno == EROFS;
}

bool syncFolderOf(const QString &path)
{
    Descriptor folder(openFile(QFileInfo(path).path(), O_RDONLY | O_DIRECTORY));
    return folder.valid() && sync(folder.get());
}

bool folderExists(const QString &path)
{
    struct stat status = {};
    return ::stat(nativePath(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace mitoon::posixio
