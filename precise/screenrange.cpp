#include "precise/screenrange.h"

#include "platform/numbers.h"
#include "precise/landoltring.h"
#include "precise/units.h"

#include <algorithm>
#include <cmath>

namespace mitoon::precise {

double ScreenRange::clamped(double logMar) const
{
    return std::clamp(logMar, finestLogMar, coarsestLogMar);
}

double largestGapDevicePx(double widthDevicePx, double heightDevicePx)
{
    return kRingShareOfSmallerSide * std::min(widthDevicePx, heightDevicePx) / kOuterDiameterInGaps;
}

ScreenRange screenRange(double distanceCm, double pitchMm, double widthDevicePx,
                        double heightDevicePx)
{
    if (!isPositiveFinite(distanceCm) || !isPositiveFinite(pitchMm) ||
        !isPositiveFinite(widthDevicePx) || !isPositiveFinite(heightDevicePx))
        return {};
    ScreenRange range;
    range.finestLogMar = logMarForGapDevicePx(1.0, distanceCm, pitchMm);
    range.coarsestLogMar = logMarForGapDevicePx(largestGapDevicePx(widthDevicePx, heightDevicePx),
                                                distanceCm, pitchMm);
    if (!std::isfinite(range.finestLogMar) || !std::isfinite(range.coarsestLogMar))
        return {};
    return range;
}

} // namespace mitoon::precise
