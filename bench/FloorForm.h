#pragma once

// What the floor windows for Qt and for Win32 share: Form1's geometry and the curve's table.
#include <array>
#include <cmath>
#include <cstdint>

namespace floor_form {

// Form1's geometry in twips: left, top, width, height.
constexpr std::array clientSize{7500, 5328};
constexpr std::array sourceBox{120, 120, 2292, 2532};
constexpr std::array resultBox{3360, 120, 2292, 2532};
constexpr std::array field{1440, 3480, 615, 375};
constexpr std::array goButton{4560, 3480, 1455, 615};

// The curve y = b*x/(b*x+1) for every component value, in double precision, rounded half
// to even; false for a b that gives no output in 0..255.
inline bool curveTable(float b, std::array<std::uint8_t, 256>& table) {
    if (!(b >= 0.0F) || std::isinf(b))
        return false;
    for (int v = 0; v < 256; ++v) {
        const double x = v / 255.0;
        const double p = b * x;
        const double y = p / (p + 1.0);
        table[v] = static_cast<std::uint8_t>(std::nearbyint(y * 255.0));
    }
    return true;
}

} // namespace floor_form
