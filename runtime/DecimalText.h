#pragma once

#include <string>
#include <string_view>

// Decimal text of floating-point numbers made from the C library's correctly rounded strtof,
// strtod and printf, for C++ libraries without the floating-point std::from_chars and
// std::to_chars (libc++ 13). Both read and write a point whatever the C locale.
namespace lumeno {

// The nearest single to a plain decimal number with a point and no leading '+' ("-1.5e3"):
// an infinity beyond the single-precision range, a zero or subnormal below it.
float decimalToSingle(std::string_view number);

// The shortest text that reads back as the same value, as std::to_chars writes it: fixed
// notation unless scientific is shorter ("40000", "0.001", "1e-05", "3.4028235e+38").
std::string shortestDecimal(float value);
std::string shortestDecimal(double value);

} // namespace lumeno
