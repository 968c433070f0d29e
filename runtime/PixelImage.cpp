#include "PixelImage.h"

#include <algorithm>

namespace lumeno {

PixelImage::PixelImage(int width, int height, std::uint32_t word)
    : width_(width), height_(height),
      words_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), word) {}

void PixelImage::copyFrom(const PixelImage& source) {
    const int columns = std::min(width_, source.width_);
    for (int y = 0; y < std::min(height_, source.height_); ++y)
        std::copy_n(source.row(y), columns, row(y));
}

} // namespace lumeno
