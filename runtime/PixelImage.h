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

    // Colour values (red in bits 0-7, green 8-15, blue 16-23) and pixel words.
    static constexpr std::uint32_t word(std::uint32_t colourValue) {
        return 0xFF000000 | (colourValue & 0xFF) << 16 | (colourValue & 0xFF00) |
               (colourValue >> 16 & 0xFF);
    }
    static constexpr std::int32_t colourValue(std::uint32_t word) {
        return static_cast<std::int32_t>((word & 0xFF) << 16 | (word & 0xFF00) |
                                         (word >> 16 & 0xFF));
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> words_;
};

} // namespace lumeno
