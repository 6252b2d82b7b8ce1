#include "precise/acuityscales.h"
#include "precise/preciserun.h"
#include "precise/units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace mitoon::precise;

namespace {

// 300 cm from a 1920 × 1080 screen of 0.25 mm pixels: logMAR −0.54 to 1.69.
RunSetup farSetup(int trials)
{
    RunSetup setup;
    setup.eye = Eye::Left;
    setup.distanceCm = 300;
    setup.pitchMm = 0.25;
    setup.screenWidthPx = 1920;
    setup.screenHeightPx = 1080;
    setup.trialCount = trials;
    return setup;
}

// Whether the eye gets a ring of this size right.
using Eyesight = std::function<bool(double gapLogMar)>;

Eyesight sharpEdge(double threshold)
{
    return [threshold](double gap) { return gap >= threshold; };
}

// Right with the logistic's chance (scale 0.07, lapse 0.02), from a seeded engine.
Eyesight logistic(double threshold, std::uint64_t seed)
{
    auto engine = std::make_shared<std::mt19937_64>(seed);
    return [threshold, engine](double gap) {
        const double u = double((*engine)() >> 11) * 0x1p-53;
        return u < PsychometricModel{1.0 / 8, 0.02, 0.07}.pCorrect(gap, threshold);
    };
}

// Wrong answers alternate between a wrong direction and "見えない".
PreciseResult measure(PreciseRun &run, const Eyesight &sees)
{
    EXPECT_TRUE(run.start()) << run.problem().toStdString();
    while (run.running()) {
        const PreciseTrial &trial = run.currentTrial();
        const int wrong = trial.number % 2 ? trial.orientation % 8 + 1 : kCannotSee;
        run.answer(sees(trial.gapLogMar) ? trial.orientation : wrong, 700);
    }
    return run.result().value_or(PreciseResult{});
}

struct ConvergenceRow
{
    double threshold;
    bool sharp;
};

class Convergence : public ::testing::TestWithParam<ConvergenceRow>
{
};

TEST_P(Convergence, ThirtyTrialsComeWithinATenthOfTheThreshold)
{
    const ConvergenceRow row = GetParam();
    PreciseRun run(farSetup(30), OrientationRandom(7));
    const PreciseResult result =
        measure(run, row.sharp ? sharpEdge(row.threshold) : logistic(row.threshold, 11));
    EXPECT_NEAR(result.logMar, row.threshold, 0.1);
    EXPECT_EQ(result.limit, RangeLimit::None);
    EXPECT_EQ(result.trials, 30);
    EXPECT_EQ(result.eye, Eye::Left);
}

INSTANTIATE_TEST_SUITE_P(Procedure, Convergence,
                         ::testing::Values(ConvergenceRow{-0.3, true}, ConvergenceRow{0.3, true},
                                           ConvergenceRow{1.0, true}, ConvergenceRow{-0.3, false},
                                           ConvergenceRow{0.3, false}, ConvergenceRow{1.0, false}));

struct LimitRow
{
    double distanceCm, pitchMm, threshold;
    RangeLimit limit;
    const char *decimalText;
};

class RangeLimits : public ::testing::TestWithParam<LimitRow>
{
};

// 0.2745 mm at 100 cm is 0.944′, logMAR −0.025, decimal 1.06: an eye of −0.3 sees every ring and
// is reported at that limit, not beyond it. An eye that sees nothing is reported at the largest
// ring, logMAR 1.695, decimal 0.0202.
TEST_P(RangeLimits, AreReportedAsTheLimit)
{
    const LimitRow row = GetParam();
    RunSetup setup = farSetup(18);
    setup.distanceCm = row.distanceCm;
    setup.pitchMm = row.pitchMm;
    PreciseRun run(setup, OrientationRandom(3));
    const PreciseResult result = measure(run, sharpEdge(row.threshold));
    EXPECT_EQ(result.limit, row.limit);
    const double end =
        row.limit == RangeLimit::Finest ? run.range().finestLogMar : run.range().coarsestLogMar;
    EXPECT_EQ(result.logMar, end);
    EXPECT_EQ(decimalResultText(result), QString::fromUtf8(row.decimalText));
    EXPECT_LE(result.lowLogMar, result.logMar);
    EXPECT_GE(result.highLogMar, result.logMar);
    for (const TrialRecord &trial : run.trials()) {
        EXPECT_GE(trial.gapDevicePx, 1.0 - 1e-9);
        EXPECT_TRUE(run.range().contains(trial.gapLogMar));
    }
}

INSTANTIATE_TEST_SUITE_P(Procedure, RangeLimits,
                         ::testing::Values(LimitRow{100, 0.2745, -0.3, RangeLimit::Finest, "≥ 1.1"},
                                           LimitRow{300, 0.25, 2.5, RangeLimit::Coarsest,
                                                    "≤ 0.020"}));

class Interval : public ::testing::TestWithParam<double>
{
};

TEST_P(Interval, HoldsTheEstimateAndNarrowsWithMoreTrials)
{
    double width18 = 0;
    for (const int trials : {18, 48}) {
        PreciseRun run(farSetup(trials), OrientationRandom(5));
        const PreciseResult result = measure(run, logistic(GetParam(), 23));
        EXPECT_LT(result.lowLogMar, result.logMar);
        EXPECT_GT(result.highLogMar, result.logMar);
        const double width = result.highLogMar - result.lowLogMar;
        if (trials == 18)
            width18 = width;
        else
            EXPECT_LT(width, 0.8 * width18);
    }
}

INSTANTIATE_TEST_SUITE_P(Procedure, Interval, ::testing::Values(-0.2, 0.4, 0.9));

struct SetupRow
{
    void (*spoil)(RunSetup &);
    const char *reason;
};

class BadSetup : public ::testing::TestWithParam<SetupRow>
{
};

TEST_P(BadSetup, StartsNothingAndSaysWhy)
{
    RunSetup setup = farSetup(18);
    GetParam().spoil(setup);
    PreciseRun run(setup, OrientationRandom(1));
    EXPECT_FALSE(run.start());
    EXPECT_TRUE(run.problem().contains(QString::fromUtf8(GetParam().reason)))
        << run.problem().toStdString();
    EXPECT_EQ(run.state(), PreciseRun::State::NotStarted);
    EXPECT_FALSE(run.answer(1, 500));
    EXPECT_TRUE(run.trials().empty());
    EXPECT_FALSE(run.result());
}

INSTANTIATE_TEST_SUITE_P(
    Procedure, BadSetup,
    ::testing::Values(SetupRow{[](RunSetup &s) { s.pitchMm.reset(); }, "画素の大きさが分からない"},
                      SetupRow{[](RunSetup &s) { s.pitchMm = 0; }, "画素の大きさ（0 mm）"},
                      SetupRow{[](RunSetup &s) { s.distanceCm = 0; }, "距離が正しくない"},
                      SetupRow{[](RunSetup &s) { s.distanceCm = -100; }, "距離が正しくない"},
                      SetupRow{[](RunSetup &s) { s.distanceCm = std::nan(""); }, "距離"},
                      SetupRow{[](RunSetup &s) { s.distanceCm = HUGE_VAL; }, "距離"},
                      SetupRow{[](RunSetup &s) { s.screenHeightPx = 0; }, "画面の大きさ"},
                      SetupRow{[](RunSetup &s) { s.devicePixelRatio = 0; }, "拡大率"},
                      SetupRow{[](RunSetup &s) { s.trialCount = 20; }, "試行の回数"},
                      // a 1-pixel gap seen from 1 mm is 855′, coarser than decimal 0.01
                      SetupRow{[](RunSetup &s) { s.distanceCm = 0.1; }, "近すぎ"},
                      SetupRow{[](RunSetup &s) { s.screenWidthPx = 4; }, "小さすぎ"}));

TEST(PreciseRun, KeepsEveryTrialAndCountsCannotSeeAsWrong)
{
    PreciseRun run(farSetup(18), OrientationRandom(9));
    EXPECT_EQ(run.progressText(), QStringLiteral("0 / 18"));
    ASSERT_TRUE(run.start());
    EXPECT_FALSE(run.start());
    const PreciseTrial first = run.currentTrial();
    // The prior's mean: N(0.3, 0.5) cut to −0.543..1.695, α = −1.686, β = 2.789, moves up by
    // 0.5 (φ(α) − φ(β)) / (Φ(β) − Φ(α)) = 0.5 × 0.0880 / 0.9515 = 0.046. 1′ at 300 cm is
    // 0.8727 mm, 3.4907 pixels of 0.25 mm.
    EXPECT_NEAR(first.gapLogMar, 0.346, 0.002);
    EXPECT_NEAR(first.gapDevicePx, 3.4907 * std::pow(10.0, first.gapLogMar), 0.001);
    EXPECT_DOUBLE_EQ(first.outerDiameterDevicePx, 5 * first.gapDevicePx);
    EXPECT_EQ(run.progressText(), QStringLiteral("1 / 18"));
    for (const int bad : {-1, 9})
        EXPECT_FALSE(run.answer(bad, 500));
    ASSERT_TRUE(run.answer(kCannotSee, 1234.5));
    EXPECT_EQ(run.progressText(), QStringLiteral("2 / 18"));
    // Not seen: the next ring is larger.
    EXPECT_GT(run.currentTrial().gapLogMar, first.gapLogMar + 0.05);
    const TrialRecord &record = run.trials().front();
    EXPECT_EQ(record.number, 1);
    EXPECT_FALSE(record.correct);
    EXPECT_EQ(record.answer, kCannotSee);
    EXPECT_EQ(record.orientation, first.orientation);
    EXPECT_EQ(record.reactionMs, 1234.5);
    while (run.running())
        run.answer(run.currentTrial().orientation, 600);
    EXPECT_EQ(run.progressText(), QStringLiteral("18 / 18"));
    ASSERT_EQ(run.trials().size(), 18u);
    EXPECT_TRUE(run.trials().back().correct);
    EXPECT_FALSE(run.answer(1, 500));
    EXPECT_EQ(run.result()->pitchMm, 0.25);
    EXPECT_EQ(run.result()->distanceCm, 300);
}

} // namespace
