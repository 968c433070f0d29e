// Any bytes as text to textToSingle, once with a locale that writes a decimal point and once
// with one that writes a comma. A small reference decides whether the text is a plain
// decimal number; glibc's strtof in the "C" locale, which rounds correctly, gives the
// nearest single of the text with a point for the comma. textToSingle must agree: the same
// bits (sign of zero included), the overflow error exactly where strtof overflows to
// infinity, and the type-mismatch error for every text the reference rejects.
#include "Conversions.h"
#include "RuntimeError.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void violation(std::string_view text, char separator, const std::string& what) {
    std::fprintf(stderr, "textToSingle contract violated for \"");
    for (const char c : text)
        std::fprintf(stderr, (c >= 0x20 && c < 0x7F) ? "%c" : "\\x%02X",
                     static_cast<unsigned char>(c));
    std::fprintf(stderr, "\" with the separator '%c': %s\n", separator, what.c_str());
    std::abort();
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// The accepted grammar: spaces, [+-], digits [S digits] or S digits, [e|E [+-] digits],
// spaces, where S is the point or the locale's separator. Gives the number without its
// surrounding spaces and with a point as S, or false.
bool plainDecimal(std::string_view text, char separator, std::string& number) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return false;
    const std::size_t end = text.find_last_not_of(' ') + 1;
    const std::string_view core = text.substr(begin, end - begin);
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < core.size() && digit(core[i]))
            ++i;
        return i - start;
    };
    if (i < core.size() && (core[i] == '+' || core[i] == '-'))
        ++i;
    std::size_t mantissaDigits = digits();
    std::size_t point = std::string_view::npos;
    if (i < core.size() && (core[i] == '.' || core[i] == separator)) {
        point = i++;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < core.size() && (core[i] == 'e' || core[i] == 'E')) {
        ++i;
        if (i < core.size() && (core[i] == '+' || core[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    if (i != core.size())
        return false;
    number.assign(core);
    if (point != std::string_view::npos)
        number[point] = '.';
    return true;
}

std::uint32_t bits(float value) {
    std::uint32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

std::string show(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g (0x%08X)", double(value), bits(value));
    return text;
}

// Checks textToSingle against the reference for one locale separator, '.' or ','.
void check(std::string_view text, char separator) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const auto fail = [&](const std::string& what) { violation(text, separator, what); };

    std::string number;
    const bool accepted = plainDecimal(text, separator, number);
    float expected = 0.0F;
    bool overflows = false;
    if (accepted) {
        char* end = nullptr;
        expected = strtof_l(number.c_str(), &end, cLocale);
        if (end != number.c_str() + number.size())
            fail("the reference grammar accepted a text that strtof does not read");
        overflows = std::isinf(expected);
    }

    try {
        const float value = lumeno::textToSingle(text, std::string(1, separator));
        if (!accepted)
            fail("accepted as " + show(value) + ", expected the type-mismatch error");
        if (!std::isfinite(value))
            fail("gave a value that is not finite: " + show(value));
        if (overflows)
            fail("gave " + show(value) + ", expected the overflow error");
        if (bits(value) != bits(expected))
            fail("gave " + show(value) + ", nearest single is " + show(expected));
    } catch (const lumeno::RuntimeError& error) {
        const auto kind = error.kind();
        if (!accepted && kind != lumeno::ErrorKind::TypeMismatch)
            fail(std::string("rejected with ") + lumeno::errorName(kind) +
                 ", expected the type-mismatch error");
        if (accepted && !overflows)
            fail(std::string("rejected with ") + lumeno::errorName(kind) + " (" + error.cause() +
                 "), expected " + show(expected));
        if (accepted && kind != lumeno::ErrorKind::Overflow)
            fail(std::string("rejected with ") + lumeno::errorName(kind) +
                 ", expected the overflow error");
        if (error.cause().empty())
            fail("an error without a cause");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(text, '.');
    check(text, ',');
    return 0;
}
