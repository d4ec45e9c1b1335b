#include "renderer/Classes/CRandom.h"

#include <ctime>

namespace kestrune {

namespace {

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;
constexpr int kFractionModulus = 10000;
// The fraction's scale is the float nearest 0.0001, widened: the draws are
// exactly those of a float constant multiplied in double precision.
constexpr double kFractionScale = static_cast<double>(0.0001f);

// The one generator of the process. Everything runs on the renderer's single
// thread, so it needs no lock.
std::uint32_t g_state = 1u;

} // namespace

void CRandom::SeedWith(std::uint32_t seed) {
    g_state = seed;
}

int CRandom::Next() {
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    g_state = g_state * kMultiplier + kIncrement;
    return static_cast<int>((g_state >> 16) & 32767u);
}

void CRandom::Seed() {
    SeedWith(static_cast<std::uint32_t>(std::time(nullptr)));
}

double CRandom::Random() {
    return (Next() % kFractionModulus) * kFractionScale;
}

} // namespace kestrune
