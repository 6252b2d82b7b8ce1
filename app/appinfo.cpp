#include "app/appinfo.h"

#include "app/version.h"

namespace mitoon {

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString versionText()
{
    return versionText(kVersionMajor, kVersionMinor, kVersionRevision);
}

QString versionCaption(const QString &word, int major, int minor, int revision)
{
    return word + u' ' + versionText(major, minor, revision);
}

QString versionCaption(const QString &word)
{
    return word + u' ' + versionText();
}

QString copyrightNotice()
{
    return QStringLiteral("(C) 2026 ") + author();
}

QString warningNotice()
{
    return QString(33, QChar(0x3000)) +
           QStringLiteral("本プログラムの使用による損害について作者は一切責任を負いません。"
                          "著作権は作者にあります。"
                          "再利用・改変・公開には作者の承諾が必要です。"
                          "ご了承ください。");
}

} // namespace mitoon
