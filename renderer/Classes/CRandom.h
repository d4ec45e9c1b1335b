#pragma once

#include <cstdint>

namespace kestrune {

// The renderer's random source. All instances share one process-wide
// generator: a 32-bit linear congruential generator written here rather than
// taken from the C library, whose rand() differs between platforms, so that
// the same seed draws the same sequence everywhere. Its state starts at 1.
class CRandom {
public:
    // Seeds the shared generator with the calendar time in whole seconds.
    void Seed();

    // One draw n of the generator as a fraction (n mod 10000) x 0.0001 in
    // [0, 0.9999]. The product is returned in double precision.
    double Random();

    // Seeds the shared generator with a given value, for tests and tools that
    // need a repeatable sequence.
    static void SeedWith(std::uint32_t seed);

    // The next raw output of the shared generator, 0 ... 32767.
    static int Next();
};

} // namespace kestrune
