#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kestrune::test {

// What a run of kestrune-tool gave.
struct ToolRun {
    int exitCode = -1;  // -1: it could not start or outlived its deadline
    std::string output; // standard output
    std::string error;  // standard error
};

// Runs this build's kestrune-tool with `arguments`, each passed on as it is
// (Japanese text included), waits for its end and keeps what it printed.
ToolRun RunKestruneTool(const std::vector<std::string>& arguments,
                        std::chrono::seconds deadline = std::chrono::seconds(60));

} // namespace kestrune::test
