#include "precise/psychometricmodel.h"

#include <cmath>

namespace mitoon::precise {

double PsychometricModel::pCorrect(double sizeLogMar, double thresholdLogMar) const
{
    const double rise = 1.0 / (1.0 + std::exp(-(sizeLogMar - thresholdLogMar) / scaleLogMar));
    return guess + (1.0 - guess - lapse) * rise;
}

} // namespace mitoon::precise
