#pragma once

#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace mitoon::testing {

// Waits in a running event loop until `predicate` holds, for at most `timeout` milliseconds,
// and returns the outcome of the check that ended the wait. The web engine does its work in
// tasks posted to the main thread; QTest's waits sleep between passes and make every page take
// seconds. A check that held is not repeated: what it looked at, another process's windows say,
// may have changed again since.
inline bool waitUntil(const std::function<bool()> &predicate, int timeout)
{
    if (predicate())
        return true;
    bool met = false;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (predicate()) {
            met = true;
            loop.quit();
        }
    });
    check.start(5);
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

} // namespace mitoon::testing
