// The command button as a user control on a real form, under Qt's offscreen
// platform: synthetic mouse and focus events walk its state table, its
// backing image shows each state's frame and gradient, the leave timer
// notices the mouse going, and its stored properties survive a round trip.
#include "host/controls/Command.h"

#include "host/controls/command_pictures.h"
#include "host/forms/application.h"
#include "host/forms/qt/control_impl.h"
#include "tests/host/controls/qt_test_support.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using forms::Rgb;
using test::ProcessEventsUntil;

class ButtonForm : public forms::Form {
public:
    ButtonForm() {
        SetClientSize(200, 80);
        button.Move(20, 20, 77, 25); // 1155 x 375 twips
        other.Move(120, 20, 77, 25);
    }
    Command button{*this};
    Command other{*this};
};

class CommandControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_form.Show();
        m_form.button.ReadProperties(forms::PropertyBag{});
        m_form.other.ReadProperties(forms::PropertyBag{});
        m_form.button.Initialize();
        m_form.other.Initialize();
        m_form.button.onClick = [this] { ++m_clicks; };
        m_widget = m_form.button.ControlImpl().widget.get();
        // The mouse starts away from both buttons, and the focus (which the
        // form gives its first control when shown) on the other one.
        MoveAway();
        m_form.other.SetFocus();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_form.button.State() == 1; }));
    }

    // The frame's colour at the top edge's middle and the gradient at the
    // top and bottom of the inside, as the backing image holds them.
    Rgb Frame() { return m_form.button.Canvas().PixelAt(38, 2); }
    Rgb GradientTop() { return m_form.button.Canvas().PixelAt(38, 4); }
    Rgb GradientBottom() { return m_form.button.Canvas().PixelAt(38, 20); }

    Rgb PictureFrame(CommandLook look) {
        const std::uint8_t* p = CommandLookPicture(look).PixelAt(30, 2);
        return Rgb{p[0], p[1], p[2]};
    }

    void MoveTo(QPoint at) { test::MouseMove(*m_widget, at); }
    // Off both buttons, at the form's bottom-left.
    void MoveAway() { test::MouseMove(*m_widget, QPoint(-15, 50)); }

    ButtonForm m_form;
    QWidget* m_widget = nullptr;
    int m_clicks = 0;
};

TEST_F(CommandControlTest, HoverClickAndLeave) {
    EXPECT_EQ(m_form.button.State(), 1);
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Normal));
    // Normal: white at the top, the tint at the bottom.
    EXPECT_GT(GradientTop().red, GradientBottom().red);

    // Hovering: the amber frame, the tint moves to the top.
    MoveTo(QPoint(30, 12));
    EXPECT_EQ(m_form.button.State(), 2);
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::HighLight));
    EXPECT_TRUE(m_form.button.TintTop());
    EXPECT_LT(GradientTop().red, GradientBottom().red);

    // The mouse goes: the next timer tick brings the normal look back.
    MoveAway();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_form.button.State() == 1; }));
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Normal));
    EXPECT_FALSE(m_form.button.TintTop());

    // A click: pressed while down (focus arrives while hovered), hovered
    // with focus after, one Click.
    MoveTo(QPoint(30, 12));
    test::MousePress(*m_widget, Qt::LeftButton, QPoint(30, 12));
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Pressed));
    EXPECT_TRUE(m_form.button.ButtonHeld());
    EXPECT_EQ(m_form.button.State(), 4);
    test::MouseRelease(*m_widget, Qt::LeftButton, QPoint(30, 12));
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::HighLightSelect));
    EXPECT_EQ(m_clicks, 1);

    // Focused and left: the focus look; focus elsewhere: normal.
    MoveAway();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_form.button.State() == 3; }));
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Selected));
    m_form.other.SetFocus();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_form.button.State() == 1; }));
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Normal));

    // Keys never click.
    m_form.button.SetFocus();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_form.button.HasFocus(); }));
    QTest::keyClick(m_widget, Qt::Key_Space);
    QTest::keyClick(m_widget, Qt::Key_Return);
    EXPECT_EQ(m_clicks, 1);
}

