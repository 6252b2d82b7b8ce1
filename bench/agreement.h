#pragma once

#include <vector>

namespace mitoon::precise::bench {

// How one procedure's estimates stand against the true thresholds and against themselves when
// every observer is measured twice.
struct Agreement
{
    // Mean of estimate − truth over both repetitions.
    double bias = 0;
    // The 0.1 logMAR bin of true thresholds with the largest |bias|: its bias and lower edge.
    double worstBinBias = 0;
    double worstBinFromLogMar = 0;
    // The standard deviation of test − retest, and the 95 % limits of agreement from it,
    // ± 1.96 × SD(test − retest), which is 1.96 × √2 × the within-eye SD.
    double differenceSd = 0;
    double limitsOfAgreement = 0;
};

// The true thresholds lie in [lowest, lowest + bins × 0.1).
Agreement agreement(const std::vector<double> &truth, const std::vector<double> &test,
                    const std::vector<double> &retest, double lowestLogMar, int bins);

} // namespace mitoon::precise::bench
