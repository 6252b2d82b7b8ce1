#include "acuity/trialrandom.h"

#include <QDateTime>
#include <QTime>
#include <chrono>
#include <cmath>

namespace mitoon {

std::uint64_t TrialRandom::timeOfDayNanoseconds()
{
    const auto now = std::chrono::system_clock::now();
    const auto nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
    // Local midnight: the offset of local time from UTC at this moment.
    const qint64 offsetSeconds = QDateTime::currentDateTime().offsetFromUtc();
    constexpr std::int64_t kDay = 86'400'000'000'000;
    std::int64_t local = (nanoseconds + offsetSeconds * 1'000'000'000) % kDay;
    if (local < 0)
        local += kDay;
    return std::uint64_t(local);
}

TrialRandom::TrialRandom(Clock clock) : clock_(std::move(clock)) {}

void TrialRandom::reseed()
{
    std::uint64_t seed = clock_();
    if (seeded_ && seed == seed_)
        ++seed;
    seed_ = seed;
    state_ = seed;
    seeded_ = true;
}

float TrialRandom::next()
{
    // SplitMix64: consecutive seeds give unrelated outputs, which matters because every draw
    // comes from a fresh seed that is only a few microseconds away from the previous one.
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    // The top 24 bits fill a single's mantissa exactly: 0 ≤ r ≤ 1 − 2⁻²⁴.
    return float(z >> 40) * (1.0f / 16777216.0f);
}

int TrialRandom::drawOrientation()
{
    reseed();
    return orientationFor(next());
}

int TrialRandom::orientationFor(float r)
{
    return int(std::trunc(double(r) * 8.0 + 1.0));
}

} // namespace mitoon
