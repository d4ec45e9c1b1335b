// The forms layer on Qt's offscreen platform: what needs no X server.
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/forms/qt/qt_conversions.h"
#include "host/forms/timer.h"
#include "host/forms/window_services.h"
#include "tests/host/forms/forms_test_support.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kestrune::forms {
namespace {

using test::PumpFor;
using test::PumpUntil;
using test::RecordingForm;
using Events = std::vector<std::string>;

class FormsOffscreen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        test::TestApplication();
    }
};

TEST_F(FormsOffscreen, EventsComeInOrderAndCancelKeepsTheFormLoaded) {
    EXPECT_EQ(CommandLineText(), "/p 1234");

    RecordingForm form;
    form.SetCaption("Kestrune_Main");
    EXPECT_EQ(form.Window(), 0u);
    form.Load();
    form.Load();
    EXPECT_EQ(form.events, Events{"Load"});
    ASSERT_TRUE(form.IsLoaded());
    EXPECT_NE(form.Window(), 0u);
    EXPECT_EQ(FindWindowByTitle("Kestrune_Main"), form.Window());

    form.Show();
    form.Show();
    EXPECT_EQ(form.events, (Events{"Load", "Resize"}));

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
    EXPECT_EQ(test::TestApplication().Run(), 0); // nothing loaded: returns at once
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

TEST_F(FormsOffscreen, TimersTickThroughTheLoopOneAtATimeWhileEnabledAndLoaded) {
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
    EXPECT_EQ(test::TestApplication().Run(), 0); // returns when the form unloads
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(ticks, 3) << "the disabled timer went on ticking";
    EXPECT_EQ(deepest, 1) << "a tick ran inside another";
    EXPECT_TRUE(modalReturned);

    form.ticker.SetEnabled(true);
    PumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(ticks, 3) << "a timer of an unloaded form ticked";
}

TEST_F(FormsOffscreen, LayoutFontsResolveToInstalledFaces) {
    const QFont gothic = qt::ToQFont(Font{"ＭＳ Ｐゴシック", 9.75, 400, false, 128});
    EXPECT_EQ(QFontInfo(gothic).family().toStdString(), "IPAPGothic");
    EXPECT_DOUBLE_EQ(QFontInfo(gothic).pointSizeF(), 9.75);
    EXPECT_TRUE(QFontMetrics(gothic).inFontUcs4(U'ﾌ'));
    EXPECT_TRUE(QFontMetrics(gothic).inFontUcs4(U'設'));
    // Tahoma's stand-in is the first of its two substitutes that is installed.
    const QStringList installed = QFontDatabase::families();
    const QString standIn = installed.contains("DejaVu Sans")       ? "DejaVu Sans"
                            : installed.contains("Liberation Sans") ? "Liberation Sans"
                                                                    : QString();
    if (standIn.isEmpty()) {
        GTEST_SKIP() << "neither DejaVu Sans nor Liberation Sans is installed";
    }
    const QFont tahoma = qt::ToQFont(Font{"Tahoma", 8.25, 700, true, 0});
    EXPECT_EQ(QFontInfo(tahoma).family(), standIn);
    EXPECT_TRUE(QFontInfo(tahoma).bold());
    EXPECT_TRUE(QFontInfo(tahoma).underline());
}

TEST_F(FormsOffscreen, ShowCursorCountsAsWindowsDoes) {
    EXPECT_EQ(ShowCursor(false), -1);
    EXPECT_EQ(ShowCursor(false), -2);
    EXPECT_EQ(ShowCursor(true), -1);
    EXPECT_EQ(ShowCursor(true), 0);
}

void StartWithoutDisplay() {
    unsetenv("DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    int argc = 1;
    char program[] = "Kestrune.scr";
    char* argv[] = {program, nullptr};
    Application application(argc, argv);
}

TEST(FormsWithoutDisplay, ApplicationEndsWithAMessageInsteadOfAborting) {
    // A fresh process, in which no application exists yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(StartWithoutDisplay(), ::testing::ExitedWithCode(1),
                "cannot connect to the X server");
}

} // namespace
} // namespace kestrune::forms
