#include "tests/e2e/wine_desktop.h"

#include "tests/support/temporary_folder.h"

#include <cstdio>
#include <cstdlib>

namespace kestrune::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kWine = "/usr/bin/wine";
constexpr const char* kWineServer = "/usr/bin/wineserver";
constexpr auto kServerDeadline = 60s;
// Some slack over the probe's own wait, for starting it under Wine.
constexpr auto kProbeSlack = 30s;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

WineDesktop::WineDesktop(int width, int height)
    : m_scratch(MakeTemporaryFolder("kestrune-wine")), m_server(width, height) {
    const std::string build = Environment("KESTRUNE_WINDOWS_BUILD");
    if (build.empty() || !std::filesystem::exists(std::filesystem::path(build) / "bin")) {
        m_problem = "KESTRUNE_WINDOWS_BUILD names no mingw build (scripts/test-windows.sh sets it)";
        return;
    }
    m_build = build;
    if (Environment("WINEPREFIX").empty()) {
        m_problem = "no WINEPREFIX: run under scripts/wine-env.sh";
        return;
    }
    if (!m_server.Ok() || m_scratch.empty()) {
        m_problem = "no virtual X server or no scratch folder";
        return;
    }
    m_x11 = std::make_unique<X11Connection>(m_server.DisplayName());
    // A session started before (by the unit tests, or a test before this
    // one) would keep its desktop on another display.
    EndSession();
    // The server stays up between programs; otherwise every start would
    // bring the prefix's services up again, which takes seconds.
    ChildProcess::Options options;
    options.arguments = {"-p"};
    RunProgram(kWineServer, options, kServerDeadline);
}

WineDesktop::~WineDesktop() {
    if (!m_build.empty() && m_x11) {
        EndSession();
    }
    m_x11.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_scratch, ignored);
}

void WineDesktop::EndSession() {
    ChildProcess::Options kill;
    kill.arguments = {"-k"};
    RunProgram(kWineServer, kill, kServerDeadline);
    ChildProcess::Options wait;
    wait.arguments = {"-w"};
    RunProgram(kWineServer, wait, kServerDeadline);
}

std::filesystem::path WineDesktop::BuildFile(const std::string& relative) const {
    return m_build / relative;
}

std::filesystem::path WineDesktop::DriveC() const {
    return std::filesystem::path(Environment("WINEPREFIX")) / "drive_c";
}

std::string WineDesktop::WindowsPathOf(const std::filesystem::path& path) {
    std::string windows = "Z:" + std::filesystem::absolute(path).lexically_normal().string();
    for (char& c : windows) {
        if (c == '/') {
            c = '\\';
        }
    }
    return windows;
}

std::unique_ptr<ChildProcess>
WineDesktop::Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                   const std::string& outputPath, const std::string& errorPath,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
    ChildProcess::Options options;
    options.arguments = {program.string()};
    options.arguments.insert(options.arguments.end(), arguments.begin(), arguments.end());
    options.environment = {{"DISPLAY", DisplayName()}};
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    options.outputPath = outputPath;
    options.errorPath = errorPath;
    return std::make_unique<ChildProcess>(kWine, options);
}

WineDesktop::Result WineDesktop::Run(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments,
                                     std::chrono::milliseconds deadline, bool separateErrors) {
    const std::string run = std::to_string(++m_runs);
    const auto output = m_scratch / ("run" + run + ".out");
    const auto errors = m_scratch / ("run" + run + ".err");
    auto child = Start(program, arguments, output.string(), separateErrors ? errors.string() : "");
    Result result;
    result.code = child->WaitForExit(deadline);
    if (!result.code) {
        child->Kill();
    }
    result.output = ReadBytes(output);
    return result;
}

std::optional<std::string> WineDesktop::Probe(const std::string& command, const std::string& title,
                                              double seconds) {
    const Result result =
        Run(BuildFile("tests/e2e/window-probe.exe"), {command, title, std::to_string(seconds)},
            std::chrono::milliseconds(static_cast<long long>(seconds * 1000)) + kProbeSlack, true);
    if (result.code != 0) {
        return std::nullopt;
    }
    return result.output;
}

std::optional<std::string> WineDesktop::FindWindow(const std::string& title, double seconds) {
    return Probe("find", title, seconds);
}

std::optional<std::string> WineDesktop::FindShownWindow(const std::string& title, double seconds) {
    return Probe("shown", title, seconds);
}

bool WineDesktop::WindowGone(const std::string& title, double seconds) {
    return Probe("gone", title, seconds).has_value();
}

bool WineDesktop::PostClose(const std::string& title) {
    return Run(BuildFile("tests/e2e/window-probe.exe"), {"close", title}, kProbeSlack, true).code ==
           0;
}

std::string FactOf(const std::string& facts, const std::string& name) {
    const std::string key = name + "=";
    std::size_t at = 0;
    while ((at = facts.find(key, at)) != std::string::npos) {
        if (at == 0 || facts[at - 1] == ' ') {
            const std::size_t begin = at + key.size();
            // text= runs to the end of the line; every other field to a blank.
            const std::size_t end =
                name == "text" ? facts.find('\n', begin) : facts.find_first_of(" \n", begin);
            return facts.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        }
        at += key.size();
    }
    return {};
}

} // namespace kestrune::test
