// The curve's floating-point errors, told from the values, against the processor's status
// flags: every operation of the steps for every component, and b against extreme operands,
// for every b the curve's tests try.
#include "FloatingPointChecks.h"

#include "BitCast.h"
#include "CurveGolden.h"
#include "FloatingPointStatus.h"

#include <cfenv>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

using lumeno::FloatingPointChecks;

namespace {

enum class Operation { Widen, Add, Multiply, Divide };

// What the flags say of one operation. Volatile operands and result keep it between the
// clearing and the reading of the flags.
int flagged(Operation operation, double a, double c, float b) {
    const volatile double left = a;
    const volatile double right = c;
    const volatile float single = b;
    [[maybe_unused]] volatile double result = 0.0;
    lumeno::clearFloatingPointStatus();
    switch (operation) {
    case Operation::Widen:
        result = double(single);
        break;
    case Operation::Add:
        result = left + right;
        break;
    case Operation::Multiply:
        result = left * right;
        break;
    case Operation::Divide:
        result = left / right;
        break;
    }
    const int raised = lumeno::raisedFloatingPointErrors();
    return (raised & FE_INVALID ? FloatingPointChecks::invalidOperation : 0) |
           (raised & FE_DIVBYZERO ? FloatingPointChecks::divisionByZero : 0) |
           (raised & FE_OVERFLOW ? FloatingPointChecks::overflow : 0);
}

// One operation by the value checks; a verdict other than the flags' is counted.
double compared(Operation operation, double a, double c, float b, int& differing) {
    FloatingPointChecks checks;
    double result = 0.0;
    switch (operation) {
    case Operation::Widen:
        result = checks.widen(b);
        break;
    case Operation::Add:
        result = checks.add(a, c);
        break;
    case Operation::Multiply:
        result = checks.multiply(a, c);
        break;
    case Operation::Divide:
        result = checks.divide(a, c);
        break;
    }
    if (checks.raised() != flagged(operation, a, c, b) && ++differing <= 5)
        ADD_FAILURE() << "b bits 0x" << std::hex << bitCast<std::uint32_t>(b) << ", operation "
                      << int(operation) << " on " << a << " and " << c << ": checks "
                      << checks.raised() << ", flags " << flagged(operation, a, c, b);
    return result;
}

int differingVerdicts(float b) {
    int differing = 0;
    const double wide = compared(Operation::Widen, 0.0, 0.0, b, differing);
    for (int v = 0; v < 256; ++v) {
        const double x = compared(Operation::Divide, v, 255.0, b, differing);
        const double p = compared(Operation::Multiply, wide, x, b, differing);
        const double denominator = compared(Operation::Add, p, 1.0, b, differing);
        const double y = compared(Operation::Divide, p, denominator, b, differing);
        compared(Operation::Multiply, y, 255.0, b, differing);
    }
    using limits = std::numeric_limits<double>;
    for (const double extreme :
         {0.0, -0.0, limits::denorm_min(), limits::min(), limits::max(), -limits::max(),
          limits::infinity(), -limits::infinity(), limits::quiet_NaN(), limits::signaling_NaN()})
        for (const Operation operation : {Operation::Add, Operation::Multiply, Operation::Divide}) {
            compared(operation, wide, extreme, b, differing);
            compared(operation, extreme, wide, b, differing);
        }
    return differing;
}

std::vector<float> goldenParameters() {
    std::vector<float> values;
    for (const GoldenLine& line : golden())
        values.push_back(bitCast<float>(line.bits));
    return values;
}

std::vector<float> fromBits(std::initializer_list<std::uint32_t> patterns) {
    std::vector<float> values;
    for (const std::uint32_t bits : patterns)
        values.push_back(bitCast<float>(bits));
    return values;
}

std::vector<float> randomParameters() {
    std::mt19937 random(2026); // the random parameters of the table test
    std::vector<float> values(3000);
    for (float& value : values)
        value = bitCast<float>(static_cast<std::uint32_t>(random()));
    return values;
}

struct Parameters {
    const char* name;
    std::vector<float> (*values)();
};

class FloatingPointChecksAgainstFlags : public testing::TestWithParam<Parameters> {};

TEST_P(FloatingPointChecksAgainstFlags, GiveTheSameErrorsForEveryOperation) {
    const std::vector<float> values = GetParam().values();
    ASSERT_FALSE(values.empty());
    for (const float b : values)
        EXPECT_EQ(differingVerdicts(b), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, FloatingPointChecksAgainstFlags,
    testing::Values(Parameters{"Golden", goldenParameters}, Parameters{"Random", randomParameters},
                    // Infinities, quiet and signalling NaNs of either sign and payload.
                    Parameters{"InfinityAndNan",
                               [] {
                                   return fromBits({0x7F800000, 0xFF800000, 0x7FC00000, 0xFFC00000,
                                                    0x7FFFFFFF, 0x7F800001, 0xFF800001, 0x7FBFFFFF,
                                                    0x7FA00000});
                               }},
                    Parameters{"Subnormals",
                               [] {
                                   return fromBits({0x00000001, 0x80000001, 0x00400000, 0x007FFFFF,
                                                    0x807FFFFF, 0x00800000});
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
