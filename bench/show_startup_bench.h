#pragma once

#include "bench/show_bench_options.h"

#include <string>

namespace kestrune {

// The renderer's start-up in one process, offscreen: the context, the show's
// whole initialisation, its first frame, and the initialisation's parts (the
// texture loads and the display-list builds) timed again on the same objects.
// Prints one line per start-up and the medians.
void RunStartupBench(const ShowBenchOptions& options, const std::string& textureFolder);

} // namespace kestrune
