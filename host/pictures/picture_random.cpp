#include "host/pictures/picture_random.h"

namespace kestrune {

namespace {

// The multiplier of the reference PCG32 generator.
constexpr std::uint64_t kPcgMultiplier = 6364136223846793005ULL;

} // namespace

PictureRandom::PictureRandom(std::uint64_t seed) {
    // The reference seeding sequence: the stream is derived from the seed too,
    // so that two pictures seeded differently never share a sequence.
    m_increment = (seed << 1u) | 1u;
    Next();
    m_state += seed;
    Next();
}

std::uint32_t PictureRandom::Next() {
    const std::uint64_t old = m_state;
    m_state = old * kPcgMultiplier + m_increment;
    const auto shifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rotation = static_cast<std::uint32_t>(old >> 59u);
    return (shifted >> rotation) | (shifted << ((32u - rotation) & 31u));
}

std::uint32_t PictureRandom::Below(std::uint32_t bound) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Next()) * bound) >> 32u);
}

int PictureRandom::Between(int low, int high) {
    return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1)));
}

std::uint32_t HashLattice(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    // Two rounds of a multiply-xorshift mix (the finaliser of a well-known
    // 32-bit hash), enough to break up the lattice's regularity.
    std::uint32_t h = seed ^ (static_cast<std::uint32_t>(x) * 0x9E3779B1u) ^
                      (static_cast<std::uint32_t>(y) * 0x85EBCA77u);
    for (int round = 0; round < 2; ++round) {
        h ^= h >> 16u;
        h *= 0x7FEB352Du;
        h ^= h >> 15u;
        h *= 0x846CA68Bu;
        h ^= h >> 16u;
    }
    return h;
}

} // namespace kestrune
