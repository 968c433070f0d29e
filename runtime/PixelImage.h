#pragma once

#include <cstdint>
#include <vector>

namespace lumeno {

// Pixels in memory, one 32-bit word 0xFFRRGGBB each, rows top to bottom without padding:
// the layout that Qt (Format_RGB32) and Windows (a top-down 32-bit BI_RGB bitmap) paint
// from directly.
class PixelImage {
public:
    PixelImage() = default;
    // width x height pixels, all `word`.
    PixelImage(int width, int height, std::uint32_t word);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint32_t* words() const { return words_.data(); }
    std::uint32_t* row(int y) { return words_.data() + static_cast<std::ptrdiff_t>(y) * width_; }
    const std::uint32_t* row(int y) const {
        return words_.data() + static_cast<std::ptrdiff_t>(y) * width_;
    }

    // Copies the pixels of `source` that fall inside this image to the same places.
    void copyFrom(const PixelImage& source);

    // Colour values (red in bits 0-7, green 8-15, blue 16-23) and pixel words hold the
    // same bytes in the opposite order.
    static constexpr std::uint32_t word(std::uint32_t colourValue) {
        return 0xFF000000 | reversed(colourValue) >> 8;
    }
    static constexpr std::int32_t colourValue(std::uint32_t word) {
        return static_cast<std::int32_t>(reversed(word) >> 8);
    }

private:
    static constexpr std::uint32_t reversed(std::uint32_t bytes) {
        return bytes >> 24 | (bytes >> 8 & 0xFF00) | (bytes << 8 & 0xFF0000) | bytes << 24;
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> words_;
};

} // namespace lumeno
