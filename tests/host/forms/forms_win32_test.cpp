// The forms layer's Win32 backend under Wine: the command line as Windows
// passes it, the events of a form in their order, the timers on the form's
// thread, and a form inside another window.
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/forms/win32/command_line_text.h"
#include "host/forms/window_services.h"
#include "tests/host/forms/forms_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune::forms {
namespace {

using Events = std::vector<std::string>;
using test::RecordingForm;

TEST(FormsWin32, TheArgumentTextIsWhatFollowsTheProgramName) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Kestrune.scr /p 1234", L"/p 1234"},
        {L"\"C:\\My Savers\\Kestrune.scr\"  /c:42", L"/c:42"},
        {L"Kestrune.scr\t/s", L"/s"},
        {L"C:\\Kestrune.scr /s  ", L"/s  "},
        {L"\"Kestrune.scr\"", L""},
        {L"Kestrune.scr", L""},
        {L"", L""},
    };
    for (const auto& [commandLine, expected] : cases) {
        EXPECT_EQ(win32::ArgumentTextOf(commandLine), expected);
    }
}

TEST(FormsWin32, EventsComeInOrderAndALoadedFormIsFoundHiddenByItsTitle) {
    test::NativeChecks native;
    native.loaded = [](Form& form) {
        const auto window = reinterpret_cast<HWND>(form.Window());
        EXPECT_EQ(FindWindowA(nullptr, "Kestrune_Main"), window);
        EXPECT_FALSE(IsWindowVisible(window));
    };
    native.shown = [](Form& form) {
        RECT client{};
        GetClientRect(reinterpret_cast<HWND>(form.Window()), &client);
        EXPECT_EQ(client.right, 496);
        EXPECT_EQ(client.bottom, 246);
    };
    native.gone = [](NativeWindow window) {
        EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(window)));
    };
    test::CheckAFormsLife(native);
}

TEST(FormsWin32, TimersTickThroughTheLoopOneAtATimeWhileEnabledAndLoaded) {
    test::CheckTimersTickOneAtATime();
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(FormsWin32, AFormInsideAnotherWindowGoesWithIt) {
    WNDCLASSW plain{};
    plain.lpfnWndProc = PlainWindowProc;
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.lpszClassName = L"FormsWin32Parent";
    RegisterClassW(&plain);
    const HWND parent = CreateWindowExW(0, plain.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                        152, 112, nullptr, nullptr, plain.hInstance, nullptr);
    ASSERT_NE(parent, nullptr);

    RecordingForm form;
    form.SetBorderStyle(BorderStyle::None);
    form.Load();
    ASSERT_TRUE(form.EmbedIn(reinterpret_cast<NativeWindow>(parent)));
    const auto window = reinterpret_cast<HWND>(form.Window());
    EXPECT_EQ(GetAncestor(window, GA_PARENT), parent);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
    form.MoveTo(0, 0);
    form.SetClientSize(152, 112);
    form.Show();
    EXPECT_EQ(WindowRect(form.Window()), WindowRect(reinterpret_cast<NativeWindow>(parent)));

    DestroyWindow(parent);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.events, (Events{"Load", "Resize", "QueryUnload:ControlMenu", "Unload"}));
    EXPECT_EQ(form.Window(), 0u);
}

} // namespace
} // namespace kestrune::forms
