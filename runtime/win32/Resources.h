#pragma once

#include "OwnedHandle.h"

#include <string_view>

// The resources compiled into lumeno.exe (resources/lumeno.rc), found by the neutral names a
// window definition gives them. Windows looks names up in capitals, so "picture" is the
// resource PICTURE.
namespace lumeno::win32 {

// The image of that name's icon group nearest to size x size pixels, or null without one.
OwnedIcon loadIcon(std::string_view name, int size);

} // namespace lumeno::win32
