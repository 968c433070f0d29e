#include "BitCast.h"
#include "BrightnessCurve.h"
#include "CurveGolden.h"
#include "CurveTable.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cfenv>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

using lumeno::ErrorKind;
using lumeno::mapColour;

namespace {

// What one mapping gave: a colour value, or an error with its kind and cause.
struct Mapped {
    std::optional<ErrorKind> error;
    std::int32_t value = 0;
    std::string cause;
};

Mapped map(std::int32_t colourValue, float b) {
    try {
        return {std::nullopt, mapColour(colourValue, b), {}};
    } catch (const lumeno::RuntimeError& error) {
        return {error.kind(), 0, error.cause()};
    }
}

std::ostream& operator<<(std::ostream& out, const Mapped& m) {
    return m.error ? out << lumeno::errorName(*m.error) << ": " << m.cause
                   : out << "value " << m.value;
}

std::int32_t rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

constexpr int channelShifts[] = {0, 8, 16}; // red, green, blue

// --- The golden table ---

TEST(CurveGolden, TableIsWellFormedAndCoversEveryOutcome) {
    ASSERT_GE(golden().size(), 40u) << "cannot read " << LUMENO_CURVE_GOLDEN;
    std::string seen;
    for (const GoldenLine& line : golden()) {
        ASSERT_EQ(line.entries.size(), 256u) << line.decimal;
        // The readable decimal and the bit pattern name the same single.
        EXPECT_EQ(bitCast<std::uint32_t>(std::strtof(line.decimal.c_str(), nullptr)), line.bits);
        for (const std::string& entry : line.entries)
            seen += entry == "F" || entry == "O" ? entry : entry[0] == '-' ? "-" : "";
    }
    for (const char* outcome : {"F", "O", "-"})
        EXPECT_NE(seen.find(outcome), std::string::npos) << outcome;
}

std::optional<ErrorKind> goldenError(const std::string& entry) {
    if (entry == "F")
        return ErrorKind::FloatingPoint;
    if (entry == "O")
        return ErrorKind::Overflow;
    return std::nullopt;
}

class CurveGoldenChannel : public testing::TestWithParam<int> {};

// Every entry with the component alone in one channel; packing clamps outputs to 0..255.
TEST_P(CurveGoldenChannel, MatchesEveryEntry) {
    const int shift = GetParam();
    int mismatches = 0;
    for (const GoldenLine& line : golden()) {
        for (int v = 0; v < 256; ++v) {
            const std::string& expected = line.entries[v];
            const Mapped m = map(v << shift, bitCast<float>(line.bits));
            const std::optional<ErrorKind> error = goldenError(expected);
            const int packed = error ? 0 : std::clamp(std::stoi(expected), 0, 255) << shift;
            if ((m.error != error || m.value != packed) && ++mismatches <= 10)
                ADD_FAILURE() << "b = " << line.decimal << ", component " << v << ": got " << m
                              << ", golden " << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(RedGreenBlue, CurveGoldenChannel, testing::ValuesIn(channelShifts));

// --- Worked values and near-ties ---

struct ComponentCase {
    float b;
    int component;
    int expected;
};

class CurveComponent : public testing::TestWithParam<ComponentCase> {};

TEST_P(CurveComponent, MapsToExpectedOutputInEveryChannel) {
    const auto [b, component, expected] = GetParam();
    for (int shift : channelShifts) {
        const Mapped m = map(component << shift, b);
        EXPECT_TRUE(!m.error && m.value == expected << shift)
            << "b = " << b << ", component " << component << " << " << shift << ": " << m;
    }
}

std::vector<ComponentCase> workedValues() {
    const int components[] = {0, 1, 64, 128, 191, 255};
    const struct {
        float b;
        int outputs[6];
    } rows[] = {
        {0.0F, {0, 0, 0, 0, 0, 0}},         {0.5F, {0, 0, 28, 51, 69, 85}},
        {1.0F, {0, 1, 51, 85, 109, 128}},   {2.0F, {0, 2, 85, 128, 153, 170}},
        {4.0F, {0, 4, 128, 170, 191, 204}}, {10.0F, {0, 10, 182, 213, 225, 232}},
    };
    std::vector<ComponentCase> cases;
    for (const auto& row : rows)
        for (int i = 0; i < 6; ++i)
            cases.push_back({row.b, components[i], row.outputs[i]});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, CurveComponent, testing::ValuesIn(workedValues()));

// t on or a few ulps beside a half: anything but double precision with ties to even differs.
// 509.00003F is the next single above 509.
INSTANTIATE_TEST_SUITE_P(
    Ties, CurveComponent,
    testing::Values(ComponentCase{1.0F, 255, 128}, ComponentCase{5.0F, 255, 212},
                    ComponentCase{509.0F, 255, 254}, ComponentCase{509.00003F, 255, 255},
                    ComponentCase{1.0F, 51, 43}, ComponentCase{0.5F, 102, 43},
                    ComponentCase{5.0F, 39, 111}, ComponentCase{5.0F, 119, 179}));

// --- Whole colours ---

struct ColourCase {
    const char* name;
    std::int32_t colourValue;
    float b;
    std::int32_t expected;
};

class CurveWholeColour : public testing::TestWithParam<ColourCase> {};

TEST_P(CurveWholeColour, PacksTheMappedComponents) {
    const ColourCase& c = GetParam();
    const Mapped m = map(c.colourValue, c.b);
    EXPECT_TRUE(!m.error && m.value == c.expected) << m;
}

INSTANTIATE_TEST_SUITE_P(
    Packing, CurveWholeColour,
    testing::Values(
        ColourCase{"PureRed", 255, 2.0F, rgb(170, 0, 0)},
        ColourCase{"PureGreen", 65280, 2.0F, rgb(0, 170, 0)},
        ColourCase{"PureBlue", 16711680, 2.0F, rgb(0, 0, 170)},
        ColourCase{"White", 16777215, 2.0F, rgb(170, 170, 170)},
        ColourCase{"Mixed", rgb(64, 128, 191), 1.0F, rgb(51, 85, 109)},
        ColourCase{"HighByteIgnored", static_cast<std::int32_t>(0xAB00FF00u), 2.0F, rgb(0, 170, 0)},
        // Negative b that does not fail: outputs are clamped to 0..255.
        ColourCase{"NegativeOutputsClampTo0", 16777215, -0.5F, 0},
        ColourCase{"OutputsAbove255ClampTo255", rgb(2, 0, 2), -255.0F, rgb(255, 0, 255)},
        ColourCase{"HugeNegativeB", 16777215, -1e6F, 16777215}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Errors, and the stage order that decides which one a colour raises ---

struct ErrorCase {
    const char* name;
    std::int32_t colourValue;
    float b;
    ErrorKind expected;
    const char* causeMentions; // the component the error belongs to
};

class CurveErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(CurveErrors, RaisesTheFirstErrorInStageOrder) {
    const ErrorCase& c = GetParam();
    const Mapped m = map(c.colourValue, c.b);
    EXPECT_EQ(m.error, c.expected) << m;
    EXPECT_NE(m.cause.find(c.causeMentions), std::string::npos) << m;
}

INSTANTIATE_TEST_SUITE_P(
    StageOrder, CurveErrors,
    testing::Values(
        ErrorCase{"RedDividesByZero", rgb(255, 0, 0), -1.0F, ErrorKind::FloatingPoint,
                  "divided by zero: b × x + 1 is 0 for b = -1 and red 255"},
        ErrorCase{"BlueDividesByZero", rgb(0, 0, 255), -1.0F, ErrorKind::FloatingPoint, "blue 255"},
        // Blue's division (stage 2) comes before red's overflow (stage 3).
        ErrorCase{"BlueDivisionBeforeRedOverflow", rgb(254, 0, 255), -1.0F,
                  ErrorKind::FloatingPoint, "blue 255"},
        ErrorCase{"RedDivisionBeforeBlueDivision", rgb(255, 0, 255), -1.0F,
                  ErrorKind::FloatingPoint, "red 255"},
        ErrorCase{"OtherBDividesByZero", rgb(0, 51, 0), -5.0F, ErrorKind::FloatingPoint,
                  "green 51"},
        ErrorCase{"RedOverflows", rgb(128, 0, 0), -2.0F, ErrorKind::Overflow,
                  "gives 65280 for red 128 with b = -2"},
        ErrorCase{"GreenOverflows", rgb(0, 128, 0), -2.0F, ErrorKind::Overflow, "green 128"},
        ErrorCase{"TwoOverflowGreenFirst", rgb(0, 128, 127), -2.0F, ErrorKind::Overflow,
                  "green 128"}),
    [](const auto& info) { return std::string(info.param.name); });

// With b = -1 a 255 anywhere divides by zero (stage 2), otherwise a 254 anywhere overflows
// (stage 3); the rest give outputs below 0 that pack to 0.
TEST(CurveErrorOrder, EveryCombinationFollowsTheStages) {
    const int components[] = {0, 1, 128, 253, 254, 255};
    for (int red : components)
        for (int green : components)
            for (int blue : components) {
                const auto has = [&](int v) { return red == v || green == v || blue == v; };
                const Mapped m = map(rgb(red, green, blue), -1.0F);
                const std::optional<ErrorKind> expected =
                    has(255)   ? std::optional(ErrorKind::FloatingPoint)
                    : has(254) ? std::optional(ErrorKind::Overflow)
                               : std::nullopt;
                EXPECT_TRUE(m.error == expected && m.value == 0)
                    << red << ", " << green << ", " << blue << ": " << m;
            }
}

// --- The floating-point status ---

#ifdef FE_DIVBYZERO // where the processor has status flags
class CurveStaleStatus : public testing::TestWithParam<int> {};

// Flags left by anything before a mapping must not fail it.
TEST_P(CurveStaleStatus, IsClearedAtTheStartOfEachMapping) {
    std::feraiseexcept(GetParam());
    const Mapped m = map(rgb(64, 128, 191), 1.0F);
    EXPECT_TRUE(!m.error && m.value == rgb(51, 85, 109)) << m;
}

INSTANTIATE_TEST_SUITE_P(Flags, CurveStaleStatus,
                         testing::Values(FE_DIVBYZERO, FE_OVERFLOW, FE_INVALID,
                                         FE_INEXACT | FE_UNDERFLOW));
#endif

TEST(CurveStatus, ValidMappingAfterAFailedOneIsClean) {
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(map(rgb(0, 255, 0), -1.0F).error, ErrorKind::FloatingPoint);
        ASSERT_FALSE(map(rgb(0, 254, 0), -0.5F).error);
        ASSERT_FALSE(map(rgb(1, 2, 3), 1e-45F).error); // inexact at every step: no error
    }
}

// --- The per-run table against the exact steps ---

Mapped mapThroughTable(const lumeno::CurveTable& table, std::int32_t colourValue) {
    try {
        return {std::nullopt, table.map(colourValue), {}};
    } catch (const lumeno::RuntimeError& error) {
        return {error.kind(), 0, error.cause()};
    }
}

bool sameOutcome(const Mapped& a, const Mapped& b) {
    return a.error == b.error && a.value == b.value && a.cause == b.cause;
}

// Every component value in every channel, and colours combining failing and good
// values in all positions, so that the stage order of several errors is compared too.
int differences(float b) {
    const lumeno::CurveTable table(b);
    std::vector<int> failing;
    std::vector<int> good;
    int different = 0;
    for (int v = 0; v < 256; ++v) {
        (map(v, b).error ? failing : good).push_back(v);
        for (int shift : channelShifts)
            different += !sameOutcome(mapThroughTable(table, v << shift), map(v << shift, b));
    }
    std::vector<int> mixed;
    for (const auto* values : {&failing, &good})
        for (std::size_t i = 0; i < values->size() && i < 6; ++i)
            mixed.push_back((*values)[i * values->size() / 6]); // spread over the range
    for (int red : mixed)
        for (int green : mixed)
            for (int blue : mixed)
                different += !sameOutcome(mapThroughTable(table, rgb(red, green, blue)),
                                          map(rgb(red, green, blue), b));
    return different;
}

TEST(CurveTable, AgreesWithTheExactStepsForTheGoldenParameters) {
    for (const GoldenLine& line : golden())
        EXPECT_EQ(differences(bitCast<float>(line.bits)), 0) << "b = " << line.decimal;
}

TEST(CurveTable, AgreesWithTheExactStepsForRandomParameters) {
    // Uniform bit patterns: every sign and exponent, subnormals, infinities and NaNs.
    std::mt19937 random(2026);
    for (int i = 0; i < 3000; ++i) {
        const auto b = bitCast<float>(static_cast<std::uint32_t>(random()));
        ASSERT_EQ(differences(b), 0) << "b bits 0x" << std::hex << bitCast<std::uint32_t>(b);
    }
}

} // namespace
