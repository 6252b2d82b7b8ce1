#include "precise/posterior.h"

#include <gtest/gtest.h>

using namespace mitoon::precise;

namespace {

// Far above the threshold a model without lapses gives a wrong answer the chance
// 7/8 e^−(x−t)/s: for a ring 1.5 logMAR above every threshold at a scale of 0.04, below e^−37,
// which 1 − p rounds to 0 at every threshold, so that the answer would be thrown away. It says
// that the eye is as poor as the grid allows: the chance grows by e^0.25 a step of 0.01 up the
// grid and the prior falls by e^−0.02 a step near its top, so that the posterior falls off
// geometrically down from 0.5 by r = e^−0.23 a step, r / (1 − r) = 3.9 steps on average.
TEST(Posterior, AWrongAnswerFarAboveEveryThresholdStillCounts)
{
    Posterior posterior(-0.5, 0.5, 0.01, 0.0, 0.5, PsychometricModel{1.0 / 8.0, 0.0, 0.04});
    ASSERT_NEAR(posterior.mean(), 0.0, 1e-9);
    posterior.update(2.0, false);
    EXPECT_NEAR(posterior.mean(), 0.46, 0.01);
}

} // namespace
