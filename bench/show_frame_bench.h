#pragma once

#include "bench/show_bench_options.h"

#include <string>

namespace kestrune {

// Frames per second of the full show from t = 0.8 on (the 64-body figure,
// particles in their steady state) against the floor scene, in one process at
// the same size, every frame finished with glFinish; the heap allocations a
// frame makes; and a table of the frame's parts with their cost.
void RunFrameBench(const ShowBenchOptions& options, const std::string& textureFolder);

} // namespace kestrune
