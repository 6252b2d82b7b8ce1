#pragma once

#include "simulatedobserver.h"

#include <cstdint>

namespace mitoon::precise::bench {

// The classic test of the main window, the real AcuityTest, at 14 inches and 100 cm on a
// 0.2745 mm pitch, taken by a simulated observer from a freshly loaded window: what it shows at
// the end, as logMAR (−log10 of the decimal text).
struct ClassicOutcome
{
    double logMar = 0;
    int answers = 0;
};

ClassicOutcome runClassic(const SimulatedObserver &observer, std::uint64_t clockSeed);

// The logMAR of the classic ring's gap as the observer sees it: the gap-up picture's 14 of its
// 93 pixels of the ring's width, on that pitch, at that distance.
double classicGapLogMar(float ringWidthUnits);

} // namespace mitoon::precise::bench
