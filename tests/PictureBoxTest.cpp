#include "FormFixture.h"
#include "GermanCLocale.h"
#include "Runtime.h"
#include "RuntimeError.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>

namespace lumeno {
namespace {

constexpr float twips = 15.0F; // per pixel at 96 dpi

// A colour value that differs from pixel to pixel and from the picture.
std::int32_t drawnColour(int x, int y) {
    return (x * 37 + 11) % 256 | ((y * 53 + 7) % 256) << 8 | ((x + y) * 29 % 256) << 16;
}

class PictureBoxTest : public FormFixture {
protected:
    // What the screen shows in the box's client area, as colour values.
    static QImage screen(const char* box) {
        auto* frame = widget<QFrame>(box);
        const QRect client = frame->contentsRect().translated(frame->mapTo(window(), QPoint()));
        return QGuiApplication::primaryScreen()
            ->grabWindow(window()->winId(), client.x(), client.y(), client.width(), client.height())
            .toImage();
    }
    static std::int32_t colourValue(QRgb rgb) {
        return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
    }

    // Every pixel the box's model shows, read in pixels and in twips, is on the screen.
    void expectScreenShowsTheModel(const char* name) {
        PictureBox& box = form.pictureBox(name);
        const QImage shown = screen(name);
        box.setScaleMode(ScaleMode::Twips);
        ASSERT_EQ(shown.width(), static_cast<int>(box.innerWidth() / twips));
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                box.setScaleMode(ScaleMode::Twips);
                const std::int32_t inTwips =
                    box.readPixel(static_cast<float>(x) * twips + 7, static_cast<float>(y) * twips);
                box.setScaleMode(ScaleMode::Pixels);
                const std::int32_t inPixels =
                    box.readPixel(static_cast<float>(x) + 0.5F, static_cast<float>(y));
                ASSERT_EQ(inTwips, inPixels) << name << " " << x << ", " << y;
                ASSERT_EQ(colourValue(shown.pixel(x, y)), inPixels)
                    << name << " " << x << ", " << y;
            }
        }
    }
};

TEST_F(PictureBoxTest, EnlargedBoxShowsThePictureOverTheBackground) {
    PictureBox& box = form.pictureBox("PicTo"); // room to grow right and down
    box.setOuterWidth(270 * 15);
    box.setOuterHeight(215 * 15);
    pumpEvents();
    expectScreenShowsTheModel("PicTo");
    box.setScaleMode(ScaleMode::Pixels);
    const std::int32_t background =
        colourValue(widget("PicTo")->palette().color(QPalette::Window).rgb());
    EXPECT_EQ(box.readPixel(180, 0), background);   // right of the 180 x 200 picture
    EXPECT_EQ(box.readPixel(0, 200), background);   // below it
    EXPECT_NE(box.readPixel(179, 199), background); // its last pixel
}

// Rows drawn in some order, a pump after each group: after every pump the screen
// shows everything drawn so far, and the rest still shows the picture.
struct DrawingOrder {
    const char* name;
    ScaleMode units;
    std::vector<std::vector<int>> rowGroups; // the rows drawn before each pump
    bool rightToLeft;
};

void PrintTo(const DrawingOrder& order, std::ostream* out) {
    *out << order.name;
}

class DrawingTest : public PictureBoxTest, public testing::WithParamInterface<DrawingOrder> {};

