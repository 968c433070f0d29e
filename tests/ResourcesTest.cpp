// Checks the built-in picture and icon written by resources/make_resources.py: the file
// layouts that the loaders and Windows rely on, and the picture's channel coverage.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kPictureWidth = 180;
constexpr std::size_t kPictureHeight = 200;
constexpr std::size_t kPictureRowBytes = kPictureWidth * 3;
constexpr std::size_t kPicturePixels = 54;
constexpr std::size_t kCoverWidth = 149;
constexpr std::size_t kCoverHeight = 165;

Bytes readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Little-endian unsigned field of 1, 2 or 4 bytes; at() makes a short file fail the test.
std::uint32_t field(const Bytes& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= std::uint32_t{bytes.at(at + i)} << (8 * i);
    }
    return value;
}

// Bytes in one row of a bitmap with this many bits per row, padded to four bytes.
std::size_t paddedRow(std::size_t bits) {
    return (bits + 31) / 32 * 4;
}

struct Field {
    const char* name;
    std::size_t offset;
    std::size_t width;
    std::uint32_t expected;
};

TEST(Picture, HeaderDescribesUncompressedBottomUp24BitImage) {
    const Bytes bmp = readFile(LUMENO_PICTURE_PATH);
    ASSERT_EQ(bmp.size(), 108054u);
    const Field fields[] = {
        {"signature", 0, 2, 'B' | ('M' << 8)},
        {"file size", 2, 4, 108054},
        {"pixel data offset", 10, 4, kPicturePixels},
        {"info header size", 14, 4, 40},
        {"width", 18, 4, kPictureWidth},
        {"height (positive: bottom-up)", 22, 4, kPictureHeight},
        {"planes", 26, 2, 1},
        {"bits per pixel", 28, 2, 24},
        {"compression", 30, 4, 0},
        {"image size", 34, 4, kPictureRowBytes * kPictureHeight},
        {"colours used", 46, 4, 0},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(field(bmp, f.offset, f.width), f.expected) << f.name;
    }
}

TEST(Picture, TopLeftRegionHoldsEveryValueOfEveryChannel) {
    const Bytes bmp = readFile(LUMENO_PICTURE_PATH);
    ASSERT_EQ(bmp.size(), kPicturePixels + kPictureRowBytes * kPictureHeight);
    std::bitset<256> seen[3]; // stored order: blue, green, red
    for (std::size_t y = 0; y < kCoverHeight; ++y) {
        const std::size_t row = kPicturePixels + (kPictureHeight - 1 - y) * kPictureRowBytes;
        for (std::size_t x = 0; x < kCoverWidth; ++x) {
            for (std::size_t c = 0; c < 3; ++c) {
                seen[c].set(bmp[row + 3 * x + c]);
            }
        }
    }
    const char* names[] = {"blue", "green", "red"};
    for (std::size_t c = 0; c < 3; ++c) {
        std::string missing;
        for (std::size_t v = 0; v < 256; ++v) {
            if (!seen[c].test(v)) {
                missing += ' ' + std::to_string(v);
            }
        }
        EXPECT_TRUE(missing.empty()) << names[c] << " lacks" << missing;
    }
}

struct IconImage {
    std::uint32_t size;
    std::uint32_t colours;
    std::uint32_t bits;
};

TEST(Icon, DirectoryAndImageHeadersAgree) {
    const Bytes ico = readFile(LUMENO_ICON_PATH);
    const IconImage expected[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
    constexpr std::size_t count = std::size(expected);
    ASSERT_GE(ico.size(), 6 + 16 * count);
    EXPECT_EQ(field(ico, 0, 2), 0u) << "reserved";
    EXPECT_EQ(field(ico, 2, 2), 1u) << "type";
    ASSERT_EQ(field(ico, 4, 2), count);

    for (std::size_t i = 0; i < count; ++i) {
        const IconImage& want = expected[i];
        SCOPED_TRACE("image " + std::to_string(i));
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(field(ico, entry, 1), want.size) << "width";
        EXPECT_EQ(field(ico, entry + 1, 1), want.size) << "height";
        EXPECT_EQ(field(ico, entry + 2, 1), want.colours) << "colour count";
        EXPECT_EQ(field(ico, entry + 4, 2), 1u) << "planes";
        EXPECT_EQ(field(ico, entry + 6, 2), want.bits) << "bit count";

        const std::size_t bytes = field(ico, entry + 8, 4);
        const std::size_t offset = field(ico, entry + 12, 4);
        ASSERT_GE(offset, 6 + 16 * count);
        ASSERT_LE(offset + bytes, ico.size());
        const std::size_t xorBytes = paddedRow(std::size_t{want.size} * want.bits) * want.size;
        const std::size_t andBytes = paddedRow(want.size) * want.size;
        EXPECT_EQ(bytes, 40 + 4 * want.colours + xorBytes + andBytes);

        EXPECT_EQ(field(ico, offset, 4), 40u) << "info header size";
        EXPECT_EQ(field(ico, offset + 4, 4), want.size) << "bitmap width";
        EXPECT_EQ(field(ico, offset + 8, 4), 2 * want.size) << "bitmap height (XOR + AND)";
        EXPECT_EQ(field(ico, offset + 14, 2), want.bits) << "bitmap bit count";
    }
}

} // namespace
