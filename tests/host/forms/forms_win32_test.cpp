// The forms layer's Win32 backend under Wine: the command line as Windows
// passes it, the events of a form in their order, the timers on the form's
// thread, and a form inside another window.
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/forms/timer.h"
#include "host/forms/win32/command_line_text.h"
#include "host/forms/window_services.h"
#include "tests/support/child_process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace kestrune::forms {
namespace {

using Events = std::vector<std::string>;

// Handles the thread's messages until `condition` holds or the deadline
// passes.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    // Each look handles what is queued, then waits up to 2 ms for more.
    return kestrune::test::WaitUntil(
        [&] {
            MSG message{};
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (condition()) {
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
            return false;
        },
        deadline, std::chrono::milliseconds(0));
}

void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

class RecordingForm : public Form {
public:
    Events events;
    int cancelQueryUnloads = 0;

protected:
    void Form_Load() override { events.push_back("Load"); }
    void Form_Resize() override { events.push_back("Resize"); }
    void Form_QueryUnload(bool& cancel, UnloadMode mode) override {
        events.push_back(mode == UnloadMode::Code ? "QueryUnload:Code" : "QueryUnload:Other");
        if (cancelQueryUnloads > 0) {
            --cancelQueryUnloads;
            cancel = true;
        }
    }
    void Form_Unload(bool&) override { events.push_back("Unload"); }
};

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
    RecordingForm form;
    form.SetCaption("Kestrune_Main");
    EXPECT_EQ(form.Window(), 0u);
    form.Load();
    form.Load();
    EXPECT_EQ(form.events, Events{"Load"});
    const auto window = reinterpret_cast<HWND>(form.Window());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Kestrune_Main"), window);
    EXPECT_EQ(FindWindowByTitle("Kestrune_Main"), form.Window());
    EXPECT_FALSE(IsWindowVisible(window));

    form.SetClientSize(496, 246);
    form.Show();
    form.Show();
    EXPECT_EQ(form.events, (Events{"Load", "Resize"}));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 496);
    EXPECT_EQ(client.bottom, 246);

    form.cancelQueryUnloads = 1;
    form.Unload();
    EXPECT_TRUE(form.IsLoaded());
    form.Unload();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FindWindowByTitle("Kestrune_Main"), 0u);

    // Loaded again and closed as from outside, through the message loop.
    form.events.clear();
    form.Load();
    form.PostClose();
    EXPECT_EQ(form.events, Events{"Load"});
    ASSERT_TRUE(PumpUntil([&form] { return !form.IsLoaded(); }));
    EXPECT_EQ(form.events, (Events{"Load", "QueryUnload:Other", "Unload"}));
}

// A form shown modally by a tick of another form's timer; its own timer
// unloads it after a few ticks.
class ModalForm : public Form {
public:
    ModalForm() {
        closer.SetInterval(5);
        closer.onTick = [this] {
            if (++ticks == 3) {
                Unload();
            }
        };
    }
    Timer closer{*this};
    int ticks = 0;
};

class TickingForm : public Form {
public:
    Timer ticker{*this};
    Timer stopper{*this};
};

TEST(FormsWin32, TimersTickThroughTheLoopOneAtATimeWhileEnabledAndLoaded) {
    Application application(0, nullptr);
    TickingForm form;
    int ticks = 0;
    int depth = 0;
    int deepest = 0;
    bool modalReturned = false;
    form.ticker.SetInterval(5);
    form.stopper.SetEnabled(false);
    form.ticker.onTick = [&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        if (ticks == 1) {
            // The ticker comes due again and again while the modal form waits.
            ModalForm modal;
            modal.ShowModal();
            modalReturned = !modal.IsLoaded() && modal.ticks == 3;
        }
        if (ticks == 3) {
            form.ticker.SetEnabled(false);
            form.stopper.SetInterval(100);
            form.stopper.SetEnabled(true);
        }
        --depth;
    };
    form.stopper.onTick = [&] {
        form.stopper.SetEnabled(false);
        form.Unload();
    };

    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(ticks, 0) << "a timer of a form that is not loaded ticked";
    form.Load();
    EXPECT_EQ(ticks, 0) << "ticks come through the message loop only";
    EXPECT_EQ(application.Run(), 0); // returns when the form unloads
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(ticks, 3) << "the disabled timer went on ticking";
    EXPECT_EQ(deepest, 1) << "a tick ran inside another";
    EXPECT_TRUE(modalReturned);
}

TEST(FormsWin32, AFormInsideAnotherProgramsWindowGoesWithIt) {
    // The preview area belongs to another program. Its end reaches the form
    // as a message sent while the loop waits for posted ones, and the loop
    // must still see that no form is left.
    Application application(0, nullptr);
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
    EXPECT_EQ(form.events, (Events{"Load", "Resize", "QueryUnload:Other", "Unload"}));
    EXPECT_EQ(form.Window(), 0u);
}

} // namespace
} // namespace kestrune::forms
