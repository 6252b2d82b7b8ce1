#pragma once

#include "precise/runsetup.h"

#include <QString>

namespace mitoon::precise {

// Whether the estimate lies at an end of the sizes the screen could show, where it says no more
// than "at least this good" or "at most this good".
enum class RangeLimit {
    None,
    Finest,  // the eye saw the smallest gap the screen draws: at least this acuity
    Coarsest // the eye missed even the largest ring that fits: at most this acuity
};

struct PreciseResult
{
    Eye eye = Eye::Right;
    // The posterior mean, or the end of the range when `limit` says the estimate reached it.
    double logMar = 0;
    double decimal = 0;
    // The 95 % credible interval: the posterior's 2.5 % and 97.5 % quantiles, widened to hold
    // `logMar` where that is a range end.
    double lowLogMar = 0;
    double highLogMar = 0;
    int trials = 0;
    double distanceCm = 0;
    double pitchMm = 0;
    RangeLimit limit = RangeLimit::None;
};

// The decimal acuity with 2 significant digits, after "≥ " or "≤ " at a range limit: a finest
// limit is better than or equal to the figure (decimal ≥), a coarsest one worse (decimal ≤).
QString decimalResultText(const PreciseResult &result);
// The same for logMAR, where smaller is better: "≤ -0.54" at the finest limit.
QString logMarResultText(const PreciseResult &result);

} // namespace mitoon::precise
