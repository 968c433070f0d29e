#include "ProcessingRun.h"

#include "BrightnessCurve.h"
#include "CurveGolden.h"
#include "FormFixture.h"
#include "RuntimeError.h"

#include <QTimer>
#include <algorithm>
#include <bit>
#include <stdexcept>

namespace lumeno {
namespace {

// The golden table's outputs for b, one of its values without an error, by component.
std::vector<std::int32_t> goldenCurve(double b) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(b));
    const auto line = std::ranges::find(golden(), bits, &GoldenLine::bits);
    EXPECT_NE(line, golden().end()) << "no line for b = " << b << " in " << LUMENO_CURVE_GOLDEN;
    std::vector<std::int32_t> outputs;
    if (line != golden().end())
        for (const std::string& entry : line->entries)
            outputs.push_back(std::stoi(entry));
    outputs.resize(256);
    return outputs;
}

std::int32_t curveColour(const std::vector<std::int32_t>& curve, std::int32_t c) {
    return curve[c & 0xFF] | curve[c >> 8 & 0xFF] << 8 | curve[c >> 16 & 0xFF] << 16;
}

using ProcessingRunTest = FormFixture;

class RunWithParameter : public FormFixture, public testing::WithParamInterface<double> {};

INSTANTIATE_TEST_SUITE_P(Values, RunWithParameter, testing::Values(0.0, 1.0, 2.0, 5.0));

TEST_P(RunWithParameter, MapsEveryShownPixelThroughTheCurve) {
    const double b = GetParam();
    const auto source = shownPixels("PicFrom");
    typeParameter(QString::number(b));
    clickGo();
    ASSERT_TRUE(reports.empty()) << reports.front().text;
    const auto result = shownPixels("PicTo");
    ASSERT_EQ(result.size(), source.size());
    const auto curve = goldenCurve(b);
    for (std::size_t i = 0; i < source.size(); ++i)
        ASSERT_EQ(result[i], curveColour(curve, source[i]))
            << "pixel " << i % 149 << ", " << i / 149;
    // The run leaves both boxes in pixels and PicTo drawing persistently; Go is idle again.
    EXPECT_EQ(form.pictureBox("PicFrom").scaleMode(), ScaleMode::Pixels);
    EXPECT_EQ(form.pictureBox("PicTo").scaleMode(), ScaleMode::Pixels);
    EXPECT_TRUE(form.pictureBox("PicTo").persistentDrawing());
    EXPECT_TRUE(widget("cmdGo")->isEnabled());
    EXPECT_EQ(window()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ProcessingRunTest, ValueZeroTurnsTheResultBlack) {
    typeParameter("0");
    clickGo();
    for (const std::int32_t pixel : shownPixels("PicTo"))
        ASSERT_EQ(pixel, 0);
}

TEST_F(ProcessingRunTest, SecondRunDependsOnlyOnItsOwnValue) {
    const auto source = shownPixels("PicFrom");
    typeParameter("2");
    clickGo();
    widget<QLineEdit>("txtBrightness")->clear();
    typeParameter("0.5");
    clickGo();
    const auto result = shownPixels("PicTo");
    const auto curve = goldenCurve(0.5);
    for (std::size_t i = 0; i < source.size(); i += 7)
        ASSERT_EQ(result[i], curveColour(curve, source[i])) << i;
}

TEST_F(ProcessingRunTest, GoIsDisabledAndThePointerBusyDuringTheRun) {
    QWidget other;
    bool seen = false;
    bool goEnabled = true;
    Qt::CursorShape pointer = Qt::ArrowCursor;
    int rowsDrawnWhenSeen = -1;
    // Runs inside the run's first event pump after the click.
    QTimer::singleShot(0, [&] {
        seen = true;
        goEnabled = widget("cmdGo")->isEnabled();
        pointer = window()->cursor().shape();
        rowsDrawnWhenSeen = form.pictureBox("PicTo").persistentDrawing() ? 1 : 0;
        // The user switches to another window and back.
        for (QWidget* activated : {&other, window()}) {
            activated->show();
            activated->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(activated));
        }
    });
    typeParameter("2");
    clickGo();
    ASSERT_TRUE(seen);
    EXPECT_FALSE(goEnabled);
    EXPECT_EQ(pointer, Qt::WaitCursor);
    EXPECT_EQ(rowsDrawnWhenSeen, 0); // before the work started
    EXPECT_TRUE(widget("cmdGo")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), widget("cmdGo")); // pressed with it, and it is back
}

int goEntries = 0;

void countedRun(Form& form) {
    ++goEntries;
    processingRun(form);
}

constexpr std::array countingBindings{EventBinding{"cmdGo", countedRun}};

class GoEntriesTest : public FormFixture {
protected:
    GoEntriesTest() : FormFixture(countingBindings) { goEntries = 0; }
};

