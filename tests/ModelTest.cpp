// The neutral control models against fake views: the rules every platform shares, without a
// window system, so that they run in the Windows build as well.
#include "CommandButton.h"
#include "CommandButtonView.h"
#include "Label.h"
#include "LabelView.h"
#include "TabOrder.h"

#include <gtest/gtest.h>
#include <ostream>

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
