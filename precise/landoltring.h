#pragma once

// The Landolt ring as ISO 8596 draws it, in units of its gap: outer diameter 5, inner diameter
// 3, so the stroke is as wide as the gap. The gap points in one of eight directions 45° apart,
// numbered as in the classic test: 1 up, then clockwise, 2 upper right, 3 right, 4 lower right,
// 5 down, 6 lower left, 7 left, 8 upper left. 0 is the closed ring without a gap.
namespace mitoon::precise {

inline constexpr double kOuterDiameterInGaps = 5.0;
inline constexpr double kInnerDiameterInGaps = 3.0;

inline constexpr int kClosedRing = 0;
inline constexpr int kOrientationCount = 8;

bool isOrientation(int orientation);

double outerDiameterForGap(double gap);
double innerDiameterForGap(double gap);

// The gap's direction measured clockwise from straight up.
double orientationDegreesClockwiseFromUp(int orientation);

// The unit vector towards the gap in screen coordinates, where y grows downwards.
struct ScreenDirection
{
    double x = 0;
    double y = 0;
};
ScreenDirection orientationDirection(int orientation);

} // namespace mitoon::precise
