#pragma once

#include "precise/psychometricmodel.h"

#include <vector>

namespace mitoon::precise {

// What the answers so far say about the eye's threshold: a probability for each point of an
// evenly spaced logMAR grid, from a truncated normal prior, updated by Bayes' rule after every
// answer. The grid spans exactly the sizes the screen can show, so neither the rings placed
// from it nor the estimate can leave that range.
class Posterior
{
public:
    // The grid runs from `lowLogMar` to `highLogMar` in equal steps of at most `maxStepLogMar`,
    // both ends on it; at least two points.
    Posterior(double lowLogMar, double highLogMar, double maxStepLogMar, double priorMeanLogMar,
              double priorSdLogMar, const PsychometricModel &model);

    // A right or wrong answer to a ring of `sizeLogMar`. An answer that every threshold on the
    // grid finds impossible (only a model without lapses can say so, of a wrong answer to a ring
    // some 700 scales above every threshold, whose chance underflows) leaves the posterior as it
    // was rather than dividing by zero.
    void update(double sizeLogMar, bool correct);

    double mean() const { return mean_; }
    double sd() const;
    // The `probability` quantile, linear between grid points.
    double quantile(double probability) const;

    const std::vector<double> &thresholdsLogMar() const { return thresholds_; }
    const std::vector<double> &probabilities() const { return weights_; }
    const PsychometricModel &model() const { return model_; }

private:
    void normalise(double sum, double weightedSum);

    PsychometricModel model_;
    std::vector<double> thresholds_;
    std::vector<double> weights_;
    std::vector<double> scratch_; // the next weights, kept so that an answer allocates nothing
    double mean_ = 0;
};

} // namespace mitoon::precise
