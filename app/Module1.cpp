#include "app/Module1.h"

#include "app/appinfo.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/settings.h"
#include "app/startupwarmup.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QMessageBox>
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

frmMain *Module1::Main(Settings &settings)
{
    auto *splash = new frmSplash;
    // While the splash screen is painted, the main window's pictures are decoded on the second
    // processor; while the busy wait runs, its fonts are worked out there. Neither starts while
    // the splash screen reads its own pictures or loads its own fonts: one would wait for the
    // other.
    StartupWarmUp pictures([] {
        frmMain::preparePictures();
        StartupWarmUp::loadImageFormats();
    });
    showPainted(splash);
    {
        StartupWarmUp fonts(&frmMain::prepareFonts);
        busyWait();
    }
    pictures.join();

    auto *main = new frmMain(settings);
    main->Form_Load();

    splash->close();
    delete splash;

    main->show();
    // Without a window manager nothing activates a new window; the focus belongs on `inti`.
    main->activateWindow();
    main->raise();
    main->inti->setFocus(Qt::OtherFocusReason);
    if (const fileio::Result status = settings.fileStatus(); !status.ok()) {
        // Told once the window is up, without holding the start.
        auto *box = new QMessageBox(QMessageBox::Warning, appTitle(), status.message(),
                                    QMessageBox::Ok, main);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    return main;
}

} // namespace mitoon
