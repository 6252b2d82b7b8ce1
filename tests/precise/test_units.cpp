#include "precise/acuityscales.h"
#include "precise/landoltring.h"
#include "precise/screenrange.h"
#include "precise/units.h"

#include <gtest/gtest.h>

using namespace mitoon::precise;

namespace {

// Worked by hand: the gap subtends 10^logMAR minutes of arc, gap = 2 d tan(angle / 2), and
// 1′ = π / 10800 rad. At 100 cm 1′ is 2000 mm × tan(0.5′) = 0.2909 mm, and 0.2909 mm is 1.060
// pixels of 0.2745 mm, 0.530 logical pixels at a device pixel ratio of 2.
struct GapRow
{
    double logMar, distanceCm, gapMm, pitchMm, devicePx, ratio, logicalPx;
};

class GapSize : public ::testing::TestWithParam<GapRow>
{
};

TEST_P(GapSize, IsTheHandWorkedFigure)
{
    const GapRow row = GetParam();
    EXPECT_NEAR(gapMmForLogMar(row.logMar, row.distanceCm), row.gapMm, 0.00005);
    EXPECT_NEAR(logMarForGapMm(row.gapMm, row.distanceCm), row.logMar, 0.0002);
    const double devicePx = gapDevicePxForLogMar(row.logMar, row.distanceCm, row.pitchMm);
    EXPECT_NEAR(devicePx, row.devicePx, 0.0005);
    EXPECT_NEAR(logicalPxForDevicePx(devicePx, row.ratio), row.logicalPx, 0.0005);
    EXPECT_NEAR(logMarForGapDevicePx(devicePx, row.distanceCm, row.pitchMm), row.logMar, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Units, GapSize,
    ::testing::Values(GapRow{0.0, 100, kOneArcMinAt100CmMm, 0.2745, 1.0597, 2, 0.5299},
                      GapRow{1.0, 100, 2.9089, 0.2745, 10.597, 1, 10.597},
                      GapRow{0.0, 300, 0.8727, 0.25, 3.4907, 1.5, 2.3271},
                      // 10^0.3 = 1.9953′; 2 × 6000 mm × tan(0.99763′) = 3.4824 mm
                      GapRow{0.3, 600, 3.4824, 0.1, 34.824, 1, 34.824}));

// The smallest side bounds the ring at 80 %; its gap is a fifth of that. 0.25 mm at 300 cm:
// 2 atan(0.125 / 3000) = 8.333e-5 rad = 0.28648′, logMAR −0.5429; 1080 px give a gap of
// 172.8 px = 43.2 mm, 2 atan(21.6 / 3000) = 49.50′, logMAR 1.6946.
struct RangeRow
{
    double distanceCm, pitchMm, widthPx, heightPx, finest, coarsest;
};

class ScreenRangeOf : public ::testing::TestWithParam<RangeRow>
{
};

TEST_P(ScreenRangeOf, IsOnePixelToTheLargestRingThatFits)
{
    const RangeRow row = GetParam();
    const ScreenRange range = screenRange(row.distanceCm, row.pitchMm, row.widthPx, row.heightPx);
    EXPECT_NEAR(range.finestLogMar, row.finest, 0.0001);
    EXPECT_NEAR(range.coarsestLogMar, row.coarsest, 0.0001);
}

INSTANTIATE_TEST_SUITE_P(Units, ScreenRangeOf,
                         ::testing::Values(RangeRow{300, 0.25, 1920, 1080, -0.5429, 1.6946},
                                           RangeRow{300, 0.25, 1080, 1920, -0.5429, 1.6946},
                                           // 0.2745 mm at 100 cm is 0.9437′
                                           RangeRow{100, 0.2745, 1366, 768, -0.0252, 2.0643}));

TEST(ScreenRangeOf, NoUsableFigureGivesAnEmptyRange)
{
    EXPECT_FALSE(screenRange(300, 0.25, 1920, 1080).isEmpty());
    for (const double bad : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        EXPECT_TRUE(screenRange(bad, 0.25, 1920, 1080).isEmpty());
        EXPECT_TRUE(screenRange(300, bad, 1920, 1080).isEmpty());
        EXPECT_TRUE(screenRange(300, 0.25, bad, 1080).isEmpty());
    }
    // A 5-pixel screen holds a 4-pixel ring: its gap is under a pixel.
    EXPECT_TRUE(screenRange(300, 0.25, 5, 5).isEmpty());
}

// 10^−logMAR; 6 and 20 × 10^logMAR rounded; 100 − 50 logMAR and 85 − 50 logMAR.
struct ScaleRow
{
    double logMar;
    const char *decimal, *metres, *feet;
    double vas, letters;
};

class AcuityScale : public ::testing::TestWithParam<ScaleRow>
{
};

TEST_P(AcuityScale, ShowsTheHandWorkedFigures)
{
    const ScaleRow row = GetParam();
    EXPECT_EQ(decimalAcuityText(decimalAcuity(row.logMar)), QString::fromUtf8(row.decimal));
    EXPECT_EQ(snellenText(row.logMar, 6), QString::fromUtf8(row.metres));
    EXPECT_EQ(snellenText(row.logMar, 20), QString::fromUtf8(row.feet));
    EXPECT_NEAR(visualAcuityScore(row.logMar), row.vas, 1e-9);
    EXPECT_NEAR(etdrsLetters(row.logMar), row.letters, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Units, AcuityScale,
                         ::testing::Values(ScaleRow{0.0, "1.0", "6/6", "20/20", 100, 85},
                                           ScaleRow{0.3, "0.50", "6/12", "20/40", 85, 70},
                                           ScaleRow{1.0, "0.10", "6/60", "20/200", 50, 35},
                                           ScaleRow{-0.3, "2.0", "6/3", "20/10", 115, 100},
                                           ScaleRow{0.1, "0.79", "6/8", "20/25", 95, 80},
                                           // 0.9977 rounds up to one digit more: 1.0
                                           ScaleRow{0.001, "1.0", "6/6", "20/20", 99.95, 84.95},
                                           ScaleRow{1.3, "0.050", "6/120", "20/399", 35, 20},
                                           ScaleRow{-0.1, "1.3", "6/5", "20/16", 105, 90}));

struct WhoRow
{
    double logMar;
    WhoCategory category;
    const char *logMarText;
};

class Who : public ::testing::TestWithParam<WhoRow>
{
};

TEST_P(Who, BoundaryBelongsToTheMilderCategory)
{
    const WhoRow row = GetParam();
    EXPECT_EQ(whoCategory(row.logMar), row.category);
    EXPECT_EQ(logMarText(row.logMar), QString::fromUtf8(row.logMarText));
}

INSTANTIATE_TEST_SUITE_P(
    Units, Who,
    ::testing::Values(
        WhoRow{-0.004, WhoCategory::None, "0.00"}, WhoRow{-0.006, WhoCategory::None, "-0.01"},
        WhoRow{-0.3, WhoCategory::None, "-0.30"}, WhoRow{0.30, WhoCategory::None, "0.30"},
        WhoRow{0.30103, WhoCategory::None, "0.30"}, // decimal 0.5 exactly
        WhoRow{0.31, WhoCategory::Mild, "0.31"}, WhoRow{0.48, WhoCategory::Mild, "0.48"},
        WhoRow{0.49, WhoCategory::Moderate, "0.49"}, WhoRow{1.0, WhoCategory::Moderate, "1.00"},
        WhoRow{1.01, WhoCategory::Severe, "1.01"}, WhoRow{1.3, WhoCategory::Severe, "1.30"},
        WhoRow{1.31, WhoCategory::Blindness, "1.31"}));

} // namespace
