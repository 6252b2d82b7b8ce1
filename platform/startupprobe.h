#pragma once

class QWidget;

namespace mitoon {

// For the start-up benchmark: when MITOON_PROBE_FIRST_PAINT is set, the first paint of
// `window` prints the wall-clock time and the resident memory at that moment, then ends the
// program. Without the variable it does nothing.
void probeFirstPaint(QWidget *window);

} // namespace mitoon
