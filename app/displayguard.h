#pragma once

#include <QtGlobal>

namespace mitoon {

// Watches the making of the application object. Without a graphical display Qt ends the
// process from inside it with a message in English and an abort; while the guard is armed it
// says instead, in Japanese on standard error, that the program needs a graphical display, and
// ends the process with status 1. Qt's messages from that time are held back and, once the
// application object stands, passed on as they would have been.
class DisplayGuard
{
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard &) = delete;
    DisplayGuard &operator=(const DisplayGuard &) = delete;

    // The application object stands: pass on what was held back and stop watching.
    void release();

    static const char *message();

private:
    QtMessageHandler previous_ = nullptr;
    bool armed_ = false;
};

} // namespace mitoon
