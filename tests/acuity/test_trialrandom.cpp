#include "acuity/trialrandom.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using mitoon::TrialRandom;

TEST(TrialRandom, LargestDrawStaysBelowNine)
{
    const float largest = std::nextafter(1.0f, 0.0f);
    EXPECT_EQ(TrialRandom::orientationFor(largest), 8);
    EXPECT_EQ(TrialRandom::orientationFor(0.0f), 1);
    EXPECT_EQ(TrialRandom::orientationFor(0.125f), 2);
    EXPECT_EQ(TrialRandom::orientationFor(std::nextafter(0.125f, 0.0f)), 1);
}

TEST(TrialRandom, QuickSuccessionNeverSharesASeed)
{
    std::uint64_t now = 5000;
    TrialRandom random([&now] { return now; }); // a clock that does not move
    random.reseed();
    const auto first = random.seed();
    random.reseed();
    EXPECT_NE(random.seed(), first);
}

// Over many trials, seeded from a clock a few microseconds apart each time, every orientation
// appears about equally often and nothing outside 1 to 8 is drawn.
TEST(TrialRandom, OrientationsAreUniform)
{
    for (std::uint64_t start : {0ull, 37'000'000'000'000ull, 86'399'000'000'000ull}) {
        std::uint64_t now = start;
        TrialRandom random([&now] { return now += 3'000; });
        std::array<int, 10> counts{};
        constexpr int kDraws = 80'000;
        for (int i = 0; i < kDraws; ++i) {
            const int o = random.drawOrientation();
            ASSERT_GE(o, 1);
            ASSERT_LE(o, 8);
            ++counts[o];
        }
        double chiSquare = 0;
        const double expected = kDraws / 8.0;
        for (int o = 1; o <= 8; ++o)
            chiSquare += (counts[o] - expected) * (counts[o] - expected) / expected;
        // 7 degrees of freedom: 40 is far beyond the 0.0001% tail; fixed seeds never flake.
        EXPECT_LT(chiSquare, 40.0) << "start " << start;
    }
}

TEST(TrialRandom, DrawsCoverTheUnitInterval)
{
    std::uint64_t now = 1;
    TrialRandom random([&now] { return now++; });
    float low = 1, high = 0;
    for (int i = 0; i < 100'000; ++i) {
        random.reseed();
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, 0.001f);
    EXPECT_GT(high, 0.999f);
}
