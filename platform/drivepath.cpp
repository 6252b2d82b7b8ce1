#include "platform/drivepath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>

namespace mitoon::drive {

namespace {

// The help document the set-up installs, embedded in the program.
const QString kHelpDocument = QStringLiteral(":/mitoon/help/mitoon-help.html");

QString dataHome()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // A relative XDG_DATA_HOME is to be ignored; Qt 6.4 still hands it back.
    if (QDir::isAbsolutePath(location))
        return location;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// Installs the help document below `driveRoot` unless a file is already at its path. The
// document is written beside its place and then given its name, which never replaces a file
// that has appeared there meanwhile.
bool installHelpDocument(const QString &driveRoot)
{
    const QString target = mapPath(driveRoot, kHelpFile);
    if (QFileInfo::exists(target))
        return true;
    if (!QDir().mkpath(QFileInfo(target).path()))
        return false;
    QFile source(kHelpDocument);
    QTemporaryFile file(target + QStringLiteral(".XXXXXX"));
    if (!source.open(QIODevice::ReadOnly) || !file.open())
        return false;
    const QByteArray bytes = source.readAll();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    // Readable by all like any other installed file, not only by the owner as temporary files.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    if (!file.rename(target))
        return QFileInfo::exists(target);
    file.setAutoRemove(false);
    return true;
}

// A new drive folder: Tool/devwork for the record file and the help document. It is built
// beside its final place and renamed into it, so no other instance of the program ever sees
// it half made.
bool createDrive(const QString &driveRoot)
{
    if (!QDir().mkpath(QFileInfo(driveRoot).path()))
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
    // The outcome of each drive folder's set-up, by folder: the program has one, a test may
    // point MITOON_DRIVE_C at a new one for each case.
    static QHash<QString, bool> setUp;
    const QString driveRoot = root();
    const auto done = setUp.constFind(driveRoot);
    if (done != setUp.constEnd())
        return *done;
    const bool ok =
        QFileInfo::exists(driveRoot) ? installHelpDocument(driveRoot) : createDrive(driveRoot);
    setUp.insert(driveRoot, ok);
    return ok;
}

QString documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        return QDir::homePath();
    return folder;
}

QString localPath(const QString &windowsPath)
{
    provision();
    return mapPath(root(), windowsPath);
}

} // namespace mitoon::drive
