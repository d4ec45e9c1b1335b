// The forms layer on a private X server: what only X11 can show. The test
// program is itself the forms' application; a second connection looks at
// and pokes its windows as other programs would.
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/forms/label.h"
#include "host/forms/user_control.h"
#include "host/forms/window_services.h"
#include "tests/host/forms/forms_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/x11_session.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace kestrune::forms {
namespace {

using test::PumpUntil;
using test::RecordingForm;
using Events = std::vector<std::string>;

class FormsX11 : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        m_server = std::make_unique<kestrune::test::XvfbServer>();
        ASSERT_TRUE(m_server->Ok());
        setenv("DISPLAY", m_server->DisplayName().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        test::TestApplication();
    }

    void SetUp() override {
        m_x = std::make_unique<kestrune::test::X11Connection>(m_server->DisplayName());
        ASSERT_TRUE(m_x->Ok());
    }

    bool Contains(const Events& events, const std::string& event) {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    bool Viewable(NativeWindow window) {
        const auto geometry = m_x->Geometry(window);
        return geometry && geometry->viewable;
    }

    static inline std::unique_ptr<kestrune::test::XvfbServer> m_server;
    // Another program's connection.
    std::unique_ptr<kestrune::test::X11Connection> m_x;
};

TEST_F(FormsX11, LoadedHiddenFormIsFoundByTitleAndClosesOnTheWindowSystemsRequest) {
    RecordingForm form;
    form.SetCaption("Kestrune_Main");
    form.Load();
    const auto found = m_x->FindWindowByTitle("Kestrune_Main");
    ASSERT_TRUE(found) << "the loaded form's window is not on the server";
    EXPECT_EQ(*found, form.Window());
    EXPECT_FALSE(Viewable(*found));
    EXPECT_EQ(FindWindowByTitle("Kestrune_Main"), form.Window());

    RecordingForm japanese;
    japanese.SetCaption("<Kestrune> 設定");
    japanese.Load();
    EXPECT_EQ(m_x->FindWindowByTitle("<Kestrune> 設定"), japanese.Window());
    japanese.Unload();

    // A close request as a window manager sends it: cancelled once, then
    // honoured.
    form.cancelQueryUnloads = 1;
    ASSERT_TRUE(m_x->RequestClose(*found));
    ASSERT_TRUE(PumpUntil([&] { return form.events.size() == 2; }));
    EXPECT_TRUE(form.IsLoaded());
    ASSERT_TRUE(m_x->RequestClose(*found));
    ASSERT_TRUE(PumpUntil([&] { return !form.IsLoaded(); }));
    EXPECT_EQ(form.events,
              (Events{"Load", "QueryUnload:ControlMenu", "QueryUnload:ControlMenu", "Unload"}));
    EXPECT_FALSE(m_x->FindWindowByTitle("Kestrune_Main"));

    // Another program destroys the window outright (xdotool windowclose).
    form.events.clear();
    form.cancelQueryUnloads = 1; // cannot keep a window that is gone
    form.Load();
    m_x->DestroyWindow(form.Window());
    ASSERT_TRUE(PumpUntil([&] { return !form.IsLoaded(); }));
    EXPECT_EQ(form.events, (Events{"Load", "QueryUnload:ControlMenu", "Unload"}));
}

TEST_F(FormsX11, EmbeddedFormSitsInItsParentAndEndsWithIt) {
    const NativeWindow parent = m_x->CreateWindow(50, 60, 152, 112);

    RecordingForm preview;
    preview.SetBorderStyle(BorderStyle::None);
    preview.SetCaption("Preview Window");
    EXPECT_FALSE(preview.EmbedIn(parent)) << "a form not loaded has no window to embed";
    preview.Load();
    EXPECT_FALSE(preview.EmbedIn(parent + 12345)) << "no such window";
    const NativeWindow inputOnly = m_x->CreateWindow(0, 0, 152, 112, true);
    EXPECT_FALSE(preview.EmbedIn(inputOnly)) << "the server cannot put it there";
    EXPECT_EQ(m_x->Parent(preview.Window()), m_x->Root());
    ASSERT_TRUE(preview.EmbedIn(parent));
    preview.SetClientSize(152, 112);
    preview.Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(preview.Window()); }));
    // It only appears there: the keyboard stays with the parent's program.
    QCoreApplication::processEvents();
    const QWindow* focus = QGuiApplication::focusWindow();
    EXPECT_FALSE(focus && focus->winId() == preview.Window()) << "the embedded form took the focus";

    EXPECT_EQ(m_x->Parent(preview.Window()), parent);
    const auto geometry = m_x->Geometry(preview.Window());
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->x, 50);
    EXPECT_EQ(geometry->y, 60);
    EXPECT_EQ(geometry->width, 152);
    EXPECT_EQ(geometry->height, 112);
    EXPECT_EQ(WindowRect(parent), (Rect{50, 60, 202, 172}));
    EXPECT_EQ(preview.WindowRect(), (Rect{50, 60, 202, 172}));

    m_x->DestroyWindow(parent);
    ASSERT_TRUE(PumpUntil([&] { return !preview.IsLoaded(); }));
    EXPECT_EQ(preview.events, (Events{"Load", "Resize", "QueryUnload:ControlMenu", "Unload"}));
    EXPECT_FALSE(WindowRect(parent));
}

