#include "FormFixture.h"
#include "TextBox.h"

#include <QWindow>
#include <cstdio>

namespace lumeno {
namespace {

class RestartTest : public FormFixture {
protected:
    // The window as it is at start-up, seen through its controls.
    void expectInitialState() {
        ASSERT_EQ(form1Windows().size(), 1U);
        EXPECT_EQ(window()->size(), QSize(500, 355));
        EXPECT_EQ(widget<QLineEdit>("txtBrightness")->text(), "");
        for (const char* name : {"cmdGo", "Quit", "cmdRestart"})
            EXPECT_TRUE(widget(name)->isEnabled()) << name;
        EXPECT_EQ(window()->cursor().shape(), Qt::ArrowCursor);
        for (const char* name : {"PicFrom", "PicTo"}) {
            EXPECT_EQ(form.pictureBox(name).scaleMode(), ScaleMode::Twips) << name;
            EXPECT_FALSE(form.pictureBox(name).persistentDrawing()) << name;
        }
        EXPECT_EQ(shownPixels("PicFrom"), startPicture);
        EXPECT_EQ(shownPixels("PicTo"), startPicture);
        EXPECT_EQ(window()->focusWidget(), widget("PicFrom"));
    }

    void SetUp() override {
        FormFixture::SetUp();
        startPicture = shownPixels("PicFrom");
    }

    std::vector<std::int32_t> startPicture;
};

TEST_F(RestartTest, AfterRunsBringsBackTheStartUpWindow) {
    for (const char* value : {"2", "0", "-2"}) {
        widget<QLineEdit>("txtBrightness")->clear();
        typeParameter(value);
        clickGo();
        click("cmdRestart");
        expectInitialState();
    }
}

TEST_F(RestartTest, TwiceInARowLeavesOneWindow) {
    typeParameter("5");
    clickGo();
    click("cmdRestart");
    click("cmdRestart");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int form1Widgets = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        form1Widgets += widget->objectName() == "Form1" ? 1 : 0;
    EXPECT_EQ(form1Widgets, 1);
    expectInitialState();
}

TEST_F(RestartTest, RestoresTheDefinitionSizeAfterTheUserResized) {
    // Through the window system, as a window manager that ignores the fixed size does: the
    // widget's own resize keeps to it.
    window()->windowHandle()->resize(800, 600);
    ASSERT_TRUE(QTest::qWaitFor([] { return window()->size() == QSize(800, 600); }));
    click("cmdRestart");
    expectInitialState();
}

TEST_F(RestartTest, DuringARunStopsTheRunAndLeavesTheNewWindowAlone) {
    atPump(10, [this] { click("cmdRestart"); });
    typeParameter("2");
    clickGo();
    expectInitialState(); // the run drew nothing into the new window
    EXPECT_TRUE(reports.empty());
}

TEST_F(RestartTest, ARunStartedInTheNewWindowDuringTheOldRunFinishes) {
    atPump(10, [this] {
        click("cmdRestart");
        typeParameter("0");
        clickGo(); // runs to its end inside the first run's event pump
    });
    typeParameter("2");
    clickGo();
    for (const std::int32_t pixel : shownPixels("PicTo"))
        ASSERT_EQ(pixel, 0);
    EXPECT_TRUE(widget("cmdGo")->isEnabled());
    EXPECT_EQ(window()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form.pictureBox("PicFrom").scaleMode(), ScaleMode::Pixels);
    EXPECT_TRUE(reports.empty());
}

// Many Restarts, with runs interrupted at different rows; run under the address and
// leak sanitizers this shows that discarded windows are destroyed safely and fully.
TEST_F(RestartTest, RepeatedRestartsAndInterruptedRuns) {
    for (int round = 0; round < 300; ++round) {
        if (round % 3 == 0) {
            atPump(1 + round % 40, [this] { click("cmdRestart"); });
            typeParameter("3");
            clickGo();
        } else {
            click("cmdRestart");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    expectInitialState();
}

using QuitTest = FormFixture;

TEST_F(QuitTest, EndsTheProgramAtOnceWhileIdle) {
    EXPECT_EXIT(
        {
            std::fputs("quitting\n", stderr);
            click("Quit");
            std::fputs("Quit returned\n", stderr);
        },
        testing::ExitedWithCode(0), "quitting\n$");
}

TEST_F(QuitTest, EndsTheProgramAtOnceDuringARun) {
    EXPECT_EXIT(
        {
            atPump(5, [this] {
                std::fputs("quitting\n", stderr);
                click("Quit");
            });
            typeParameter("2");
            clickGo();
            std::fputs("the run resumed\n", stderr);
        },
        testing::ExitedWithCode(0), "quitting\n$");
}

} // namespace
} // namespace lumeno
