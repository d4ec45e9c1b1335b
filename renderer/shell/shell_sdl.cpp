// The renderer shell on Linux: window, OpenGL context, display mode and the
// message-and-frame loop, over SDL2 and X11.

#include "renderer/shell/gl_setup.h"
#include "renderer/shell/message_box_sdl.h"
#include "renderer/shell/renderer_shell.h"
#include "renderer/shell/shell_input.h"
#include "renderer/shell/stop_signals.h"

#include "common/kestrune_names.h"
#include "renderer/resources/message_sink.h"

#include <SDL.h>

#include <memory>
#include <optional>

namespace kestrune {

namespace {

constexpr const char* kQuestionCaption = "Tarq GL";
constexpr const char* kQuestionText = "The requested fullscreen mode is not supported by\n"
                                      "your video card. Use windowed mode instead?";
constexpr int kAnswerYes = 6; // IDYES
constexpr int kAnswerNo = 7;  // IDNO

// The virtual-key code of an SDL key, or nothing for keys the renderer has no
// name for. Only Escape matters to the loop; the table keeps the others so
// that the key-state table means the same as on Windows.
std::optional<unsigned> VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<unsigned>('A' + (key - SDLK_a));
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<unsigned>('0' + (key - SDLK_0));
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return static_cast<unsigned>(0x70 + (key - SDLK_F1));
    }
    switch (key) {
    case SDLK_BACKSPACE:
        return 0x08u;
    case SDLK_TAB:
        return 0x09u;
    case SDLK_RETURN:
        return 0x0Du;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return 0x10u;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return 0x11u;
    case SDLK_LALT:
    case SDLK_RALT:
        return 0x12u;
    case SDLK_PAUSE:
        return 0x13u;
    case SDLK_ESCAPE:
        return kVkEscape;
    case SDLK_SPACE:
        return 0x20u;
    case SDLK_LEFT:
        return 0x25u;
    case SDLK_UP:
        return 0x26u;
    case SDLK_RIGHT:
        return 0x27u;
    case SDLK_DOWN:
        return 0x28u;
    default:
        return std::nullopt;
    }
}

class SdlGlPlatform final : public GlPlatform {
public:
    void* GetProcAddress(const char* name) override { return SDL_GL_GetProcAddress(name); }

    void SetSwapInterval(std::uint8_t interval) override {
        // Software drivers may refuse (llvmpipe never waits for a retrace
        // anyway); the driver's default then stays, and that is fine.
        SDL_GL_SetSwapInterval(interval);
    }
};

// SDL's video subsystem for the life of the run: the counterpart of the
// registered window class.
class SdlVideo {
public:
    SdlVideo() {
        // The renderer is an X11 program; without this SDL may quietly pick an
        // offscreen driver when DISPLAY is unset. SDL_VIDEODRIVER still wins.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_DEFAULT);
        // SDL minimises a fullscreen window that loses the focus, so that the
        // desktop gets its display mode back. The show must not: minimised,
        // it would stop drawing and ignore Escape, out of the user's sight,
        // while the host waits for it to end. A fullscreen window on Windows
        // stays up when another window takes the focus, and so does this
        // one, whatever the environment asks of SDL.
        SDL_SetHintWithPriority(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0", SDL_HINT_OVERRIDE);
        // SIGINT and SIGTERM are the renderer's own (stop_signals.h): SDL
        // would otherwise turn them into a quit event only while its loop
        // runs, and only if nothing else handles them.
        SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
        m_ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    ~SdlVideo() {
        if (m_ok) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;

    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

// Asks whether to run in a window instead. Return answers Yes, Escape No; a
// box that cannot be shown counts as No.
bool AskForWindowedMode() {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAnswerNo, "No"},
    };
    const SDL_MessageBoxData box = {
        SDL_MESSAGEBOX_WARNING | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
        nullptr,
        kQuestionCaption,
        kQuestionText,
        SDL_arraysize(buttons),
        buttons,
        nullptr,
    };
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        return false;
    }
    return answer == kAnswerYes;
}

// The display mode of this size that the first display offers, if any. The
// colour depth is whatever the X server has: a 24-bit screen reports 24 bits.
std::optional<SDL_DisplayMode> OfferedMode(int width, int height) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height) {
            return mode;
        }
    }
    return std::nullopt;
}

// SDL may report success for a mode it could not set, so success means the
// mode now in force has the size asked for.
bool ModeInForceIs(int width, int height) {
    SDL_DisplayMode mode{};
    return SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.w == width && mode.h == height;
}

// Owners of the window and of its OpenGL context: each is destroyed exactly
// once, by the tear-down in its order or else when its owner goes.
struct WindowDestroyer {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<SDL_Window, WindowDestroyer>;

struct ContextDeleter {
    void operator()(void* context) const { SDL_GL_DeleteContext(context); }
};
using OwnedContext = std::unique_ptr<void, ContextDeleter>;

class SdlShell {
public:
    explicit SdlShell(Scene& scene) : m_scene(scene) {}
    ~SdlShell() { TearDown(); }
    SdlShell(const SdlShell&) = delete;
    SdlShell& operator=(const SdlShell&) = delete;

    bool CreateGlWindow(const char* title, int width, int height, int colourBits, bool fullscreen);
    int RunLoop();

private:
    bool OpenWindow(const char* title, int width, int height, int colourBits);
    void HandleEvent(const SDL_Event& event);
    void TearDown();

