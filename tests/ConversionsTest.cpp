#include "Conversions.h"

#include "BitCast.h"
#include "DecimalText.h"
#include "GermanCLocale.h"
#include "RuntimeError.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

using lumeno::ErrorKind;
using lumeno::RuntimeError;

namespace {

// The error a call raised, if any, with its cause.
template <typename Call> std::optional<RuntimeError> errorOf(Call call) {
    try {
        call();
    } catch (const RuntimeError& error) {
        return error;
    }
    return std::nullopt;
}

// --- textToSingle ---

// The Arabic decimal separator U+066B, neither a point nor a comma.
const std::string momayyez = "\xD9\xAB";

struct AcceptedCase {
    std::string text;
    float expected;              // the nearest single, written as a literal the compiler rounds
    std::string separator = "."; // the locale's decimal separator
};

void PrintTo(const AcceptedCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text) << " with " << testing::PrintToString(c.separator);
}

class TextToSingleAccepts : public testing::TestWithParam<AcceptedCase> {};

TEST_P(TextToSingleAccepts, GivesTheNearestSingle) {
    const auto& [text, expected, separator] = GetParam();
    float value = 0.0F;
    ASSERT_NO_THROW(value = lumeno::textToSingle(text, separator)) << testing::PrintToString(text);
    // Bit patterns, so that -0 and 0 differ.
    EXPECT_EQ(bitCast<std::uint32_t>(value), bitCast<std::uint32_t>(expected))
        << testing::PrintToString(text) << " gave " << value;
    // The conversion for C++ libraries without a floating-point from_chars, on every platform.
    if (separator == ".") {
        EXPECT_EQ(bitCast<std::uint32_t>(lumeno::decimalToSingle(text)),
                  bitCast<std::uint32_t>(expected))
            << testing::PrintToString(text);
    }
}

INSTANTIATE_TEST_SUITE_P(PlainDecimals, TextToSingleAccepts,
                         testing::Values(AcceptedCase{"2", 2.0F}, AcceptedCase{"-1", -1.0F},
                                         AcceptedCase{"0.5", 0.5F}, AcceptedCase{".5", 0.5F},
                                         AcceptedCase{"5.", 5.0F}, AcceptedCase{"1e3", 1000.0F},
                                         AcceptedCase{"+2", 2.0F}, AcceptedCase{"  2  ", 2.0F},
                                         AcceptedCase{"1E-3", 1e-3F}, AcceptedCase{"0.1", 0.1F},
                                         AcceptedCase{"007", 7.0F}, AcceptedCase{"0", 0.0F},
                                         AcceptedCase{"-0", -0.0F}, AcceptedCase{"-.5e+1", -5.0F},
                                         AcceptedCase{"0.000001e6", 1.0F},
                                         AcceptedCase{"1e+0", 1.0F}));

// The comma where the locale writes one, in every place the point may stand; the point still.
INSTANTIATE_TEST_SUITE_P(
    DecimalComma, TextToSingleAccepts,
    testing::Values(AcceptedCase{"0,5", 0.5F, ","}, AcceptedCase{",5", 0.5F, ","},
                    AcceptedCase{"5,", 5.0F, ","}, AcceptedCase{" -1,5e3 ", -1500.0F, ","},
                    AcceptedCase{"0.5", 0.5F, ","}, AcceptedCase{"0.5", 0.5F, momayyez},
                    AcceptedCase{"1,00000005960464477539062500001", 1.00000012F, ","},
                    AcceptedCase{"3,40282356e38", std::numeric_limits<float>::max(), ","}));

