#include "precise/posterior.h"

#include <algorithm>
#include <cmath>

namespace mitoon::precise {

namespace {
// Beyond it exp() overflows, and e·F would be ∞ · 0; 1 − F is then 1 to the last digit anyway.
constexpr double kMaxExponent = 700.0;
} // namespace

Posterior::Posterior(double lowLogMar, double highLogMar, double maxStepLogMar,
                     double priorMeanLogMar, double priorSdLogMar, const PsychometricModel &model)
    : model_(model)
{
    const int steps = std::max(1, int(std::ceil((highLogMar - lowLogMar) / maxStepLogMar - 1e-9)));
    const double step = (highLogMar - lowLogMar) / steps;
    thresholds_.resize(std::size_t(steps) + 1);
    weights_.resize(thresholds_.size());
    double sum = 0, weightedSum = 0;
    for (int i = 0; i <= steps; ++i) {
        // The last point is the range's end itself, not a sum of rounded steps.
        const double t = i == steps ? highLogMar : lowLogMar + i * step;
        const double z = (t - priorMeanLogMar) / priorSdLogMar;
        thresholds_[std::size_t(i)] = t;
        weights_[std::size_t(i)] = std::exp(-0.5 * z * z);
        sum += weights_[std::size_t(i)];
        weightedSum += weights_[std::size_t(i)] * t;
    }
    normalise(sum, weightedSum);
}

void Posterior::update(double sizeLogMar, bool correct)
{
    // The logistic written out rather than through PsychometricModel::pCorrect, so that its
    // constants are worked out once an answer and not once a grid point: this loop is all an
    // answer costs. A wrong answer's chance, 1 − guess − rise·F, is rise·(1 − F) + lapse, with
    // 1 − F = e·F from the same exponential: 1 − p would round to 0 far above the threshold.
    const double rise = 1.0 - model_.guess - model_.lapse;
    const double inverseScale = 1.0 / model_.scaleLogMar;
    const double floor = correct ? model_.guess : model_.lapse;
    const std::size_t n = weights_.size();
    double sum = 0, weightedSum = 0;
    std::vector<double> &updated = scratch_;
    updated.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double e =
            std::exp(std::min((thresholds_[i] - sizeLogMar) * inverseScale, kMaxExponent));
        const double climbed = 1.0 / (1.0 + e); // F, the share of the rise
        updated[i] = weights_[i] * (floor + rise * (correct ? climbed : e * climbed));
        sum += updated[i];
        weightedSum += updated[i] * thresholds_[i];
    }
    if (!(sum > 0.0) || !std::isfinite(sum))
        return;
    weights_.swap(updated);
    normalise(sum, weightedSum);
}

void Posterior::normalise(double sum, double weightedSum)
{
    const double scale = 1.0 / sum;
    for (double &w : weights_)
        w *= scale;
    mean_ = std::clamp(weightedSum * scale, thresholds_.front(), thresholds_.back());
}

double Posterior::sd() const
{
    double variance = 0;
    for (std::size_t i = 0; i < weights_.size(); ++i)
        variance += weights_[i] * (thresholds_[i] - mean_) * (thresholds_[i] - mean_);
    return std::sqrt(variance);
}

double Posterior::quantile(double probability) const
{
    double below = 0;
    for (std::size_t i = 0; i < weights_.size(); ++i) {
        const double upTo = below + weights_[i];
        if (upTo >= probability) {
            if (i == 0)
                return thresholds_.front();
            const double share = weights_[i] > 0 ? (probability - below) / weights_[i] : 0.0;
            return thresholds_[i - 1] + share * (thresholds_[i] - thresholds_[i - 1]);
        }
        below = upTo;
    }
    return thresholds_.back();
}

} // namespace mitoon::precise
