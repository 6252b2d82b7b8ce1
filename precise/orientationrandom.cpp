#include "precise/orientationrandom.h"

#include <array>

namespace mitoon::precise {

namespace {

std::mt19937_64 seededFromTheSystem()
{
    // Eight 32-bit words: the engine's state is far larger than one word can reach.
    std::random_device device;
    std::array<std::uint32_t, 8> words;
    for (std::uint32_t &word : words)
        word = device();
    std::seed_seq sequence(words.begin(), words.end());
    return std::mt19937_64(sequence);
}

} // namespace

OrientationRandom::OrientationRandom() : engine_(seededFromTheSystem()) {}

OrientationRandom::OrientationRandom(std::uint64_t seed) : engine_(seed) {}

int OrientationRandom::draw()
{
    return orientationFor(engine_());
}

OrientationRandom OrientationRandom::split()
{
    return OrientationRandom(engine_());
}

int OrientationRandom::orientationFor(std::uint64_t bits)
{
    return int(bits >> 61) + 1;
}

} // namespace mitoon::precise
