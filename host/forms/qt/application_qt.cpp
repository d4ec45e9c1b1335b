#include "host/forms/application.h"

#include "host/forms/qt/application_impl.h"
#include "host/forms/qt/qt_conversions.h"
#include "host/forms/qt/x11_display.h"
#include "host/forms/qt/x11_event_filter.h"

#include <QApplication>
#include <QEventLoop>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace kestrune::forms {

namespace {

constexpr const char* kProgramTitle = "Kestrune";

std::string& CommandLine() {
    static std::string text;
    return text;
}

// A setting for Qt's start, unless the user's environment has one. Qt reads
// it while the application is made; the programs the host starts later (the
// renderer, a browser) do not inherit it.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : m_name(name), m_set(!std::getenv(name) && setenv(name, value, 0) == 0) {}
    ~ScopedEnvironment() {
        if (m_set) {
            unsetenv(m_name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_set;
};

// Qt's own start aborts the process when it cannot reach the X server. The
// host says so plainly instead and ends with a failure code.
void RequireDisplayForX11() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::string_view(platform).substr(0, 3) != "xcb") {
        return;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display) {
        XCloseDisplay(display);
        return;
    }
    const char* name = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "%s: cannot connect to the X server%s%s%s; it needs an X11 display "
                 "(set DISPLAY).\n",
                 kProgramTitle, name ? " at \"" : "", name ? name : "", name ? "\"" : "");
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

struct Application::Impl {
    Impl(int argc, char** argv);
    ~Impl();

    std::string programName;
    // Qt keeps references to these for the application's life.
    int qtArgc = 1;
    char* qtArgv[2] = {nullptr, nullptr};
    std::unique_ptr<QApplication> application;
    std::unique_ptr<qt::X11EventFilter> eventFilter;
    std::vector<Form::Impl*> loadedForms;
    QEventLoop* runLoop = nullptr;

    static Impl* m_current;
};

Application::Impl* Application::Impl::m_current = nullptr;

Application::Impl::Impl(int argc, char** argv)
    : programName(argc > 0 && argv[0] ? argv[0] : "Kestrune.scr") {
    // The command line belongs to the screensaver's protocol: Qt sees only
    // the program's name, so that no argument is taken as one of its own
    // options (-display, -style and the like).
    std::string text;
    for (int i = 1; i < argc; ++i) {
        text += (i > 1 ? " " : "");
        text += argv[i];
    }
    CommandLine() = text;
    qtArgv[0] = programName.data();

    // The host is an X11 program: window lookups by title, embedding into a
    // window of another program and the renderer's window all are X11's.
    // Another platform is used only when asked for (Qt's offscreen one in
    // tests).
    const ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    // Sizes are the screen's pixels, as the forms' layouts count them (the
    // twips per pixel follow the screen's resolution instead).
    const ScopedEnvironment scaling("QT_ENABLE_HIGHDPI_SCALING", "0");
    RequireDisplayForX11();
    // Only the controls that need a window of their own get one; their
    // windowless siblings must not, or the window under the mouse would be
    // a caption instead of its button.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    application = std::make_unique<QApplication>(qtArgc, qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    qt::InstallFontSubstitutes();
    if (qt::X11Display()) {
        eventFilter = std::make_unique<qt::X11EventFilter>();
        application->installNativeEventFilter(eventFilter.get());
    }
    m_current = this;
}

Application::Impl::~Impl() {
    if (eventFilter) {
        application->removeNativeEventFilter(eventFilter.get());
    }
    m_current = nullptr;
}

Application::Application(int argc, char** argv) : m_impl(std::make_unique<Impl>(argc, argv)) {}

Application::~Application() = default;

int Application::Run() {
    if (m_impl->loadedForms.empty()) {
        return 0;
    }
    QEventLoop loop;
    m_impl->runLoop = &loop;
    loop.exec();
    m_impl->runLoop = nullptr;
    return 0;
}

const std::string& CommandLineText() {
    return CommandLine();
}

const char* ProgramTitle() {
    return kProgramTitle;
}

void EndProcess() {
    std::fflush(nullptr);
    _exit(0);
}

namespace qt {

const std::vector<Form::Impl*>& LoadedForms() {
    static const std::vector<Form::Impl*> kNone;
    return Application::Impl::m_current ? Application::Impl::m_current->loadedForms : kNone;
}

void NoteFormLoaded(Form::Impl& form) {
    if (Application::Impl* app = Application::Impl::m_current) {
        app->loadedForms.push_back(&form);
    }
}

void NoteFormUnloaded(Form::Impl& form) {
    Application::Impl* app = Application::Impl::m_current;
    if (!app) {
        return;
    }
    std::erase(app->loadedForms, &form);
    if (app->loadedForms.empty() && app->runLoop) {
        app->runLoop->quit();
    }
}

X11EventFilter* EventFilter() {
    return Application::Impl::m_current ? Application::Impl::m_current->eventFilter.get() : nullptr;
}

} // namespace qt

} // namespace kestrune::forms
