#pragma once

#include "BoxPicture.h"
#include "PictureBox.h"

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

    // Copies a row from the picture, before the first drawing into it.
    void startRow(int row, const BoxPicture& picture);

    // Rows drawn into since the last repaint request, and the request.
    void markDrawn(int row) { rows_[row] = RowState::DrawnSinceRepaint; }
    void repaintRequested(int top, int bottom);

    // The pixel memory, valid for started rows, and the state of each row.
    std::uint32_t* bits() const { return bits_; }
    qsizetype stride() const { return stride_; } // words per row
    const RowState* rowStates() const { return rows_.data(); }

    // Paints the client-area rectangle `area`, the client area starting at `origin`.
    void paint(QPainter& painter, const QRect& area, QPoint origin,
               const BoxPicture& picture) const;

    // The whole image as a picture; the persistent image starts again from it.
    QImage takeImage(const BoxPicture& picture);

private:
    QImage image_; // allocated on the first drawing
    std::uint32_t* bits_ = nullptr;
    qsizetype stride_ = 0; // words per row
    int width_ = 0;
    int height_ = 0;
    std::vector<RowState> rows_;
};

} // namespace lumeno
