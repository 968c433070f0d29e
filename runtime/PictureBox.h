#pragma once

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
// Reading and setting a pixel are inline: a processing run calls them for every pixel,
// so they only index the box's pixel memory, which the implementation describes in
// the protected members below, and leave everything else to it.
class PictureBox {
public:
    // Outer size, border included, in twips.
    virtual int outerWidth() const = 0;
    virtual int outerHeight() const = 0;
    virtual void setOuterWidth(int twips) = 0;
    virtual void setOuterHeight(int twips) = 0;

    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode mode) { scaleMode_ = mode; }

    // The client area's size in the box's units.
    float innerWidth() const { return static_cast<float>(columns_ * unitsPerPixel()); }
    float innerHeight() const { return static_cast<float>(rows_ * unitsPerPixel()); }

    // Turning it on starts the persistent image from what the box shows.
    virtual bool persistentDrawing() const = 0;
    virtual void setPersistentDrawing(bool on) = 0;

    // The colour value shown at (x, y), in the box's units, inside the client area.
    std::int32_t readPixel(float x, float y) const {
        const Pixel pixel = pixelAt(x, y);
        if (drawing_.rows != nullptr && drawing_.rows[pixel.row] != RowState::FromPicture)
            return colourAt(drawing_.bits, drawing_.stride, pixel);
        if (pixel.column < picture_.width && pixel.row < picture_.height)
            return colourAt(picture_.bits, picture_.stride, pixel);
        return background_;
    }

    // Sets a pixel of the persistent image; needs persistent drawing on.
    void setPixel(float x, float y, std::int32_t colourValue) {
        if (drawing_.rows == nullptr)
            notDrawing();
        if (static_cast<std::uint32_t>(colourValue) > colourBits)
            invalidColour(colourValue);
        const Pixel pixel = pixelAt(x, y);
        if (drawing_.rows[pixel.row] != RowState::DrawnSinceRepaint) [[unlikely]]
            drawingRow(pixel.row);
        drawing_.bits[pixel.row * drawing_.stride + pixel.column] =
            static_cast<std::uint32_t>(colourValue) | opaque;
    }

    // The persistent image becomes the box's picture.
    virtual void persistentImageToPicture() = 0;
    // Discards what was drawn: the persistent image starts again from the picture.
    virtual void discardDrawing() = 0;

protected:
    ~PictureBox() = default;

    // Pixel memory holds 32-bit words: a colour value with the top byte set.
    static constexpr std::uint32_t colourBits = 0xFFFFFF;
    static constexpr std::uint32_t opaque = 0xFF000000;

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

    PictureMemory picture_;
    DrawingMemory drawing_;
    std::int32_t background_ = 0; // colour value
    float columns_ = 0;           // client-area size in pixels; floats, so that pixel writes
    float rows_ = 0;              // cannot alias them and the checks stay in registers
    double twipsPerPixel_ = 15.0;
    ScaleMode scaleMode_ = ScaleMode::Twips;

private:
    struct Pixel {
        int column;
        int row;
    };

    double unitsPerPixel() const { return scaleMode_ == ScaleMode::Pixels ? 1.0 : twipsPerPixel_; }

    Pixel pixelAt(float x, float y) const {
        if (scaleMode_ == ScaleMode::Twips) [[unlikely]]
            return pixelAtTwips(x, y);
        if (!(x >= 0 && x < columns_ && y >= 0 && y < rows_))
            noPixelAt(x, y);
        return {static_cast<int>(x), static_cast<int>(y)}; // floor: both are >= 0
    }

    Pixel pixelAtTwips(float x, float y) const {
        const double column = x / twipsPerPixel_;
        const double row = y / twipsPerPixel_;
        if (!(column >= 0 && column < columns_ && row >= 0 && row < rows_))
            noPixelAt(x, y);
        return {static_cast<int>(column), static_cast<int>(row)};
    }

    static std::int32_t colourAt(const std::uint32_t* bits, std::ptrdiff_t stride, Pixel pixel) {
        return static_cast<std::int32_t>(bits[pixel.row * stride + pixel.column] & colourBits);
    }
};

} // namespace lumeno
