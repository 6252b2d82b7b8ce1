#pragma once

#include "fileio/result.h"

#include <QString>

// Drive C: of the program's fixed Windows paths, kept in a per-user folder.
//
// The folder is $MITOON_DRIVE_C when that is set, else mitoon/drive_c in the user's data folder
// ($XDG_DATA_HOME, ~/.local/share by default). "C:\Tool\devwork\mitoon.txt" becomes
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

// Sets up the drive folder the way an installer would. A new drive folder gets Tool/devwork
// and the help document at the help path; in an existing one the help document is installed
// when it is missing, and nothing else is touched: no file there is ever replaced. Each drive
// folder is set up at most once per process; later calls return the first outcome, a failure
// with its message naming the folder and the reason.
fileio::Result provision();

// The user's documents folder ("My Documents"), else the home folder when there is none: where
// printed PDF files and exported files are proposed.
QString documentsFolder();

// `windowsPath` on this machine, once the drive folder has been set up.
QString localPath(const QString &windowsPath);

} // namespace mitoon::drive
