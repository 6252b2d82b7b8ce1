#include "acuity/variant.h"

#include <gtest/gtest.h>

using mitoon::formatGeneral;
using mitoon::parseLocaleNumber;
using mitoon::Variant;

TEST(Variant, EmptyEqualsZeroAndNothingElse)
{
    const Variant empty;
    EXPECT_TRUE(empty.equals(0));
    EXPECT_FALSE(empty.equals(14));
    EXPECT_TRUE(empty.compare(0.1) < 0);
    EXPECT_EQ(empty.toText(), QString());
}

TEST(Variant, TextComparesThroughItsNumericValue)
{
    const QLocale c = QLocale::c();
    EXPECT_EQ(Variant::text("300").compare(300, c), std::partial_ordering::equivalent);
    EXPECT_TRUE(Variant::text("301").compare(300, c) > 0);
    EXPECT_TRUE(Variant::text(" 99 ").compare(100, c) < 0);
    EXPECT_TRUE(Variant::text("0.1").compare(0, c) > 0);
    // A text that is no number cannot be ordered against one.
    EXPECT_EQ(Variant::text("abc").compare(0, c), std::partial_ordering::unordered);
    EXPECT_EQ(Variant::text("").compare(0, c), std::partial_ordering::unordered);
}

TEST(Variant, TextIsReadInTheUsersLocale)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_DOUBLE_EQ(*Variant::text("1,5").toNumber(german), 1.5);
    EXPECT_FALSE(parseLocaleNumber("1.500,5", german)); // group separators are not numbers here
    EXPECT_DOUBLE_EQ(*Variant::text("1.5").toNumber(QLocale::c()), 1.5);
    EXPECT_FALSE(parseLocaleNumber("1e999", QLocale::c())); // overflow is no number
    EXPECT_FALSE(parseLocaleNumber("nan", QLocale::c()));
}

TEST(Variant, NumbersKeepTheirKindAndValue)
{
    EXPECT_EQ(Variant::integer(10).kind(), Variant::Kind::Integer);
    EXPECT_EQ(Variant::integer(-32768).integerValue(), -32768);
    EXPECT_EQ(Variant::single(7.564f).kind(), Variant::Kind::Single);
    EXPECT_DOUBLE_EQ(*Variant::single(7.564f).toNumber(), double(7.564f));
    EXPECT_EQ(Variant::number(92.93).toText(QLocale::c()), "92.93");
    EXPECT_EQ(Variant::integer(2).toText(), "2");
}

struct GeneralFormatRow
{
    double value;
    const char *c;
    const char *german;
};

class GeneralFormat : public ::testing::TestWithParam<GeneralFormatRow>
{
};

TEST_P(GeneralFormat, FifteenDigitsNoTrailingZerosLocaleSeparator)
{
    const GeneralFormatRow row = GetParam();
    EXPECT_EQ(formatGeneral(row.value, 15, QLocale::c()), QString::fromUtf8(row.c));
    EXPECT_EQ(formatGeneral(row.value, 15, QLocale(QLocale::German, QLocale::Germany)),
              QString::fromUtf8(row.german));
}

INSTANTIATE_TEST_SUITE_P(Acuities, GeneralFormat,
                         ::testing::Values(GeneralFormatRow{0.0 / 100 + 0.1, "0.1", "0,1"},
                                           GeneralFormatRow{70.0 / 100 + 0.1, "0.8", "0,8"},
                                           GeneralFormatRow{90.0 / 100 + 0.1, "1", "1"},
                                           GeneralFormatRow{140.0 / 100 + 0.1, "1.5", "1,5"},
                                           GeneralFormatRow{190.0 / 100 + 0.1, "2", "2"},
                                           GeneralFormatRow{32760.0 / 100 + 0.1, "327.7", "327,7"},
                                           GeneralFormatRow{12345.0, "12345", "12345"}));
