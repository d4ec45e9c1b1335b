#include "tests/support/tool_run.h"

#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

namespace kestrune::test {

ToolRun RunKestruneTool(const std::vector<std::string>& arguments, std::chrono::seconds deadline) {
    const TempFolder scratch("kestrune-tool-run");
    ChildProcess::Options options;
    options.arguments = arguments;
    options.outputPath = scratch.File("stdout.txt");
    options.errorPath = scratch.File("stderr.txt");
    ToolRun run;
    run.exitCode = RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options, deadline)
                       .value_or(-1);
    run.output = ReadBytes(options.outputPath);
    run.error = ReadBytes(options.errorPath);
    return run;
}

} // namespace kestrune::test
