#pragma once

namespace lumeno {

// Converts twips (1/1,440 inch) to whole pixels at a screen's logical density: 15 twips
// per pixel at 96 dpi. Sizes and positions round to the nearest pixel, ties to even.
class ScreenDensity {
public:
    explicit ScreenDensity(double logicalDpi) : twipsPerPixel_(1440.0 / logicalDpi) {}

    double twipsPerPixel() const { return twipsPerPixel_; }
    int pixels(int twips) const;

private:
    double twipsPerPixel_;
};

} // namespace lumeno
