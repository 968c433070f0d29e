#pragma once

#include <cstdint>
#include <string_view>

// The run-time's conversions. They need no window system, so the curve can use
// them without depending on Qt.
namespace lumeno {

// Nearest 16-bit integer, ties to even; the overflow error when the rounded value
// lies outside -32,768..32,767 (or is not a number).
std::int16_t toInt16(double value);

// The overflow error when the value lies outside -32,768..32,767.
std::int16_t toInt16(std::int32_t value);

// A plain decimal number: optional surrounding spaces, optional sign, digits with an
// optional '.' fraction, optional exponent ("2", "-1", "0.5", ".5", "1e3"). Gives the
// nearest single-precision value. Anything else is the type-mismatch error; a number
// beyond the single-precision range is the overflow error. Never infinite or NaN.
float textToSingle(std::string_view text);

// The colour routine: red + 256 * green + 65,536 * blue. Components outside 0..255
// are clamped to that range first, so every result is a valid colour value.
std::int32_t colour(std::int32_t red, std::int32_t green, std::int32_t blue);

} // namespace lumeno