INSTANTIATE_TEST_SUITE_P(
    Orders, DrawingTest,
    testing::Values(DrawingOrder{"TopDown", ScaleMode::Pixels, {{0}, {1}, {2}, {3}}, false},
                    DrawingOrder{"BottomUp", ScaleMode::Pixels, {{9}, {8}, {7, 6, 5}}, false},
                    DrawingOrder{"Scattered", ScaleMode::Pixels, {{5, 2, 3}, {4, 0, 9}, {1}}, true},
                    DrawingOrder{"RowAgain", ScaleMode::Pixels, {{3, 4}, {4, 3}, {4}}, false},
                    DrawingOrder{"InTwips", ScaleMode::Twips, {{0, 1}, {3, 2}}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DrawingTest, ScreenShowsEveryDrawnPixelAfterThePump) {
    const DrawingOrder& order = GetParam();
    PictureBox& box = form.pictureBox("PicTo");
    box.setPersistentDrawing(true);
    const float unit = order.units == ScaleMode::Twips ? twips : 1.0F;
    for (const std::vector<int>& rows : order.rowGroups) {
        box.setScaleMode(order.units);
        const int width = static_cast<int>(box.innerWidth() / unit);
        for (const int y : rows) {
            for (int i = 0; i < width; i += 3) { // every third column: the rest stays
                const int x = order.rightToLeft ? width - 1 - i : i;
                box.setPixel(static_cast<float>(x) * unit, static_cast<float>(y) * unit,
                             drawnColour(x, y));
            }
        }
        pumpEvents();
        expectScreenShowsTheModel("PicTo");
        box.setScaleMode(ScaleMode::Pixels);
        const int first = order.rightToLeft ? static_cast<int>(box.innerWidth()) - 1 : 0;
        for (const int y : rows)
            ASSERT_EQ(box.readPixel(static_cast<float>(first), static_cast<float>(y)),
                      drawnColour(first, y))
                << y;
    }
}

TEST_F(PictureBoxTest, DrawingKeepsItsRowsWhenTheBoxGrows) {
    PictureBox& box = form.pictureBox("PicTo");
    box.setPersistentDrawing(true);
    box.setScaleMode(ScaleMode::Pixels);
    box.setPixel(10, 4, drawnColour(10, 4));
    box.setOuterWidth(box.outerWidth() + 30 * 15);
    box.setPixel(160, 4, drawnColour(160, 4)); // a new column of the same row
    box.setPixel(11, 5, drawnColour(11, 5));
    pumpEvents();
    expectScreenShowsTheModel("PicTo");
    EXPECT_EQ(box.readPixel(10, 4), drawnColour(10, 4));
    EXPECT_EQ(box.readPixel(160, 4), drawnColour(160, 4));
}

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

class FailedPixelCallTest : public PictureBoxTest,
                            public testing::WithParamInterface<FailedCall> {};

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
    PictureBox& box = form.pictureBox("PicTo");
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

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject* watched) { watched->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(PictureBoxTest, TurningDrawingOnRepaintsNothing) {
    pumpEvents();
    const PaintCounter paints(widget("PicTo"));
    form.pictureBox("PicTo").setPersistentDrawing(true);
    pumpEvents();
    EXPECT_EQ(paints.count, 0);
}

TEST_F(PictureBoxTest, TurningDrawingOffBeforeThePumpShowsThePictureAgain) {
    PictureBox& box = form.pictureBox("PicTo");
    box.setScaleMode(ScaleMode::Pixels);
    const std::int32_t picture = box.readPixel(3, 2);
    box.setPersistentDrawing(true);
    box.setPixel(3, 2, picture ^ 0xFFFFFF);
    box.setPersistentDrawing(false);
    pumpEvents();
    EXPECT_EQ(box.readPixel(3, 2), picture);
    expectScreenShowsTheModel("PicTo");
    box.setPersistentDrawing(true); // starts again from the picture
    EXPECT_EQ(box.readPixel(3, 2), picture);
}

// Outer sizes at the edges, set on a box that draws: the box takes what it can and fails
// the call for the rest, changing nothing then; it draws and shows its model either way.
struct OuterSize {
    const char* name;
    int width; // twips
    int height;
    int columns; // the client area in pixels, or -1: the call fails
    int rows;
};

void PrintTo(const OuterSize& size, std::ostream* out) {
    *out << size.name;
}

class OuterSizeTest : public PictureBoxTest, public testing::WithParamInterface<OuterSize> {};

INSTANTIATE_TEST_SUITE_P(Sizes, OuterSizeTest,
                         testing::Values(OuterSize{"ShrunkBelowADrawnRow", 2292, 54 * 15, 149, 50},
                                         OuterSize{"SmallerThanTheBorder", 3 * 15, 15, 0, 0},
                                         OuterSize{"Huge", 16777215 * 15, 2532, -1, -1},
                                         OuterSize{"Negative", 2292, -15, -1, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(OuterSizeTest, KeepsTheBoxSound) {
    const OuterSize& size = GetParam();
    PictureBox& box = form.pictureBox("PicTo");
    box.setPersistentDrawing(true);
    box.setScaleMode(ScaleMode::Pixels);
    box.setPixel(3, 20, drawnColour(3, 20));
    box.setPixel(3, 160, drawnColour(3, 160)); // not yet repainted
    try {
        box.setOuterWidth(size.width);
        box.setOuterHeight(size.height);
        EXPECT_NE(size.columns, -1) << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(size.columns, -1) << error.cause();
        EXPECT_EQ(error.kind(), ErrorKind::ControlCallFailed);
    }
    const bool fails = size.columns == -1;
    EXPECT_EQ(box.innerWidth(), fails ? 149 : size.columns);
    EXPECT_EQ(box.innerHeight(), fails ? 165 : size.rows);
    // Reading and setting follow the size at once: just below the client area both fail.
    const auto below = static_cast<float>(box.innerHeight());
    EXPECT_THROW(box.readPixel(0, below), RuntimeError);
    EXPECT_THROW(box.setPixel(0, below, 0), RuntimeError);
    pumpEvents();
    box.setPersistentDrawing(false);
    box.setPersistentDrawing(true);
    if (box.innerHeight() > 20) {
        box.setPixel(3, 20, drawnColour(3, 20));
        pumpEvents();
        expectScreenShowsTheModel("PicTo");
    }
}

TEST_F(PictureBoxTest, ANewBoxTakesItsSizeFromTheDefinition) {
    // 100 x 30 pixels, as a new widget would be anyway.
    std::vector<ControlDefinition> controls(form1Definition().controls.begin(),
                                            form1Definition().controls.end());
    controls[2].width = 100 * 15;
    controls[2].height = 30 * 15;
    WindowDefinition definition = form1Definition();
    definition.controls = controls;
    Form small(definition, {});
    EXPECT_EQ(small.pictureBox("PicTo").innerWidth(), 96 * 15);
    EXPECT_EQ(small.pictureBox("PicTo").innerHeight(), 26 * 15);
}

// Draws into PicFrom whenever PicTo paints.
class DrawingPaintFilter : public QObject {
public:
    DrawingPaintFilter(QObject* watched, PictureBox& box) : box_(box) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && column_ < 100) {
            box_.setPixel(static_cast<float>(column_), 7, drawnColour(column_, 7));
            ++column_;
        }
        return false;
    }

private:
    PictureBox& box_;
    int column_ = 0;
};

TEST_F(PictureBoxTest, DrawingWhileAnotherBoxPaintsShowsAfterTheNextPump) {
    for (const char* name : {"PicFrom", "PicTo"}) {
        form.pictureBox(name).setPersistentDrawing(true);
        form.pictureBox(name).setScaleMode(ScaleMode::Pixels);
    }
    pumpEvents();
    const DrawingPaintFilter filter(widget("PicTo"), form.pictureBox("PicFrom"));
    form.pictureBox("PicTo").setPixel(0, 0, 0x010203);
    pumpEvents(); // PicTo paints, and draws into PicFrom meanwhile
    pumpEvents();
    EXPECT_EQ(form.pictureBox("PicFrom").readPixel(0, 7), drawnColour(0, 7));
    expectScreenShowsTheModel("PicFrom");
}

TEST_F(PictureBoxTest, NegativeZeroIsTheFirstPixel) {
    PictureBox& box = form.pictureBox("PicTo");
    box.setPersistentDrawing(true);
    box.setScaleMode(ScaleMode::Pixels);
    box.setPixel(-0.0F, -0.0F, 0x010203);
    EXPECT_EQ(box.readPixel(0, 0), 0x010203);
    EXPECT_EQ(box.readPixel(-0.0F, 0.99F), 0x010203);
}

} // namespace
} // namespace lumeno
