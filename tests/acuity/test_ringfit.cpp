#include "acuity/calibration.h"
#include "acuity/ringfit.h"

#include <gtest/gtest.h>

using namespace mitoon;

TEST(RingTwips, BothExtentsOrNothing)
{
    const auto ring = ringTwips(Variant::text("12"), Variant::text("300"));
    ASSERT_TRUE(ring);
    EXPECT_NEAR(ring->width, 3255, 0.5);
    EXPECT_NEAR(ring->height, 2835, 0.5);
    // 1e48 inches leave a width of a denormal single but no height: no ring at all.
    EXPECT_TRUE(ringExtent(kBaseWidth, Variant::text("1e48"), Variant::text("100")));
    EXPECT_FALSE(ringTwips(Variant::text("1e48"), Variant::text("100")));
}

struct FitRow
{
    const char *name;
    RingTwips ring;
    RingRoom room;
    RingFit fit;
};

TEST(FitRing, GrowsAsFarAsNeededWithinTheMostRoom)
{
    const RingRoom design{2205, 6720, 9000, 9000};
    const FitRow rows[] = {
        {"inside", {930, 810}, design, {true, false, 2205, 6720}},
        {"wider", {3255, 2835}, design, {true, true, 3255, 6720}},
        {"taller", {930, 7000}, design, {true, true, 2205, 7000}},
        {"exactly the most", {9000, 9000}, design, {true, true, 9000, 9000}},
        {"wider than the most", {9001, 810}, design, {false, true, 9000, 6720}},
        {"room beyond the most", {930, 810}, {9500, 9500, 9000, 9000}, {true, false, 9500, 9500}},
    };
    for (const FitRow &row : rows) {
        SCOPED_TRACE(row.name);
        const RingFit fit = fitRing(row.ring, row.room);
        EXPECT_EQ(fit.fits, row.fit.fits);
        EXPECT_EQ(fit.grow, row.fit.grow);
        EXPECT_EQ(fit.width, row.fit.width);
        EXPECT_EQ(fit.height, row.fit.height);
    }
}

struct AdviceRow
{
    double inches;
    double centimetres;
    double maxWidth;
    const char *message;
};

// The listed distance or display size at which the ring fits the most room, and the message.
TEST(FittingSetting, NamesTheListedSettingsThatFit)
{
    const AdviceRow rows[] = {
        {12, 300, 2760, "画面に入りません:250cm以下か16ｲﾝﾁ以上に"},
        {32, 300, 1100, "画面に入りません:距離を250cm以下に"},
        {12, 100, 1000, "画面に入りません:ｻｲｽﾞを14ｲﾝﾁ以上に"},
        {12, 300, 100, "この画面にはどの設定でも入りません"},
        // A typed distance between the items: the next shorter item.
        {12, 275, 2760, "画面に入りません:250cm以下か14ｲﾝﾁ以上に"},
    };
    for (const AdviceRow &row : rows) {
        SCOPED_TRACE(row.message);
        const RingRoom room{0, 0, row.maxWidth, 9000};
        EXPECT_FALSE(
            fitRing(*ringTwips(Variant::number(row.inches), Variant::number(row.centimetres)), room)
                .fits);
        EXPECT_EQ(doesNotFitMessage(fittingSetting(row.inches, row.centimetres, room)),
                  QString(row.message));
    }
}

TEST(FittingSetting, TheHeightCountsToo)
{
    // 12 inches at 300 cm is 2835 twips high: a room of 2800 twips takes 250 cm (2362.5).
    const RingRoom room{0, 0, 9000, 2800};
    const FittingSetting fitting = fittingSetting(12, 300, room);
    EXPECT_EQ(fitting.distance, 250);
    EXPECT_EQ(fitting.displaySize, 14);
}
