#include "CurveTable.h"

#include "RuntimeError.h"

namespace lumeno {

CurveTable::CurveTable(float b) : b_(b), redGreen_(std::size_t{256} * 256) {
    std::array<std::uint32_t, 256> output{};
    for (std::int32_t v = 0; v < 256; ++v) {
        try {
            // Component 0 maps to 0 for every finite b, so this is the component's
            // clamped output in the red bits. (For an infinite or NaN b component 0
            // fails too, and every colour takes the exact steps.)
            output[v] = static_cast<std::uint32_t>(mapColour(v, b));
        } catch (const RuntimeError&) {
            output[v] = fails;
        }
    }
    const auto shifted = [&output](std::size_t v, int bits) {
        return output[v] == fails ? fails : output[v] << bits;
    };
    for (std::size_t green = 0; green < 256; ++green)
        for (std::size_t red = 0; red < 256; ++red)
            redGreen_[green * 256 + red] = output[red] | shifted(green, 8);
    for (std::size_t blue = 0; blue < 256; ++blue)
        blue_[blue] = shifted(blue, 16);
}

} // namespace lumeno
