#include "acuity/pixelpitch.h"

#include <gtest/gtest.h>

#include <limits>

using namespace mitoon::pixelpitch;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ReportRow
{
    const char *what;
    ScreenReport report;
    std::optional<double> pitchMm;
    Doubt doubt;
};

void PrintTo(const ReportRow &row, std::ostream *out)
{
    *out << row.what;
}

} // namespace

class ScreenReports : public ::testing::TestWithParam<ReportRow>
{
};

TEST_P(ScreenReports, GiveAPitchAndSayWhenItLooksMadeUp)
{
    const ReportRow row = GetParam();
    const ScreenPitch pitch = fromScreen(row.report);
    EXPECT_EQ(pitch.doubt, row.doubt);
    ASSERT_EQ(pitch.pitchMm.has_value(), row.pitchMm.has_value());
    if (row.pitchMm)
        EXPECT_NEAR(*pitch.pitchMm, *row.pitchMm, 0.00005);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScreenReports,
    ::testing::Values(
        ReportRow{"a 24-inch full-HD panel", {527, 296, 1920, 1080}, 0.2745, Doubt::None},
        ReportRow{"a 14-inch 1024 x 768 panel", {284, 213, 1024, 768}, 0.2773, Doubt::None},
        // What an X server without the monitor's data reports: 96 dpi in whole millimetres.
        ReportRow{"96 dpi, rounded up", {339, 271, 1280, 1024}, 0.2648, Doubt::Looks96Dpi},
        ReportRow{"96 dpi, rounded down", {508, 285, 1920, 1080}, 0.2646, Doubt::Looks96Dpi},
        ReportRow{"96 dpi across only", {339, 320, 1280, 1024}, 0.2648, Doubt::NotSquare},
        ReportRow{
            "the same screen at twice the pixels", {339, 271, 2560, 2048}, 0.1324, Doubt::None},
        ReportRow{"no size", {0, 0, 1920, 1080}, std::nullopt, Doubt::NoSize},
        ReportRow{"no height", {527, 0, 1920, 1080}, std::nullopt, Doubt::NoSize},
        ReportRow{"no pixels", {527, 296, 0, 0}, std::nullopt, Doubt::NoSize},
        ReportRow{"not a number", {kNaN, 296, 1920, 1080}, std::nullopt, Doubt::NoSize},
        ReportRow{"negative", {-527, -296, 1920, 1080}, std::nullopt, Doubt::NoSize},
        // Some projectors and televisions report their aspect ratio in centimetres.
        ReportRow{"16 x 9 mm", {16, 9, 1920, 1080}, std::nullopt, Doubt::OutOfRange},
        ReportRow{"a wall", {5000, 2800, 1920, 1080}, std::nullopt, Doubt::OutOfRange},
        ReportRow{
            "pixels twice as high as wide", {527, 592, 1920, 1080}, 0.2745, Doubt::NotSquare}),
    [](const auto &info) { return "row" + std::to_string(info.index); });

TEST(PixelPitch, StoredMeasurementWinsWhenPlausibleElseTheScreensReport)
{
    const ScreenReport screen{527, 296, 1920, 1080};
    const ScreenReport madeUp{339, 271, 1280, 1024};
    const ScreenReport none{0, 0, 1280, 1024};

    InEffect effect = inEffect(0.25, madeUp);
    EXPECT_EQ(effect.source, Source::Measured);
    EXPECT_EQ(effect.pitchMm, 0.25);
    EXPECT_EQ(effect.screenDoubt, Doubt::Looks96Dpi);
    EXPECT_FALSE(effect.storedIgnored);

    effect = inEffect(std::nullopt, screen);
    EXPECT_EQ(effect.source, Source::Screen);
    EXPECT_NEAR(*effect.pitchMm, 0.2745, 0.00005);
    EXPECT_FALSE(effect.storedIgnored);

    for (const double bad :
         {0.0, -0.25, kNaN, std::numeric_limits<double>::infinity(), 0.049, 1.01, 1e300}) {
        SCOPED_TRACE(bad);
        effect = inEffect(bad, screen);
        EXPECT_EQ(effect.source, Source::Screen);
        EXPECT_NEAR(*effect.pitchMm, 0.2745, 0.00005);
        EXPECT_TRUE(effect.storedIgnored);

        effect = inEffect(bad, none);
        EXPECT_EQ(effect.source, Source::None);
        EXPECT_FALSE(effect.pitchMm);
        EXPECT_EQ(effect.screenDoubt, Doubt::NoSize);
    }
    EXPECT_EQ(inEffect(kSmallestMm, none).source, Source::Measured);
    EXPECT_EQ(inEffect(kLargestMm, none).source, Source::Measured);
}

TEST(PixelPitch, CardWidthAndPitchAreTwoSidesOfTheSameMeasure)
{
    // A card outline 312 pixels wide on a 0.2745 mm pitch screen is 85.64 mm.
    EXPECT_NEAR(fromCardWidthPx(312), 0.27436, 0.000005);
    EXPECT_NEAR(cardWidthPx(0.2745), 311.84, 0.005);
    EXPECT_DOUBLE_EQ(fromCardWidthPx(cardWidthPx(0.1324)), 0.1324);
}
