#include "BmpFile.h"

#include "RuntimeError.h"

#include <cstdint>
#include <cstdlib>

namespace lumeno {

namespace {

[[noreturn]] void notABmp(const char* why) {
    throw RuntimeError(ErrorKind::ControlCallFailed,
                       std::string("The picture is not a BMP file lumeno reads: ") + why + ".");
}

// A little-endian field; past the end of the file is a damaged file.
std::uint32_t field(std::span<const unsigned char> file, std::size_t at, std::size_t bytes) {
    if (at + bytes > file.size())
        notABmp("it ends early");
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        value |= std::uint32_t{file[at + i]} << (8 * i);
    return value;
}

} // namespace

PixelImage decodeBmp(std::span<const unsigned char> file) {
    if (field(file, 0, 2) != ('B' | 'M' << 8))
        notABmp("it does not begin with \"BM\"");
    const std::uint32_t pixelsAt = field(file, 10, 4);
    const std::uint32_t headerSize = field(file, 14, 4);
    const auto width = static_cast<std::int32_t>(field(file, 18, 4));
    const auto height = static_cast<std::int32_t>(field(file, 22, 4));
    const std::uint32_t bitsPerPixel = field(file, 28, 2);
    const std::uint32_t compression = field(file, 30, 4);
    constexpr std::int32_t largest = 1 << 15;
    if (headerSize < 40 || (bitsPerPixel != 24 && bitsPerPixel != 32) || compression != 0)
        notABmp("only uncompressed 24- and 32-bit pictures are");
    if (width <= 0 || width > largest || height == 0 || height > largest || height < -largest)
        notABmp("its size is out of range");

    const int rows = std::abs(height);
    const std::size_t bytesPerPixel = bitsPerPixel / 8;
    const std::size_t stride = (width * bytesPerPixel + 3) / 4 * 4;
    // In 64 bits: a 32-bit size_t wraps on the largest pictures and on far pixel offsets.
    constexpr std::uint64_t fileHeaderSize = 14;
    if (pixelsAt < fileHeaderSize + headerSize)
        notABmp("its pixels overlap its headers");
    if (pixelsAt + std::uint64_t{stride} * static_cast<std::uint64_t>(rows) > file.size())
        notABmp("it ends early");
    PixelImage image(width, rows, 0);
    for (int y = 0; y < rows; ++y) {
        const int stored = height > 0 ? rows - 1 - y : y; // positive heights run bottom-up
        const unsigned char* in = file.data() + pixelsAt + stride * stored;
        std::uint32_t* out = image.row(y);
        for (int x = 0; x < width; ++x, in += bytesPerPixel)
            out[x] = 0xFF000000 | std::uint32_t{in[2]} << 16 | std::uint32_t{in[1]} << 8 | in[0];
    }
    return image;
}

} // namespace lumeno
