#include "fileio/safefile.h"

#include "fileio/outsidefile.h"
#include "fileio/posixio.h"
#include "fileio/tempfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon::fileio {

using posixio::Descriptor;

namespace {

Result notRegular()
{
    return Result::failure(0, outsidefile::notRegularReason());
}

// Puts the temporary file in the target's place: over it, or only where nothing stands.
bool putInPlace(const QByteArray &temporary, const QByteArray &target, bool replace)
{
    if (replace)
        return std::rename(temporary.constData(), target.constData()) == 0;
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without RENAME_NOREPLACE: link() also fails where anything stands.
    if (::link(temporary.constData(), target.constData()) != 0)
        return false;
    ::unlink(temporary.constData());
    return true;
}

struct AppendFile
{
    Descriptor file;
    bool readable = false;
    bool created = false;
};

// Opens the file for appending, without waiting for whatever stands there: for reading and
// writing where it may be read (to look at its end), else for writing only. Appending never
// truncates; the file is created only when it is really missing, and never through a link.
AppendFile openForAppend(const QString &path)
{
    AppendFile opened;
    for (const int access : {O_RDWR, O_WRONLY}) {
        const int flags = access | O_APPEND | O_NONBLOCK;
        opened.file = Descriptor(posixio::openFile(path, flags));
        if (!opened.file.valid() && errno == ENOENT) {
            opened.file = Descriptor(posixio::openFile(path, flags | O_CREAT | O_EXCL));
            opened.created = opened.file.valid();
            if (!opened.created && errno == EEXIST)
                opened.file = Descriptor(posixio::openFile(path, flags));
        }
        opened.readable = access == O_RDWR;
        if (opened.file.valid() || errno != EACCES)
            break;
    }
    return opened;
}

} // namespace

std::optional<QString> resolve(const QString &path, Result *failure)
{
    const QByteArray local = posixio::nativePath(path);
    if (char *resolved = ::realpath(local.constData(), nullptr)) {
        const QString target = QFile::decodeName(resolved);
        std::free(resolved);
        return target;
    }
    const int error = errno;
    *failure = Result::failure(error);
    if (error != ENOENT)
        return std::nullopt;
    // A missing file is made where its path says; a link that leads nowhere is no file.
    struct stat status = {};
    if (::lstat(local.constData(), &status) == 0)
        return std::nullopt;
    *failure = Result();
    return path;
}

Result writeWhole(const QString &path, const QByteArray &bytes, const WriteOptions &options)
{
    Result failure;
    const std::optional<QString> resolved = resolve(path, &failure);
    if (!resolved)
        return failure;
    const QString &target = *resolved;
    const QByteArray targetName = posixio::nativePath(target);

    struct stat old = {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return Result::failure(errno);
    if (exists && S_ISDIR(old.st_mode))
        return Result::failure(EISDIR);
    // Replacing a FIFO or a device with a file would change what the path is.
    if (exists && !S_ISREG(old.st_mode))
        return notRegular();
    if (exists && !options.replace)
        return Result::failure(EEXIST);

    tempfile::removeStale(target);
    std::optional<tempfile::Temporary> temporary = tempfile::create(target);
    if (!temporary)
        return Result::failure(errno);
    const QByteArray temporaryName = posixio::nativePath(temporary->path);
    const auto fail = [&temporaryName](const Result &result) {
        ::unlink(temporaryName.constData());
        return result;
    };
    // A replaced file keeps its permissions.
    const std::optional<mode_t> mode =
        exists ? std::optional<mode_t>(old.st_mode & 07777) : options.permissions;
    if ((mode && ::fchmod(temporary->file.get(), *mode) != 0) ||
        !posixio::writeOnce(temporary->file.get(), bytes) || !posixio::sync(temporary->file.get()))
        return fail(Result::failure(errno));
    if (options.beforeReplacing)
        if (const Result kept = options.beforeReplacing(target, exists); !kept.ok())
            return fail(kept);
    if (!putInPlace(temporaryName, targetName, options.replace))
        return fail(Result::failure(errno));
    posixio::syncFolderOf(target);
    return {};
}

Result appendLine(const QString &path, const QByteArray &line, const AppendOptions &options)
{
    Result failure;
    const std::optional<QString> resolved = resolve(path, &failure);
    if (!resolved)
        return failure;
    const QString &target = *resolved;
    // A whole-file write may put a new file in place while this save waits for its lock; the
    // save then goes to the new file.
    for (int attempt = 1;; ++attempt) {
        AppendFile opened = openForAppend(target);
        Descriptor &file = opened.file;
        struct stat status = {};
        if (!file.valid() || ::fstat(file.get(), &status) != 0)
            return Result::failure(errno);
        // A FIFO would keep the program waiting or take the line away unseen. A device is
        // written as it is: /dev/full reports a full disk.
        if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
            return notRegular();
        posixio::clearNonBlocking(file.get());
        const bool regular = S_ISREG(status.st_mode);
        if (regular) {
            // One save at a time, so that no other save comes between the look at the file's
            // end and the write.
            posixio::lockExclusive(file.get());
            if (attempt < 3 && !posixio::isFileAt(file.get(), target))
                continue;
            if (::fstat(file.get(), &status) != 0)
                return Result::failure(errno);
        }

        // The line end before the line and the header go in with the line, in the same write.
        QByteArray bytes = line;
        if (regular && status.st_size == 0) {
            bytes.prepend(options.header);
        } else if (regular && opened.readable) {
            const qsizetype tail = qMin<qint64>(status.st_size, 2);
            const std::optional<QByteArray> end =
                posixio::readAt(file.get(), status.st_size - tail, tail);
            if (!end)
                return Result::failure(errno);
            if (!end->endsWith("\r\n"))
                bytes.prepend(end->endsWith('\r') ? "\n" : "\r\n");
        }
        if (!posixio::writeOnce(file.get(), bytes) || !posixio::sync(file.get())) {
            const int error = errno;
            // Taken back out, so that saving again does not write the line twice.
            if (regular)
                (void)::ftruncate(file.get(), status.st_size);
            return Result::failure(error);
        }
        file.reset();
        if (opened.created)
            posixio::syncFolderOf(target);
        return {};
    }
}

int realCause(const QString &path, int error)
{
    if (error != ENOENT)
        return error;
    QString folder = QFileInfo(path).path();
    bool missing = false;
    for (struct stat status = {}; ::stat(posixio::nativePath(folder).constData(), &status) != 0;) {
        if (errno != ENOENT)
            return errno;
        missing = true;
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return ENOENT;
        folder = parent;
    }
    if (missing && ::access(posixio::nativePath(folder).constData(), W_OK | X_OK) != 0 &&
        (errno == EACCES || errno == EPERM || errno == EROFS))
        return errno;
    return ENOENT;
}

Result told(const Result &result, const QString &subject, const QString &windowsPath,
            const QString &localPath, const QString &what)
{
    if (result.ok())
        return result;
    const int cause = realCause(localPath, result.error());
    const Result failure = cause == result.error() ? result : Result::failure(cause);
    return failure.withMessage(QStringLiteral("%1 %2（%3）%4。理由: %5。")
                                   .arg(subject, windowsPath, localPath, what, failure.reason()));
}

} // namespace mitoon::fileio
