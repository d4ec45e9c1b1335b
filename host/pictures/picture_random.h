#pragma once

#include <cstdint>

namespace kestrune {

// The pictures' own random source: a permuted congruential generator (PCG32)
// in plain 64-bit integer arithmetic. The standard library's engines and
// distributions are not used because the distributions differ between
// library vendors, and the pictures must come out byte for byte the same on
// every platform.
class PictureRandom {
public:
    explicit PictureRandom(std::uint64_t seed);

    // 32 uniformly distributed bits.
    std::uint32_t Next();

    // A whole number in [0, bound), for bound > 0.
    std::uint32_t Below(std::uint32_t bound);

    // A whole number in [low, high].
    int Between(int low, int high);

    // A fraction in [0, 1) as a 16-bit fixed-point value in [0, 65535].
    std::uint32_t Fraction16() { return Next() >> 16; }

private:
    std::uint64_t m_state = 0;
    std::uint64_t m_increment = 0;
};

// A well-mixed 32-bit hash of a lattice point, for noise that must not depend
// on the order in which points are visited.
std::uint32_t HashLattice(std::int32_t x, std::int32_t y, std::uint32_t seed);

} // namespace kestrune
