#pragma once

#include "platform/drivepath.h"
#include "records/recordformat.h"

#include <QString>

class QWidget;

// The work behind the main window's File and Help commands and its save button.
namespace mitoon::menucommands {

// "記録を見る" (mnuFileOpen_Click): shows the one records window, modeless and without an
// owner; when it is open or hidden already, the same window comes back.
void mnuFileOpen();

// "記録のグラフ" (mnuFileGurafu_Click): opens the one graph window of the records, modeless and
// without an owner, on the screen of `mainWindow`; when it is open already, it comes to the
// front with the record file read again.
void mnuFileGurafu(const QWidget *mainWindow);

// "今回の結果を保存" (kekkakiroku_Click) and "結果を保存" (mnuFileupdate_Click): appends the
// record line of both eyes' results. When the file cannot be written, a message box under
// `parent` names the file and the system's reason, and the call returns false; the results
// themselves stay where they are.
bool saveResults(QWidget *parent, const QString &hidarikekka, const QString &migikekka,
                 const recordformat::Clock &clock = recordformat::systemClock());

// "ﾍﾙﾌﾟ" (mnuHelpContents_Click): opens the help file at its contents in the help viewer.
// An empty help-file property gets an information box titled with `mainWindow`'s caption; an
// error raised while calling the viewer gets a box with its description titled with the
// application's title. What the viewer itself cannot do, it shows itself.
void openHelpContents(QWidget *mainWindow, const QString &helpFileProperty = drive::kHelpFile);

// The texts of those boxes.
QString noHelpMessage();
QString noWindowMessage();
QString unconvertiblePathMessage(const QString &helpFile);

} // namespace mitoon::menucommands
