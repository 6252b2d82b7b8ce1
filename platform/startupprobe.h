#pragma once

class QWidget;

namespace mitoon {

// For the start-up benchmark: when MITOON_PROBE_FIRST_PAINT is set, the first paint of
// `window` prints the wall-clock time, the resident memory and the window's size at that
// moment, then ends the program; with MITOON_PROBE_SMAPS set to a file name it also copies
// /proc/self/smaps there, to see what is resident. Without the variables it does nothing.
void probeFirstPaint(QWidget *window);

} // namespace mitoon
