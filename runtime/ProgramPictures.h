#pragma once

#include "PixelImage.h"

#include <string_view>

namespace lumeno {

// The picture of that name among the program's resources (a BMP file), decoded the first
// time it is asked for and kept for the program's life: every window, and every window a
// restart makes again, shows the same decoded pixels. Without such a picture, the
// failed-control-call error.
const PixelImage& programPicture(std::string_view name);

} // namespace lumeno
