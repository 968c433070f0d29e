#pragma once

#include "PictureBox.h"
#include "PixelRect.h"

#include <array>

namespace lumeno {

// A picture box with the focus shows it on its border: the whole border, these four strips
// of a box of width x height pixels, filled with the window system's highlight colour.
inline std::array<PixelRect, 4> focusBorder(int width, int height) {
    constexpr int border = PictureBox::border;
    return {{{0, 0, width, border},
             {0, height - border, width, border},
             {0, border, border, height - 2 * border},
             {width - border, border, border, height - 2 * border}}};
}

} // namespace lumeno
