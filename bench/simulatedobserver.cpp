#include "simulatedobserver.h"

namespace mitoon::precise::bench {

SimulatedObserver::SimulatedObserver(double thresholdLogMar, const PsychometricModel &model,
                                     std::uint64_t key)
    : threshold_(thresholdLogMar), model_(model), key_(key)
{
}

int SimulatedObserver::answer(int trial, double gapLogMar, int orientation) const
{
    if (uniform(key_, trial, 0) < model_.pCorrect(gapLogMar, threshold_))
        return orientation;
    // The seven others in turn, skipping the right one.
    const int wrong = 1 + int(uniform(key_, trial, 1) * 7);
    return wrong >= orientation ? wrong + 1 : wrong;
}

std::uint64_t SimulatedObserver::mix(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

double SimulatedObserver::uniform(std::uint64_t key, int trial, int which)
{
    const std::uint64_t bits = mix(mix(key ^ mix(std::uint64_t(trial))) + std::uint64_t(which));
    return double(bits >> 11) * 0x1p-53;
}

} // namespace mitoon::precise::bench
