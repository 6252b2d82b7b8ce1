#pragma once

#include <cstdint>
#include <random>

namespace mitoon::precise {

// The gap's direction for each trial, uniform over the eight. One Mersenne Twister is seeded
// once, from the system's entropy source or from a seed the tests and the benchmark choose,
// and every draw moves it on: no two trials ever start from the same state, unlike a generator
// seeded afresh from the clock for every trial, whose seeds a few microseconds apart can meet.
class OrientationRandom
{
public:
    OrientationRandom();
    explicit OrientationRandom(std::uint64_t seed);

    // 1 to 8.
    int draw();
    // A generator of its own for the next run, seeded from this one, which moves on: runs one
    // after the other never repeat each other's orientations.
    OrientationRandom split();

    // The engine's state, for the tests.
    const std::mt19937_64 &engine() const { return engine_; }

    // The orientation for one 64-bit output of the engine: its top three bits, which are
    // exactly uniform over eight values.
    static int orientationFor(std::uint64_t bits);

private:
    std::mt19937_64 engine_;
};

} // namespace mitoon::precise