    Scene& m_scene;
    // Declared before the window and the context, so that it is the last to
    // go: both belong to the video subsystem.
    SdlVideo m_video;
    SdlGlPlatform m_platform;
    SdlMessageBoxSink m_messages;
    ShellInput m_input;
    bool m_fullscreen = false;
    bool m_quit = false;
    OwnedWindow m_window;
    OwnedContext m_context; // goes before the window it draws into
};

bool SdlShell::CreateGlWindow(const char* title, int width, int height, int colourBits,
                              bool fullscreen) {
    m_fullscreen = fullscreen;
    if (!m_video.ok()) {
        return false;
    }

    // The mode is decided from the display's list before anything changes,
    // so declining the windowed fallback leaves the display untouched.
    if (m_fullscreen && !OfferedMode(width, height)) {
        if (!AskForWindowedMode()) {
            return false;
        }
        m_fullscreen = false;
    }

    if (!OpenWindow(title, width, height, colourBits)) {
        TearDown();
        return false;
    }

    if (m_fullscreen && !ModeInForceIs(width, height)) {
        // The switch did not take: put the display back, then ask as for a
        // mode the display never offered.
        TearDown();
        if (!AskForWindowedMode()) {
            return false;
        }
        m_fullscreen = false;
        if (!OpenWindow(title, width, height, colourBits)) {
            TearDown();
            return false;
        }
    }

    if (m_fullscreen) {
        SDL_ShowCursor(SDL_DISABLE);
    }
    SDL_RaiseWindow(m_window.get());

    m_messages.SetOwner(m_window.get());
    SetMessageSink(&m_messages);

    Resize(width, height);
    if (!InitialiseOpenGL(m_scene, m_platform)) {
        TearDown();
        return false;
    }
    return true;
}

bool SdlShell::OpenWindow(const char* title, int width, int height, int colourBits) {
    // The pixel format: double-buffered RGBA with a 16-bit depth buffer and
    // no alpha, stencil or accumulation bits. The colour depth asked for is
    // 32 bits, of which 24 are colour; a server without such a visual gets
    // the closest one, as the Windows pixel-format choice would give.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, colourBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);

    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN |
                         (m_fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE);
    m_window.reset(SDL_CreateWindow(title, 0, 0, width, height, flags));
    if (!m_window) {
        // No visual with 32 bits in all: take the closest, as ChoosePixelFormat would.
        SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 0);
        m_window.reset(SDL_CreateWindow(title, 0, 0, width, height, flags));
    }
    if (!m_window) {
        return false;
    }
    if (m_fullscreen) {
        if (const auto mode = OfferedMode(width, height)) {
            SDL_SetWindowDisplayMode(m_window.get(), &*mode);
        }
    }

    m_context.reset(SDL_GL_CreateContext(m_window.get()));
    if (!m_context || SDL_GL_MakeCurrent(m_window.get(), m_context.get()) != 0) {
        return false;
    }
    // Shown before the show loads its textures: the host looks for the title
    // while a loader message may still be open.
    SDL_ShowWindow(m_window.get());
    return true;
}

int SdlShell::RunLoop() {
    bool done = false;
    while (!done) {
        SDL_Event event;
        // All pending events first; a frame is drawn only when none is left.
        while (!m_quit && SDL_PollEvent(&event)) {
            HandleEvent(event);
        }
        // SIGINT and SIGTERM end the show as Escape does, whatever the state
        // of the window: the tear-down below restores mode and cursor.
        if (m_quit || StopRequested()) {
            break;
        }
        switch (m_input.OnIdle()) {
        case ShellInput::IdleAction::EndLoop:
            done = true;
            break;
        case ShellInput::IdleAction::DrawFrame:
            DrawFrame(m_scene);
            SDL_GL_SwapWindow(m_window.get());
            break;
        case ShellInput::IdleAction::Skip:
            break;
        }
    }
    TearDown();
    // The close request ends with the quit message's code, 0; Escape ends
    // with 0 as well, since the host never reads it.
    return 0;
}

void SdlShell::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        m_quit = true;
        break;
    case SDL_KEYDOWN:
        if (const auto key = VirtualKeyOf(event.key.keysym.sym)) {
            m_input.KeyDown(*key);
        }
        break;
    case SDL_KEYUP:
        if (const auto key = VirtualKeyOf(event.key.keysym.sym)) {
            m_input.KeyUp(*key);
        }
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            m_input.SetMinimised(true);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            m_input.SetMinimised(false);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            Resize(event.window.data1, event.window.data2);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void SdlShell::TearDown() {
    SetMessageSink(nullptr);
    m_messages.SetOwner(nullptr);
    if (m_context) {
        // Every OpenGL object of the scene goes now, while its context is
        // current: the scene itself outlives the run.
        m_scene.ReleaseGlObjects();
    }
    if (m_fullscreen && m_window) {
        SDL_SetWindowFullscreen(m_window.get(), 0); // back to the desktop's mode
        SDL_ShowCursor(SDL_ENABLE);
    }
    if (m_context) {
        SDL_GL_MakeCurrent(m_window.get(), nullptr);
        m_context.reset();
    }
    m_window.reset();
}

} // namespace

int RunRenderer(Scene& scene) {
    SdlShell shell(scene);
    if (!shell.CreateGlWindow(kRendererWindowTitle, kWindowWidth, kWindowHeight, kColourBits,
                              true)) {
        return 0;
    }
    // Neither the screen saver nor monitor power-down may start while the
    // show runs.
    SDL_DisableScreenSaver();
    return shell.RunLoop();
}

} // namespace kestrune
