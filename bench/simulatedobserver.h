#pragma once

#include "precise/psychometricmodel.h"

#include <cstdint>

namespace mitoon::precise::bench {

// A stand-in for an eye: it gets a ring right with the chance its psychometric function gives
// and otherwise names one of the seven wrong directions, each as likely. Its random numbers are
// fixed by (observer, repetition, trial), not drawn in sequence, so every procedure that shows
// trial i to this observer in this repetition uses the very same numbers for it; what differs
// between procedures is only the size they show.
class SimulatedObserver
{
public:
    SimulatedObserver(double thresholdLogMar, const PsychometricModel &model, std::uint64_t key);

    double thresholdLogMar() const { return threshold_; }

    // The answer to trial `trial` (from 0) of a ring at `gapLogMar` with its gap at
    // `orientation` (1 to 8).
    int answer(int trial, double gapLogMar, int orientation) const;

    // A number uniform in [0, 1) for (key, trial, which): which 0 decides right or wrong, which
    // 1 the wrong direction.
    static double uniform(std::uint64_t key, int trial, int which);
    // SplitMix64's finaliser: neighbouring inputs give unrelated outputs.
    static std::uint64_t mix(std::uint64_t value);

private:
    double threshold_;
    PsychometricModel model_;
    std::uint64_t key_;
};

} // namespace mitoon::precise::bench
