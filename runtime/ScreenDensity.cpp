#include "ScreenDensity.h"

#include <cmath>

namespace lumeno {

int ScreenDensity::pixels(int twips) const {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel_));
}

} // namespace lumeno
