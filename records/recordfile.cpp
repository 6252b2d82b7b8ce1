#include "records/recordfile.h"

#include "fileio/posixio.h"
#include "fileio/systemerror.h"
#include "fileio/tempfile.h"
#include "platform/drivepath.h"
#include "records/recordbackups.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon {

using posixio::Descriptor;

RecordFile::RecordFile(const QString &windowsPath, const QString &localPath)
    : windowsPath_(windowsPath), localPath_(localPath)
{
}

RecordFile RecordFile::standard()
{
    return RecordFile(drive::kRecordFile, drive::localPath(drive::kRecordFile));
}

namespace {

struct AppendFile
{
    Descriptor file;
    bool readable = false;
    bool created = false;
};

// Opens the record file for appending, without waiting for whatever stands there: for reading
// and writing where it may be read (to look at its end), else for writing only. Appending never
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

std::optional<QString> RecordFile::resolved(int *error) const
{
    const QByteArray local = posixio::nativePath(localPath_);
    if (char *path = ::realpath(local.constData(), nullptr)) {
        const QString target = QFile::decodeName(path);
        std::free(path);
        return target;
    }
    *error = errno;
    if (errno != ENOENT)
        return std::nullopt;
    // A missing file is made where its path says; a link that leads nowhere is no record file.
    struct stat status = {};
    if (::lstat(local.constData(), &status) == 0)
        return std::nullopt;
    return localPath_;
}

QString RecordFile::backupPath() const
{
    int error = 0;
    return resolved(&error).value_or(localPath_) + recordbackups::kSuffix;
}

FileOutcome RecordFile::failure(const QString &what, int error) const
{
    const int cause = realCause(error);
    return failure(what, cause, systemErrorText(cause));
}

int RecordFile::realCause(int error) const
{
    if (error != ENOENT)
        return error;
    // A missing folder may hide the real cause: it could not be made where it belongs (the
    // drive folder's set-up failed there for want of permission, or on a read-only disk).
    QString folder = QFileInfo(localPath_).path();
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

FileOutcome RecordFile::failure(const QString &what, int error, const QString &reason) const
{
    FileOutcome outcome;
    outcome.ok = false;
    outcome.error = error;
    outcome.message = QStringLiteral("記録ファイル %1（%2）%3。理由: %4。")
                          .arg(windowsPath_, localPath_, what, reason);
    return outcome;
}

FileOutcome RecordFile::append(const QByteArray &line) const
{
    const QString what = QStringLiteral("に保存できませんでした");
    int error = 0;
    const std::optional<QString> target = resolved(&error);
    if (!target)
        return failure(what, error);
    const QString &path = *target;
    // A clear may put a new file in place while this save waits for its lock; the save then
    // goes to the new file.
    for (int attempt = 1;; ++attempt) {
        AppendFile opened = openForAppend(path);
        Descriptor &file = opened.file;
        struct stat status = {};
        if (!file.valid() || ::fstat(file.get(), &status) != 0)
            return failure(what, errno);
        // A FIFO would keep the program waiting or take the line away unseen. A device is
        // written as it is: /dev/full reports a full disk.
        if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
            return failure(what, 0, outsidefile::notRegularReason());
        posixio::clearNonBlocking(file.get());
        const bool regular = S_ISREG(status.st_mode);
        if (regular) {
            // One save at a time, so that no other save comes between the look at the file's
            // end and the write.
            posixio::lockExclusive(file.get());
            if (attempt < 3 && !posixio::isFileAt(file.get(), path))
                continue;
            if (::fstat(file.get(), &status) != 0)
                return failure(what, errno);
        }

        // A save always starts on a fresh line, whatever left the file without a line end at
        // its end; the line end goes in with the line, in the same single write.
        QByteArray bytes = line;
        if (regular && status.st_size > 0 && opened.readable) {
            const qsizetype tail = qMin<qint64>(status.st_size, 2);
            const std::optional<QByteArray> end =
                posixio::readAt(file.get(), status.st_size - tail, tail);
            if (!end)
                return failure(what, errno);
            if (!end->endsWith("\r\n"))
                bytes.prepend(end->endsWith('\r') ? "\n" : "\r\n");
        }
        if (!posixio::writeOnce(file.get(), bytes) || !posixio::sync(file.get())) {
            const int error = errno;
            // A line that may not have reached the disk whole is taken back out, so the file
            // keeps whole lines only and saving again does not write the line twice.
            if (regular)
                (void)::ftruncate(file.get(), status.st_size);
            return failure(what, error);
        }
        file.reset();
        if (opened.created)
            posixio::syncFolderOf(path);
        return {};
    }
}

FileOutcome RecordFile::appendRecord(const QString &hidarikekka, const QString &migikekka,
                                     const recordformat::Clock &clock) const
{
    return append(recordformat::recordLine(clock(), hidarikekka, migikekka));
}

FileOutcome RecordFile::clear(const recordformat::Clock &clock) const
{
    const QString what = QStringLiteral("のデータを削除できませんでした");
    int error = 0;
    const std::optional<QString> target = resolved(&error);
    if (!target)
        return failure(what, error);
    const QString &record = *target;
    const QByteArray recordName = posixio::nativePath(record);

    struct stat old = {};
    const bool exists = ::stat(recordName.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return failure(what, errno);
    if (exists && S_ISDIR(old.st_mode))
        return failure(what, EISDIR);
    // Replacing a FIFO or a device with a file would change what the path is.
    if (exists && !S_ISREG(old.st_mode))
        return failure(what, 0, outsidefile::notRegularReason());

    tempfile::removeStale(record);
    // The header goes into a new file of its own beside the record file, which then replaces
    // the record file in one rename.
    std::optional<tempfile::Temporary> temporary = tempfile::create(record);
    if (!temporary)
        return failure(what, errno);
    const QByteArray temporaryName = posixio::nativePath(temporary->path);
    // The new file keeps the old file's permissions.
    if ((exists && ::fchmod(temporary->file.get(), old.st_mode & 07777) != 0) ||
        !posixio::writeOnce(temporary->file.get(), recordformat::headerLine()) ||
        !posixio::sync(temporary->file.get())) {
        error = errno;
        ::unlink(temporaryName.constData());
        return failure(what, error);
    }
    if (exists && !recordbackups::keep(record, clock())) {
        error = errno;
        ::unlink(temporaryName.constData());
        return failure(what, error);
    }
    if (std::rename(temporaryName.constData(), recordName.constData()) != 0) {
        error = errno;
        ::unlink(temporaryName.constData());
        return failure(what, error);
    }
    posixio::syncFolderOf(record);
    return {};
}

FileOutcome RecordFile::readOutcome(const outsidefile::Problem &problem) const
{
    const QString what = QStringLiteral("を読み込めませんでした");
    if (problem.error != ENOENT)
        return failure(what, problem.error, problem.reason);
    // No file yet in an existing folder simply means no records yet.
    if (posixio::folderExists(QFileInfo(localPath_).path()))
        return {};
    return failure(what, ENOENT);
}

} // namespace mitoon
