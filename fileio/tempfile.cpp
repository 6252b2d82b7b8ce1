#include "fileio/tempfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon::tempfile {

namespace {

constexpr int kAttempts = 100;

QString randomName(const QString &file)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString part;
    for (int i = 0; i < 6; ++i)
        part += QLatin1Char(kLetters[QRandomGenerator::system()->bounded(62)]);
    return file + u'.' + part + QStringLiteral(".tmp");
}

bool lockNow(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Copies `from` into the open, empty file `to` and syncs it.
bool copyInto(const QString &from, int to)
{
    posixio::Descriptor source(posixio::openFile(from, O_RDONLY | O_NONBLOCK));
    if (!source.valid())
        return false;
    QByteArray buffer(64 * 1024, '\0');
    for (;;) {
        const ssize_t got = ::read(source.get(), buffer.data(), size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return posixio::sync(to);
        if (!posixio::writeOnce(to, buffer.first(got)))
            return false;
    }
}

} // namespace

std::optional<Temporary> create(const QString &file)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Temporary temporary;
        temporary.path = randomName(file);
        temporary.file = posixio::Descriptor(posixio::openFile(
            temporary.path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK, 0666));
        if (temporary.file.valid()) {
            lockNow(temporary.file.get());
            return temporary;
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

std::optional<Temporary> secondName(const QString &file)
{
    const QByteArray source = posixio::nativePath(file);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Temporary temporary;
        temporary.path = randomName(file);
        // link() never follows a link at the new name and fails where anything stands.
        if (::link(source.constData(), posixio::nativePath(temporary.path).constData()) == 0) {
            temporary.file = posixio::Descriptor(
                posixio::openFile(temporary.path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
            if (temporary.file.valid())
                lockNow(temporary.file.get());
            return temporary;
        }
        if (errno == EEXIST)
            continue;
        if (errno != EPERM && errno != EXDEV && errno != ENOTSUP && errno != EMLINK &&
            errno != ENOSYS)
            return std::nullopt;
        // A file system without hard links gets a copy.
        std::optional<Temporary> copy = create(file);
        if (!copy)
            return std::nullopt;
        if (!copyInto(file, copy->file.get())) {
            const int error = errno;
            ::unlink(posixio::nativePath(copy->path).constData());
            errno = error;
            return std::nullopt;
        }
        return copy;
    }
    errno = EEXIST;
    return std::nullopt;
}

void removeStale(const QString &file)
{
    const QFileInfo info(file);
    const QRegularExpression temporaryName(
        QStringLiteral("^%1\\.(?:[^/]*\\.)?tmp$").arg(QRegularExpression::escape(info.fileName())));
    const QDir folder = info.dir();
    const QStringList names = folder.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (!temporaryName.match(name).hasMatch())
            continue;
        const QByteArray path = posixio::nativePath(folder.filePath(name));
        struct stat status = {};
        if (::lstat(path.constData(), &status) != 0)
            continue;
        if (S_ISREG(status.st_mode)) {
            // A temporary in use is locked by the program using it.
            posixio::Descriptor open(
                posixio::openFile(folder.filePath(name), O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
            if (!open.valid() || !lockNow(open.get()))
                continue;
        } else if (S_ISDIR(status.st_mode)) {
            continue;
        }
        // unlink() removes the name itself: a link goes, what it points to stays.
        ::unlink(path.constData());
    }
}

} // namespace mitoon::tempfile
