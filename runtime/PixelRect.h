#pragma once

#include "ScreenDensity.h"
#include "WindowDefinition.h"

namespace lumeno {

// A rectangle in pixels: of a window's client area, or of a control from its top-left corner.
struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};

// Where a control stands in its window's client area at a density: its twips, each edge and
// size rounded to the nearest pixel. The same layout on every platform.
inline PixelRect placeAt(const ControlDefinition& control, const ScreenDensity& density) {
    return {density.pixels(control.left), density.pixels(control.top),
            density.pixels(control.width), density.pixels(control.height)};
}

} // namespace lumeno
