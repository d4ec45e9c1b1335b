// The checks that hold for every backend of the forms layer; each backend's
// test calls them with its own application and event pumping.
#include "tests/host/forms/forms_test_support.h"

#include "host/forms/timer.h"
#include "host/forms/window_services.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kestrune::forms::test {

namespace {

using Events = std::vector<std::string>;

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

} // namespace

void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

const char* ModeName(UnloadMode mode) {
    switch (mode) {
    case UnloadMode::ControlMenu:
        return "ControlMenu";
    case UnloadMode::Code:
        return "Code";
    case UnloadMode::SessionEnding:
        return "SessionEnding";
    }
    return "?";
}

void CheckAFormsLife(const NativeChecks& native) {
    RecordingForm form;
    form.SetCaption("Kestrune_Main");
    EXPECT_EQ(form.Window(), 0u);
    form.Load();
    form.Load();
    EXPECT_EQ(form.events, Events{"Load"});
    ASSERT_TRUE(form.IsLoaded());
    const NativeWindow window = form.Window();
    EXPECT_NE(window, 0u);
    EXPECT_EQ(FindWindowByTitle("Kestrune_Main"), window);
    if (native.loaded) {
        native.loaded(form);
    }

    form.SetClientSize(496, 246);
    form.Show();
    form.Show();
    EXPECT_EQ(form.events, (Events{"Load", "Resize"}));
    if (native.shown) {
        native.shown(form);
    }
    // A shown form hears of each change of its size, once.
    form.events.clear();
    form.SetClientSize(500, 250);
    EXPECT_TRUE(PumpUntil([&form] { return !form.events.empty(); }));
    PumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(form.events, (Events{"Resize"}));

    form.events.clear();
    form.cancelQueryUnloads = 1;
    form.Unload();
    EXPECT_TRUE(form.IsLoaded());
    form.cancelUnloads = 1;
    form.Unload();
    EXPECT_TRUE(form.IsLoaded());
    form.Unload();
    form.Unload();
    EXPECT_EQ(form.events, (Events{"QueryUnload:Code", "QueryUnload:Code", "Unload",
                                   "QueryUnload:Code", "Unload"}));
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.Window(), 0u);
    EXPECT_EQ(FindWindowByTitle("Kestrune_Main"), 0u);
    if (native.gone) {
        native.gone(window);
    }

    // Loaded again and closed as from outside, through the event loop. A
    // close that Form_Unload posts to its own window (as the preview does)
    // finds the form gone and does nothing.
    form.events.clear();
    form.onUnload = [&form] { form.PostClose(); };
    form.Load();
    form.PostClose();
    EXPECT_EQ(form.events, Events{"Load"});
    ASSERT_TRUE(PumpUntil([&form] { return !form.IsLoaded(); }));
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(form.events, (Events{"Load", "QueryUnload:ControlMenu", "Unload"}));
    EXPECT_EQ(TestApplication().Run(), 0); // nothing loaded: returns at once
}

void CheckTimersTickOneAtATime() {
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
    EXPECT_EQ(ticks, 0) << "ticks come through the event loop only";
    EXPECT_EQ(TestApplication().Run(), 0); // returns when the form unloads
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(ticks, 3) << "the disabled timer went on ticking";
    EXPECT_EQ(deepest, 1) << "a tick ran inside another";
    EXPECT_TRUE(modalReturned);

    form.ticker.SetEnabled(true);
    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(ticks, 3) << "a timer of an unloaded form ticked";
}

} // namespace kestrune::forms::test
