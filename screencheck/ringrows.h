#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

// What the ring of a test measures on this screen: its true size, the visual angle of its gap
// at the viewing distance, the acuity that gap stands for, and where the screen's pixels set a
// limit. Pixels (…Px) are the screen's own pixels; with desktop scaling one logical pixel of the
// window is `devicePixelRatio` of them.
namespace mitoon::screencheck {

// The ring pictures are 93 × 75 pixels and are stretched to the ring's width and height; the
// ring's outer edge spans 73 × 66 of those pixels. The gap taken is that of the gap-up picture
// (the program's logo): 14 pixels across, columns 36 to 49, so it stretches with the width. It
// is the widest of the eight gaps; the others are 7 to 13 pixels.
inline constexpr double kPictureWidthPx = 93;
inline constexpr double kPictureHeightPx = 75;
inline constexpr double kRingOuterWidthPx = 73;
inline constexpr double kRingOuterHeightPx = 66;
inline constexpr double kGapWidthPx = 14;

// The rows: the ring a test starts with and the ring after each of the first 20 answers, all of
// them right, each shrinking the ring by 0.8 (kShrink).
inline constexpr int kAnswersShown = 20;

// A first gap of 10 minutes of arc stands for decimal acuity 0.1, the score of a test without a
// right answer.
inline constexpr double kWantedFirstGapArcMin = 10.0;

// What the figures are worked out for.
struct Setting
{
    double inches = 14;
    double centimetres = 100;
    double pitchMm = 0;
    double devicePixelRatio = 1;
};

struct RingRow
{
    int rightAnswers = 0; // 0: the ring a test starts with
    double outerWidthPx = 0;
    double outerHeightPx = 0;
    double outerWidthMm = 0;
    double outerHeightMm = 0;
    double gapPx = 0;
    double gapMm = 0;
    double gapArcMin = 0;
    double decimalAcuity = 0;
    double logMar = 0;
    // What the program shows when the test ends after this many right answers.
    QString shownAcuity;
    // A gap narrower than one pixel: the screen cannot draw it, the test measures the screen.
    bool belowPixel = false;
};

// The first ring and the ring after each of the first 20 right answers; no rows at all when a
// value of the setting is not a positive finite number or the ring cannot be sized.
std::vector<RingRow> ringRows(const Setting &setting);

// The best the screen can show at a distance: a gap of one pixel.
struct PixelLimit
{
    double gapArcMin = 0;
    double decimalAcuity = 0;
    double logMar = 0;
};

std::optional<PixelLimit> pixelLimit(double pitchMm, double centimetres);

// The display size to pick so that the first ring's gap makes `gapArcMin` on this screen at the
// setting's distance; the setting's own display size is not used.
std::optional<double> inchesForFirstGap(double gapArcMin, const Setting &setting);

// The item of the display-size list (kDisplaySizes) nearest to `inches` in the ring's size, that is
// by ratio.
int nearestListedInches(double inches);

} // namespace mitoon::screencheck
