#include "platform/drivepath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace mitoon::drive {

namespace {

// The help document the provisioning installs, embedded in the program.
const QString kHelpDocument = QStringLiteral(":/mitoon/help/mitoon-help.html");

QString dataHome()
{
    // Only an absolute XDG_DATA_HOME counts; an empty or relative one means the default.
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

bool installHelpDocument(const QString &driveRoot)
{
    const QString target = mapPath(driveRoot, kHelpFile);
    if (!QDir().mkpath(QFileInfo(target).path()))
        return false;
    QFile source(kHelpDocument);
    QFile file(target);
    if (!source.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = source.readAll();
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

QString root()
{
    const QString override = qEnvironmentVariable("MITOON_DRIVE_C");
    if (!override.isEmpty())
        return QDir::cleanPath(override);
    return dataHome() + QStringLiteral("/mitoon/drive_c");
}

QString mapPath(const QString &driveRoot, const QString &windowsPath)
{
    if (windowsPath.size() < 3 || windowsPath.at(0).toUpper() != u'C' ||
        windowsPath.at(1) != u':' || windowsPath.at(2) != u'\\')
        return QString();
    QString rest = windowsPath.mid(3);
    rest.replace(u'\\', u'/');
    return driveRoot + u'/' + rest;
}

bool provision()
{
    const QString driveRoot = root();
    if (QFileInfo::exists(driveRoot))
        return true;

    // The folder is built beside its final place and renamed into it, so an interrupted
    // set-up never leaves a drive folder without its help document.
    const QString parent = QFileInfo(driveRoot).path();
    if (!QDir().mkpath(parent))
        return false;
    QTemporaryDir staging(driveRoot + QStringLiteral(".XXXXXX"));
    if (!staging.isValid())
        return false;
    const QString devwork = QFileInfo(mapPath(staging.path(), kRecordFile)).path();
    if (!QDir().mkpath(devwork) || !installHelpDocument(staging.path()))
        return false;
    if (std::rename(QFile::encodeName(staging.path()).constData(),
                    QFile::encodeName(driveRoot).constData()) == 0) {
        staging.setAutoRemove(false);
        return true;
    }
    // Another instance of the program may have set it up meanwhile.
    return QFileInfo::exists(driveRoot);
}

QString localPath(const QString &windowsPath)
{
    provision();
    return mapPath(root(), windowsPath);
}

} // namespace mitoon::drive
