#pragma once

// Sizes of a Landolt ring's gap in the units the measurement passes between: logMAR, minutes of
// arc, millimetres on the screen, and pixels. Device pixels (…DevicePx) are the screen's own
// pixels, the ones the pixel pitch is measured in; with desktop scaling a window's logical pixel
// is `devicePixelRatio` of them. The functions expect positive finite sizes and distances; the
// run checks its settings before it calls any of them.
namespace mitoon::precise {

inline constexpr double kMmPerCm = 10.0;
// One minute of arc at 100 cm: 2 × 1000 mm × tan(0.5′).
inline constexpr double kOneArcMinAt100CmMm = 0.2909;

// A gap of 10^logMAR minutes of arc, and back.
double gapArcMinForLogMar(double logMar);
double logMarForGapArcMin(double gapArcMin);

// The gap that subtends `gapArcMin` seen face on from `distanceCm`: 2 d tan(angle / 2), and the
// angle of a gap of `gapMm`: 2 atan(gap / 2d).
double gapMmForArcMin(double gapArcMin, double distanceCm);
double arcMinForGapMm(double gapMm, double distanceCm);

double gapMmForLogMar(double logMar, double distanceCm);
double logMarForGapMm(double gapMm, double distanceCm);

// The pitch is the size of one device pixel.
double devicePxForMm(double mm, double pitchMm);
double mmForDevicePx(double devicePx, double pitchMm);
double logicalPxForDevicePx(double devicePx, double devicePixelRatio);

double gapDevicePxForLogMar(double logMar, double distanceCm, double pitchMm);
double logMarForGapDevicePx(double gapDevicePx, double distanceCm, double pitchMm);

} // namespace mitoon::precise
