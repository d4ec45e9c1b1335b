#include "host/forms/application.h"

#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/command_line_text.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/text_win32.h"

#include <algorithm>
#include <cstdio>

namespace kestrune::forms {

namespace {

constexpr const char* kProgramTitle = "Kestrune";

std::vector<Form::Impl*>& Loaded() {
    static std::vector<Form::Impl*> forms;
    return forms;
}

bool& Hourglass() {
    static bool hourglass = false;
    return hourglass;
}

// Tab and Shift+Tab move the focus through the tab order of the form the
// key was pressed in, before the control under the focus sees the key.
bool MovesFocus(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 ||
        GetKeyState(VK_MENU) < 0) {
        return false;
    }
    for (Form::Impl* form : Loaded()) {
        if (form->window && (form->window == message.hwnd || IsChild(form->window, message.hwnd))) {
            return form->MoveFocus(GetKeyState(VK_SHIFT) >= 0);
        }
    }
    return false;
}

} // namespace

// The Win32 program needs nothing made before its first window: the loop
// runs on the thread's own message queue.
struct Application::Impl {};

Application::Application(int, char**) : m_impl(std::make_unique<Impl>()) {}

Application::~Application() = default;

int Application::Run() {
    while (!Loaded().empty() && win32::PumpOneMessage()) {
    }
    return 0;
}

const std::string& CommandLineText() {
    // Windows hands a program its whole command line as one text; the
    // arguments are what follows the program's name, in UTF-8 like every
    // text the host keeps.
    static const std::string kText = win32::Utf8(win32::ArgumentTextOf(GetCommandLineW()));
    return kText;
}

const char* ProgramTitle() {
    return kProgramTitle;
}

void EndProcess() {
    std::fflush(nullptr);
    ExitProcess(0);
}

namespace win32 {

const std::vector<Form::Impl*>& LoadedForms() {
    return Loaded();
}

void NoteFormLoaded(Form::Impl& form) {
    Loaded().push_back(&form);
}

void NoteFormUnloaded(Form::Impl& form) {
    std::erase(Loaded(), &form);
    // A form can go while the loop waits in GetMessageW: when another
    // program destroys the window it sits in, the form's end arrives as a
    // sent message, which GetMessageW handles without returning, and the close
    // request it posts dies with the window. A posted message of the thread's
    // own wakes every loop, so that each checks whether its forms are left.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool PumpOneMessage() {
    MSG message{};
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
        // Left in the queue for the loops around this one.
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (got < 0) {
        return false;
    }
    if (MovesFocus(message)) {
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

void SetHourglassPointer(bool hourglass) {
    Hourglass() = hourglass;
    SetCursor(LoadCursorA(nullptr, hourglass ? IDC_WAIT : IDC_ARROW));
}

bool HourglassPointer() {
    return Hourglass();
}

} // namespace win32

} // namespace kestrune::forms
