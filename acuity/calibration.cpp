#include "acuity/calibration.h"

#include "platform/numbers.h"

#include <cmath>
#include <limits>

namespace mitoon {

std::optional<double> usableMeasure(const Variant &value)
{
    const std::optional<double> number = value.toNumber();
    if (!number || !isPositiveFinite(*number))
        return std::nullopt;
    return number;
}

std::optional<float> ringExtent(double base, const Variant &gamensize, const Variant &kyori)
{
    const std::optional<double> inches = usableMeasure(gamensize);
    const std::optional<double> centimetres = usableMeasure(kyori);
    if (!inches || !centimetres)
        return std::nullopt;
    const double q1 = kReferenceInches / *inches;
    const double p1 = q1 * base;
    const double q2 = *centimetres / kReferenceCentimetres;
    const double extent = p1 * q2;
    if (!std::isfinite(extent) || extent > std::numeric_limits<float>::max())
        return std::nullopt;
    // An absurdly large display would round the ring away to nothing.
    if (float(extent) <= 0.0f)
        return std::nullopt;
    return float(extent);
}

} // namespace mitoon
