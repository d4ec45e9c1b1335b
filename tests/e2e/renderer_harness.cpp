#include "tests/e2e/renderer_harness.h"

#include "host/saver/texture_pictures.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace kestrune::test {

namespace {

std::filesystem::path MakeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrune-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        return {};
    }
    return pattern;
}

std::string SanitizerOptions() {
    std::string options = "detect_leaks=0";
    if (const char* existing = std::getenv("ASAN_OPTIONS"); existing && *existing) {
        options = std::string(existing) + ":" + options;
    }
    return options;
}

} // namespace

RendererRun::RendererRun(const Options& options)
    : m_folder(MakeTemporaryFolder()), m_server(options.screenWidth, options.screenHeight) {
    if (!m_server.ok()) {
        return;
    }
    std::filesystem::create_directories(textureFolder());
    if (options.withPictures) {
        SaveTexturePictures(textureFolder().string());
    }
    for (const auto& [name, bytes] : options.textureFiles) {
        std::ofstream(textureFolder() / name, std::ios::binary) << bytes;
    }
    m_x11 = std::make_unique<X11Connection>(m_server.display());

    ChildProcess::Options child;
    child.environment = {
        {"DISPLAY", m_server.display()},
        {"SDL_VIDEODRIVER", "x11"},
        {"XDG_CACHE_HOME", (m_folder / "cache").string()},
        {"SDL_OPENGL_LIBRARY", KESTRUNE_SWAP_COUNTER},
        {"KESTRUNE_SWAP_COUNT_FILE", (m_folder / "swaps").string()},
        // In a sanitizer build the whole program is still checked for memory
        // errors, but not for leaks: Mesa's driver is unloaded before exit,
        // and what it keeps can then no longer be told from the program's
        // own. The renderer's objects are leak-checked in the GL suites.
        {"ASAN_OPTIONS", SanitizerOptions()},
    };
    child.outputPath = (m_folder / "output.txt").string();
    m_process =
        std::make_unique<ChildProcess>(std::string(KESTRUNE_BIN_DIR) + "/Kestrune.dll", child);
}

RendererRun::~RendererRun() {
    m_process.reset(); // kills a renderer that still runs
    m_x11.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::optional<XWindow> RendererRun::WaitForWindow(const std::string& title,
                                                  std::chrono::milliseconds deadline) {
    std::optional<XWindow> window;
    WaitUntil(
        [&] {
            window = m_x11->FindWindowByTitle(title);
            return window.has_value();
        },
        deadline);
    return window;
}

bool RendererRun::WaitForNoWindow(const std::string& title, std::chrono::milliseconds deadline) {
    return WaitUntil([&] { return !m_x11->FindWindowByTitle(title); }, deadline);
}

unsigned long long RendererRun::Swaps() const {
    std::ifstream in(m_folder / "swaps");
    unsigned long long swaps = 0;
    in >> swaps;
    return swaps;
}

} // namespace kestrune::test
