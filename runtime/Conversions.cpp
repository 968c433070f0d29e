#include "Conversions.h"

#include "DecimalText.h"
#include "NumberText.h"
#include "RuntimeError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace lumeno {

namespace {

constexpr std::int32_t int16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int32_t int16Max = std::numeric_limits<std::int16_t>::max();

// Shown in error messages; a pasted novel is cut to its first characters. Control characters
// become U+FFFD: a NUL would end the message early and a line break would split the report.
std::string quoted(std::string_view text) {
    constexpr std::size_t shown = 40;
    std::size_t cut = text.size();
    if (text.size() > shown) {
        cut = shown;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut; // do not split a UTF-8 sequence
    }
    std::string result = "\"";
    for (const char c : text.substr(0, cut)) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            result += "\uFFFD";
        else
            result += c;
    }
    return result + (cut < text.size() ? "…\"" : "\"");
}

[[noreturn]] void notANumber(std::string_view text, char separator) {
    const std::string what = text.find_first_not_of(' ') == std::string_view::npos
                                 ? std::string("The parameter field is empty")
                                 : "The text " + quoted(text) + " is not a number";
    throw RuntimeError(ErrorKind::TypeMismatch,
                       what + "; type a plain number such as 2 or 0" + separator + "5.");
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a plain decimal number, as positions in the text.
struct DecimalNumber {
    std::string_view mantissa; // sign, digits and separator, without the exponent
    std::string_view number;   // mantissa and exponent, without surrounding spaces
    bool negative = false;
    // Decimal exponent of the leading non-zero digit (0 for 1..9.99, -1 for 0.1..0.99);
    // meaningless when every digit is zero.
    long long magnitude = 0;
    bool allZero = true;
};

// Parses the grammar described in the header, with the point and separator (which may be the
// point too) as decimal separators; false when the text does not match.
bool parseDecimal(std::string_view text, char separator, DecimalNumber& out) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        out.negative = text[i] == '-';
        ++i;
    }
    long long integerDigits = 0;
    long long digitsSeen = 0;
    long long leadingZeros = 0;
    for (; i < end && isDigit(text[i]); ++i, ++integerDigits, ++digitsSeen) {
        if (out.allZero && text[i] == '0')
            ++leadingZeros;
        else
            out.allZero = false;
    }
    if (i < end && (text[i] == '.' || text[i] == separator)) {
        ++i;
        for (; i < end && isDigit(text[i]); ++i, ++digitsSeen) {
            if (out.allZero && text[i] == '0')
                ++leadingZeros;
            else
                out.allZero = false;
        }
    }
    if (digitsSeen == 0)
        return false;
    out.mantissa = text.substr(begin, i - begin);
    long long exponent = 0;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool exponentNegative = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        if (i == end || !isDigit(text[i]))
            return false;
        for (; i < end && isDigit(text[i]); ++i) // saturates far beyond any float
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000'000LL);
        if (exponentNegative)
            exponent = -exponent;
    }
    if (i != end)
        return false;
    out.number = text.substr(begin, end - begin);
    out.magnitude = integerDigits - leadingZeros - 1 + exponent;
    return true;
}

} // namespace

std::int16_t toInt16(double value) {
    // nearbyint rounds in the current mode (ties to even) without raising inexact.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= int16Min && rounded <= int16Max))
        throw RuntimeError(ErrorKind::Overflow,
                           "The value " + numberText(value) +
                               " does not fit in a 16-bit integer (-32768 to 32767).");
    return static_cast<std::int16_t>(rounded);
}

std::int16_t toInt16(std::int32_t value) {
    if (value < int16Min || value > int16Max)
        throw RuntimeError(ErrorKind::Overflow,
                           "The value " + numberText(value) +
                               " does not fit in a 16-bit integer (-32768 to 32767).");
    return static_cast<std::int16_t>(value);
}

float textToSingle(std::string_view text, std::string_view localeDecimalSeparator) {
    const char separator = localeDecimalSeparator == "," ? ',' : '.';
    DecimalNumber decimal;
    if (!parseDecimal(text, separator, decimal))
        notANumber(text, separator);
    // from_chars takes no leading '+' and reads only a point; it is locale-independent and
    // rounds correctly.
    std::string_view digits = decimal.number;
    if (digits.front() == '+')
        digits.remove_prefix(1);
    std::string withPoint;
    if (const std::size_t comma = digits.find(','); comma != std::string_view::npos) {
        withPoint = digits;
        withPoint[comma] = '.';
        digits = withPoint;
    }
    float value = 0.0F;
#ifdef __cpp_lib_to_chars
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
#else // no floating-point std::from_chars; the grammar has checked the whole text
    value = decimalToSingle(digits);
    const char* const end = digits.data() + digits.size();
    const std::errc error = std::isinf(value) || (value == 0.0F && !decimal.allZero)
                                ? std::errc::result_out_of_range
                                : std::errc();
#endif
    if (error == std::errc::result_out_of_range) {
        if (decimal.magnitude >= 0)
            throw RuntimeError(ErrorKind::Overflow,
                               "The number " + quoted(decimal.number) +
                                   " is too large; the parameter must lie between minus and plus "
                                   "3.4 times 10 to the power of 38.");
        return decimal.negative ? -0.0F : 0.0F; // too small for a single: rounds to zero
    }
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        notANumber(text, separator);
    return value;
}

std::int32_t colour(std::int32_t red, std::int32_t green, std::int32_t blue) {
    return std::clamp(red, 0, 255) + 256 * std::clamp(green, 0, 255) +
           65536 * std::clamp(blue, 0, 255);
}

} // namespace lumeno
