#include "FormFixture.h"
#include "TextBox.h"

#include <QAccessible>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <cstdio>

namespace lumeno {
namespace {

using MainWindowTest = FormFixture;

TEST_F(MainWindowTest, StartsInItsInitialState) {
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->windowTitle(), "Form1");
    EXPECT_EQ(window()->size(), QSize(500, 355));
    EXPECT_FALSE(window()->windowIcon().isNull());
    EXPECT_EQ(widget<QLineEdit>("txtBrightness")->text(), "");
    EXPECT_EQ(widget<QLabel>("Label1")->text(), "parameter value?");
    for (const char* name : {"cmdGo", "Quit", "cmdRestart"})
        EXPECT_TRUE(widget(name)->isEnabled()) << name;
    EXPECT_EQ(window()->cursor().shape(), Qt::ArrowCursor);

    QImage picture(":/picture.bmp");
    ASSERT_EQ(picture.size(), QSize(180, 200));
    for (const char* name : {"PicFrom", "PicTo"}) {
        PictureBox& box = form.pictureBox(name);
        EXPECT_EQ(box.scaleMode(), ScaleMode::Twips) << name;
        EXPECT_FALSE(box.persistentDrawing()) << name;
        EXPECT_FLOAT_EQ(box.innerWidth(), 149 * 15) << name;
        EXPECT_FLOAT_EQ(box.innerHeight(), 165 * 15) << name;
    }
    const auto from = shownPixels("PicFrom");
    EXPECT_EQ(from, shownPixels("PicTo"));
    ASSERT_EQ(from.size(), 149U * 165U);
    for (int y = 0; y < 165; y += 41)
        for (int x = 0; x < 149; x += 37) {
            const QRgb rgb = picture.pixel(x, y);
            EXPECT_EQ(from[y * 149 + x], qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
        }
}

struct Placement {
    const char* name;
    QRect geometry;
};

class LayoutTest : public FormFixture, public testing::WithParamInterface<Placement> {};

// The definition's twips at 15 twips per pixel, rounded to the nearest pixel.
INSTANTIATE_TEST_SUITE_P(At96Dpi, LayoutTest,
                         testing::Values(Placement{"PicFrom", {8, 8, 153, 169}},
                                         Placement{"cmdGo", {304, 232, 97, 41}},
                                         Placement{"PicTo", {224, 8, 153, 169}},
                                         Placement{"Label1", {32, 232, 49, 25}},
                                         Placement{"txtBrightness", {96, 232, 41, 25}},
                                         Placement{"Quit", {304, 296, 97, 41}},
                                         Placement{"cmdRestart", {400, 232, 89, 41}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(LayoutTest, PlacesTheControlInPixels) {
    ASSERT_DOUBLE_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    EXPECT_EQ(widget(GetParam().name)->geometry(), GetParam().geometry);
}

TEST_F(MainWindowTest, PictureBoxesHaveATwoPixelSunkenBorder) {
    for (const char* name : {"PicFrom", "PicTo"})
        EXPECT_EQ(widget(name)->contentsRect(), QRect(2, 2, 149, 165)) << name;
}

TEST_F(MainWindowTest, FocusStartsOnPicFromAndTabFollowsTheDefinition) {
    QApplication::setActiveWindow(window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    EXPECT_EQ(QApplication::focusWidget(), widget("PicFrom"));
    // The label takes no focus, so Tab goes from the field's predecessor past it.
    for (const char* next : {"cmdGo", "PicTo", "txtBrightness", "Quit", "cmdRestart", "PicFrom"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), widget(next)) << next;
    }
}

TEST_F(MainWindowTest, AssistiveTechnologyNamesEveryControl) {
    const std::pair<const char*, const char*> names[] = {
        {"PicFrom", "Source picture"},
        {"cmdGo", "Go"},
        {"PicTo", "Result picture"},
        {"Label1", "parameter value?"},
        {"txtBrightness", "parameter value?"}, // named by its label
        {"Quit", "Quit"},
        {"cmdRestart", "Restart"},
    };
    for (const auto& [control, name] : names) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget(control));
        ASSERT_NE(accessible, nullptr) << control;
        EXPECT_EQ(accessible->text(QAccessible::Name), name) << control;
    }
    // The picture boxes are images of what their client area shows.
    for (const char* control : {"PicFrom", "PicTo"}) {
        QAccessibleImageInterface* image =
            QAccessible::queryAccessibleInterface(widget(control))->imageInterface();
        ASSERT_NE(image, nullptr) << control;
        EXPECT_EQ(image->imageSize(), QSize(149, 165)) << control;
        EXPECT_EQ(image->imagePosition(), widget(control)->mapToGlobal(QPoint(2, 2))) << control;
    }
    // The field's characters have places; offsets outside its text have none and
    // out of order change nothing.
    typeParameter("25");
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(widget("txtBrightness"));
    EXPECT_GT(field->textInterface()->characterRect(1).width(), 0);
    for (const int outside : {-1, 3})
        EXPECT_EQ(field->textInterface()->characterRect(outside), QRect()) << outside;
    field->editableTextInterface()->deleteText(1, 0); // out of order
    EXPECT_EQ(widget<QLineEdit>("txtBrightness")->text(), "25");
}

TEST_F(MainWindowTest, UnloadDiscardsTheWindowAndTheNextUseRecreatesIt) {
    typeParameter("0");
    clickGo();
    ASSERT_NE(shownPixels("PicTo"), shownPixels("PicFrom"));
    const auto loads = form.loadCount();

    form.unload();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(form1Windows().empty());

    // The first use of a control loads a fresh window from the definition.
    EXPECT_EQ(form.textBox("txtBrightness").text(), "");
    EXPECT_EQ(form.loadCount(), loads + 1);
    EXPECT_FALSE(form.pictureBox("PicTo").persistentDrawing());
    EXPECT_EQ(form.pictureBox("PicTo").scaleMode(), ScaleMode::Twips);
    EXPECT_EQ(shownPixels("PicTo"), shownPixels("PicFrom"));

    form.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int form1Widgets = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        form1Widgets += widget->objectName() == "Form1" ? 1 : 0;
    EXPECT_EQ(form1Widgets, 1);
}

TEST_F(MainWindowTest, ClosingTheWindowWhileIdleDiscardsIt) {
    window()->close();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(form1Windows().empty());
}

// A start-up window that cannot be loaded (here: its picture is missing) is reported, and
// the program ends.
TEST(StartUpTest, AWindowThatCannotBeLoadedIsReportedAndEndsTheProgram) {
    static constexpr ControlDefinition controls[] = {
        {ControlKind::PictureBox, "PicFrom", "missing", 120, 120, 2292, 2532}};
    static constexpr WindowDefinition definition{"Form1", "Form1", "lumeno", 7500, 5328, controls};
    EXPECT_EXIT(
        {
            setErrorPresenter([](const std::string&, const std::string& text) {
                std::fprintf(stderr, "report: %s\n", text.c_str());
            });
            Form form(definition, {});
            form.showAtStart();
        },
        testing::ExitedWithCode(1), "report: Control call failed\n.*no picture named missing");
}

} // namespace
} // namespace lumeno
