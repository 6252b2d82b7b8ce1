#include "app/appinfo.h"

#include "platform/version.h"

namespace mitoon {

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString versionText() { return versionText(kVersionMajor, kVersionMinor, kVersionRevision); }

QString copyrightNotice() { return QStringLiteral("Copyright (C) %1").arg(author()); }

QString warningNotice()
{
    return QString(33, QChar(0x3000))
           + QStringLiteral("このプログラムを使用したことにより生じたいかなる損害についても、作者は一切の責任を負いません。"
                            "本プログラムの著作権は作者に帰属します。"
                            "本プログラムを再利用、改変、またはいかなる場所にも公開する場合は、事前に作者の承諾を得てください。"
                            "以上、ご理解のほどよろしくお願いいたします。");
}

} // namespace mitoon
