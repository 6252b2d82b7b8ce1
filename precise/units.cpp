#include "precise/units.h"

#include "acuity/visualangle.h"

#include <cmath>
#include <limits>

namespace mitoon::precise {

double gapArcMinForLogMar(double logMar)
{
    return std::pow(10.0, logMar);
}

double logMarForGapArcMin(double gapArcMin)
{
    return std::log10(gapArcMin);
}

double gapMmForArcMin(double gapArcMin, double distanceCm)
{
    return visualangle::sizeForVisualAngleMm(gapArcMin, distanceCm * kMmPerCm)
        .value_or(std::numeric_limits<double>::quiet_NaN());
}

double arcMinForGapMm(double gapMm, double distanceCm)
{
    return visualangle::visualAngleArcMin(gapMm, distanceCm * kMmPerCm)
        .value_or(std::numeric_limits<double>::quiet_NaN());
}

double gapMmForLogMar(double logMar, double distanceCm)
{
    return gapMmForArcMin(gapArcMinForLogMar(logMar), distanceCm);
}

double logMarForGapMm(double gapMm, double distanceCm)
{
    return logMarForGapArcMin(arcMinForGapMm(gapMm, distanceCm));
}

double devicePxForMm(double mm, double pitchMm)
{
    return mm / pitchMm;
}

double mmForDevicePx(double devicePx, double pitchMm)
{
    return devicePx * pitchMm;
}

double logicalPxForDevicePx(double devicePx, double devicePixelRatio)
{
    return devicePx / devicePixelRatio;
}

double gapDevicePxForLogMar(double logMar, double distanceCm, double pitchMm)
{
    return devicePxForMm(gapMmForLogMar(logMar, distanceCm), pitchMm);
}

double logMarForGapDevicePx(double gapDevicePx, double distanceCm, double pitchMm)
{
    return logMarForGapMm(mmForDevicePx(gapDevicePx, pitchMm), distanceCm);
}

} // namespace mitoon::precise
