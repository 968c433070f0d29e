#include "PersistentImage.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace lumeno {

namespace {

// An image for width x height pixels. A large one is aligned to 2 MiB and, on Linux,
// asked to use huge pages: far fewer page faults than 4 KiB pages as rows are drawn.
QImage allocateImage(int width, int height) {
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    const auto bytesPerLine = static_cast<std::size_t>(width) * 4;
    const std::size_t bytes = bytesPerLine * static_cast<std::size_t>(height);
    if (bytes < hugePage)
        return {width, height, BoxPicture::format};
    const std::size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    void* memory = std::aligned_alloc(hugePage, rounded);
    if (memory == nullptr)
        return {width, height, BoxPicture::format};
#if defined(__linux__)
    madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return {static_cast<uchar*>(memory), width,     height, static_cast<qsizetype>(bytesPerLine),
            BoxPicture::format,          std::free, memory};
}

} // namespace

void PersistentImage::reset(int width, int height) {
    image_ = QImage();
    bits_ = nullptr;
    width_ = width;
    height_ = height;
    rows_.assign(static_cast<std::size_t>(height), RowState::FromPicture);
}

void PersistentImage::resize(int width, int height, const BoxPicture& picture) {
    PersistentImage resized;
    resized.reset(width, height);
    for (int row = 0; row < std::min(height, height_); ++row) {
        if (rows_[row] == RowState::FromPicture)
            continue;
        resized.startRow(row, picture);
        std::copy_n(bits_ + row * stride_, std::min(width, width_),
                    resized.bits_ + row * resized.stride_);
    }
    *this = std::move(resized);
}

void PersistentImage::startRow(int row, const BoxPicture& picture) {
    if (bits_ == nullptr) {
        image_ = allocateImage(width_, height_);
        bits_ = reinterpret_cast<std::uint32_t*>(image_.bits());
        stride_ = image_.bytesPerLine() / 4;
    }
    picture.copyRow(row, width_, bits_ + row * stride_);
    rows_[row] = RowState::Started;
}

void PersistentImage::paint(QPainter& painter, const QRect& area, QPoint origin,
                            const BoxPicture& picture) const {
    // Runs of drawn rows come from the image, the rows between from the picture.
    int row = area.top();
    while (row <= area.bottom()) {
        const bool drawn = rows_[row] != RowState::FromPicture;
        int end = row + 1;
        while (end <= area.bottom() && (rows_[end] != RowState::FromPicture) == drawn)
            ++end;
        const QRect rows(area.left(), row, area.width(), end - row);
        if (drawn)
            painter.drawImage(rows.topLeft() + origin, image_, rows);
        else
            picture.paint(painter, rows, origin);
        row = end;
    }
}

void PersistentImage::repaintRequested(int top, int bottom) {
    for (int row = top; row < bottom; ++row)
        if (rows_[row] == RowState::DrawnSinceRepaint)
            rows_[row] = RowState::Started;
}

QImage PersistentImage::takeImage(const BoxPicture& picture) {
    for (int row = 0; row < height_; ++row)
        if (rows_[row] == RowState::FromPicture)
            startRow(row, picture);
    QImage taken = std::move(image_);
    reset(width_, height_);
    return taken;
}

} // namespace lumeno
