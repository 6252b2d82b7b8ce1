#include "screencheck/gamentexts.h"
#include "screencheck/ringrows.h"

#include <gtest/gtest.h>

using namespace mitoon;

namespace {

struct CellRow
{
    double devicePixelRatio;
    int rightAnswers;
    QStringList cells;
};

class CellTexts : public ::testing::TestWithParam<CellRow>
{
};

// 14 inches at 100 cm on a 0.2745 mm pitch, worked by hand: the ring is 62 × 54 pixels, times
// 0.8 after each right answer; its outer edge 73/93 and 66/75 of that, its gap 14/93 of the
// width; angle 2 atan(gap / 2 distance); decimal 1 / angle; logMAR log10 angle. With desktop
// scaling by 2 the ring covers twice the pixels: the same gap in pixels is half the size.
TEST_P(CellTexts, AreTheHandWorkedFiguresOfTheRow)
{
    const CellRow &row = GetParam();
    const std::vector<screencheck::RingRow> rows =
        screencheck::ringRows({14, 100, 0.2745, row.devicePixelRatio});
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(gamentexts::cellTexts(rows[size_t(row.rightAnswers)]), row.cells);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, CellTexts, ::testing::Values(
    CellRow{1,  0, {"0",  "48.7 × 47.5", "13.4 × 13.0", "9.33",  "2.56", "8.81",  "0.11", "0.94",  "0.1", ""}},
    CellRow{1,  1, {"1",  "38.9 × 38.0", "10.7 × 10.4", "7.47",  "2.05", "7.05",  "0.14", "0.85",  "0.2", ""}},
    CellRow{1, 10, {"10", "5.2 × 5.1",   "1.4 × 1.4",   "1.00",  "0.28", "0.95",  "1.06", "-0.02", "1.1", ""}},
    CellRow{1, 11, {"11", "4.2 × 4.1",   "1.1 × 1.1",   "0.80",  "0.22", "0.76",  "1.32", "-0.12", "1.2", "画素の限界"}},
    CellRow{1, 20, {"20", "0.6 × 0.5",   "0.2 × 0.2",   "0.11",  "0.03", "0.10",  "9.85", "-0.99", "2.1", "画素の限界"}},
    CellRow{2,  0, {"0",  "97.3 × 95.0", "26.7 × 26.1", "18.67", "5.12", "17.61", "0.06", "1.25",  "0.1", ""}},
    CellRow{2, 11, {"11", "8.4 × 8.2",   "2.3 × 2.2",   "1.60",  "0.44", "1.51",  "0.66", "0.18",  "1.2", ""}},
    CellRow{2, 20, {"20", "1.1 × 1.1",   "0.3 × 0.3",   "0.22",  "0.06", "0.20",  "4.92", "-0.69", "2.1", "画素の限界"}}));
// clang-format on

} // namespace
