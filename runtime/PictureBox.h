#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace lumeno {

// The unit of a picture box's inner size and pixel coordinates.
enum class ScaleMode { Twips, Pixels };

// Where a row of a persistent image stands: still as the picture shows it, copied
// from the picture, or drawn into since the box last asked for a repaint.
enum class RowState : std::uint8_t { FromPicture, Started, DrawnSinceRepaint };

// A picture box of a loaded window. It draws its picture unscaled from the top-left
// corner of its client area over its background colour. With persistent drawing on it
// keeps a persistent image of the client area, which takes all drawing and is what
// the box shows. Invalid calls throw the failed-control-call error.
//
// Reading and setting a pixel are inline: a processing run calls them for every pixel.
// Where a pixel is simply a word of memory (pixel units, in the picture row read last
// or the row being drawn) they check the bounds and touch that word; everything else
// takes the general path. The implementation describes its memory in the protected
// members.
class PictureBox {
public:
    // Outer size, border included, in twips.
    virtual int outerWidth() const = 0;
    virtual int outerHeight() const = 0;
    virtual void setOuterWidth(int twips) = 0;
    virtual void setOuterHeight(int twips) = 0;

    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode mode) {
        scaleMode_ = mode;
        describeDirectAccess();
    }

    // The client area's size in the box's units.
    float innerWidth() const { return static_cast<float>(columns_ * unitsPerPixel()); }
    float innerHeight() const { return static_cast<float>(rows_ * unitsPerPixel()); }

    // Turning it on starts the persistent image from what the box shows.
    virtual bool persistentDrawing() const = 0;
    virtual void setPersistentDrawing(bool on) = 0;

    // The colour value shown at (x, y), in the box's units, inside the client area.
    std::int32_t readPixel(float x, float y) const {
        const Coordinates at{bitsOf(x), bitsOf(y)};
        if (at.y == readableRow_.row && at.x < readableRow_.columns) [[likely]]
            return colourFromWord(readableRow_.bits[static_cast<std::ptrdiff_t>(x)]);
        return readPixelAnywhere(at);
    }

    // Sets a pixel of the persistent image; needs persistent drawing on.
    void setPixel(float x, float y, std::int32_t colourValue) {
        const auto colour = static_cast<std::uint32_t>(colourValue);
        const Coordinates at{bitsOf(x), bitsOf(y)};
        if (colour <= colourBits && at.y == writableRow_.row && at.x < writableRow_.columns)
            [[likely]] {
            writableRow_.bits[static_cast<std::ptrdiff_t>(x)] = wordFromColour(colour);
            return;
        }
        setPixelAnywhere(at, colourValue);
    }

    // The persistent image becomes the box's picture.
    virtual void persistentImageToPicture() = 0;
    // Discards what was drawn: the persistent image starts again from the picture.
    virtual void discardDrawing() = 0;

protected:
    ~PictureBox() = default;

    // Pixel memory holds 32-bit words 0xFFRRGGBB, colour values are 0x00BBGGRR: the
    // same bytes in the opposite order.
    static constexpr std::uint32_t colourBits = 0xFFFFFF;
    static constexpr std::uint32_t wordFromColour(std::uint32_t colour) {
        return 0xFF000000 | reversedBytes(colour) >> 8;
    }
    static constexpr std::int32_t colourFromWord(std::uint32_t word) {
        return static_cast<std::int32_t>(reversedBytes(word) >> 8);
    }

    struct PictureMemory {
        const std::uint32_t* bits = nullptr;
        std::ptrdiff_t stride = 0; // words per row
        int width = 0;
        int height = 0;
    };

    struct DrawingMemory {
        std::uint32_t* bits = nullptr; // valid for started rows
        std::ptrdiff_t stride = 0;
        const RowState* rows = nullptr; // per row; nullptr without persistent drawing
    };

    // Makes a row ready for drawing (copied from the picture before its first drawing)
    // and records it for the next repaint.
    virtual void drawingRow(int row) = 0;
    [[noreturn]] virtual void notDrawing() const = 0;
    [[noreturn]] virtual void invalidColour(std::int32_t colourValue) const = 0;
    [[noreturn]] virtual void noPixelAt(float x, float y) const = 0;

    // Works out where reading and setting pixels can go straight to memory; called
    // whenever the memory, the sizes, the units or the ready row change.
    void describeDirectAccess();

    PictureMemory picture_;
    DrawingMemory drawing_;
    // A row of the persistent image that is started and marked for the next repaint, or
    // noRow: pixels set there need no further bookkeeping.
    static constexpr int noRow = -1;
    int readyRow_ = noRow;
    std::int32_t background_ = 0; // colour value
    float columns_ = 0;           // client-area size in pixels
    float rows_ = 0;
    double twipsPerPixel_ = 15.0;
    ScaleMode scaleMode_ = ScaleMode::Twips;

private:
    struct Pixel {
        int column;
        int row;
    };

    // A pixel's coordinates as the bits of their floats. The bits of a non-negative float
    // order as its value, and negative values and NaN have larger bits than any bound, so
    // one unsigned comparison checks a coordinate against a bound in pixels. (-0 fails it
    // and takes the general path.) As integers they also stay in registers that survive
    // the call of a general path, in the loop of a processing run.
    struct Coordinates {
        std::uint32_t x;
        std::uint32_t y;
    };

    // A row whose pixels are read or set straight in memory: the pixels at row bits `row`
    // with column bits below `columns` (none when `columns` is 0).
    template <class Word> struct DirectRow {
        Word* bits = nullptr; // the row's first pixel
        std::uint32_t columns = 0;
        std::uint32_t row = 0;
    };

    static std::uint32_t bitsOf(float value) { return std::bit_cast<std::uint32_t>(value); }

    static constexpr std::uint32_t reversedBytes(std::uint32_t word) {
        return word >> 24 | (word >> 8 & 0xFF00) | (word << 8 & 0xFF0000) | word << 24;
    }

    double unitsPerPixel() const { return scaleMode_ == ScaleMode::Pixels ? 1.0 : twipsPerPixel_; }
    Pixel pixelAt(float x, float y) const;

    // The general paths: any units, any row, and the failed calls.
    std::int32_t readPixelAnywhere(Coordinates at) const;
    void setPixelAnywhere(Coordinates at, std::int32_t colourValue);

    // The picture row read last, when reading it goes straight to memory: a run reads
    // row by row. Set by the general path of reading.
    mutable DirectRow<const std::uint32_t> readableRow_;
    DirectRow<std::uint32_t> writableRow_; // the ready row
};

} // namespace lumeno
