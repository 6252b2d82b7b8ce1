#include "screencheck/ringrows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mitoon::screencheck;

// Each input that is no positive finite number gives nothing, never infinity.
TEST(ScreenCheck, InvalidInputsGiveNoRow)
{
    const Setting good{14, 100, 0.2745, 1};
    ASSERT_EQ(ringRows(good).size(), 21u);
    for (const double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(bad);
        for (double Setting::*field : {&Setting::inches, &Setting::centimetres, &Setting::pitchMm,
                                       &Setting::devicePixelRatio}) {
            Setting setting = good;
            setting.*field = bad;
            EXPECT_TRUE(ringRows(setting).empty());
            if (field != &Setting::inches) // the inverse finds the display size itself
                EXPECT_FALSE(inchesForFirstGap(10, setting));
        }
        EXPECT_FALSE(inchesForFirstGap(bad, good));
        EXPECT_FALSE(pixelLimit(bad, 100));
        EXPECT_FALSE(pixelLimit(0.2745, bad));
    }
    // A ring too large for a single; gaps whose angle or acuity leaves the range of a double.
    EXPECT_TRUE(ringRows({1e-300, 1e300, 0.2745, 1}).empty());
    for (const Setting setting :
         {Setting{14, 100, 1e300, 1}, Setting{14, 100, 1e-320, 1}, Setting{14, 1e-300, 0.2745, 1}})
        for (const RingRow &row : ringRows(setting))
            EXPECT_TRUE(std::isfinite(row.decimalAcuity) && std::isfinite(row.logMar) &&
                        std::isfinite(row.outerWidthMm) && row.gapArcMin > 0);
}

// 14 inches at 100 cm: the ring is 930 × 810 twips, 62 × 54 pixels; its outer edge 73/93 and
// 66/75 of that, its gap 14/93 of the width. On a 0.2745 mm pitch that gap is 2.562 mm, 8.81′.
TEST(ScreenCheck, FirstRowAtTheReferenceSettingIsTheHandWorkedOne)
{
    const std::vector<RingRow> rows = ringRows({14, 100, 0.2745, 1});
    ASSERT_EQ(rows.size(), 21u);
    const RingRow &first = rows.front();
    EXPECT_NEAR(first.outerWidthPx, 48.67, 0.005);
    EXPECT_NEAR(first.outerHeightPx, 47.52, 0.005);
    EXPECT_NEAR(first.outerWidthMm, 13.36, 0.005);
    EXPECT_NEAR(first.outerHeightMm, 13.05, 0.005);
    EXPECT_NEAR(first.gapPx, 9.333, 0.0005);
    EXPECT_NEAR(first.gapMm, 2.562, 0.0005);
    EXPECT_NEAR(first.gapArcMin, 8.81, 0.005);
    EXPECT_NEAR(first.decimalAcuity, 0.1135, 0.00005);
    EXPECT_NEAR(first.logMar, 0.945, 0.0005);
    EXPECT_FALSE(first.belowPixel);

    // Each right answer shrinks by 0.8 and adds 0.1 to what the program shows.
    for (std::size_t n = 1; n < rows.size(); ++n) {
        EXPECT_EQ(rows[n].rightAnswers, int(n));
        EXPECT_NEAR(rows[n].gapPx / rows[n - 1].gapPx, 0.8, 1e-6);
    }
    EXPECT_EQ(rows[0].shownAcuity, QStringLiteral("0.1"));
    EXPECT_EQ(rows[1].shownAcuity, QStringLiteral("0.2"));
    EXPECT_EQ(rows[9].shownAcuity, QStringLiteral("1"));
    EXPECT_EQ(rows[20].shownAcuity, QStringLiteral("2.1"));
}

// The gap is 9.333 screen pixels at the reference setting without desktop scaling; it grows
// with distance / inches and with the scaling. -1: no row under one pixel.
TEST(ScreenCheck, RowsUnderOnePixelAreMarked)
{
    struct Row
    {
        Setting setting;
        int firstBelowPixel;
    };
    for (const Row row :
         {Row{{14, 100, 0.2745, 1}, 11}, Row{{14, 100, 0.2745, 2}, 14},
          Row{{32, 100, 0.2745, 1}, 7}, Row{{12, 300, 0.1, 2}, 19}, Row{{12, 300, 0.1, 4}, -1}}) {
        const std::vector<RingRow> rows = ringRows(row.setting);
        int first = -1;
        for (const RingRow &ring : rows) {
            EXPECT_EQ(ring.belowPixel, ring.gapPx < 1.0);
            if (ring.belowPixel && first < 0)
                first = ring.rightAnswers;
        }
        EXPECT_EQ(first, row.firstBelowPixel)
            << row.setting.inches << " " << row.setting.centimetres;
    }
    // The best the screen shows: 0.2745 mm at 300 cm is 2 atan(0.13725 / 3000) = 0.3146′.
    const auto limit = pixelLimit(0.2745, 300);
    ASSERT_TRUE(limit);
    EXPECT_NEAR(limit->gapArcMin, 0.3146, 0.00005);
    EXPECT_NEAR(limit->decimalAcuity, 3.179, 0.0005);
    EXPECT_NEAR(limit->logMar, -0.502, 0.0005);
}

TEST(ScreenCheck, DisplaySizeForATenMinuteFirstGap)
{
    // At 14 inches the first gap is 2.562 mm on a 0.2745 mm pitch; 10′ at 100 cm is 2.909 mm:
    // 14 × 2.562 / 2.909 = 12.33 inches. Ring and wanted gap both grow with the distance.
    for (const double centimetres : {100.0, 300.0}) {
        const auto inches = inchesForFirstGap(10, {14, centimetres, 0.2745, 1});
        ASSERT_TRUE(inches);
        EXPECT_NEAR(*inches, 12.33, 0.005);
        EXPECT_NEAR(ringRows({*inches, centimetres, 0.2745, 1}).front().gapArcMin, 10.0, 1e-4);
    }
    // Desktop scaling by 2 draws the ring on twice the pixels.
    EXPECT_NEAR(*inchesForFirstGap(10, {14, 100, 0.2745, 2}), 24.66, 0.005);

    // Nearest by ratio: 17.5 lies halfway between 16 and 19 but nearer 19 (boundary √(16 × 19)).
    for (const auto &[inches, nearest] :
         {std::pair{12.33, 12}, std::pair{12.95, 12}, std::pair{12.97, 14}, std::pair{17.5, 19},
          std::pair{5.0, 12}, std::pair{40.0, 32}})
        EXPECT_EQ(nearestListedInches(inches), nearest) << inches;
}
