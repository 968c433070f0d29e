#pragma once

#include "OwnedHandle.h"
#include "PixelImage.h"

#include <string_view>

// The resources compiled into lumeno.exe (resources/lumeno.rc), found by the neutral names a
// window definition gives them. Windows looks names up in capitals, so "picture" is the
// resource PICTURE.
namespace lumeno {

// The picture of that name: a BMP file stored as raw data. Without it, the failed-control-call
// error.
PixelImage loadPicture(std::string_view name);

// The image of that name's icon group nearest to size x size pixels, or null without one.
OwnedIcon loadIcon(std::string_view name, int size);

} // namespace lumeno
