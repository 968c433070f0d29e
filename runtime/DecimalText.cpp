#include "DecimalText.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lumeno {

namespace {

// The number with the C locale's decimal separator in place of the point, for strtof and
// strtod, which read the separator of the locale.
std::string inCLocale(std::string_view number) {
    const char* separator = std::localeconv()->decimal_point;
    std::string text;
    for (const char c : number) {
        if (c == '.')
            text += separator;
        else
            text += c;
    }
    return text;
}

double decimalToDouble(std::string_view number) {
    return std::strtod(inCLocale(number).c_str(), nullptr);
}

template <typename Number> Number readBack(std::string_view number) {
    if constexpr (sizeof(Number) == sizeof(float))
        return decimalToSingle(number);
    else
        return decimalToDouble(number);
}

// The magnitude, whose shortest digits d1 d2 ... dn (d1 not zero) times 10 to the power of
// exponent - n + 1 read back as it, as std::to_chars writes it.
std::string formatted(double magnitude, bool negative, std::string digits, int exponent) {
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const auto count = static_cast<int>(digits.size());
    std::string fixed;
    if (exponent >= count - 1) {
        // A whole number: all its digits, exactly, as std::to_chars writes them.
        char whole[320];
        std::snprintf(whole, sizeof whole, "%.0f", magnitude);
        fixed = whole;
    } else if (exponent >= 0) {
        fixed = digits;
        fixed.insert(static_cast<std::size_t>(exponent) + 1, 1, '.');
    } else {
        fixed = "0.";
        fixed.append(static_cast<std::size_t>(-exponent - 1), '0');
        fixed += digits;
    }
    std::string scientific = digits;
    if (count > 1)
        scientific.insert(1, 1, '.');
    scientific += exponent < 0 ? "e-" : "e+";
    if (std::abs(exponent) < 10)
        scientific += '0';
    scientific += std::to_string(std::abs(exponent));
    std::string text = negative ? "-" : "";
    text += scientific.size() < fixed.size() ? scientific : fixed;
    return text;
}

template <typename Number> std::string shortest(Number value) {
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0)
        return std::signbit(value) ? "-0" : "0";
    const bool negative = std::signbit(value);
    for (int count = 1; count <= std::numeric_limits<Number>::max_digits10; ++count) {
        // The nearest decimal of count digits; if it does not read back, the one beside it on
        // the other side may, where the gap to the next value below is half that above.
        char text[64];
        std::snprintf(text, sizeof text, "%.*e", count - 1, std::fabs(double(value)));
        std::uint64_t nearest = 0;
        const char* c = text;
        for (; *c != 'e'; ++c)
            if (*c >= '0' && *c <= '9')
                nearest = nearest * 10 + static_cast<std::uint64_t>(*c - '0');
        const int exponent = std::atoi(c + 1);
        for (const std::uint64_t candidate : {nearest, nearest - 1, nearest + 1}) {
            const std::string digits = std::to_string(candidate);
            if (static_cast<int>(digits.size()) != count)
                continue; // 0.99 or 10.0 of the count: found with another count
            const std::string plain = digits + "e" + std::to_string(exponent - count + 1);
            if (readBack<Number>(plain) == std::fabs(value))
                return formatted(std::fabs(double(value)), negative, digits, exponent);
        }
    }
    return {}; // not reached: max_digits10 digits always read back
}

} // namespace

float decimalToSingle(std::string_view number) {
    return std::strtof(inCLocale(number).c_str(), nullptr);
}

std::string shortestDecimal(float value) {
    return shortest(value);
}

std::string shortestDecimal(double value) {
    return shortest(value);
}

} // namespace lumeno
