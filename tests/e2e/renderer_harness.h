#pragma once

#include "tests/support/child_process.h"
#include "tests/support/x11_session.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrune::test {

// The real renderer program, started on a private virtual X server with the
// buffer-swap counter loaded as its OpenGL library and a texture folder of
// the test's own.
class RendererRun {
public:
    struct Options {
        int screenWidth = 1024;
        int screenHeight = 768;
        // The saver's four pictures in the texture folder before the start.
        bool withPictures = false;
        // Files to place in the texture folder before the start (name, bytes).
        std::vector<std::pair<std::string, std::string>> textureFiles;
        // Starts the renderer without arguments at once; when false, the
        // test calls Start itself (after making a window for it, say).
        bool start = true;
    };

    explicit RendererRun(const Options& options);
    RendererRun() : RendererRun(Options{}) {}
    ~RendererRun();

    // Starts `program` (a file name in the build's program folder) with
    // `arguments`, in the run's environment; a program started before is
    // killed first.
    void Start(const std::string& program, const std::vector<std::string>& arguments = {});

    bool ServerOk() const { return m_server.Ok(); }
    const std::string& DisplayName() const { return m_server.DisplayName(); }
    X11Connection& X11() { return *m_x11; }
    ChildProcess& Process() { return *m_process; }
    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path TextureFolder() const { return m_folder / "cache" / "r_vosk"; }

    // Waits for a window with this exact title; nothing after the deadline.
    std::optional<XWindow> WaitForWindow(const std::string& title,
                                         std::chrono::milliseconds deadline) {
        return m_x11->WaitForWindow(title, deadline);
    }
    bool WaitForNoWindow(const std::string& title, std::chrono::milliseconds deadline) {
        return m_x11->WaitForNoWindow(title, deadline);
    }

    // Buffer swaps counted so far in the running program.
    unsigned long long Swaps() const;

    // Waits until the program has swapped `count` more buffers than now:
    // proof that its loop went round again, however slow the machine.
    bool WaitForMoreSwaps(unsigned long long count, std::chrono::milliseconds deadline);

private:
    std::filesystem::path m_folder;
    XvfbServer m_server;
    std::unique_ptr<X11Connection> m_x11;
    std::unique_ptr<ChildProcess> m_process;
};

// Another program's window on the same display, as a user would click one:
// it takes the keyboard focus away from the renderer. It also listens on the
// root window for the requests with which a program asks a window manager to
// minimise (iconify) one of its windows, which is how SDL minimises.
class FocusThief {
public:
    explicit FocusThief(const std::string& display);
    ~FocusThief();
    FocusThief(const FocusThief&) = delete;
    FocusThief& operator=(const FocusThief&) = delete;

    // Gives the keyboard focus to `window`, as a click on it would; true
    // once the server reports the focus there.
    bool GiveFocusTo(XWindow window);

    // Maps this window and gives it the keyboard focus.
    bool TakeFocus();

    // Whether a request to minimise `window` has arrived since the start.
    bool SawMinimiseRequestFor(XWindow window);

private:
    ::_XDisplay* m_display = nullptr;
    XWindow m_window = 0;
    std::vector<XWindow> m_minimiseRequests;
};

} // namespace kestrune::test
