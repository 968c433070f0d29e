// The neutral control models against fake views: the rules every platform shares, without a
// window system, so that they run in the Windows build as well.
#include "BmpFile.h"
#include "CommandButton.h"
#include "CommandButtonView.h"
#include "GermanCLocale.h"
#include "Label.h"
#include "LabelView.h"
#include "PictureBox.h"
#include "PictureBoxView.h"
#include "RuntimeError.h"
#include "TabOrder.h"

#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <vector>

namespace lumeno {
namespace {

// A window of two controls, the button and another, as far as the focus goes.
class FakeButtonView final : public CommandButtonView {
public:
    enum class Focus { Button, Other, None };

    void enable(bool on) override { enabled = on; }
    bool isFocused() const override { return focus == Focus::Button; }
    bool windowHasFocusedControl() const override { return focus != Focus::None; }
    void clearWindowFocus() override { focus = Focus::None; }
    void takeFocus() override { focus = Focus::Button; }

    bool enabled = true;
    Focus focus = Focus::None;
};

using Focus = FakeButtonView::Focus;

struct FocusCase {
    const char* name;
    Focus before;        // when the button is disabled
    bool userMovesFocus; // while it is disabled, the user gives the focus to another control
    Focus whileDisabled;
    Focus after; // once enabled again
};

void PrintTo(const FocusCase& focusCase, std::ostream* out) {
    *out << focusCase.name;
}

class ButtonFocusTest : public testing::TestWithParam<FocusCase> {};

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonFocusTest,
    testing::Values(FocusCase{"FocusedComesBack", Focus::Button, false, Focus::None, Focus::Button},
                    FocusCase{"UserChoiceStays", Focus::Button, true, Focus::Other, Focus::Other},
                    FocusCase{"OtherKeepsIt", Focus::Other, false, Focus::Other, Focus::Other},
                    FocusCase{"NoneTakesNone", Focus::None, false, Focus::None, Focus::None}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ButtonFocusTest, KeepsTheFocusWhileDisabled) {
    const FocusCase& c = GetParam();
    FakeButtonView view;
    CommandButton button(view);
    view.focus = c.before;
    button.setEnabled(false);
    EXPECT_FALSE(button.isEnabled());
    EXPECT_FALSE(view.enabled);
    if (c.userMovesFocus)
        view.focus = Focus::Other;
    EXPECT_EQ(view.focus, c.whileDisabled);
    button.setEnabled(true);
    EXPECT_TRUE(view.enabled);
    EXPECT_EQ(view.focus, c.after);
    // Taken back once only: disabled and enabled again without the focus, it takes none.
    view.focus = Focus::None;
    button.setEnabled(false);
    button.setEnabled(true);
    EXPECT_EQ(view.focus, Focus::None);
}

// A label whose caption fits in sizes up to `largestFitting` points.
class FakeLabelView final : public LabelView {
public:
    FakeLabelView(double window, double largestFitting)
        : window_(window), largestFitting_(largestFitting) {}

    double windowPointSize() const override { return window_; }
    bool captionFits(double points) const override { return points <= largestFitting_; }
    void setPointSize(double points) override { chosen = points; }

