#pragma once

#include <cstdint>

namespace lumeno {

// The unit of a picture box's inner size and pixel coordinates.
enum class ScaleMode { Twips, Pixels };

// A picture box of a loaded window. It draws its picture unscaled from the top-left corner
// of its client area over its background colour. With persistent drawing on it keeps a
// persistent image of the client area, which takes all drawing and is what the box shows.
// A call that cannot be carried out throws the failed-control-call error.
class PictureBox {
public:
    // Outer size, border included, in twips.
    virtual int outerWidth() const = 0;
    virtual int outerHeight() const = 0;
    virtual void setOuterWidth(int twips) = 0;
    virtual void setOuterHeight(int twips) = 0;

    virtual ScaleMode scaleMode() const = 0;
    virtual void setScaleMode(ScaleMode mode) = 0;

    // The client area's size in the box's units.
    virtual float innerWidth() const = 0;
    virtual float innerHeight() const = 0;

    // Turning it on starts the persistent image as what the box shows.
    virtual bool persistentDrawing() const = 0;
    virtual void setPersistentDrawing(bool on) = 0;

    // The colour value shown at (x, y), in the box's units, inside the client area.
    virtual std::int32_t readPixel(float x, float y) const = 0;
    // Sets a pixel of the persistent image to a colour value (0 to 0xFFFFFF); needs
    // persistent drawing on.
    virtual void setPixel(float x, float y, std::int32_t colourValue) = 0;

    // The persistent image becomes the box's picture.
    virtual void persistentImageToPicture() = 0;
    // Discards what was drawn: the persistent image starts again from the picture.
    virtual void discardDrawing() = 0;

protected:
    ~PictureBox() = default;
};

} // namespace lumeno
