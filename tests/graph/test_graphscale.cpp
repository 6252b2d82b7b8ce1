#include "graph/graphscale.h"

#include <gtest/gtest.h>

#include <cmath>

// Labels read as text when a row fails.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace mitoon;
using namespace mitoon::graphscale;

namespace {

qint64 at(int year, int month, int day, int hour = 0)
{
    return startOfDay(QDate(year, month, day)) + hour * 3600;
}

TEST(AcuityAxis, IsLogarithmicFromPointOneToTwo)
{
    EXPECT_DOUBLE_EQ(acuityFraction(0.1), 0.0);
    EXPECT_DOUBLE_EQ(acuityFraction(2.0), 1.0);
    // Equal ratios, equal distances: 0.1 → 0.2 is as far as 1.0 → 2.0.
    EXPECT_NEAR(acuityFraction(0.2) - acuityFraction(0.1),
                acuityFraction(2.0) - acuityFraction(1.0), 1e-12);
    EXPECT_NEAR(acuityFraction(1.0), std::log(10.0) / std::log(20.0), 1e-12);
    EXPECT_LT(acuityFraction(0.05), 0.0);
    EXPECT_GT(acuityFraction(3.0), 1.0);
}

TEST(AcuityAxis, LogMarLabelsOfTheGrid)
{
    const char *expected[] = {"1.0", "0.7", "0.3", "0.0", "-0.3"};
    for (size_t i = 0; i < kGrid.size(); ++i)
        EXPECT_EQ(logMarLabel(kGrid[i]).toStdString(), expected[i]);
}

TEST(TimeAxis, SpanHasRoomOnBothSidesAndAtLeastTheWholeDay)
{
    const Span single = timeSpan(at(2026, 12, 9, 12), at(2026, 12, 9, 12));
    EXPECT_EQ(single.from, at(2026, 12, 9));
    EXPECT_EQ(single.to, at(2026, 12, 10));
    EXPECT_DOUBLE_EQ(single.fraction(at(2026, 12, 9, 12)), 0.5);

    const Span years = timeSpan(at(2016, 1, 1), at(2026, 1, 1));
    EXPECT_LT(years.from, at(2016, 1, 1));
    EXPECT_GT(years.to, at(2026, 1, 1));
    EXPECT_GT(years.fraction(at(2016, 1, 1)), 0.02);
    EXPECT_LT(years.fraction(at(2026, 1, 1)), 0.98);
}

struct TickRow
{
    const char *name;
    Span span;
    double axisLength;
    QStringList labels;
};

class DateTicks : public ::testing::TestWithParam<TickRow>
{
};

TEST_P(DateTicks, TakeTheSmallestStepWhoseLabelsFit)
{
    const TickRow &row = GetParam();
    // A day label needs 100, a month label 70, a year label 40.
    const QList<Tick> ticks = dateTicks(row.span, row.axisLength, {100, 70, 40});
    QStringList labels;
    for (const Tick &tick : ticks) {
        labels.append(tick.label);
        EXPECT_EQ(tick.moment, startOfDay(tick.date));
        EXPECT_GE(tick.moment, row.span.from);
        EXPECT_LE(tick.moment, row.span.to);
    }
    EXPECT_EQ(labels, row.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DateTicks,
    ::testing::Values(
        TickRow{"OneDay", {at(2026, 12, 9), at(2026, 12, 10)}, 600, {"2026-12-09", "2026-12-10"}},
        TickRow{"FiveDays",
                {at(2026, 12, 8, 12), at(2026, 12, 13, 12)},
                600,
                {"2026-12-09", "2026-12-10", "2026-12-11", "2026-12-12", "2026-12-13"}},
        TickRow{"EveryOtherDay",
                {at(2026, 12, 1, 12), at(2026, 12, 10, 12)},
                600,
                {"2026-12-03", "2026-12-05", "2026-12-07", "2026-12-09"}},
        // Weeks start on Monday: 2026-12-07 is one.
        TickRow{"Weeks",
                {at(2026, 12, 2), at(2027, 1, 2)},
                600,
                {"2026-12-07", "2026-12-14", "2026-12-21", "2026-12-28"}},
        TickRow{"Months",
                {at(2026, 9, 15), at(2027, 2, 15)},
                600,
                {"2026-10", "2026-11", "2026-12", "2027-01", "2027-02"}},
        TickRow{"Quarters",
                {at(2025, 11, 15), at(2027, 11, 15)},
                600,
                {"2026-01", "2026-04", "2026-07", "2026-10", "2027-01", "2027-04", "2027-07",
                 "2027-10"}},
        TickRow{"TenYears",
                {at(2016, 9, 1), at(2026, 12, 31)},
                600,
                {"2017", "2018", "2019", "2020", "2021", "2022", "2023", "2024", "2025", "2026"}},
        TickRow{"TenYearsOnAShortAxis",
                {at(2016, 9, 1), at(2026, 12, 31)},
                200,
                {"2018", "2020", "2022", "2024", "2026"}},
        TickRow{"CenturiesOfTypedDates",
                {at(1, 1, 1), at(9999, 12, 31)},
                600,
                {"1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000", "9000"}},
        TickRow{"NoRoomForAnyLabel", {at(2016, 9, 1), at(2026, 12, 31)}, 30, {}}),
    [](const ::testing::TestParamInfo<TickRow> &info) { return info.param.name; });

} // namespace
