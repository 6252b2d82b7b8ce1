#include "records/recordfile.h"

#include "fileio/posixio.h"
#include "fileio/safefile.h"
#include "platform/drivepath.h"
#include "records/recordbackups.h"

#include <QFileInfo>

#include <cerrno>

namespace mitoon {

RecordFile::RecordFile(const QString &windowsPath, const QString &localPath)
    : windowsPath_(windowsPath), localPath_(localPath)
{
}

RecordFile RecordFile::standard()
{
    return RecordFile(drive::kRecordFile, drive::localPath(drive::kRecordFile));
}

QString RecordFile::backupPath() const
{
    fileio::Result failure;
    return fileio::resolve(localPath_, &failure).value_or(localPath_) + recordbackups::kSuffix;
}

fileio::Result RecordFile::told(const QString &what, const fileio::Result &result) const
{
    return fileio::told(result, QStringLiteral("記録ファイル"), windowsPath_, localPath_, what);
}

fileio::Result RecordFile::append(const QByteArray &line) const
{
    return told(QStringLiteral("に保存できませんでした"), fileio::appendLine(localPath_, line));
}

fileio::Result RecordFile::appendRecord(const QString &hidarikekka, const QString &migikekka,
                                        const recordformat::Clock &clock) const
{
    return append(recordformat::recordLine(clock(), hidarikekka, migikekka));
}

fileio::Result RecordFile::clear(const recordformat::Clock &clock) const
{
    fileio::WriteOptions options;
    options.beforeReplacing = [&clock](const QString &record, bool exists) {
        if (exists && !recordbackups::keep(record, clock()))
            return fileio::Result::failure(errno);
        return fileio::Result();
    };
    return told(QStringLiteral("のデータを削除できませんでした"),
                fileio::writeWhole(localPath_, recordformat::headerLine(), options));
}

fileio::Result RecordFile::readOutcome(const fileio::Result &read) const
{
    // No file yet in an existing folder simply means no records yet.
    if (read.ok() ||
        (read.error() == ENOENT && posixio::folderExists(QFileInfo(localPath_).path())))
        return {};
    return told(QStringLiteral("を読み込めませんでした"), read);
}

} // namespace mitoon
