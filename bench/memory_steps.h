#pragma once

#include "bench/show_bench_options.h"

#include <string>

namespace kestrune {

// Resident memory of this process after each step of a start-up, for one
// scene ("show" or "floor") in an otherwise fresh process: after the context
// (the driver loaded), after the scene's initialisation, after the first
// frame and after the steady frames, each finished as a swap would finish it;
// then what frames drawn without any flush in between hold. Prints the steps
// and the high-water mark; returns false for an unknown scene or without a
// context.
bool RunMemorySteps(const ShowBenchOptions& options, const std::string& textureFolder,
                    const std::string& scene);

} // namespace kestrune
