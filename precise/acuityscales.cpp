#include "precise/acuityscales.h"

#include "acuity/visualangle.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace mitoon::precise {

double decimalAcuity(double logMar)
{
    return std::pow(10.0, -logMar);
}

QString decimalAcuityText(double decimal)
{
    if (!isPositiveFinite(decimal))
        return QString();
    int exponent = int(std::floor(std::log10(decimal)));
    double rounded =
        std::round(decimal / std::pow(10.0, exponent - 1)) * std::pow(10.0, exponent - 1);
    // 0.996 rounds up to 1.0, which has one digit more before the point.
    if (rounded >= std::pow(10.0, exponent + 1))
        ++exponent;
    const int decimals = std::max(0, 1 - exponent);
    return QString::number(rounded, 'f', decimals);
}

double snellenDenominator(double logMar, int numerator)
{
    return numerator * std::pow(10.0, logMar);
}

QString snellenText(double logMar, int numerator)
{
    return QStringLiteral("%1/%2").arg(numerator).arg(
        std::lround(snellenDenominator(logMar, numerator)));
}

double visualAcuityScore(double logMar)
{
    return 100.0 - 50.0 * logMar;
}

double etdrsLetters(double logMar)
{
    return 85.0 - 50.0 * logMar;
}

int logMarHundredths(double logMar)
{
    return int(std::lround(logMar * 100.0));
}

QString logMarText(double logMar)
{
    return visualangle::logMarText(logMar, 2);
}

WhoCategory whoCategory(double logMar)
{
    const int hundredths = logMarHundredths(logMar);
    if (hundredths > 130)
        return WhoCategory::Blindness;
    if (hundredths > 100)
        return WhoCategory::Severe;
    if (hundredths > 48)
        return WhoCategory::Moderate;
    if (hundredths > 30)
        return WhoCategory::Mild;
    return WhoCategory::None;
}

QString whoCategoryName(WhoCategory category)
{
    switch (category) {
    case WhoCategory::None:
        return QStringLiteral("視覚障害なし");
    case WhoCategory::Mild:
        return QStringLiteral("軽度の視覚障害");
    case WhoCategory::Moderate:
        return QStringLiteral("中等度の視覚障害");
    case WhoCategory::Severe:
        return QStringLiteral("重度の視覚障害");
    case WhoCategory::Blindness:
        return QStringLiteral("失明");
    }
    return QString();
}

} // namespace mitoon::precise
