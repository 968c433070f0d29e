#include "CurveTable.h"

#include "RuntimeError.h"

namespace lumeno {

CurveTable::CurveTable(float b) : b_(b) {
    for (std::int32_t v = 0; v < 256; ++v) {
        std::uint32_t output = fails;
        try {
            // Component 0 maps to 0 for every finite b, so this is the component's
            // clamped output in the red bits. (For an infinite or NaN b component 0
            // fails too, and every colour takes the exact steps.)
            output = static_cast<std::uint32_t>(mapColour(v, b));
        } catch (const RuntimeError&) {
        }
        red_[v] = output;
        green_[v] = output == fails ? fails : output << 8;
        blue_[v] = output == fails ? fails : output << 16;
    }
}

} // namespace lumeno
