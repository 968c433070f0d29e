#include "PictureBox.h"

#include <algorithm>

namespace lumeno {

void PictureBox::describeDirectAccess() {
    readable_ = {};
    writable_ = {};
    if (scaleMode_ != ScaleMode::Pixels)
        return;
    if (drawing_.rows == nullptr) {
        readable_ = {picture_.bits, picture_.stride,
                     std::min(static_cast<float>(picture_.width), columns_),
                     std::min(static_cast<float>(picture_.height), rows_)};
    } else if (readyRow_ != noRow) {
        writable_ = {drawing_.bits + readyRow_ * drawing_.stride, columns_,
                     static_cast<float>(readyRow_)};
    }
}

PictureBox::Pixel PictureBox::pixelAt(float x, float y) const {
    const double column = x / unitsPerPixel(); // rounded down below
    const double row = y / unitsPerPixel();
    if (!(column >= 0 && column < columns_ && row >= 0 && row < rows_))
        noPixelAt(x, y);
    return {static_cast<int>(column), static_cast<int>(row)};
}

std::int32_t PictureBox::readPixelAnywhere(float x, float y) const {
    const Pixel pixel = pixelAt(x, y);
    if (drawing_.rows != nullptr && drawing_.rows[pixel.row] != RowState::FromPicture)
        return colourFromWord(drawing_.bits[pixel.row * drawing_.stride + pixel.column]);
    if (pixel.column < picture_.width && pixel.row < picture_.height)
        return colourFromWord(picture_.bits[pixel.row * picture_.stride + pixel.column]);
    return background_;
}

void PictureBox::setPixelAnywhere(float x, float y, std::int32_t colourValue) {
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
