#include "screencheck/pixelpitch.h"

#include <gtest/gtest.h>

#include <limits>

using namespace mitoon::pixelpitch;

namespace {
}

TEST(PixelPitch, ScreenReportGivesAPitchAndSaysWhenItLooksMadeUp)
{
    struct Row
    {
        ScreenReport report;
        double pitchMm; // 0: none
        Doubt doubt;
    };
    for (const Row row : {
             Row{{527, 296, 1920, 1080}, 0.2745, Doubt::None}, // a 24-inch full-HD panel
             Row{{339, 271, 2560, 2048}, 0.1324, Doubt::None},
             // What an X server without the monitor's data reports: 96 dpi in whole mm.
             Row{{339, 271, 1280, 1024}, 0.2648, Doubt::Looks96Dpi},
             Row{{508, 285, 1920, 1080}, 0.2646, Doubt::Looks96Dpi},
             Row{{527, 592, 1920, 1080}, 0.2745, Doubt::NotSquare},
             Row{{0, 0, 1920, 1080}, 0, Doubt::NoSize},
             Row{{std::numeric_limits<double>::quiet_NaN(), 296, 1920, 1080}, 0, Doubt::NoSize},
             Row{{16, 9, 1920, 1080}, 0, Doubt::OutOfRange}, // an aspect ratio, not a size
         }) {
        SCOPED_TRACE(row.report.widthMm);
        const ScreenPitch pitch = fromScreen(row.report);
        EXPECT_EQ(pitch.doubt, row.doubt);
        EXPECT_NEAR(pitch.pitchMm.value_or(0), row.pitchMm, 0.00005);
    }
}

TEST(PixelPitch, StoredMeasurementWinsWhenPlausibleElseTheScreensReport)
{
    const ScreenReport screen{527, 296, 1920, 1080};
    const InEffect measured = inEffect(0.25, {339, 271, 1280, 1024});
    EXPECT_EQ(measured.source, Source::Measured);
    EXPECT_EQ(measured.pitchMm, 0.25);
    EXPECT_EQ(measured.screenDoubt, Doubt::Looks96Dpi);
    EXPECT_EQ(inEffect(std::nullopt, screen).source, Source::Screen);
    EXPECT_FALSE(inEffect(std::nullopt, screen).storedIgnored);

    for (const double bad :
         {0.0, -0.25, std::numeric_limits<double>::quiet_NaN(), 0.049, 1.01, 1e300}) {
        SCOPED_TRACE(bad);
        const InEffect fallback = inEffect(bad, screen);
        EXPECT_EQ(fallback.source, Source::Screen);
        EXPECT_NEAR(*fallback.pitchMm, 0.2745, 0.00005);
        EXPECT_TRUE(fallback.storedIgnored);
        EXPECT_EQ(inEffect(bad, {0, 0, 1280, 1024}).source, Source::None);
        EXPECT_FALSE(inEffect(bad, {0, 0, 1280, 1024}).pitchMm);
    }
    // A card measurement, or a report without doubt, is to be relied on; a doubtful report is not.
    EXPECT_TRUE(isTrusted(measured));
    EXPECT_TRUE(isTrusted(inEffect(std::nullopt, screen)));
    EXPECT_FALSE(isTrusted(inEffect(std::nullopt, {339, 271, 1280, 1024})));
    EXPECT_FALSE(isTrusted(inEffect(std::nullopt, {527, 592, 1920, 1080})));
    EXPECT_FALSE(isTrusted(inEffect(std::nullopt, {0, 0, 1280, 1024})));

    // A card outline 312 pixels wide on a 0.2745 mm pitch screen.
    EXPECT_NEAR(fromCardWidthPx(312), 0.27436, 0.000005);
}
