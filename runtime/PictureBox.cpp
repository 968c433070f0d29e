#include "PictureBox.h"

#include <algorithm>
#include <bit>

namespace lumeno {

void PictureBox::describeDirectAccess() {
    readableRow_ = {};
    writableRow_ = {};
    if (scaleMode_ == ScaleMode::Pixels && readyRow_ != noRow)
        writableRow_ = {drawing_.bits + readyRow_ * drawing_.stride, bitsOf(columns_),
                        bitsOf(static_cast<float>(readyRow_))};
}

PictureBox::Pixel PictureBox::pixelAt(float x, float y) const {
    const double column = x / unitsPerPixel(); // rounded down below
    const double row = y / unitsPerPixel();
    if (!(column >= 0 && column < columns_ && row >= 0 && row < rows_))
        noPixelAt(x, y);
    return {static_cast<int>(column), static_cast<int>(row)};
}

std::int32_t PictureBox::readPixelAnywhere(Coordinates at) const {
    const auto x = std::bit_cast<float>(at.x);
    const auto y = std::bit_cast<float>(at.y);
    const Pixel pixel = pixelAt(x, y);
    if (drawing_.rows != nullptr && drawing_.rows[pixel.row] != RowState::FromPicture)
        return colourFromWord(drawing_.bits[pixel.row * drawing_.stride + pixel.column]);
    if (pixel.column >= picture_.width || pixel.row >= picture_.height)
        return background_;
    const std::uint32_t* row = picture_.bits + pixel.row * picture_.stride;
    // Without persistent drawing the box shows its picture: in pixel units the rest of
    // this row, as far as both picture and client area reach, can be read straight.
    if (drawing_.rows == nullptr && scaleMode_ == ScaleMode::Pixels)
        readableRow_ = {row, bitsOf(std::min(static_cast<float>(picture_.width), columns_)), at.y};
    return colourFromWord(row[pixel.column]);
}

void PictureBox::setPixelAnywhere(Coordinates at, std::int32_t colourValue) {
    const auto x = std::bit_cast<float>(at.x);
    const auto y = std::bit_cast<float>(at.y);
    if (drawing_.rows == nullptr)
        notDrawing();
    if (static_cast<std::uint32_t>(colourValue) > colourBits)
        invalidColour(colourValue);
    const Pixel pixel = pixelAt(x, y);
    if (drawing_.rows[pixel.row] != RowState::DrawnSinceRepaint)
        drawingRow(pixel.row);
    drawing_.bits[pixel.row * drawing_.stride + pixel.column] =
        wordFromColour(static_cast<std::uint32_t>(colourValue));
}

} // namespace lumeno
