#include "PictureBoxControl.h"

#include "Page.h"

#include <algorithm>
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
    lumeno_canvas_resize(canvas_, width, height, ratio_);
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
    lumeno_canvas_paint(canvas_, shown.words(), shown.width(), top, bottom);
    box_.painted();
}

} // namespace lumeno::web
