#pragma once

#include "app/frmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTest>
#include <cstdint>
#include <memory>

namespace mitoon::testing {

// Lets posted events, zero timers and repaints run.
inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A settings file of this test process's own in the temporary folder.
inline QString temporarySettingsFile(const char *tag)
{
    return QDir::temp().filePath(QStringLiteral("mitoon-%1-%2.ini")
                                     .arg(QLatin1String(tag))
                                     .arg(QCoreApplication::applicationPid()));
}

// The main window after its Form_Load, not yet shown; the test owns it.
inline std::unique_ptr<frmMain> loadedMainWindow(Settings &settings,
                                                 TrialRandom random = TrialRandom())
{
    auto window = std::make_unique<frmMain>(settings, std::move(random));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->Form_Load();
    return window;
}

// A main window whose draws are seeded 1000, 1001, … in turn. `steps` gets "tugi" for each
// draw and "kekka" for each result step.
inline std::unique_ptr<frmMain> loggingMainWindow(Settings &settings, QStringList &steps)
{
    auto clock = std::make_shared<std::uint64_t>(1000);
    auto window = loadedMainWindow(settings, TrialRandom([&steps, clock] {
                                       steps << QStringLiteral("tugi");
                                       return (*clock)++;
                                   }));
    QObject::connect(window.get(), &frmMain::beeped,
                     [&steps] { steps << QStringLiteral("kekka"); });
    return window;
}

// Shows a window and makes it the active one, as the program does at start-up, with the focus
// on `focus` if given. False if the window system never activates it.
inline bool showActive(QWidget *window, QWidget *focus = nullptr)
{
    window->show();
    window->activateWindow();
    if (focus)
        focus->setFocus();
    return QTest::qWaitForWindowActive(window);
}

} // namespace mitoon::testing