INSTANTIATE_TEST_SUITE_P(
    RangeAndRounding, TextToSingleAccepts,
    testing::Values(AcceptedCase{"3.4028235e38", std::numeric_limits<float>::max()},
                    AcceptedCase{"-3.4028235e38", -std::numeric_limits<float>::max()},
                    // Still below the midpoint between the largest single and 2^128.
                    AcceptedCase{"3.40282356e38", std::numeric_limits<float>::max()},
                    AcceptedCase{"1.4e-45", std::numeric_limits<float>::denorm_min()},
                    AcceptedCase{"1.17549435e-38", std::numeric_limits<float>::min()},
                    // Too small for a single: rounds to a zero of the same sign.
                    AcceptedCase{"1e-50", 0.0F}, AcceptedCase{"-1e-50", -0.0F},
                    AcceptedCase{"1e-999999999999", 0.0F},
                    // 2^24 + 1 is a tie between two singles: to even.
                    AcceptedCase{"16777217", 16777216.0F},
                    // Just above the tie between 1 and the next single: going through double first
                    // would round to the tie and then down to 1.
                    AcceptedCase{"1.00000005960464477539062500001", 1.00000012F},
                    AcceptedCase{"1.000000059604644775390625", 1.0F}));

// The locale's decimal separator and the text.
using RejectedCase = std::tuple<std::string, std::string>;

class TextToSingleRejects : public testing::TestWithParam<RejectedCase> {};

TEST_P(TextToSingleRejects, AsTypeMismatch) {
    const auto& [separator, text] = GetParam();
    const auto error =
        errorOf([&text = text, &separator = separator] { lumeno::textToSingle(text, separator); });
    ASSERT_TRUE(error) << testing::PrintToString(text) << " was accepted";
    EXPECT_EQ(error->kind(), ErrorKind::TypeMismatch) << testing::PrintToString(text);
    // The whole hint, in the locale's way, on one line: control characters in the text are
    // not copied into it.
    const std::string hint = separator == "," ? "2 or 0,5." : "2 or 0.5.";
    EXPECT_NE(error->cause().find(hint), std::string::npos) << error->cause();
    EXPECT_EQ(error->cause().find_first_of("\t\n\r"), std::string::npos) << error->cause();
}

// Only spaces surround a number: tabs and line breaks are not accepted.
INSTANTIATE_TEST_SUITE_P(
    NotPlainDecimals, TextToSingleRejects,
    testing::Combine(testing::Values(".", ","),
                     testing::Values("", "   ", "abc", "2x", "0x10", "inf", "nan", "Infinity", "1e",
                                     "1e+", "e3", ".", ",", "+", "-", "- 2", "2 .5", "2 ,5", "2 2",
                                     "1.2.3", "1,2,3", "--1", "+-1", "1e3.5", "1e3,5", "1e 3", "2f",
                                     "1_000", "\xEF\xBC\x91" /* full-width 1 */, "2\t", "\t2",
                                     "\n2", "2\n", std::string("2\0", 2))));

// No grouping separator, and one decimal separator at most; a locale separator that is
// neither a point nor a comma is not read.
INSTANTIATE_TEST_SUITE_P(Separators, TextToSingleRejects,
                         testing::Values(RejectedCase{".", "0,5"}, RejectedCase{",", "1.5,3"},
                                         RejectedCase{",", "1,5.3"}, RejectedCase{".", "1,000"},
                                         RejectedCase{momayyez, "0,5"},
                                         RejectedCase{momayyez, "0" + momayyez + "5"}));

class TextToSingleOverflows : public testing::TestWithParam<std::string> {};

