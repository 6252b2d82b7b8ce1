#include "graph/csvexport.h"

#include "fileio/posixio.h"
#include "fileio/safefile.h"
#include "platform/drivepath.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

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

fileio::Result writeFile(const QString &path, const QByteArray &bytes, const QString &protectedPath)
{
    if (!protectedPath.isEmpty() && sameFile(path, protectedPath)) {
        const QString refusal =
            QStringLiteral("「%1」は記録ファイルなので、書き出し先にはできません。"
                           "別のファイル名を選んでください。")
                .arg(QDir::toNativeSeparators(path));
        return fileio::Result::failure(0, refusal).withMessage(refusal);
    }
    const fileio::Result written = fileio::writeWhole(path, bytes);
    return written.withMessage(
        QStringLiteral("CSV ファイル「%1」に書き出せませんでした。理由: %2。")
            .arg(QDir::toNativeSeparators(path), written.reason()));
}

} // namespace mitoon::csvexport
