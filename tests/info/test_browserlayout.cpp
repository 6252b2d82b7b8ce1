#include "info/browser/browserlayout.h"

#include <gtest/gtest.h>

using mitoon::BrowserLayout;

namespace {

struct LayoutRow
{
    const char *name;
    int innerWidth;
    int innerHeight;
    BrowserLayout expected;
};

void PrintTo(const LayoutRow &row, std::ostream *out)
{
    *out << row.name;
}

class BrowserLayoutRule : public ::testing::TestWithParam<LayoutRow>
{
};

// The address bar ends at 1215 twips; the previous sizes are 3795 wide and 5000 high.
TEST_P(BrowserLayoutRule, FollowsTheClientAreaButNeverBelowZero)
{
    const LayoutRow &row = GetParam();
    const BrowserLayout previous{3795, 3795, 5000};
    EXPECT_EQ(previous.resized(row.innerWidth, row.innerHeight, 1215), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BrowserLayoutRule,
    ::testing::Values(LayoutRow{"DesignSize", 6525, 7380, {6425, 6425, 6065}},
                      LayoutRow{"Wider", 9000, 7380, {8900, 8900, 6065}},
                      LayoutRow{"ExactlyTheMargins", 100, 1315, {0, 0, 0}},
                      LayoutRow{"NarrowerThanTheMargin", 99, 7380, {3795, 3795, 6065}},
                      LayoutRow{"LowerThanTheAddressBar", 6525, 1314, {6425, 6425, 5000}},
                      LayoutRow{"Minimized", 0, 0, {3795, 3795, 5000}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
