#include "acuity/visualangle.h"

#include "platform/numbers.h"

#include <cmath>
#include <numbers>

namespace mitoon::visualangle {

namespace {

constexpr double kArcMinPerRadian = 180.0 * 60.0 / std::numbers::pi;

} // namespace

std::optional<double> visualAngleArcMin(double sizeMm, double distanceMm)
{
    if (!isPositiveFinite(sizeMm) || !isPositiveFinite(distanceMm))
        return std::nullopt;
    return 2.0 * std::atan(sizeMm / (2.0 * distanceMm)) * kArcMinPerRadian;
}

std::optional<double> sizeForVisualAngleMm(double angleArcMin, double distanceMm)
{
    // Half a turn and more is no angle that anything in front of the eye makes.
    if (!isPositiveFinite(angleArcMin) || angleArcMin >= 180.0 * 60.0 ||
        !isPositiveFinite(distanceMm))
        return std::nullopt;
    return 2.0 * distanceMm * std::tan(angleArcMin / kArcMinPerRadian / 2.0);
}

std::optional<double> decimalAcuity(double gapArcMin)
{
    if (!isPositiveFinite(gapArcMin))
        return std::nullopt;
    return 1.0 / gapArcMin;
}

std::optional<double> logMar(double gapArcMin)
{
    if (!isPositiveFinite(gapArcMin))
        return std::nullopt;
    return std::log10(gapArcMin);
}

QString logMarText(double logMar, int decimals, const QLocale &locale)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(logMar * scale) / scale;
    if (rounded == 0)
        rounded = 0; // -0 rounds to "-0.00" otherwise
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(rounded, 'f', decimals);
}

} // namespace mitoon::visualangle
