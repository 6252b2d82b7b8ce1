#pragma once

#include <QString>
#include <QStringList>

namespace mitoon {

// The web-browser window runs in a process of its own, `mitoon-browser`, installed beside the
// program. Keeping the web engine out of the program keeps its start fast and small, and a
// crash of the engine cannot take the program and a running test down with it.
class BrowserProcess
{
public:
    enum class Outcome {
        Closed,        // the browser window was closed and its process ended normally
        Crashed,       // the process ended abnormally (it was killed, say)
        FailedToStart, // the program is missing or could not be run
    };

    // `mitoon-browser` beside the running program; $MITOON_BROWSER_PROGRAM names another.
    static QString program();

    // What the About box says when `program` could not be started: that the browser cannot be
    // opened, and whether the program is missing or could not be run.
    static QString failedToStartMessage(const QString &program);

    // The browser window's start page: the maker's web site, or $MITOON_START_ADDRESS.
    static QString startAddress();

    // The browser's command line: the window to stay above (an X11 window id, 0 for none) and
    // the start address.
    static QStringList arguments(const QString &address, unsigned long long transientFor);

    // Shows the browser window on `address` and returns once its process has ended. Events go
    // on being handled meanwhile, so the caller's windows stay painted; keeping them from
    // taking input is the caller's business.
    static Outcome run(const QString &address, unsigned long long transientFor);
};

} // namespace mitoon
