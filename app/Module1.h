#pragma once

#include <memory>

namespace mitoon {

class frmMain;
class Settings;

// Start-up: splash screen, the fixed busy wait, the main window loaded behind the splash
// screen, then the main window shown. Returns as soon as the main window is on view.
class Module1
{
public:
    // The count of the busy wait's passes: 0 to 30,000,000 inclusive.
    static constexpr long kBusyWaitLast = 30'000'000;

    // Counts from 0 to `last` without handling events; returns the passes it counted, as read
    // back from its counter.
    static long busyWait(long last = kBusyWaitLast);

    // Runs start-up; the main window it returns lives until it is unloaded.
    static frmMain *Main(Settings &settings);
};

} // namespace mitoon
