#pragma once

#include "screencheck/pixelpitch.h"

class QScreen;

namespace mitoon::screencheck {

// What `screen` reports of itself: its physical size and its size in its own pixels (the
// logical size times the device pixel ratio). All zero without a screen.
pixelpitch::ScreenReport screenReport(const QScreen *screen);

} // namespace mitoon::screencheck
