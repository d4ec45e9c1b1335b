// The forms layer on Qt's offscreen platform: what needs no X server.
#include "host/forms/application.h"
#include "host/forms/form.h"
#include "host/forms/qt/qt_conversions.h"
#include "host/forms/window_services.h"
#include "tests/host/forms/forms_test_support.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrune::forms {
namespace {

class FormsOffscreen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        test::TestApplication();
    }
};

TEST_F(FormsOffscreen, EventsComeInOrderAndCancelKeepsTheFormLoaded) {
    EXPECT_EQ(CommandLineText(), "/p 1234");
    test::CheckAFormsLife();
}

TEST_F(FormsOffscreen, TimersTickThroughTheLoopOneAtATimeWhileEnabledAndLoaded) {
    test::CheckTimersTickOneAtATime();
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
