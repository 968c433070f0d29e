#include "PersistentImage.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace lumeno {

namespace {

constexpr std::size_t hugePage = std::size_t{2} << 20;

// Memory of large images, 2 MiB-aligned. Blocks this large go back to the system as
// soon as they are freed, and taking memory again costs a page fault and a zeroed page
// for every 2 MiB; so the last freed block is kept for the next image that fits in it,
// as the allocator does with smaller blocks. Images live on the GUI thread, but a
// freed block is handed over under a lock all the same.
struct LargeBlock {
    void* memory;
    std::size_t bytes;
};

std::mutex spareLock;
LargeBlock spare{nullptr, 0};

LargeBlock* takeLargeBlock(std::size_t bytes) {
    LargeBlock block{nullptr, bytes};
    {
        const std::lock_guard<std::mutex> lock(spareLock);
        if (spare.memory != nullptr && spare.bytes >= bytes)
            block = std::exchange(spare, {nullptr, 0});
    }
    if (block.memory == nullptr) {
        block.memory = std::aligned_alloc(hugePage, bytes);
        if (block.memory == nullptr)
            return nullptr;
#if defined(__linux__)
        // Huge pages: far fewer page faults than 4 KiB pages as rows are drawn.
        madvise(block.memory, bytes, MADV_HUGEPAGE);
#endif
    }
    return new LargeBlock(block);
}

// An image's cleanup: the block becomes the spare, the spare it replaces is freed.
void giveLargeBlock(void* info) {
    const std::unique_ptr<LargeBlock> block(static_cast<LargeBlock*>(info));
    LargeBlock replaced{nullptr, 0};
    {
        const std::lock_guard<std::mutex> lock(spareLock);
        replaced = std::exchange(spare, *block);
    }
    std::free(replaced.memory);
}

// An image for width x height pixels; a large one in a large block.
QImage allocateImage(int width, int height) {
    const auto bytesPerLine = static_cast<std::size_t>(width) * 4;
    const std::size_t bytes = bytesPerLine * static_cast<std::size_t>(height);
    if (bytes < hugePage)
        return {width, height, BoxPicture::format};
    LargeBlock* block = takeLargeBlock((bytes + hugePage - 1) / hugePage * hugePage);
    if (block == nullptr)
        return {width, height, BoxPicture::format};
    return {static_cast<uchar*>(block->memory),
            width,
            height,
            static_cast<qsizetype>(bytesPerLine),
            BoxPicture::format,
            giveLargeBlock,
            block};
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
