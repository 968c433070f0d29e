#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

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
// Where a pixel is simply a word of memory (pixel units, inside the picture or the
// row being drawn) they check the bounds and touch that word; everything else takes
// the general path. The implementation describes its memory in the protected members.
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
        if (x >= 0 && x < readable_.columns && y >= 0 && y < readable_.rows) [[likely]]
            return colourFromWord(readable_.bits[wordIndex(readable_.stride, x, y)]);
        return readPixelAnywhere(x, y);
    }

    // Sets a pixel of the persistent image; needs persistent drawing on.
    void setPixel(float x, float y, std::int32_t colourValue) {
        const auto colour = static_cast<std::uint32_t>(colourValue);
        if (colour <= colourBits && y == writable_.row && x >= 0 && x < writable_.columns)
            [[likely]] {
            writable_.bits[static_cast<std::ptrdiff_t>(x)] = wordFromColour(colour);
            return;
        }
        setPixelAnywhere(x, y, colourValue);
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

    // Pixels read straight from memory: columns x rows from the top-left corner, in
    // pixel units (empty in twips). Sizes are floats, like the coordinates they bound.
    struct ReadableArea {
        const std::uint32_t* bits = nullptr;
        std::ptrdiff_t stride = 0;
        float columns = 0;
        float rows = 0;
    };

    // Pixels set straight into memory: the ready row, in pixel units (row is NaN, equal to
    // no coordinate, when there is none).
    struct WritableArea {
        std::uint32_t* bits = nullptr; // the row's first pixel
        float columns = 0;
        float row = std::numeric_limits<float>::quiet_NaN();
    };

    static constexpr std::uint32_t reversedBytes(std::uint32_t word) {
        return word >> 24 | (word >> 8 & 0xFF00) | (word << 8 & 0xFF0000) | word << 24;
    }

    static std::ptrdiff_t wordIndex(std::ptrdiff_t stride, float x, float y) {
        return static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x);
    }

    double unitsPerPixel() const { return scaleMode_ == ScaleMode::Pixels ? 1.0 : twipsPerPixel_; }
    Pixel pixelAt(float x, float y) const;

    // The general paths: any units, any row, and the failed calls.
    std::int32_t readPixelAnywhere(float x, float y) const;
    void setPixelAnywhere(float x, float y, std::int32_t colourValue);

    ReadableArea readable_;
    WritableArea writable_;
};

} // namespace lumeno
