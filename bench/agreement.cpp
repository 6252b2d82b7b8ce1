#include "agreement.h"

#include <algorithm>
#include <cmath>

namespace mitoon::precise::bench {

Agreement agreement(const std::vector<double> &truth, const std::vector<double> &test,
                    const std::vector<double> &retest, double lowestLogMar, int bins)
{
    Agreement result;
    std::vector<double> binSum(std::size_t(bins), 0.0);
    std::vector<int> binCount(std::size_t(bins), 0);
    double errorSum = 0, differenceSum = 0, differenceSquares = 0;
    const std::size_t n = truth.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double errors = (test[i] - truth[i]) + (retest[i] - truth[i]);
        errorSum += errors;
        const std::size_t bin =
            std::size_t(std::clamp(int(std::floor((truth[i] - lowestLogMar) / 0.1)), 0, bins - 1));
        binSum[bin] += errors;
        binCount[bin] += 2;
        const double difference = test[i] - retest[i];
        differenceSum += difference;
        differenceSquares += difference * difference;
    }
    result.bias = errorSum / double(2 * n);
    for (int b = 0; b < bins; ++b) {
        const double bias =
            binCount[std::size_t(b)] ? binSum[std::size_t(b)] / binCount[std::size_t(b)] : 0;
        if (std::fabs(bias) >= std::fabs(result.worstBinBias)) {
            result.worstBinBias = bias;
            result.worstBinFromLogMar = lowestLogMar + 0.1 * b;
        }
    }
    const double meanDifference = differenceSum / double(n);
    result.differenceSd =
        std::sqrt((differenceSquares - n * meanDifference * meanDifference) / double(n - 1));
    result.limitsOfAgreement = 1.96 * result.differenceSd;
    return result;
}

} // namespace mitoon::precise::bench