TEST_F(GoEntriesTest, ClicksOnGoDuringTheRunAreIgnored) {
    QTimer::singleShot(0, [this] { // inside the run's first event pump
        clickGo();
        clickGo();
    });
    typeParameter("2");
    clickGo();
    EXPECT_EQ(goEntries, 1);
    EXPECT_TRUE(reports.empty());
}

struct FailingRun {
    const char* text;
    ErrorKind kind;
    const char* causeMentions;
};

void PrintTo(const FailingRun& run, std::ostream* out) {
    *out << '"' << run.text << '"';
}

class FailingRunTest : public FormFixture, public testing::WithParamInterface<FailingRun> {};

INSTANTIATE_TEST_SUITE_P(
    UserErrors, FailingRunTest,
    testing::Values(FailingRun{"abc", ErrorKind::TypeMismatch, "\"abc\""},
                    FailingRun{"", ErrorKind::TypeMismatch, "empty"},
                    FailingRun{"0,5", ErrorKind::TypeMismatch, "2 or 0.5"},
                    FailingRun{"1e39", ErrorKind::Overflow, "1e39"},
                    // Only components 127 and 128 overflow 16 bits; b*x + 1 is never exactly 0.
                    FailingRun{"-2", ErrorKind::Overflow, "16-bit"}));

TEST_P(FailingRunTest, ReportsTheErrorAndLeavesThePreviousResult) {
    typeParameter("4");
    clickGo();
    const auto previous = shownPixels("PicTo");
    widget<QLineEdit>("txtBrightness")->clear();
    typeParameter(GetParam().text);
    clickGo();

    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0].title, "lumeno");
    const std::string firstLine = reports[0].text.substr(0, reports[0].text.find('\n'));
    EXPECT_EQ(firstLine, errorName(GetParam().kind));
    EXPECT_NE(reports[0].text.find(GetParam().causeMentions), std::string::npos) << reports[0].text;

    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(widget("cmdGo")->isEnabled());
    EXPECT_EQ(window()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(shownPixels("PicTo"), previous);
}

// For b = -1 whether a pixel fails by division by zero or overflow depends on its
// components; the run must report what the curve raises for the first failing pixel.
TEST_F(ProcessingRunTest, NegativeParameterReportsTheFirstFailingPixelsError) {
    const auto source = shownPixels("PicFrom");
    std::optional<ErrorKind> expected;
    for (const std::int32_t pixel : source) {
        try {
            mapColour(pixel, -1.0F);
        } catch (const RuntimeError& error) {
            expected = error.kind();
            break;
        }
    }
    ASSERT_TRUE(expected.has_value());
    const auto before = shownPixels("PicTo");
    typeParameter("-1");
    clickGo();
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0].text.substr(0, reports[0].text.find('\n')), errorName(*expected));
    EXPECT_EQ(shownPixels("PicTo"), before);
    EXPECT_TRUE(widget("cmdGo")->isEnabled());
}

TEST_F(ProcessingRunTest, InnerHeightBeyondSixteenBitsIsAnOverflow) {
    form.pictureBox("PicFrom").setOuterHeight(40000 * 15);
    typeParameter("2");
    clickGo();
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0].text.substr(0, reports[0].text.find('\n')), "Overflow");
    EXPECT_TRUE(widget("cmdGo")->isEnabled());
}

TEST_F(ProcessingRunTest, ClosingTheWindowDuringTheRunStopsIt) {
    bool closed = false;
    atPump(10, [&] {
        closed = true;
        window()->close();
    });
    typeParameter("2");
    clickGo();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form.isLoaded()); // the run did not bring the window back
    EXPECT_TRUE(form1Windows().empty());
    EXPECT_TRUE(reports.empty());
}

void failingControlCall(Form& form) {
    form.pictureBox("cmdGo");
}

void failingRunTime(Form&) {
    throw std::length_error("vector::reserve");
}

struct EndingFailure {
    const char* name;
    ClickHandler handler;
    const char* report;
};

void PrintTo(const EndingFailure& failure, std::ostream* out) {
    *out << failure.name;
}

class EndingFailureTest : public testing::TestWithParam<EndingFailure> {};

INSTANTIATE_TEST_SUITE_P(
    Failures, EndingFailureTest,
    testing::Values(EndingFailure{"ControlCall", failingControlCall,
                                  "report: Control call failed\n.*picture box named cmdGo"},
                    // Anything but a run-time error comes from inside the run-time.
                    EndingFailure{"RunTime", failingRunTime,
                                  "report: Control call failed\n.*failed: vector::reserve"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(EndingFailureTest, IsReportedAndEndsTheProgram) {
    const std::array bindings{EventBinding{"cmdGo", GetParam().handler}};
    EXPECT_EXIT(
        {
            setErrorPresenter([](const std::string&, const std::string& text) {
                std::fprintf(stderr, "report: %s\n", text.c_str());
            });
            Form form(form1Definition(), bindings);
            form.click("cmdGo");
        },
        testing::ExitedWithCode(1), GetParam().report);
}

} // namespace
} // namespace lumeno
