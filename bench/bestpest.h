#pragma once

#include "precise/psychometricmodel.h"

#include <vector>

namespace mitoon::precise::bench {

// Best PEST as published (Lieberman and Pentland, 1982) in the form used for acuity: every
// ring at the maximum-likelihood threshold of the answers so far, on a logMAR grid, under a
// logistic with the guess rate of eight directions and no lapses; the first ring large; and
// every sixth trial from the twelfth on an "easy" one, 0.5 logMAR above the estimate, to keep
// the eye willing. The estimate is the maximum-likelihood threshold after the last answer.
class BestPest
{
public:
    static constexpr double kAssumedScaleLogMar = 0.25;
    static constexpr double kStartLogMar = 1.0;
    static constexpr double kEasyStepLogMar = 0.5;

    BestPest(double lowLogMar, double highLogMar, double stepLogMar);

    // The size of trial `number` (from 1), within the grid.
    double sizeFor(int number) const;
    void update(double sizeLogMar, bool correct);
    // The grid point of greatest likelihood; the lowest of equal ones.
    double estimate() const;

    static bool isEasyTrial(int number);

private:
    PsychometricModel model_{1.0 / 8.0, 0.0, kAssumedScaleLogMar};
    std::vector<double> thresholds_;
    std::vector<double> logLikelihood_;
    int answers_ = 0;
};

} // namespace mitoon::precise::bench
