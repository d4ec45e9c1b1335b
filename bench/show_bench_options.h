#pragma once

#include <string>

namespace kestrune {

// What kestrune_show_bench measures and for how long.
struct ShowBenchOptions {
    int width = 1024;
    int height = 768;
    // Start-ups measured, each in a fresh context with a fresh show.
    int startups = 5;
    // Frame-rate rounds; each round draws every contender for `roundSeconds`,
    // so that a change in the machine's load hits all of them alike.
    int rounds = 5;
    double roundSeconds = 2.0;
    // The show time t the measured frames start at; from 0.8 on the
    // 64-body figure stands alone.
    double showTime = 0.8;
    // Calls per part in the table of the frame's parts.
    int partCalls = 200;
    // "show" or "floor": only the resident memory of that scene's start-up,
    // in this fresh process; empty for everything else.
    std::string memoryScene;
    // The texture folder; empty means a temporary one written with the
    // saver's pictures.
    std::string textures;
};

} // namespace kestrune
