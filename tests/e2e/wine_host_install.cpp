#include "tests/e2e/wine_host_install.h"

#include "host/startup/Kestrune_B.h"
#include "host/startup/numeric_text.h"

namespace kestrune::test {

namespace {

using namespace std::chrono_literals;

constexpr auto kRunDeadline = 30s;
constexpr auto kParentDeadline = 60s;
constexpr const char* kParentTitle = "Preview Parent";
// How long the probe keeps the preview parent at most, in seconds.
constexpr const char* kParentLifetime = "300";

} // namespace

WineHostInstall::WineHostInstall(WineDesktop& desktop, Renderer renderer)
    : m_desktop(desktop), m_folder(desktop.Scratch() / "Kestrune") {
    if (!desktop.Problem().empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    std::filesystem::remove_all(TextureFolder(), error);
    const auto copy = [&](const std::string& from, const char* to) {
        return std::filesystem::copy_file(desktop.BuildFile(from), m_folder / to,
                                          std::filesystem::copy_options::overwrite_existing, error);
    };
    m_ok = copy("bin/Kestrune.scr", "Kestrune.scr");
    if (renderer == Renderer::Real) {
        m_ok = m_ok && copy("bin/Kestrune.dll", "Kestrune.dll");
    } else if (renderer == Renderer::StandIn) {
        m_ok = m_ok && copy("tests/e2e/renderer-stand-in.exe", "Kestrune.dll");
    }
}

void WineHostInstall::WriteSettings(int bgmKind, int bgmRepeat, const std::string& bgmFile) {
    const std::string file = SettingsFile().string();
    WriteIniValue(kSettingsSection, kBgmKindKey, NumberText(bgmKind), file);
    WriteIniValue(kSettingsSection, kBgmRepeatKey, NumberText(bgmRepeat), file);
    WriteIniValue(kSettingsSection, kBgmFileKey, bgmFile, file);
}

std::unique_ptr<ChildProcess>
WineHostInstall::Start(const std::vector<std::string>& arguments,
                       const std::vector<std::pair<std::string, std::string>>& environment) {
    const auto output = m_desktop.Scratch() / ("host-" + std::to_string(++m_starts) + ".txt");
    return m_desktop.Start(m_folder / "Kestrune.scr", arguments, output.string(), "", environment);
}

std::optional<int> WineHostInstall::Run(const std::vector<std::string>& arguments) {
    const std::unique_ptr<ChildProcess> host = Start(arguments);
    const std::optional<int> code = host->WaitForExit(kRunDeadline);
    if (!code) {
        host->Kill();
    }
    return code;
}

PreviewParent::PreviewParent(WineDesktop& desktop, int width, int height)
    : m_desktop(desktop), m_output(desktop.Scratch() / ("parent-" + std::to_string(width) + "x" +
                                                        std::to_string(height) + ".txt")) {
    m_probe =
        desktop.Start(desktop.BuildFile("tests/e2e/window-probe.exe"),
                      {"parent", std::to_string(width), std::to_string(height), kParentLifetime},
                      m_output.string(), (m_output.string() + ".err"));
    WaitUntil(
        [&] {
            const std::string output = Output();
            const std::size_t at = output.find("parent=");
            const std::size_t end = output.find('\n', at);
            if (at == std::string::npos || end == std::string::npos) {
                return !m_probe->Running();
            }
            m_handle = output.substr(at + 7, end - at - 7);
            return true;
        },
        kParentDeadline);
}

PreviewParent::~PreviewParent() {
    if (m_probe->Running()) {
        m_probe->Kill();
    }
}

std::optional<std::string> PreviewParent::WaitForChild(std::chrono::milliseconds deadline) {
    std::optional<std::string> facts;
    WaitUntil(
        [&] {
            const std::string output = Output();
            const std::size_t at = output.find("child ");
            const std::size_t end = output.find('\n', at);
            if (at != std::string::npos && end != std::string::npos) {
                facts = output.substr(at + 6, end - at - 6);
            }
            return facts || !m_probe->Running();
        },
        deadline);
    return facts;
}

bool PreviewParent::Close() {
    return m_desktop.PostClose(kParentTitle) && m_probe->WaitForExit(kRunDeadline).has_value();
}

std::string PreviewParent::Output() const {
    return ReadBytes(m_output);
}

} // namespace kestrune::test
