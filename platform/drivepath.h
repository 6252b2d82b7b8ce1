#pragma once

#include <QString>

// Drive C: of the program's fixed Windows paths, kept in a per-user folder.
//
// The folder is $MITOON_DRIVE_C when that is set, else $XDG_DATA_HOME/mitoon/drive_c
// (~/.local/share/mitoon/drive_c). "C:\Tool\devwork\mitoon.txt" becomes
// <drive>/Tool/devwork/mitoon.txt: backslashes turn into '/', names stay as written.
namespace mitoon::drive {

// The record file of the results.
inline const QString kRecordFile = QStringLiteral("C:\\Tool\\devwork\\mitoon.txt");
// The application's help file.
inline const QString kHelpFile = QStringLiteral("C:\\Tool\\HELP\\HELPファイル\\MITOON.HLP");

// The drive folder for the current environment.
QString root();

// `windowsPath` below `driveRoot`. Only drive C: exists; any other path maps to an empty string.
QString mapPath(const QString &driveRoot, const QString &windowsPath);

// Sets up the drive folder the way an installer would, once: when it does not exist yet it
// creates Tool/devwork and installs the help document at the help path. An existing drive
// folder is left exactly as it is. Returns false when the folder could not be set up.
bool provision();

// `windowsPath` on this machine, after provisioning the drive folder if it is missing.
QString localPath(const QString &windowsPath);

} // namespace mitoon::drive
