#include "graph/csvexport.h"

#include "fileio/posixio.h"
#include "fileio/systemerror.h"
#include "platform/drivepath.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mitoon::csvexport {

namespace {

void appendEye(QString &line, const std::optional<double> &acuity)
{
    line += u',';
    if (acuity)
        line += recordseries::plainNumber(*acuity);
}

void appendLogMar(QString &line, const std::optional<double> &acuity)
{
    line += u',';
    if (acuity)
        line += recordseries::logMarText(*acuity);
}

WriteOutcome failure(const QString &path, int error)
{
    return {false, QStringLiteral("CSV ファイル「%1」に書き出せませんでした。理由: %2。")
                       .arg(QDir::toNativeSeparators(path), systemErrorText(error))};
}

// Whether `a` and `b` name the same file, through links too.
bool sameFile(const QString &a, const QString &b)
{
    if (QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath())
        return true;
    struct stat first = {}, second = {};
    return ::stat(posixio::nativePath(a).constData(), &first) == 0 &&
           ::stat(posixio::nativePath(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

QByteArray csvBytes(const QList<recordseries::AcuityRecord> &records)
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = QStringLiteral("日付,時刻,左目,右目,左目logMAR,右目logMAR") + lineEnd;
    text.reserve(text.size() + records.size() * 40);
    for (const recordseries::AcuityRecord &record : records) {
        text += record.date.toString(u"yyyy-MM-dd") + u',' + record.time.toString(u"HH:mm:ss");
        appendEye(text, record.hidari);
        appendEye(text, record.migi);
        appendLogMar(text, record.hidari);
        appendLogMar(text, record.migi);
        text += lineEnd;
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString proposedPath()
{
    return drive::documentsFolder() + QStringLiteral("/mitoon-records.csv");
}

WriteOutcome writeFile(const QString &path, const QByteArray &bytes, const QString &protectedPath)
{
    if (!protectedPath.isEmpty() && sameFile(path, protectedPath))
        return {false, QStringLiteral("「%1」は記録ファイルなので、書き出し先にはできません。"
                                      "別のファイル名を選んでください。")
                           .arg(QDir::toNativeSeparators(path))};

    const QByteArray target = posixio::nativePath(path);
    struct stat old = {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return failure(path, EISDIR);

    // A fresh name beside the file, so that the rename stays on one file system.
    QString temporaryPath;
    posixio::Descriptor temporary;
    for (int attempt = 0; attempt < 100 && !temporary.valid(); ++attempt) {
        temporaryPath = path + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(),
                                                             8, 16, QLatin1Char('0'));
        temporary = posixio::Descriptor(
            posixio::openFile(temporaryPath, O_WRONLY | O_CREAT | O_EXCL, 0666));
        if (!temporary.valid() && errno != EEXIST)
            break;
    }
    if (!temporary.valid())
        return failure(path, errno);

    const QByteArray temporaryName = posixio::nativePath(temporaryPath);
    if ((exists && ::fchmod(temporary.get(), old.st_mode & 07777) != 0) ||
        !posixio::writeOnce(temporary.get(), bytes) || !posixio::sync(temporary.get()) ||
        !temporary.reset() || std::rename(temporaryName.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        return failure(path, error);
    }
    posixio::syncFolderOf(path);
    return {};
}

} // namespace mitoon::csvexport
