#include "precise/landoltring.h"

#include <cmath>
#include <numbers>

namespace mitoon::precise {

bool isOrientation(int orientation)
{
    return orientation >= 1 && orientation <= kOrientationCount;
}

double outerDiameterForGap(double gap)
{
    return kOuterDiameterInGaps * gap;
}

double innerDiameterForGap(double gap)
{
    return kInnerDiameterInGaps * gap;
}

double orientationDegreesClockwiseFromUp(int orientation)
{
    return 45.0 * (orientation - 1);
}

ScreenDirection orientationDirection(int orientation)
{
    const double radians = orientationDegreesClockwiseFromUp(orientation) * std::numbers::pi / 180;
    // Exact zeros keep the four straight directions free of rounding noise.
    auto tidy = [](double v) { return std::fabs(v) < 1e-12 ? 0.0 : v; };
    return {tidy(std::sin(radians)), tidy(-std::cos(radians))};
}

} // namespace mitoon::precise
