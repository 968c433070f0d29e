#include "PictureBox.h"

#include "NumberText.h"
#include "PictureBoxView.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cstdint>
#include <span>

namespace lumeno {

namespace {

// The largest client area, in pixels a side and in all: beyond what any screen shows, and
// small enough that its images always fit in memory.
constexpr int largestSide = 65535;
constexpr std::int64_t largestArea = std::int64_t{1} << 26;

// The mean of every component of every pixel shown, in percent of full intensity.
int meanBrightnessPercent(const PixelImage& shown) {
    std::uint64_t sum = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (const std::uint32_t word : std::span(shown.row(y), shown.width()))
            sum += (word >> 16 & 0xFF) + (word >> 8 & 0xFF) + (word & 0xFF);
    const std::uint64_t components = std::uint64_t{3} * shown.width() * shown.height();
    if (components == 0)
        return 0;
    return static_cast<int>((sum * 100 + components * 255 / 2) / (components * 255));
}

std::string size(int width, int height) {
    return numberText(width) + " by " + numberText(height) + " pixels";
}

} // namespace

PictureBox::PictureBox(std::string_view name, PixelImage picture, std::uint32_t background,
                       ScreenDensity density, PictureBoxView& view)
    : name_(name), picture_(std::move(picture)), background_(background), density_(density),
      view_(view) {}

void PictureBox::setOuterSize(int widthTwips, int heightTwips) {
    const int width = density_.pixels(widthTwips);
    const int height = density_.pixels(heightTwips);
    // A box smaller than its border has an empty client area.
    const int columns = std::max(width - 2 * border, 0);
    const int rows = std::max(height - 2 * border, 0);
    if (width < 0 || height < 0 || columns > largestSide || rows > largestSide ||
        std::int64_t{columns} * rows > largestArea)
        failed("a size of " + numberText(widthTwips) + " by " + numberText(heightTwips) +
               " twips is out of range");
    outerWidth_ = widthTwips;
    outerHeight_ = heightTwips;
    if (columns != shown_.width() || rows != shown_.height()) {
        PixelImage resized = composed(columns, rows);
        if (persistent_) // keeps what was drawn where it still fits
            resized.copyFrom(shown_);
        shown_ = std::move(resized);
        updateShortWay();
        reportedRow_ = noRow;
    }
    view_.resizeBox(width, height);
}

void PictureBox::setDensity(ScreenDensity density) {
    const ScreenDensity previous = density_;
    density_ = density;
    try {
        setOuterSize(outerWidth_, outerHeight_);
    } catch (const RuntimeError&) {
        density_ = previous;
    }
}

PixelImage PictureBox::composed(int columns, int rows) const {
    PixelImage image(columns, rows, background_);
    image.copyFrom(picture_);
    return image;
}

float PictureBox::inUnits(int pixels) const {
    const double perPixel = scaleMode_ == ScaleMode::Pixels ? 1.0 : density_.twipsPerPixel();
    return static_cast<float>(pixels * perPixel);
}

void PictureBox::setPersistentDrawing(bool on) {
    // Turned on, the persistent image starts as what the box shows: nothing changes.
    if (on == persistent_)
        return;
    if (!on)
        discardDrawing();
    persistent_ = on;
    updateShortWay();
}

void PictureBox::setScaleMode(ScaleMode mode) {
    scaleMode_ = mode;
    updateShortWay();
}

void PictureBox::updateShortWay() {
    const bool pixels = scaleMode_ == ScaleMode::Pixels;
    readable_ =
        pixels ? Bounds{static_cast<float>(shown_.width()), static_cast<float>(shown_.height())}
               : Bounds{};
    settable_ = persistent_ ? readable_ : Bounds{};
}

PictureBox::Pixel PictureBox::pixelAt(float x, float y) const {
    // Twips round down to the pixel they fall in.
    const double perPixel = scaleMode_ == ScaleMode::Twips ? density_.twipsPerPixel() : 1.0;
    const double column = x / perPixel;
    const double row = y / perPixel;
    if (!(column >= 0 && column < shown_.width() && row >= 0 && row < shown_.height()))
        noPixelAt(x, y);
    return {static_cast<int>(column), static_cast<int>(row)};
}

void PictureBox::noPixelAt(float x, float y) const {
    failed("no pixel at (" + numberText(x) + ", " + numberText(y) + ")");
}

std::int32_t PictureBox::readPixelTheLongWay(float x, float y) const {
    const Pixel pixel = pixelAt(x, y);
    return PixelImage::colourValue(shown_.row(pixel.row)[pixel.column]);
}

void PictureBox::setPixelTheLongWay(float x, float y, std::int32_t colourValue) {
    if (!persistent_ || colourValue < 0 || colourValue > 0xFFFFFF)
        cannotSet(colourValue);
    const Pixel pixel = pixelAt(x, y);
    shown_.row(pixel.row)[pixel.column] = PixelImage::word(static_cast<std::uint32_t>(colourValue));
    if (pixel.row != reportedRow_)
        drawn(pixel.row);
}

void PictureBox::drawn(int row) {
    reportedRow_ = row;
    view_.repaintRows(row, row + 1);
}

void PictureBox::cannotSet(std::int32_t colourValue) const {
    if (!persistent_)
        failed("setting a pixel needs persistent drawing on");
    failed("invalid colour value " + numberText(colourValue));
}

void PictureBox::persistentImageToPicture() {
    if (!persistent_)
        failed("there is no persistent image without persistent drawing");
    picture_ = shown_; // the box shows the same
    pictureDrawn_ = true;
    ++pictureReplacements_;
    view_.pictureReplaced();
}

std::string PictureBox::description() const {
    const std::string brightness =
        "mean brightness " + numberText(meanBrightnessPercent(shown_)) + " percent.";
    if (pictureDrawn_)
        return "A picture the program drew, " + size(shown_.width(), shown_.height()) + "; " +
               brightness;
    return "The program's picture of " + size(picture_.width(), picture_.height()) +
           ", shown from its top-left corner in a box of " + size(shown_.width(), shown_.height()) +
           "; " + brightness;
}

void PictureBox::discardDrawing() {
    if (persistent_)
        shown_ = composed(shown_.width(), shown_.height());
    reportedRow_ = noRow;
    view_.repaintRows(0, shown_.height());
}

void PictureBox::failed(const std::string& what) const {
    throw RuntimeError(ErrorKind::ControlCallFailed, name_ + ": " + what + ".");
}

} // namespace lumeno