    double chosen = 0;

private:
    double window_;
    double largestFitting_;
};

struct FitCase {
    double window;
    double largestFitting;
    double chosen;
};

class LabelFitTest : public testing::TestWithParam<FitCase> {};

INSTANTIATE_TEST_SUITE_P(Sizes, LabelFitTest,
                         testing::Values(FitCase{9, 12, 9},    // fits in the window's font
                                         FitCase{9, 7.7, 7.5}, // half points down from it
                                         FitCase{9, 2, 6},     // never fits: 6 points at least
                                         FitCase{5, 2, 5}));   // the window's font below 6

TEST_P(LabelFitTest, TakesTheLargestHalfPointSizeThatFits) {
    FakeLabelView view(GetParam().window, GetParam().largestFitting);
    Label label(view);
    label.fitCaption();
    EXPECT_DOUBLE_EQ(view.chosen, GetParam().chosen);
}

// A picture box's view that shows nothing.
class FakePictureBoxView final : public PictureBoxView {
public:
    void resizeBox(int /*width*/, int /*height*/) override {}
    void repaintRows(int /*top*/, int /*bottom*/) override {}
    void pictureReplaced() override {}
};

// A failed pixel call names what was wrong; the first fault in this order counts:
// drawing off, then the colour, then the position.
struct FailedCall {
    const char* name;
    bool persistent;
    ScaleMode units;
    float x;
    float y;
    std::int32_t colour; // -2 reads instead of setting
    const char* cause;
};

void PrintTo(const FailedCall& call, std::ostream* out) {
    *out << call.name;
}

class FailedPixelCallTest : public testing::TestWithParam<FailedCall> {};

constexpr std::int32_t reads = -2;
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Calls, FailedPixelCallTest,
    testing::Values(
        FailedCall{"ReadLeftOfTheArea", false, ScaleMode::Pixels, -0.5F, 0, reads,
                   "no pixel at (-0.5, 0)."},
        FailedCall{"ReadAboveTheArea", false, ScaleMode::Pixels, -1, 2, reads,
                   "no pixel at (-1, 2)."},
        FailedCall{"ReadRightOfTheArea", false, ScaleMode::Pixels, 149, 0, reads,
                   "no pixel at (149, 0)."},
        FailedCall{"ReadBelowInTwips", false, ScaleMode::Twips, 0, 165 * 15, reads,
                   "no pixel at (0, 2475)."},
        FailedCall{"ReadNaN", false, ScaleMode::Pixels, nan, 0, reads, "no pixel at (nan, 0)."},
        FailedCall{"SetWithoutDrawing", false, ScaleMode::Pixels, -1, 0, -1, "persistent drawing"},
        FailedCall{"SetNegativeColour", true, ScaleMode::Pixels, -1, 0, -1,
                   "invalid colour value -1."},
        FailedCall{"SetTooLargeColour", true, ScaleMode::Pixels, 0, 0, 0x1000000,
                   "invalid colour value 16777216."},
        FailedCall{"SetBelowTheArea", true, ScaleMode::Pixels, 0, 165, 0, "no pixel at (0, 165)."},
        FailedCall{"SetNaN", true, ScaleMode::Pixels, 0, nan, 0, "no pixel at (0, nan)."},
        FailedCall{"SetRightInTwips", true, ScaleMode::Twips, 149 * 15, 0, 0,
                   "no pixel at (2235, 0)."}),
    [](const auto& info) { return std::string(info.param.name); });

// The message names the position with a point, also where the C locale writes a comma.
TEST_P(FailedPixelCallTest, FailsTheControlCall) {
    const FailedCall& call = GetParam();
    FakePictureBoxView view;
    // 149 x 165 pixels inside the border at 96 dpi, as Form1's boxes.
    PictureBox box("PicTo", PixelImage(180, 200, 0xFF336699), 0xFFF0F0F0, ScreenDensity(96), view);
    box.setOuterSize(2292, 2532);
    box.setPersistentDrawing(call.persistent);
    box.setScaleMode(call.units);
    if (call.persistent)
        box.setPixel(0, 0, 0x123456); // a drawn row: the checks hold there too
    const GermanCLocale german;
    ASSERT_TRUE(german.active()) << "no German C locale";
    try {
        if (call.colour == reads)
            box.readPixel(call.x, call.y);
        else
            box.setPixel(call.x, call.y, call.colour);
        FAIL() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::ControlCallFailed);
        EXPECT_NE(error.cause().find(call.cause), std::string::npos) << error.cause();
    }
}

// A BMP file of 70 bytes whose header claims these sizes; a header that does not fit the file,
// also where its sizes wrap in 32 bits, is refused with its cause.
TEST(BmpTest, DecodesOnlyWhatTheFileHolds) {
    struct Header {
        std::uint32_t pixelsAt, width, height, bits;
        const char* cause; // none: decodes
    };
    const Header headers[] = {{54, 2, 2, 24, nullptr},
                              {53, 2, 2, 24, "overlap its headers"},
                              {0xFFFFFFF0, 2, 2, 24, "ends early"},
                              {54, 32768, 32768, 32, "ends early"}}; // 2^32 bytes of pixels
    for (const Header& header : headers) {
        std::vector<unsigned char> file(70);
        const std::pair<std::size_t, std::uint32_t> fields[] = {
            {0, 'B' | 'M' << 8}, {10, header.pixelsAt}, {14, 40},
            {18, header.width},  {22, header.height},   {26, 1 | header.bits << 16}};
        for (const auto& [at, value] : fields)
            for (std::size_t i = 0; i < 4; ++i)
                file[at + i] = static_cast<unsigned char>(value >> (8 * i));
        try {
            const PixelImage image = decodeBmp(file);
            EXPECT_EQ(header.cause, nullptr) << header.pixelsAt;
            EXPECT_EQ(image.width() * image.height(), 4) << header.pixelsAt;
        } catch (const RuntimeError& error) {
            ASSERT_NE(header.cause, nullptr) << error.cause();
            EXPECT_NE(error.cause().find(header.cause), std::string::npos) << error.cause();
        }
    }
}

TEST(TabOrderTest, FocusStartsOnTheFirstControlThatTakesIt) {
    static constexpr ControlDefinition controls[] = {
        {ControlKind::Label, "Label1", "", 0, 0, 1, 1},
        {ControlKind::TextBox, "txt", "", 0, 0, 1, 1},
        {ControlKind::CommandButton, "cmd", "", 0, 0, 1, 1}};
    static constexpr WindowDefinition window{"Form1", "Form1", "lumeno", 1, 1, controls};
    EXPECT_EQ(firstFocus(window), &controls[1]);
    static constexpr WindowDefinition labelsOnly{"Form1", "Form1", "lumeno",
                                                 1,       1,       std::span(controls, 1)};
    EXPECT_EQ(firstFocus(labelsOnly), nullptr);
}

} // namespace
} // namespace lumeno
