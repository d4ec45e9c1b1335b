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

#include <chrono>
#include <future>
#include <string>
#include <thread>
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

TEST(FormsWin32, AFormInsideAnotherProgramsWindowGoesWithIt) {
    // The preview area belongs to another program. Its end reaches the form
    // as a message sent while the loop waits for posted ones, and the loop
    // must still see that no form is left.
    Application& application = test::TestApplication();
    const DWORD loopThread = GetCurrentThreadId();
    std::promise<HWND> made;
    std::promise<void> loopEnded;
    bool stuck = false;
    std::thread owner([&] {
        const HWND area = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112,
                                          nullptr, nullptr, nullptr, nullptr);
        made.set_value(area);
        MSG message{};
        while (IsWindow(area) && GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        if (loopEnded.get_future().wait_for(std::chrono::seconds(30)) ==
            std::future_status::timeout) {
            stuck = true;
            PostThreadMessageW(loopThread, WM_NULL, 0, 0);
        }
    });
    const HWND parent = made.get_future().get();

    RecordingForm form;
    form.SetBorderStyle(BorderStyle::None);
    form.Load();
    EXPECT_TRUE(form.EmbedIn(reinterpret_cast<NativeWindow>(parent)));
    const auto window = reinterpret_cast<HWND>(form.Window());
    EXPECT_EQ(GetAncestor(window, GA_PARENT), parent);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
    form.MoveTo(0, 0);
    form.SetClientSize(152, 112);
    form.Show();
    EXPECT_EQ(WindowRect(form.Window()), WindowRect(reinterpret_cast<NativeWindow>(parent)));

    PostMessageW(parent, WM_CLOSE, 0, 0);
    application.Run();
    loopEnded.set_value();
    owner.join();
    EXPECT_FALSE(stuck) << "the loop slept on after its last form went";
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.events, (Events{"Load", "Resize", "QueryUnload:ControlMenu", "Unload"}));
    EXPECT_EQ(form.Window(), 0u);
}

} // namespace
} // namespace kestrune::forms
