#include "bestpest.h"

#include <algorithm>
#include <cmath>

namespace mitoon::precise::bench {

BestPest::BestPest(double lowLogMar, double highLogMar, double stepLogMar)
{
    const int steps = std::max(1, int(std::ceil((highLogMar - lowLogMar) / stepLogMar - 1e-9)));
    for (int i = 0; i <= steps; ++i)
        thresholds_.push_back(lowLogMar + (highLogMar - lowLogMar) * i / steps);
    logLikelihood_.assign(thresholds_.size(), 0.0);
}

bool BestPest::isEasyTrial(int number)
{
    return number >= 12 && number % 6 == 0;
}

double BestPest::sizeFor(int number) const
{
    const double size =
        answers_ == 0 ? kStartLogMar : estimate() + (isEasyTrial(number) ? kEasyStepLogMar : 0.0);
    return std::clamp(size, thresholds_.front(), thresholds_.back());
}

void BestPest::update(double sizeLogMar, bool correct)
{
    for (std::size_t i = 0; i < thresholds_.size(); ++i) {
        const double p = model_.pCorrect(sizeLogMar, thresholds_[i]);
        // Without lapses a wrong answer far above threshold is nearly impossible; the floor
        // keeps its logarithm finite, as any implementation in floating point must.
        logLikelihood_[i] += std::log(std::max(correct ? p : 1.0 - p, 1e-300));
    }
    ++answers_;
}

double BestPest::estimate() const
{
    const auto best = std::max_element(logLikelihood_.begin(), logLikelihood_.end());
    return thresholds_[std::size_t(best - logLikelihood_.begin())];
}

} // namespace mitoon::precise::bench
