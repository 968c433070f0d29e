#pragma once

#include "PictureBox.h"
#include "PixelImage.h"
#include "ScreenDensity.h"

#include <string>
#include <string_view>

namespace lumeno {

class PictureBoxView;

// A picture box as the run-time defines it, apart from any window system: sizes and units,
// its picture over its background, the persistent image, and the checks of every call. A
// platform shows it through a PictureBoxView and paints what shown() holds.
class PictureBoxModel final : public PictureBox {
public:
    // The border on each side of the client area, in pixels.
    static constexpr int border = 2;

    // A box showing `picture` over `background`, a pixel word (PixelImage); it has no size
    // until setOuterSize.
    PictureBoxModel(std::string_view name, PixelImage picture, std::uint32_t background,
                    ScreenDensity density, PictureBoxView& view);

    // Outer width and height, border included, in twips.
    void setOuterSize(int width, int height);

    int outerWidth() const override { return outerWidth_; }
    int outerHeight() const override { return outerHeight_; }
    void setOuterWidth(int twips) override { setOuterSize(twips, outerHeight_); }
    void setOuterHeight(int twips) override { setOuterSize(outerWidth_, twips); }
    ScaleMode scaleMode() const override { return scaleMode_; }
    void setScaleMode(ScaleMode mode) override { scaleMode_ = mode; }
    float innerWidth() const override { return inUnits(shown_.width()); }
    float innerHeight() const override { return inUnits(shown_.height()); }
    bool persistentDrawing() const override { return persistent_; }
    void setPersistentDrawing(bool on) override;
    std::int32_t readPixel(float x, float y) const override;
    void setPixel(float x, float y, std::int32_t colourValue) override;
    void persistentImageToPicture() override;
    void discardDrawing() override;

    // What the box shows over its client area, for painting.
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
    // The pixel at (x, y), in the box's units; fails outside the client area.
    Pixel pixelAt(float x, float y) const {
        // In pixels, one comparison each with the client size: -0 is 0 and NaN fails.
        if (scaleMode_ == ScaleMode::Pixels && x >= 0 && x < columns_ && y >= 0 && y < rows_)
            [[likely]]
            return {static_cast<int>(x), static_cast<int>(y)};
        return pixelInAnyUnits(x, y);
    }
    // The general case: twips, and the coordinates that fail.
    Pixel pixelInAnyUnits(float x, float y) const;
    // The failed calls, kept out of the way of the calls that succeed.
    [[noreturn]] void noPixelAt(float x, float y) const;
    [[noreturn]] void cannotSet(std::int32_t colourValue) const;
    [[noreturn]] void failed(const std::string& what) const;

    std::string name_;
    PixelImage picture_;
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
    float columns_ = 0; // its size, as the coordinates are given
    float rows_ = 0;
    // The row last reported to the view as drawn into since it painted, or noRow.
    static constexpr int noRow = -1;
    int reportedRow_ = noRow;
};

} // namespace lumeno