TEST_P(TextToSingleOverflows, AsOverflow) {
    const auto error = errorOf([&] { lumeno::textToSingle(GetParam(), "."); });
    ASSERT_TRUE(error) << GetParam() << " was accepted";
    EXPECT_EQ(error->kind(), ErrorKind::Overflow) << error->cause();
    EXPECT_TRUE(std::isinf(lumeno::decimalToSingle(GetParam()))) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(BeyondSingleRange, TextToSingleOverflows,
                         testing::Values("1e39", "-1e39", "3.4028236e38", "3.40282357e38",
                                         "340282357000000000000000000000000000000", "0.0001e43",
                                         "1e999999999999", "-1e999999999999"));

TEST(TextToSingleCause, QuotesTheText) {
    const auto error = errorOf([] { lumeno::textToSingle("0,5", "."); });
    ASSERT_TRUE(error);
    EXPECT_NE(error->cause().find("\"0,5\""), std::string::npos) << error->cause();
}

// A very long text parses quickly and its message stays short, cut on a character boundary.
struct LongTextCase {
    const char* name;
    std::string text;
    std::optional<ErrorKind> expected;
    float value;
};

class TextToSingleLongText : public testing::TestWithParam<LongTextCase> {};

TEST_P(TextToSingleLongText, ParsesFastWithAShortMessage) {
    const LongTextCase& c = GetParam();
    const auto start = std::chrono::steady_clock::now();
    float value = 0.0F;
    const auto error = errorOf([&] { value = lumeno::textToSingle(c.text, "."); });
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 0.5);
    ASSERT_EQ(error.has_value(), c.expected.has_value()) << (error ? error->cause() : "");
    if (error) {
        EXPECT_EQ(error->kind(), *c.expected);
        EXPECT_LT(error->cause().size(), 200u) << error->cause();
        // Not cut inside an "é": every lead byte 0xC3 keeps its second byte.
        const std::string& cause = error->cause();
        for (std::size_t i = cause.find('\xC3'); i != std::string::npos;
             i = cause.find('\xC3', i + 1))
            EXPECT_EQ(cause[i + 1], '\xA9') << cause;
    } else {
        EXPECT_EQ(value, c.value);
    }
}

const std::size_t million = 1'000'000;

std::string repeat(const std::string& unit, std::size_t times) {
    std::string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += unit;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    MillionCharacters, TextToSingleLongText,
    testing::Values(
        LongTextCase{"Letters", std::string(million, 'x'), ErrorKind::TypeMismatch, 0.0F},
        // "a" then "é" over and over: a cut at an even length would split an "é".
        LongTextCase{"TwoByteCharacters", "a" + repeat("\xC3\xA9", million / 2),
                     ErrorKind::TypeMismatch, 0.0F},
        LongTextCase{"Digits", std::string(million, '9'), ErrorKind::Overflow, 0.0F},
        LongTextCase{"Spaces", std::string(million, ' '), ErrorKind::TypeMismatch, 0.0F},
        LongTextCase{"LeadingSpaces", std::string(million, ' ') + "2", std::nullopt, 2.0F},
        LongTextCase{"LongFraction", "1." + std::string(million, '0'), std::nullopt, 1.0F},
        LongTextCase{"LongTinyFraction", "0." + std::string(million, '0') + "1", std::nullopt,
                     0.0F}),
    [](const auto& info) { return std::string(info.param.name); });

// --- toInt16 ---

struct RoundCase {
    double value;
    std::optional<std::int16_t> expected; // nullopt: the overflow error
};

class ToInt16FromDouble : public testing::TestWithParam<RoundCase> {};

TEST_P(ToInt16FromDouble, RoundsTiesToEvenWithinRange) {
    const auto [value, expected] = GetParam();
    std::int16_t result = 0;
    const auto error = errorOf([&, value = value] { result = lumeno::toInt16(value); });
    if (expected) {
        EXPECT_FALSE(error) << value << ": " << error->cause();
        EXPECT_EQ(result, *expected) << value;
    } else {
        ASSERT_TRUE(error) << value << " gave " << result;
        EXPECT_EQ(error->kind(), ErrorKind::Overflow);
    }
}

constexpr double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, ToInt16FromDouble,
    testing::Values(RoundCase{0.5, 0}, RoundCase{1.5, 2}, RoundCase{2.5, 2}, RoundCase{-0.5, 0},
                    RoundCase{-1.5, -2}, RoundCase{-2.5, -2}, RoundCase{-0.0, 0},
                    RoundCase{0.49999999999999994, 0}, RoundCase{2.5000000000000004, 3},
                    RoundCase{32766.5, 32766}, RoundCase{32767.4, 32767},
                    RoundCase{-32768.5, -32768}, RoundCase{-32768.4, -32768},
                    RoundCase{32767.5, std::nullopt}, RoundCase{32768.0, std::nullopt},
                    RoundCase{-32768.6, std::nullopt}, RoundCase{-32769.5, std::nullopt},
                    RoundCase{1e300, std::nullopt}, RoundCase{inf, std::nullopt},
                    RoundCase{-inf, std::nullopt},
                    RoundCase{std::numeric_limits<double>::quiet_NaN(), std::nullopt}));

