#include "PictureBoxControl.h"

#include "Page.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumeno::web {

namespace {

// The window's background, which shows beside and below the picture.
constexpr std::uint32_t background = 0xFFF0F0F0;

std::vector<PictureBoxControl*>& boxesWithDrawnRows() {
    static std::vector<PictureBoxControl*> boxes;
    return boxes;
}

// The rows being painted, as the canvas takes them, at their places in the box: each paint
// fills the rows it puts, and the page reads no others.
std::vector<std::uint32_t>& canvasPixels() {
    static std::vector<std::uint32_t> pixels;
    return pixels;
}

// A word 0xFFRRGGBB as the bytes R, G, B, A, read as a little-endian word.
constexpr std::uint32_t canvasPixel(std::uint32_t word) {
    return (word & 0xFF00FF00) | (word >> 16 & 0xFF) | (word & 0xFF) << 16;
}

} // namespace

PictureBoxControl::PictureBoxControl(int window, const ControlDefinition& control,
                                     const PixelImage& picture, double devicePixelRatio)
    : canvas_(lumeno_canvas_create(window, std::string(control.accessibleName).c_str())),
      ratio_(devicePixelRatio),
      box_(control.name, picture, background, densityAt(devicePixelRatio), *this) {
    box_.setOuterSize(control.width, control.height);
}

PictureBoxControl::~PictureBoxControl() {
    std::erase(boxesWithDrawnRows(), this);
}

void PictureBoxControl::resizeBox(int width, int height) {
    // A run sets the result box's size before it starts, mostly to the size it has.
    if (!lumeno_canvas_resize(canvas_, width, height, ratio_))
        return;
    repaintRows(0, box_.shown().height());
    describe();
}

void PictureBoxControl::repaintRows(int top, int bottom) {
    if (drawnTop_ == drawnBottom_) {
        boxesWithDrawnRows().push_back(this);
        drawnTop_ = top;
        drawnBottom_ = bottom;
    }
    drawnTop_ = std::min(drawnTop_, top);
    drawnBottom_ = std::max(drawnBottom_, bottom);
}

void PictureBoxControl::pictureReplaced() {
    describe();
}

ScreenDensity densityAt(double devicePixelRatio) {
    return ScreenDensity(96.0 * devicePixelRatio);
}

void PictureBoxControl::describe() {
    lumeno_canvas_describe(canvas_, box_.description().c_str());
}

void PictureBoxControl::paintDrawnRows() {
    for (PictureBoxControl* box : std::exchange(boxesWithDrawnRows(), {}))
        box->paintRows();
}

void PictureBoxControl::paintRows() {
    const PixelImage& shown = box_.shown();
    const int top = std::exchange(drawnTop_, 0);
    const int bottom = std::min(std::exchange(drawnBottom_, 0), shown.height());
    const auto columns = static_cast<std::size_t>(shown.width());
    std::vector<std::uint32_t>& pixels = canvasPixels();
    pixels.resize(std::max(pixels.size(), columns * static_cast<std::size_t>(shown.height())));
    for (int y = top; y < bottom; ++y)
        std::transform(shown.row(y), shown.row(y) + columns, pixels.data() + y * columns,
                       canvasPixel);
    lumeno_canvas_paint(canvas_, pixels.data(), shown.width(), shown.height(), top, bottom);
    box_.painted();
}

} // namespace lumeno::web
