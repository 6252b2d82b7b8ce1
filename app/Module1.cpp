#include "app/Module1.h"

#include "app/frmMain.h"
#include "app/frmSplash.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QWindow>

namespace mitoon {

namespace {

// Shows the splash screen and has it painted before the wait starts. The window system only
// lets a window be painted once it is exposed, so wait for that, taking no user input.
void showPainted(QWidget *splash)
{
    splash->show();
    QDeadlineTimer deadline(2000);
    while (!(splash->windowHandle() && splash->windowHandle()->isExposed()) &&
           !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

frmMain *Module1::Main(WindowSettings &settings)
{
    auto *splash = new frmSplash;
    showPainted(splash);
    busyWait();

    auto *main = new frmMain(settings);
    main->Form_Load();

    splash->close();
    delete splash;

    main->show();
    // Without a window manager nothing activates a new window; the focus belongs on `inti`.
    main->activateWindow();
    main->raise();
    main->inti->setFocus(Qt::OtherFocusReason);
    return main;
}

} // namespace mitoon
