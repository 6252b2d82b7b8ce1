#include "acuity/visualangle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mitoon::visualangle;

// Worked by hand: angle = 2 atan(size / 2 distance); decimal = 1 / angle; logMAR = log10 angle.
TEST(VisualAngle, AcuityAndLogMarAreTheHandWorkedFigures)
{
    struct Row
    {
        double sizeMm, distanceMm, arcMin, decimal, logMar;
    };
    for (const Row row :
         {Row{0.2909, 1000, 1.0, 1.0, 0.0}, Row{1.0, 1000, 3.44, 0.29, 0.54},
          Row{2.909, 1000, 10.0, 0.1, 1.0}, Row{0.2745, 3000, 0.3146, 3.18, -0.50}}) {
        SCOPED_TRACE(row.sizeMm);
        const auto arcMin = visualAngleArcMin(row.sizeMm, row.distanceMm);
        ASSERT_TRUE(arcMin);
        EXPECT_NEAR(*arcMin, row.arcMin, 0.005);
        EXPECT_NEAR(*decimalAcuity(*arcMin), row.decimal, 0.005);
        EXPECT_NEAR(*logMar(*arcMin), row.logMar, 0.005);
        EXPECT_NEAR(*sizeForVisualAngleMm(*arcMin, row.distanceMm), row.sizeMm, 1e-9);
    }
    EXPECT_NEAR(*sizeForVisualAngleMm(1.0, 1000), 0.2909, 0.00005);
}

// Each input that is no positive finite number gives nothing, never infinity.
TEST(VisualAngle, InvalidInputsGiveNothing)
{
    for (const double bad : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(visualAngleArcMin(bad, 1000));
        EXPECT_FALSE(visualAngleArcMin(1.0, bad));
        EXPECT_FALSE(sizeForVisualAngleMm(bad, 1000));
        EXPECT_FALSE(decimalAcuity(bad));
        EXPECT_FALSE(logMar(bad));
    }
}

// Rounded to the decimals shown; what rounds to zero is zero, never "-0.00".
TEST(VisualAngle, LogMarTextRoundsAndNeverShowsMinusZero)
{
    struct Row
    {
        double logMar;
        int decimals;
        const char *text;
    };
    for (const Row row : {Row{0.0, 2, "0.00"}, Row{-0.004, 2, "0.00"}, Row{-0.005, 2, "-0.01"},
                          Row{0.0792, 2, "0.08"}, Row{-0.0792, 2, "-0.08"}, Row{-0.04, 1, "0.0"},
                          Row{1.0, 1, "1.0"}, Row{-0.301, 1, "-0.3"}, Row{12345.6, 0, "12346"}}) {
        SCOPED_TRACE(row.logMar);
        EXPECT_EQ(logMarText(row.logMar, row.decimals), QString::fromLatin1(row.text));
    }
    EXPECT_EQ(logMarText(-0.0792, 2, QLocale(QLocale::German)), QStringLiteral("-0,08"));
    EXPECT_EQ(logMarText(-0.001, 2, QLocale(QLocale::German)), QStringLiteral("0,00"));
}
