#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace mitoon::testing {

// Calls `handle` with the next modal window once it is up, from inside its event loop; used
// to look at a message box or a dialog and close it.
inline void whenModal(std::function<void(QWidget *)> handle, int attempts = 250)
{
    QTimer::singleShot(20, qApp, [handle = std::move(handle), attempts]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible())
            handle(modal);
        else if (attempts > 0)
            whenModal(std::move(handle), attempts - 1);
    });
}

} // namespace mitoon::testing
