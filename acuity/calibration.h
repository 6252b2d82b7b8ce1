#pragma once

#include "acuity/variant.h"

#include <array>
#include <optional>

namespace mitoon {

// The reference setting: a 14-inch display seen from 100 centimetres, where the ring has its
// base size. The test start takes these for a display size or distance that is empty or 0.
inline constexpr double kReferenceInches = 14;
inline constexpr double kReferenceCentimetres = 100;

// The ring's base size at the reference setting of 14 inches and 100 centimetres, in the main
// window's ring units: 92.93 horizontal units (930 twips) by 7.564 vertical units (810 twips).
inline constexpr double kBaseWidth = 92.93;
inline constexpr double kBaseHeight = 7.564;

// The items of the display-size list (inches) and of the distance list (centimetres). The test
// start keeps the boxes within the first and last item of each.
inline constexpr std::array<int, 8> kDisplaySizes{12, 14, 16, 19, 21, 25, 28, 32};
inline constexpr std::array<int, 6> kDistances{100, 130, 150, 200, 250, 300};

// Twips per ring unit: the window measures 664 units across and 73.111 units down its design
// client area of 6645 × 7830 twips.
inline constexpr float kTwipsPerHorizontalUnit = float(6645.0 / 664.0);
inline constexpr float kTwipsPerVerticalUnit = float(7830.0 / 73.111);

// One extent of the ring: base × (14 / inches) × (centimetres / 100), computed in double
// precision in that order and rounded to single precision at the end. A larger display gives a
// smaller ring, a longer distance a larger one. Nothing when either value is not a usable
// number (not a positive finite number) or the extent does not fit a single, or rounds to 0.
std::optional<float> ringExtent(double base, const Variant &gamensize, const Variant &kyori);

// The number of `value` when the sizing formula can use it: a positive finite number.
std::optional<double> usableMeasure(const Variant &value);

} // namespace mitoon