class Probe : public UserControl {
public:
    using UserControl::UserControl;
    Events events;

protected:
    static std::string Text(const char* what, MouseButton button, int x, int y) {
        return std::string(what) + " " + std::to_string(static_cast<int>(button)) + " " +
               std::to_string(x) + "," + std::to_string(y);
    }
    void UserControl_MouseDown(MouseButton button, ShiftState, int x, int y) override {
        events.push_back(Text("Down", button, x, y));
    }
    void UserControl_MouseMove(MouseButton buttons, ShiftState, int x, int y) override {
        events.push_back(Text("Move", buttons, x, y));
    }
    void UserControl_MouseUp(MouseButton button, ShiftState, int x, int y) override {
        events.push_back(Text("Up", button, x, y));
    }
    void UserControl_GotFocus() override { events.push_back("Got"); }
    void UserControl_LostFocus() override { events.push_back("Lost"); }
};

TEST_F(FormsX11, UserControlHasItsOwnWindowAndKeepsTheMouseWhileAButtonIsHeld) {
    RecordingForm form;
    form.SetBorderStyle(BorderStyle::None);
    form.SetClientSize(300, 200);
    form.MoveTo(100, 100);
    Probe probe(form);
    probe.Move(20, 30, 120, 40);
    Label caption(probe);
    caption.SetCaption("Caption");
    caption.Move(10, 10, 60, 20);
    caption.SetPassMouseToContainer(true);
    Label link(form);
    link.Move(200, 150, 50, 20);
    Events linkEvents;
    link.onMouseDown = [&](MouseButton button, ShiftState, int x, int y) {
        linkEvents.push_back("Down " + std::to_string(static_cast<int>(button)) + " " +
                             std::to_string(x) + "," + std::to_string(y));
    };
    link.onClick = [&] { linkEvents.push_back("Click"); };
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return Viewable(form.Window()) && Viewable(probe.Window()); }));

    EXPECT_NE(probe.Window(), form.Window());
    EXPECT_EQ(probe.ParentForm().Window(), form.Window());
    EXPECT_EQ(WindowFromPoint({220, 160}), probe.Window());
    EXPECT_EQ(WindowFromPoint({135, 145}), probe.Window()) << "its caption hides the control";
    EXPECT_EQ(WindowFromPoint({350, 120}), form.Window());
    EXPECT_EQ(WindowFromPoint({10, 10}), m_x->Root());

    // Pressed on the caption, dragged far off the control, released there.
    kestrune::test::ChildProcess::Options drag;
    drag.arguments = {"mousemove", "135", "145", "mousedown", "1",
                      "mousemove", "500", "400", "mouseup",   "1"};
    drag.environment = {{"DISPLAY", m_server->DisplayName()}};
    kestrune::test::ChildProcess dragging("/usr/bin/xdotool", drag);
    ASSERT_TRUE(PumpUntil([&] { return !dragging.Running(); }));
    ASSERT_TRUE(PumpUntil([&] { return Contains(probe.events, "Up 1 380,270"); }));
    EXPECT_TRUE(Contains(probe.events, "Down 1 15,15"));
    EXPECT_TRUE(Contains(probe.events, "Move 1 380,270")) << "the move outside was not kept";
    EXPECT_EQ(probe.events.back(), "Up 1 380,270");

    kestrune::test::ChildProcess::Options click = drag;
    click.arguments = {"mousemove", "310", "260", "click", "1"};
    kestrune::test::ChildProcess clicking("/usr/bin/xdotool", click);
    ASSERT_TRUE(PumpUntil([&] { return !clicking.Running(); }));
    ASSERT_TRUE(PumpUntil([&] { return linkEvents.size() == 2; }));
    EXPECT_EQ(linkEvents, (Events{"Down 1 10,10", "Click"}));

    // The zoom outline comes and goes without a window manager and leaves
    // the screen as it was.
    const auto before = m_x->ScreenshotRgb();
    AnimateRects(form.Window(), Rect{400, 300, 400, 300}, Rect{100, 100, 400, 300});
    EXPECT_TRUE(before == m_x->ScreenshotRgb());
    form.Unload();
}

TEST_F(FormsX11, FocusMovesBetweenUserControlsButStaysWhenTheFormIsDeactivated) {
    RecordingForm form;
    form.SetClientSize(200, 100);
    Probe first(form);
    first.Move(10, 10, 80, 30);
    Probe second(form);
    second.Move(100, 10, 80, 30);
    Probe skipped(form);
    skipped.Move(10, 50, 80, 30);
    skipped.SetTabStop(false);
    form.SetTabOrder({&skipped, &second, &first});
    form.Show();
    // The first control in the tab order that takes the focus gets it.
    ASSERT_TRUE(PumpUntil([&] { return second.HasFocus(); }));
    first.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return first.HasFocus(); }));
    EXPECT_EQ(second.events, (Events{"Got", "Lost"}));
    EXPECT_EQ(first.events, Events{"Got"});
    // Tab goes on from the last control to the first that takes the focus.
    ASSERT_TRUE(kestrune::test::SendKey(m_server->DisplayName(), "Tab"));
    ASSERT_TRUE(PumpUntil([&] { return second.HasFocus(); }));
    first.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return first.HasFocus(); }));
    first.events.clear();

    // Another window takes the keyboard: the control stays its form's focus.
    RecordingForm other;
    other.MoveTo(400, 400);
    other.Show();
    ASSERT_TRUE(PumpUntil([&] { return other.events.size() == 2; }));
    test::PumpFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(first.events.empty());
    EXPECT_TRUE(first.HasFocus());
    EXPECT_TRUE(skipped.events.empty());
}

} // namespace
} // namespace kestrune::forms
