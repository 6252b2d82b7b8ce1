#include "records/recordfile.h"

#include "platform/drivepath.h"
#include "platform/posixio.h"
#include "platform/systemerror.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdio>
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

FileOutcome RecordFile::failure(const QString &what, int error) const
{
    return failure(what, error, systemErrorText(error));
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
    // Appending never truncates; the file is created only when it is really missing, and then
    // its folder entry is synced as well.
    bool created = false;
    Descriptor file(posixio::openFile(localPath_, O_WRONLY | O_APPEND));
    if (!file.valid() && errno == ENOENT) {
        file = Descriptor(posixio::openFile(localPath_, O_WRONLY | O_APPEND | O_CREAT | O_EXCL));
        created = file.valid();
        if (!created && errno == EEXIST)
            file = Descriptor(posixio::openFile(localPath_, O_WRONLY | O_APPEND));
    }
    if (!file.valid())
        return failure(QStringLiteral("に保存できませんでした"), errno);

    struct stat status = {};
    const bool regular = ::fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode);
    if (!posixio::writeOnce(file.get(), line) || !posixio::sync(file.get())) {
        const int error = errno;
        // A line that may not have reached the disk whole is taken back out, so the file keeps
        // whole lines only and saving again does not write the line twice.
        if (regular)
            (void)::ftruncate(file.get(), status.st_size);
        return failure(QStringLiteral("に保存できませんでした"), error);
    }
    file.reset();
    if (created)
        posixio::syncFolderOf(localPath_);
    return {};
}

FileOutcome RecordFile::appendRecord(const QString &hidarikekka, const QString &migikekka,
                                     const recordformat::Clock &clock) const
{
    return append(recordformat::recordLine(clock(), hidarikekka, migikekka));
}

bool RecordFile::keepBackup(int *error) const
{
    // The old file gets a second name and that name replaces the previous .bak in one rename.
    // A file system without hard links gets a copy instead.
    const QString pending = backupPath() + QStringLiteral(".tmp");
    const QByteArray pendingName = posixio::nativePath(pending);
    ::unlink(pendingName.constData());
    if (::link(posixio::nativePath(localPath_).constData(), pendingName.constData()) != 0 &&
        !posixio::copyFile(localPath_, pending)) {
        *error = errno;
        ::unlink(pendingName.constData());
        return false;
    }
    if (std::rename(pendingName.constData(), posixio::nativePath(backupPath()).constData()) != 0) {
        *error = errno;
        ::unlink(pendingName.constData());
        return false;
    }
    return true;
}

FileOutcome RecordFile::clear() const
{
    const QString what = QStringLiteral("のデータを削除できませんでした");
    const QByteArray recordName = posixio::nativePath(localPath_);
    const QByteArray temporaryName = posixio::nativePath(temporaryPath());

    struct stat old = {};
    const bool exists = ::stat(recordName.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return failure(what, errno);
    if (exists && S_ISDIR(old.st_mode))
        return failure(what, EISDIR);

    Descriptor temporary(posixio::openFile(temporaryPath(), O_WRONLY | O_CREAT | O_TRUNC));
    if (!temporary.valid())
        return failure(what, errno);
    int error = 0;
    // The new file keeps the old file's permissions.
    if ((exists && ::fchmod(temporary.get(), old.st_mode & 07777) != 0) ||
        !posixio::writeOnce(temporary.get(), recordformat::headerLine()) ||
        !posixio::sync(temporary.get()) || !temporary.reset()) {
        error = errno;
        ::unlink(temporaryName.constData());
        return failure(what, error);
    }
    if (exists && !keepBackup(&error)) {
        ::unlink(temporaryName.constData());
        return failure(what, error);
    }
    if (std::rename(temporaryName.constData(), recordName.constData()) != 0) {
        error = errno;
        ::unlink(temporaryName.constData());
        return failure(what, error);
    }
    posixio::syncFolderOf(localPath_);
    return {};
}

FileOutcome RecordFile::readOutcome(const outsidefile::Problem &problem) const
{
    if (problem.error == ENOENT && posixio::folderExists(QFileInfo(localPath_).path()))
        return {};
    return failure(QStringLiteral("を読み込めませんでした"), problem.error, problem.reason);
}

} // namespace mitoon
