#pragma once

#include "app/frmMain.h"
#include "app/settings.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// The main window of a test, shown and active with the focus on `inti`, in a settings file of
// its own that each test starts without; `steps` logs the draws and result steps as
// loggingMainWindow() does, from the moment the window is on view.
struct MainWindowFixture
{
    QString settingsFile;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<frmMain> window;
    QStringList steps;

    // In init(): a fresh settings file named after `tag`, and the window open.
    void setUp(const char *tag)
    {
        settingsFile = temporarySettingsFile(tag);
        QFile::remove(settingsFile);
        settings = std::make_unique<Settings>(settingsFile);
        open();
    }

    // A new window in place of the one open.
    frmMain *open()
    {
        window.reset();
        window = loggingMainWindow(*settings, steps);
        if (!showActive(window.get(), window->inti))
            qFatal("main window not active");
        settle();
        steps.clear();
        return window.get();
    }

    // In cleanup().
    void tearDown()
    {
        window.reset();
        QFile::remove(settingsFile);
    }

    // The orientation of the ring on view.
    int shown() const { return int(*window->test().houkou().toNumber()); }
};

} // namespace mitoon::testing