// The overflow message shows the value as it reads back, with a point whatever the C locale.
struct OverflowMessageCase {
    double value;
    const char* shown;
};

class ToInt16OverflowMessage : public testing::TestWithParam<OverflowMessageCase> {};

TEST_P(ToInt16OverflowMessage, ShowsTheValueWithAPointUnderACommaLocale) {
    const GermanCLocale german;
    ASSERT_TRUE(german.active()) << "no German C locale";
    const auto [value, shown] = GetParam();
    const auto error = errorOf([value = value] { lumeno::toInt16(value); });
    ASSERT_TRUE(error) << value;
    EXPECT_EQ(error->cause(), std::string("The value ") + shown +
                                  " does not fit in a 16-bit integer (-32768 to 32767).");
    EXPECT_EQ(lumeno::shortestDecimal(value), shown); // without std::to_chars
}

INSTANTIATE_TEST_SUITE_P(Values, ToInt16OverflowMessage,
                         testing::Values(OverflowMessageCase{40000.0, "40000"},
                                         OverflowMessageCase{-32768.75, "-32768.75"},
                                         OverflowMessageCase{1e300, "1e+300"},
                                         // A whole number is written with all its digits.
                                         OverflowMessageCase{1.2345678901234567e19,
                                                             "12345678901234567168"},
                                         OverflowMessageCase{1e-7 + 40000.0, "40000.0000001"},
                                         OverflowMessageCase{-inf, "-inf"}));

struct IntegerCase {
    std::int32_t value;
    bool fits;
};

class ToInt16FromInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(ToInt16FromInteger, FitsOrOverflows) {
    const auto [value, fits] = GetParam();
    std::int16_t result = 0;
    const auto error = errorOf([&, value = value] { result = lumeno::toInt16(value); });
    if (fits) {
        EXPECT_FALSE(error) << value;
        EXPECT_EQ(result, value);
    } else {
        ASSERT_TRUE(error) << value << " gave " << result;
        EXPECT_EQ(error->kind(), ErrorKind::Overflow);
        EXPECT_NE(error->cause().find(std::to_string(value)), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, ToInt16FromInteger,
    testing::Values(IntegerCase{0, true}, IntegerCase{32767, true}, IntegerCase{-32768, true},
                    IntegerCase{32768, false}, IntegerCase{-32769, false},
                    IntegerCase{std::numeric_limits<std::int32_t>::max(), false},
                    IntegerCase{std::numeric_limits<std::int32_t>::min(), false}));

// --- colour ---

struct ColourCase {
    std::int32_t red, green, blue;
    std::int32_t expected;
};

class Colour : public testing::TestWithParam<ColourCase> {};

TEST_P(Colour, PacksClampedComponents) {
    const ColourCase& c = GetParam();
    EXPECT_EQ(lumeno::colour(c.red, c.green, c.blue), c.expected)
        << c.red << ", " << c.green << ", " << c.blue;
}

INSTANTIATE_TEST_SUITE_P(
    PackingAndClamping, Colour,
    testing::Values(ColourCase{0, 0, 0, 0}, ColourCase{255, 0, 0, 0xFF},
                    ColourCase{0, 255, 0, 0xFF00}, ColourCase{0, 0, 255, 0xFF0000},
                    ColourCase{1, 2, 3, 0x030201}, ColourCase{255, 255, 255, 0xFFFFFF},
                    ColourCase{-1, 0, 0, 0}, ColourCase{300, 0, 0, 0xFF},
                    ColourCase{0, -5, 300, 0xFF0000}, ColourCase{256, 256, 256, 0xFFFFFF},
                    ColourCase{std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max(), 128, 0x80FF00}));

} // namespace
