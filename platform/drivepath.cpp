#include "platform/drivepath.h"

#include "fileio/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
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

// Installs the help document below `driveRoot` unless a file is already at its path; a file
// that appears there meanwhile is never replaced either.
fileio::Result installHelpDocument(const QString &driveRoot)
{
    const QString target = mapPath(driveRoot, kHelpFile);
    if (QFileInfo::exists(target))
        return {};
    if (!QDir().mkpath(QFileInfo(target).path()))
        return fileio::Result::failure(fileio::realCause(target, ENOENT));
    QFile source(kHelpDocument);
    if (!source.open(QIODevice::ReadOnly))
        return fileio::Result::failure(ENOENT);
    // Readable by all like any other installed file.
    fileio::WriteOptions options;
    options.replace = false;
    options.permissions = 0644;
    const fileio::Result written = fileio::writeWhole(target, source.readAll(), options);
    if (!written.ok() && written.error() == EEXIST)
        return {};
    return written;
}

// A new drive folder: Tool/devwork for the record file and the help document. It is built
// beside its final place and renamed into it, so no other instance of the program ever sees
// it half made.
fileio::Result createDrive(const QString &driveRoot)
{
    if (!QDir().mkpath(QFileInfo(driveRoot).path()))
        return fileio::Result::failure(fileio::realCause(driveRoot, ENOENT));
    QTemporaryDir staging(driveRoot + QStringLiteral(".XXXXXX"));
    if (!staging.isValid())
        return fileio::Result::failure(fileio::realCause(driveRoot, ENOENT));
    const QString devwork = QFileInfo(mapPath(staging.path(), kRecordFile)).path();
    if (!QDir().mkpath(devwork))
        return fileio::Result::failure(fileio::realCause(devwork, ENOENT));
    if (const fileio::Result help = installHelpDocument(staging.path()); !help.ok())
        return help;
    if (std::rename(QFile::encodeName(staging.path()).constData(),
                    QFile::encodeName(driveRoot).constData()) == 0) {
        staging.setAutoRemove(false);
        return {};
    }
    // Another instance of the program may have set it up meanwhile.
    const int error = errno;
    return QFileInfo::exists(driveRoot) ? fileio::Result() : fileio::Result::failure(error);
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

fileio::Result provision()
{
    // The outcome of each drive folder's set-up, by folder: the program has one, a test may
    // point MITOON_DRIVE_C at a new one for each case.
    static QHash<QString, fileio::Result> setUp;
    const QString driveRoot = root();
    const auto done = setUp.constFind(driveRoot);
    if (done != setUp.constEnd())
        return *done;
    const fileio::Result result =
        QFileInfo::exists(driveRoot) ? installHelpDocument(driveRoot) : createDrive(driveRoot);
    const fileio::Result told = result.withMessage(
        QStringLiteral("ドライブのフォルダー %1 を用意できませんでした。理由: %2。")
            .arg(driveRoot, result.reason()));
    setUp.insert(driveRoot, told);
    return told;
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
