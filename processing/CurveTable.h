#pragma once

#include "BrightnessCurve.h"

#include <array>
#include <cstdint>

namespace lumeno {

// The brightness curve for one b, worked out once by the exact steps for every
// component value 0..255. Mapping a colour through it gives exactly what mapColour
// gives, the same output or the same error in the same stage order, at the cost of
// three table look-ups, one a component.
class CurveTable {
public:
    explicit CurveTable(float b);

    std::int32_t map(std::int32_t colourValue) const {
        const auto colour = static_cast<std::uint32_t>(colourValue);
        const std::uint32_t mapped =
            red_[colour & 0xFF] | green_[colour >> 8 & 0xFF] | blue_[colour >> 16 & 0xFF];
        // A component that fails alone fails in every colour, and a colour fails only
        // through such a component; the exact steps then raise its error in order.
        if ((mapped & fails) != 0) [[unlikely]]
            return mapColour(colourValue, b_);
        return static_cast<std::int32_t>(mapped);
    }

private:
    static constexpr std::uint32_t fails = 0x80000000; // marks a failing component value

    float b_;
    // The packed output of each component value in its own channel.
    std::array<std::uint32_t, 256> red_{};
    std::array<std::uint32_t, 256> green_{};
    std::array<std::uint32_t, 256> blue_{};
};

} // namespace lumeno
