#pragma once

#include <QRect>

class QWidget;

// Where the program's windows go on the screens: each wholly on the screen that holds the main
// window, within the part of it that windows may use (QScreen::availableGeometry).
namespace mitoon::screenplacement {

// `outer` moved, and shrunk where it is `sizable`, so that it lies wholly within `area`. A
// window that cannot shrink and is larger than the area keeps its top-left corner in it.
QRect keepInside(const QRect &outer, const QRect &area, bool sizable);

// The available area of the screen that holds `window`: the screen under its centre, else the
// window's own screen, else the primary screen. Empty without any screen.
QRect availableArea(const QWidget *window);

// The outer geometry of a top-level window, frame included as far as it is known yet.
QRect outerGeometry(const QWidget *window);

// Moves (and, when it is sizable, shrinks) the top-level `window` so that, frame included, it
// lies wholly on the screen that holds the program's main window, the first loaded window.
// A window that is the first itself keeps to the screen at its own position, its top-left
// corner. Done now and once more when the window is first shown, when its frame is known.
void keepOnMainScreen(QWidget *window);

// Centres the top-level `window` on the screen that holds `owner` (the main window's screen
// without an owner), wholly on it, shrunk to it when it is sizable; now and again when it is
// first shown.
void centreOnScreenOf(QWidget *window, const QWidget *owner);

} // namespace mitoon::screenplacement
