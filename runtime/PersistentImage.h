#pragma once

#include "BoxPicture.h"

#include <QImage>
#include <cstdint>
#include <vector>

namespace lumeno {

// The persistent image of a picture box: what the box showed when persistent drawing
// was turned on (its BoxPicture) with everything drawn since. A row is copied from the
// picture when it is first drawn into, so turning persistent drawing on costs nothing
// and a large image's memory is taken row by row as a run draws, never in one stall.
class PersistentImage {
public:
    // Starts again from the picture, at this size.
    void reset(int width, int height);
    // Changes the size, keeping what was drawn where it still fits.
    void resize(int width, int height, const BoxPicture& picture);

    // The colour value at a pixel.
    std::uint32_t pixel(int column, int row, const BoxPicture& picture) const {
        if (drawn_[row])
            return bits_[row * stride_ + column] & BoxPicture::colourBits;
        return picture.pixel(column, row);
    }

    // The row to draw into, copied from the picture on first use.
    std::uint32_t* drawableRow(int row, const BoxPicture& picture) {
        if (!drawn_[row]) [[unlikely]]
            startRow(row, picture);
        return bits_ + row * stride_;
    }

    // Paints the client-area rectangle `area`, the client area starting at `origin`.
    void paint(QPainter& painter, const QRect& area, QPoint origin,
               const BoxPicture& picture) const;

    // The whole image as a picture; the persistent image starts again from it.
    QImage takeImage(const BoxPicture& picture);

private:
    void startRow(int row, const BoxPicture& picture);

    QImage image_; // allocated on the first drawing
    std::uint32_t* bits_ = nullptr;
    qsizetype stride_ = 0; // words per row
    int width_ = 0;
    int height_ = 0;
    std::vector<bool> drawn_;
};

} // namespace lumeno