TEST_F(CommandControlTest, ClickRules) {
    // Dragged off until a tick passes, back on, released: no Click.
    MoveTo(QPoint(30, 12));
    test::MousePress(*m_widget, Qt::LeftButton, QPoint(30, 12));
    MoveAway();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_form.button.State() == 3; }));
    MoveTo(QPoint(30, 12));
    EXPECT_EQ(m_form.button.State(), 3);
    test::MouseRelease(*m_widget, Qt::LeftButton, QPoint(30, 12));
    EXPECT_EQ(m_clicks, 0);

    // The right button on a hovered button: no pressed look, but a Click.
    m_form.other.SetFocus();
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_form.button.State() == 1; }));
    MoveAway();
    MoveTo(QPoint(30, 12));
    test::MousePress(*m_widget, Qt::RightButton, QPoint(30, 12));
    EXPECT_NE(Frame(), PictureFrame(CommandLook::Pressed));
    test::MouseRelease(*m_widget, Qt::RightButton, QPoint(30, 12));
    EXPECT_EQ(m_clicks, 1);

    // Disabled: the grey look and caption, nothing reacts, no Click.
    m_form.button.SetEnabled(false);
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Disable));
    EXPECT_FALSE(m_form.button.ControlImpl().widget->isEnabled());
    const std::uint8_t state = m_form.button.State();
    test::MouseClick(*m_widget, Qt::LeftButton);
    test::MouseClick(*m_widget, Qt::RightButton);
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Disable));
    EXPECT_EQ(m_form.button.State(), state);
    EXPECT_EQ(m_clicks, 1);
    m_form.button.SetEnabled(true);
    EXPECT_EQ(Frame(), PictureFrame(CommandLook::Normal));
}

TEST_F(CommandControlTest, StoredPropertiesRoundTrip) {
    std::vector<std::string> notices;
    m_form.button.onPropertyChanged = [&](std::string_view name) { notices.emplace_back(name); };
    const forms::Font font{"ＭＳ Ｐゴシック", 9.75, 400, false, 128};
    m_form.button.SetCaption("設定");
    m_form.button.SetFont(font);
    m_form.button.SetFontColour(0x0000FF); // red, as &HBBGGRR
    m_form.button.SetEnabled(false);
    EXPECT_EQ(notices, (std::vector<std::string>{"Caption", "Font", "FontColour", "Enabled"}));

    forms::PropertyBag bag;
    m_form.button.WriteProperties(bag);
    std::vector<std::string> names;
    for (const auto& entry : bag.Entries()) {
        names.push_back(entry.first);
    }
    // In the order written; FirstRun and Visible are at their defaults.
    EXPECT_EQ(names, (std::vector<std::string>{"Enabled", "Caption", "Font", "FontColour"}));

    m_form.other.ReadProperties(bag);
    EXPECT_EQ(m_form.other.Caption(), "設定");
    EXPECT_EQ(m_form.other.GetFont(), font);
    EXPECT_EQ(m_form.other.FontColour(), 0x0000FFu);
    EXPECT_EQ(m_form.other.Enabled(), false);
    EXPECT_EQ(m_form.other.Visible(), 255);

    // A caption equal to the written default is not stored and loads as
    // "Command1"; a transparent background is stored and comes back.
    m_form.button.SetCaption("Command");
    m_form.button.SetVisible(0);
    forms::PropertyBag second;
    m_form.button.WriteProperties(second);
    EXPECT_FALSE(second.Contains("Caption"));
    m_form.other.ReadProperties(second);
    EXPECT_EQ(m_form.other.Caption(), "Command1");
    EXPECT_EQ(m_form.other.Visible(), 0);
}

TEST(CommandFreshTest, FirstReadOfEnabledMakesAnEnabledButton) {
    ButtonForm form;
    form.Show();
    // Fresh, without stored properties: disabled, FirstRun 0.
    EXPECT_EQ(form.button.FirstRun(), 0);
    EXPECT_FALSE(form.button.ControlImpl().widget->isEnabled());
    EXPECT_TRUE(form.button.Enabled());
    EXPECT_EQ(form.button.FirstRun(), 1);
    const std::uint8_t* normal = CommandLookPicture(CommandLook::Normal).PixelAt(30, 2);
    EXPECT_EQ(form.button.Canvas().PixelAt(38, 2), (Rgb{normal[0], normal[1], normal[2]}));
}

} // namespace
} // namespace kestrune
