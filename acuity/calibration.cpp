#include "acuity/calibration.h"

#include <cmath>
#include <limits>

namespace mitoon {

namespace {

// A value the sizing formula can use: a positive finite number.
bool isUsableMeasure(const Variant &value)
{
    const std::optional<double> number = value.toNumber();
    return number && std::isfinite(*number) && *number > 0.0;
}

} // namespace

std::optional<float> ringExtent(double base, const Variant &gamensize, const Variant &kyori)
{
    if (!isUsableMeasure(gamensize) || !isUsableMeasure(kyori))
        return std::nullopt;
    const double q1 = 14.0 / *gamensize.toNumber();
    const double p1 = q1 * base;
    const double q2 = *kyori.toNumber() / 100.0;
    const double extent = p1 * q2;
    if (!std::isfinite(extent) || extent > std::numeric_limits<float>::max())
        return std::nullopt;
    // An absurdly large display would round the ring away to nothing.
    if (float(extent) <= 0.0f)
        return std::nullopt;
    return float(extent);
}

} // namespace mitoon
