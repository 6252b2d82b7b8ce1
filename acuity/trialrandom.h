#pragma once

#include <cstdint>
#include <functional>

namespace mitoon {

// The random source of the trials: every draw takes a new seed from the time of day and then
// one uniform single-precision number. The clock is passed in so that tests can drive the
// seeds.
class TrialRandom
{
public:
    // Nanoseconds since local midnight.
    using Clock = std::function<std::uint64_t()>;
    static std::uint64_t timeOfDayNanoseconds();

    explicit TrialRandom(Clock clock = &TrialRandom::timeOfDayNanoseconds);

    // Takes a new seed from the clock. Two reseeds within one clock tick still get different
    // seeds, so two trials in quick succession never repeat each other by accident.
    void reseed();
    std::uint64_t seed() const { return seed_; }

    // A single-precision number uniform in [0, 1).
    float next();

    // Reseeds, draws r and returns the whole part of r × 8 + 1: an orientation 1 to 8.
    int drawOrientation();

    // r × 8 + 1 in double precision with the fraction dropped. Summing in single precision
    // would round the largest single below 1 up to 9.
    static int orientationFor(float r);

private:
    Clock clock_;
    std::uint64_t seed_ = 0;
    std::uint64_t state_ = 0;
    bool seeded_ = false;
};

} // namespace mitoon
