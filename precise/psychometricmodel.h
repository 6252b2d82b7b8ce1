#pragma once

// The chance of a right answer to a ring whose gap is `sizeLogMar` for an eye whose threshold
// is `thresholdLogMar`: a logistic in logMAR between the guess rate of eight directions and one
// less the lapse rate,
//     p = guess + (1 − guess − lapse) / (1 + exp(−(size − threshold) / scale)).
// The threshold is the size halfway up the logistic: with the defaults 56 % right answers.
namespace mitoon::precise {

struct PsychometricModel
{
    double guess = 1.0 / 8.0;
    double lapse = 0.0;
    double scaleLogMar = 0.07;

    double pCorrect(double sizeLogMar, double thresholdLogMar) const;
};

} // namespace mitoon::precise
