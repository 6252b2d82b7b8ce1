#include "acuity/calibration.h"

#include <gtest/gtest.h>

using namespace mitoon;

struct SizingRow
{
    const char *inches;
    const char *centimetres;
    double heightTwips;
    double widthTwips;
};

class SizingFormula : public ::testing::TestWithParam<SizingRow>
{
};

// The table of ring sizes for display and distance, in twips, to half a twip.
TEST_P(SizingFormula, GivesTheTableSizes)
{
    const SizingRow row = GetParam();
    const Variant inches = Variant::text(row.inches);
    const Variant centimetres = Variant::text(row.centimetres);
    const auto height = ringExtent(kBaseHeight, inches, centimetres);
    const auto width = ringExtent(kBaseWidth, inches, centimetres);
    ASSERT_TRUE(height && width);
    EXPECT_NEAR(*height * kTwipsPerVerticalUnit, row.heightTwips, 0.5);
    EXPECT_NEAR(*width * kTwipsPerHorizontalUnit, row.widthTwips, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Table, SizingFormula,
                         ::testing::Values(SizingRow{"14", "100", 810, 930},
                                           SizingRow{"12", "100", 945, 1085},
                                           SizingRow{"32", "100", 354.4, 406.7},
                                           SizingRow{"12", "300", 2835, 3255},
                                           SizingRow{"32", "300", 1063.2, 1220.6}));

TEST(SizingFormula, UnitsAreTheTableUnits)
{
    EXPECT_FLOAT_EQ(*ringExtent(kBaseHeight, Variant::text("12"), Variant::text("300")), 26.474f);
    EXPECT_NEAR(*ringExtent(kBaseWidth, Variant::text("32"), Variant::text("100")), 40.657, 1e-3);
    // Rounded to single precision only at the end.
    EXPECT_EQ(*ringExtent(kBaseWidth, Variant::integer(14), Variant::integer(100)),
              float(14.0 / 14 * 92.93 * (100 / 100.0)));
}

TEST(SizingFormula, RefusesWhatIsNoPositiveFiniteNumber)
{
    const Variant good = Variant::text("100");
    for (const char *bad : {"", "abc", "0", "-14", "1e999", "14cm"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ringExtent(kBaseWidth, Variant::text(bad), good));
        EXPECT_FALSE(ringExtent(kBaseWidth, Variant::text("14"), Variant::text(bad)));
    }
    EXPECT_FALSE(ringExtent(kBaseWidth, Variant(), good)); // empty counts as 0
    // Rounding to nothing in single precision: no extent rather than a ring of no size.
    EXPECT_FALSE(ringExtent(kBaseWidth, Variant::text("144e95"), good));
    // Too large for a single: no extent rather than infinity.
    EXPECT_FALSE(ringExtent(kBaseWidth, Variant::text("1e-300"), Variant::text("1e300")));
}
