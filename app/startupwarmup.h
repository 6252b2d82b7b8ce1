#pragma once

#include <functional>
#include <thread>

namespace mitoon {

// Start-up work that touches no widget, done on the second processor while the GUI thread is
// busy with something else: loading the font configuration while the application connects to
// the window system, and working out what the main window needs while the busy wait keeps the
// GUI thread on the first processor. Whoever needs the results joins first. With a single
// processor there is nothing to gain: nothing is started, and the results are worked out where
// they are needed, as without a warm-up.
class StartupWarmUp
{
public:
    // Starts `work` on a thread of its own when `concurrently`.
    explicit StartupWarmUp(std::function<void()> work, bool concurrently = worthwhile());
    // Joins the thread.
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp &) = delete;
    StartupWarmUp &operator=(const StartupWarmUp &) = delete;

    // Waits until the work is done.
    void join();
    bool started() const { return started_; }

    // Whether this process may run on more than one processor.
    static bool worthwhile();

    // fontconfig's configuration and font list, which the first font the program asks for
    // would otherwise load; thread-safe, and needs no application object.
    static void loadFontConfiguration();

    // Loads every image format plugin, as Qt's own icons would have it done the first time one
    // is read from a file (the main window's menu bar has one): each plugin is asked whether it
    // reads the file before the built-in decoders are.
    static void loadImageFormats();

private:
    std::thread thread_;
    bool started_ = false;
};

} // namespace mitoon
