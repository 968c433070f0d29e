#pragma once

#include <cstdint>

// The brightness curve y = b*x / (b*x + 1) over colour values. Plain C++: no
// window system, no Qt.
namespace lumeno {

// A colour value packs red in bits 0-7, green in bits 8-15 and blue in bits 16-23.
struct Components {
    std::int16_t red;
    std::int16_t green;
    std::int16_t blue;
};

Components unpack(std::int32_t colourValue);

// Maps a whole colour value with parameter b: the three components go through the
// curve's steps stage by stage (red, green, blue within each stage), with the
// floating-point status cleared at the start and tested after steps 1, 3 and 4.
// Throws RuntimeError: FloatingPoint for a division by zero, overflow or invalid
// operation; Overflow when a rounded output does not fit 16 bits.
std::int32_t mapColour(std::int32_t colourValue, float b);

} // namespace lumeno
