#include "tests/support/child_process.h"

#include "tests/support/temporary_folder.h"

namespace kestrune::test {

std::string ChildProcess::Output() const {
    return ReadBytes(m_outputPath);
}

std::optional<int> RunProgram(const std::string& program, const ChildProcess::Options& options,
                              std::chrono::milliseconds deadline) {
    ChildProcess child(program, options);
    if (!child.Started()) {
        return std::nullopt;
    }
    auto code = child.WaitForExit(deadline);
    if (!code) {
        child.Kill();
    }
    return code;
}

} // namespace kestrune::test
