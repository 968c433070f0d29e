#pragma once

#include "PixelImage.h"
#include "ScreenDensity.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lumeno {

class PictureBoxView;

// The unit of a picture box's inner size and pixel coordinates.
enum class ScaleMode { Twips, Pixels };

// A picture box of a loaded window. It draws its picture unscaled from the top-left corner
// of its client area over its background colour. With persistent drawing on it keeps a
// persistent image of the client area, which takes all drawing and is what the box shows.
// A call that cannot be carried out throws the failed-control-call error.
//
// All of this is the same on every platform, apart from any window system; a platform
// shows the box through a PictureBoxView and paints what shown() holds.
class PictureBox {
public:
    // The border on each side of the client area, in pixels.
    static constexpr int border = 2;

    // A box showing `picture` over `background`, a pixel word (PixelImage); it has no size
    // until setOuterSize.
    PictureBox(std::string_view name, PixelImage picture, std::uint32_t background,
               ScreenDensity density, PictureBoxView& view);
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // Outer size, border included, in twips.
    int outerWidth() const { return outerWidth_; }
    int outerHeight() const { return outerHeight_; }
    void setOuterWidth(int twips) { setOuterSize(twips, outerHeight_); }
    void setOuterHeight(int twips) { setOuterSize(outerWidth_, twips); }
    void setOuterSize(int width, int height);
    // The screen's density changed: the outer size in twips stays, the client area takes
    // its pixels at the new density. The picture, what was drawn and the units stay. A size
    // that does not fit at the new density leaves the box as it was, at its old density.
    void setDensity(ScreenDensity density);

    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode mode);

    // The client area's size in the box's units.
    float innerWidth() const { return inUnits(shown_.width()); }
    float innerHeight() const { return inUnits(shown_.height()); }

    // Turning it on starts the persistent image as what the box shows.
    bool persistentDrawing() const { return persistent_; }
    void setPersistentDrawing(bool on);

    // The colour value shown at (x, y), in the box's units, inside the client area. A
    // processing run reads every pixel: in pixels inside the client area, reading takes
    // the short way.
    std::int32_t readPixel(float x, float y) const {
        if (x >= 0 && x < readable_.columns && y >= 0 && y < readable_.rows) [[likely]]
            return PixelImage::colourValue(shown_.row(static_cast<int>(y))[static_cast<int>(x)]);
        return readPixelTheLongWay(x, y);
    }
    // Sets a pixel of the persistent image to a colour value (0 to 0xFFFFFF); needs
    // persistent drawing on.
    void setPixel(float x, float y, std::int32_t colourValue) {
        const auto colour = static_cast<std::uint32_t>(colourValue);
        if (x >= 0 && x < settable_.columns && y >= 0 && y < settable_.rows && colour <= 0xFFFFFF)
            [[likely]] {
            const int row = static_cast<int>(y);
            shown_.row(row)[static_cast<int>(x)] = PixelImage::word(colour);
            if (row != reportedRow_) [[unlikely]]
                drawn(row);
            return;
        }
        setPixelTheLongWay(x, y, colourValue);
    }
    // The persistent image becomes the box's picture.
    void persistentImageToPicture();
    // How many times that happened.
    std::uint64_t pictureReplacements() const { return pictureReplacements_; }
    // What the box shows, in words, for assistive technology: the picture's size, or that
    // the program drew it, and the mean brightness of what the client area shows.
    std::string description() const;
    // Discards what was drawn: the persistent image starts again from the picture.
    void discardDrawing();

    // For the platform that shows the box: what it shows over its client area.
    const PixelImage& shown() const { return shown_; }
    // The view calls this when it paints: a row drawn into after it is reported again.
    void painted() { reportedRow_ = noRow; }

private:
    struct Pixel {
        int column;
        int row;
    };

    PixelImage composed(int columns, int rows) const;
    float inUnits(int pixels) const;
    // The bounds of the short way; called after every change of units, size or drawing.
    void updateShortWay();
    // The long way: twips, and the calls that fail.
    Pixel pixelAt(float x, float y) const;
    std::int32_t readPixelTheLongWay(float x, float y) const;
    void setPixelTheLongWay(float x, float y, std::int32_t colourValue);
    void drawn(int row);
    [[noreturn]] void noPixelAt(float x, float y) const;
    [[noreturn]] void cannotSet(std::int32_t colourValue) const;
    [[noreturn]] void failed(const std::string& what) const;

    std::string name_;
    PixelImage picture_;
    bool pictureDrawn_ = false; // the picture is a persistent image, not the one it was made with
    std::uint64_t pictureReplacements_ = 0;
    std::uint32_t background_;
    ScreenDensity density_;
    PictureBoxView& view_;
    int outerWidth_ = 0; // twips
    int outerHeight_ = 0;
    ScaleMode scaleMode_ = ScaleMode::Twips;
    bool persistent_ = false;
    // What the client area shows: the picture over the background, or with persistent
    // drawing on, the persistent image.
    PixelImage shown_;
    // Reading and setting in pixel units inside the client area, the calls of a run, take a
    // short way: one comparison of each coordinate with these bounds (-0 is 0, NaN fails).
    // They are 0 where the short way is closed: in twips, and for setting without
    // persistent drawing.
    struct Bounds {
        float columns = 0;
        float rows = 0;
    };
    Bounds readable_;
    Bounds settable_;
    // The row last reported to the view as drawn into since it painted, or noRow.
    static constexpr int noRow = -1;
    int reportedRow_ = noRow;
};

} // namespace lumeno
