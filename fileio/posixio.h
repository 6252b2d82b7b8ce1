#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

// Thin wrappers over the POSIX calls the record file needs, retrying on EINTR. Each returns
// false with errno set when the call failed.
namespace mitoon::posixio {

// An open descriptor that closes itself.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor(Descriptor &&other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now; false (errno set) when close() reported an error.
    bool reset();

private:
    int fd_;
};

QByteArray nativePath(const QString &path);

int openFile(const QString &path, int flags, mode_t mode = 0666);
// Writes `bytes` with one write(2); a short write counts as a failure (ENOSPC).
bool writeOnce(int fd, const QByteArray &bytes);
// The `size` bytes at `offset`, or nothing (errno set) when they cannot be read.
std::optional<QByteArray> readAt(int fd, qint64 offset, qsizetype size);
// Waits for an exclusive lock on the open file (flock); false when the file system has none.
bool lockExclusive(int fd);
// Lets reads and writes wait again on a descriptor opened with O_NONBLOCK.
bool clearNonBlocking(int fd);
// Whether the open file is the one at `path` now.
bool isFileAt(int fd, const QString &path);
// fsync; a descriptor that cannot be synced (a device, a pipe) counts as synced.
bool sync(int fd);
// Syncs the folder of `path`, so that a created or renamed entry is on disk.
bool syncFolderOf(const QString &path);
bool folderExists(const QString &path);

} // namespace mitoon::posixio
