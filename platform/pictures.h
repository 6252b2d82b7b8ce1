#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures, PNG files all, embedded under :/assets/.
namespace mitoon::pictures {

// One picture by its resource path: the pixmap QPixmap(path) would load, read without asking
// every image format plugin about the file first. Decoding may have been done ahead of time
// (prepare); the first call for it takes it from there.
QPixmap pixmap(const QString &path);

// The work of pixmap() done ahead on any thread, also while the GUI thread works: images are
// reentrant, and what is prepared is handed over under a lock. What is not taken stays until
// dropPrepared().
void prepare(const QString &path);
void dropPrepared();
// How many prepared pictures are waiting to be taken.
int preparedCount();

// The program icon: the ring with its gap up.
QIcon programIcon();

} // namespace mitoon::pictures
