#include "acuity/screencheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mitoon::screencheck;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct AngleRow
{
    const char *what;
    double sizeMm;
    double distanceMm;
    double arcMin;
    double decimal;
    double logMar;
};

void PrintTo(const AngleRow &row, std::ostream *out)
{
    *out << row.what;
}

} // namespace

class VisualAngle : public ::testing::TestWithParam<AngleRow>
{
};

// Worked by hand: angle = 2 atan(size / 2 distance); decimal = 1 / angle; logMAR = log10 angle.
TEST_P(VisualAngle, GivesTheHandWorkedFigures)
{
    const AngleRow row = GetParam();
    const auto arcMin = visualAngleArcMin(row.sizeMm, row.distanceMm);
    ASSERT_TRUE(arcMin);
    EXPECT_NEAR(*arcMin, row.arcMin, 0.005);
    EXPECT_NEAR(*decimalAcuity(*arcMin), row.decimal, 0.005);
    EXPECT_NEAR(*logMar(*arcMin), row.logMar, 0.005);
    const auto back = sizeForVisualAngleMm(*arcMin, row.distanceMm);
    ASSERT_TRUE(back);
    EXPECT_NEAR(*back, row.sizeMm, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VisualAngle,
    ::testing::Values(AngleRow{"one minute at 100 cm", 0.2909, 1000, 1.0, 1.0, 0.0},
                      AngleRow{"1 mm at 100 cm", 1.0, 1000, 3.44, 0.29, 0.54},
                      AngleRow{"ten minutes at 100 cm", 2.909, 1000, 10.0, 0.1, 1.0},
                      AngleRow{"1 mm at 300 cm", 1.0, 3000, 1.146, 0.873, 0.059},
                      AngleRow{"one pixel of 0.2745 mm at 300 cm", 0.2745, 3000, 0.3146, 3.18,
                               -0.50}),
    [](const auto &info) { return "row" + std::to_string(info.index); });

TEST(VisualAngle, OneMinuteAt100CentimetresIsThisMuch)
{
    EXPECT_NEAR(*sizeForVisualAngleMm(1.0, 1000), 0.2909, 0.00005);
}

// One table for every function: each input that is no positive finite number gives nothing.
TEST(ScreenCheck, InvalidInputsGiveNoRowRatherThanInfinity)
{
    const Setting good{14, 100, 0.2745, 1};
    ASSERT_EQ(ringRows(good).size(), 21u);
    for (const double bad : {0.0, -1.0, kNaN, kInfinity, -kInfinity}) {
        SCOPED_TRACE(bad);
        for (double Setting::*field : {&Setting::inches, &Setting::centimetres, &Setting::pitchMm,
                                       &Setting::devicePixelRatio}) {
            Setting setting = good;
            setting.*field = bad;
            EXPECT_TRUE(ringRows(setting).empty());
            if (field != &Setting::inches)
                EXPECT_FALSE(inchesForFirstGap(10, setting));
        }
        EXPECT_FALSE(inchesForFirstGap(bad, good));
        EXPECT_FALSE(visualAngleArcMin(bad, 1000));
        EXPECT_FALSE(visualAngleArcMin(1.0, bad));
        EXPECT_FALSE(sizeForVisualAngleMm(bad, 1000));
        EXPECT_FALSE(sizeForVisualAngleMm(1.0, bad));
        EXPECT_FALSE(decimalAcuity(bad));
        EXPECT_FALSE(logMar(bad));
        EXPECT_FALSE(pixelLimit(bad, 100));
        EXPECT_FALSE(pixelLimit(0.2745, bad));
    }
    EXPECT_FALSE(sizeForVisualAngleMm(180 * 60, 1000)); // no angle in front of the eye
}

TEST(ScreenCheck, AbsurdSettingsEndTheTableRatherThanShowInfinity)
{
    // A ring too large for a single, a pitch too large for any angle, gaps so small that their
    // angle or its acuity leaves the range of a double.
    EXPECT_TRUE(ringRows({1e-300, 1e300, 0.2745, 1}).empty());
    for (const Setting setting : {Setting{14, 100, 1e300, 1}, Setting{14, 100, 1e-320, 1},
                                  Setting{1e35, 100, 1e-300, 1}, Setting{14, 1e-300, 0.2745, 1}}) {
        for (const RingRow &row : ringRows(setting)) {
            SCOPED_TRACE(row.rightAnswers);
            for (const double figure :
                 {row.outerWidthPx, row.outerHeightPx, row.outerWidthMm, row.outerHeightMm,
                  row.gapPx, row.gapMm, row.gapArcMin, row.decimalAcuity, row.logMar})
                EXPECT_TRUE(std::isfinite(figure));
            EXPECT_GT(row.gapArcMin, 0);
        }
    }
}

// 14 inches at 100 cm: the ring is 930 × 810 twips, 62 × 54 pixels; its outer edge 73/93 and
// 66/75 of that, its gap 14/93 of the width. On a 0.2745 mm pitch that gap is 2.562 mm, 8.81′.
TEST(ScreenCheck, FirstRowAtTheReferenceSettingIsTheHandWorkedOne)
{
    const std::vector<RingRow> rows = ringRows({14, 100, 0.2745, 1});
    ASSERT_EQ(rows.size(), 21u);
    const RingRow &first = rows.front();
    EXPECT_EQ(first.rightAnswers, 0);
    EXPECT_NEAR(first.outerWidthPx, 48.67, 0.005);
    EXPECT_NEAR(first.outerHeightPx, 47.52, 0.005);
    EXPECT_NEAR(first.outerWidthMm, 13.36, 0.005);
    EXPECT_NEAR(first.outerHeightMm, 13.05, 0.005);
    EXPECT_NEAR(first.gapPx, 9.333, 0.0005);
    EXPECT_NEAR(first.gapMm, 2.562, 0.0005);
    EXPECT_NEAR(first.gapArcMin, 8.81, 0.005);
    EXPECT_NEAR(first.decimalAcuity, 0.1135, 0.00005);
    EXPECT_NEAR(first.logMar, 0.945, 0.0005);
    EXPECT_EQ(first.shownAcuity, QStringLiteral("0.1"));
    EXPECT_FALSE(first.belowPixel);
}

TEST(ScreenCheck, EachRightAnswerShrinksByFourFifthsAndScoresATenth)
{
    const std::vector<RingRow> rows = ringRows({19, 150, 0.2745, 1});
    ASSERT_EQ(rows.size(), 21u);
    for (std::size_t n = 1; n < rows.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(rows[n].rightAnswers, int(n));
        EXPECT_NEAR(rows[n].gapPx / rows[n - 1].gapPx, 0.8, 1e-6);
        EXPECT_NEAR(rows[n].outerHeightMm / rows[n - 1].outerHeightMm, 0.8, 1e-6);
        EXPECT_NEAR(rows[n].decimalAcuity / rows[n - 1].decimalAcuity, 1.25, 1e-3);
    }
    EXPECT_EQ(rows[1].shownAcuity, QStringLiteral("0.2"));
    EXPECT_EQ(rows[9].shownAcuity, QStringLiteral("1"));
    EXPECT_EQ(rows[20].shownAcuity, QStringLiteral("2.1"));
}

struct LimitRow
{
    Setting setting;
    int firstBelowPixel; // -1: none of the 21 rings
};

class PixelLimitRows : public ::testing::TestWithParam<LimitRow>
{
};

// The gap in screen pixels is 9.333 at the reference setting with no desktop scaling, and
// scales with distance / inches and with the scaling.
TEST_P(PixelLimitRows, MarkExactlyTheGapsUnderOnePixel)
{
    const LimitRow limit = GetParam();
    const std::vector<RingRow> rows = ringRows(limit.setting);
    ASSERT_EQ(rows.size(), 21u);
    int first = -1;
    for (const RingRow &row : rows) {
        EXPECT_EQ(row.belowPixel, row.gapPx < 1.0);
        if (row.belowPixel && first < 0)
            first = row.rightAnswers;
        if (first >= 0)
            EXPECT_TRUE(row.belowPixel) << row.rightAnswers;
    }
    EXPECT_EQ(first, limit.firstBelowPixel);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PixelLimitRows,
    ::testing::Values(LimitRow{{14, 100, 0.2745, 1}, 11}, LimitRow{{14, 100, 0.2745, 2}, 14},
                      LimitRow{{14, 100, 0.2745, 1.25}, 12}, LimitRow{{32, 100, 0.2745, 1}, 7},
                      LimitRow{{32, 300, 0.2745, 1}, 12}, LimitRow{{12, 300, 0.2745, 1}, 16},
                      LimitRow{{12, 300, 0.1, 2}, 19}, LimitRow{{12, 300, 0.1, 4}, -1}));

TEST(ScreenCheck, PixelLimitIsAGapOfOnePixel)
{
    // 0.2745 mm at 300 cm: 2 atan(0.13725 / 3000) = 0.3146′, decimal 3.18, logMAR -0.50.
    const auto limit = pixelLimit(0.2745, 300);
    ASSERT_TRUE(limit);
    EXPECT_NEAR(limit->gapArcMin, 0.3146, 0.00005);
    EXPECT_NEAR(limit->decimalAcuity, 3.179, 0.0005);
    EXPECT_NEAR(limit->logMar, -0.502, 0.0005);
    EXPECT_NEAR(pixelLimit(0.2745, 100)->decimalAcuity, 1.060, 0.0005);
}

TEST(ScreenCheck, DisplaySizeForATenMinuteFirstGap)
{
    // At 14 inches the first gap is 2.562 mm on a 0.2745 mm pitch; 10′ at 100 cm is 2.909 mm,
    // so 14 × 2.562 / 2.909 = 12.33 inches. The ring and the wanted gap both grow with the
    // distance, so the distance does not matter.
    for (const double centimetres : {100.0, 130.0, 300.0}) {
        SCOPED_TRACE(centimetres);
        const Setting setting{14, centimetres, 0.2745, 1};
        const auto inches = inchesForFirstGap(10, setting);
        ASSERT_TRUE(inches);
        EXPECT_NEAR(*inches, 12.33, 0.005);
        const std::vector<RingRow> rows = ringRows({*inches, centimetres, 0.2745, 1});
        ASSERT_FALSE(rows.empty());
        EXPECT_NEAR(rows.front().gapArcMin, 10.0, 1e-4);
    }
    // The 96-dpi pitch 0.2646 mm gives 11.89 inches; desktop scaling by 2 doubles the ring.
    EXPECT_NEAR(*inchesForFirstGap(10, {14, 100, 25.4 / 96, 1}), 11.885, 0.0005);
    EXPECT_NEAR(*inchesForFirstGap(10, {14, 100, 0.2745, 2}), 24.66, 0.005);
}

TEST(ScreenCheck, NearestListItemIsNearestInTheRingsSize)
{
    struct Row
    {
        double inches;
        int nearest;
    };
    // 17.5 lies halfway between 16 and 19 but nearer 19 by ratio (the boundary is √(16 × 19)).
    for (const Row row : {Row{12.33, 12}, Row{11.89, 12}, Row{5, 12}, Row{12.95, 12},
                          Row{12.97, 14}, Row{17.5, 19}, Row{24.66, 25}, Row{40, 32}}) {
        SCOPED_TRACE(row.inches);
        EXPECT_EQ(nearestListedInches(row.inches), row.nearest);
    }
}
