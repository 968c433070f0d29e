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
// optional fraction after one decimal separator, optional exponent ("2", "-1", "0.5",
// ".5", "1e3"). The separator is the point, or the comma where the locale's decimal
// separator (UTF-8, from the platform) is a comma ("0,5", "1,5e3"); a locale separator that
// is neither leaves the point alone, and no grouping separator is ever read. Gives the
// nearest single-precision value, the same for either separator. Anything else is the
// type-mismatch error, whose hint writes 0.5 with the separator the locale uses; a number
// beyond the single-precision range is the overflow error. Never infinite or NaN.
// The program's own conversion, in the user's locale, is textToSingle(text) in Runtime.h.
float textToSingle(std::string_view text, std::string_view localeDecimalSeparator);

// The colour routine: red + 256 * green + 65,536 * blue. Components outside 0..255
// are clamped to that range first, so every result is a valid colour value.
std::int32_t colour(std::int32_t red, std::int32_t green, std::int32_t blue);

} // namespace lumeno
