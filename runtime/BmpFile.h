#pragma once

#include "PixelImage.h"

#include <span>

namespace lumeno {

// The pixels of a BMP file: uncompressed, 24 or 32 bits per pixel, rows bottom-up or
// top-down. Anything else is the failed-control-call error.
PixelImage decodeBmp(std::span<const unsigned char> file);

} // namespace lumeno
