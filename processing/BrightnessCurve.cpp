#include "BrightnessCurve.h"

#include "Conversions.h"
#include "FloatingPointChecks.h"
#include "NumberText.h"
#include "RuntimeError.h"

#include <cfloat>
#include <cmath>
#include <string>

// Every step must round to double. With x87 arithmetic (FLT_EVAL_METHOD 2) intermediate results
// keep extended precision and round a second time when stored, which can move t by an ulp: enough
// to send an output near a tie to the other side.
static_assert(FLT_EVAL_METHOD == 0,
              "The brightness curve needs floating-point expressions evaluated in their own type "
              "(FLT_EVAL_METHOD 0). On 32-bit x86 build with -msse2 -mfpmath=sse.");

namespace lumeno {

namespace {

constexpr const char* componentNames[3] = {"red", "green", "blue"};

std::string floatingPointCause(int raised, int component, std::int16_t v, float b) {
    const std::string where =
        "b = " + numberText(b) + " and " + componentNames[component] + " " + numberText(v) + ".";
    if (raised & FloatingPointChecks::divisionByZero)
        return "The brightness curve divided by zero: b × x + 1 is 0 for " + where;
    if (raised & FloatingPointChecks::overflow)
        return "The brightness curve went beyond the largest floating-point number for " + where;
    return "The brightness curve has no defined value for " + where;
}

// The floating-point status test: the errors the steps raised since the mapping began.
void testStatus(const FloatingPointChecks& checks, int component, std::int16_t v, float b) {
    if (checks.raised() != 0) [[unlikely]]
        throw RuntimeError(ErrorKind::FloatingPoint,
                           floatingPointCause(checks.raised(), component, v, b));
}

// Step 5: t to the nearest integer, ties to even, as a 16-bit output.
std::int16_t roundOutput(double t, int component, std::int16_t v, float b) {
    const double rounded = std::nearbyint(t);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) [[unlikely]]
        throw RuntimeError(ErrorKind::Overflow,
                           "The brightness curve gives " + numberText(rounded) + " for " +
                               componentNames[component] + " " + numberText(v) +
                               " with b = " + numberText(b) +
                               ", which does not fit in a 16-bit integer (-32768 to 32767).");
    return toInt16(rounded);
}

} // namespace

Components unpack(std::int32_t colourValue) {
    return {toInt16(colourValue & 0xFF), toInt16((colourValue >> 8) & 0xFF),
            toInt16((colourValue >> 16) & 0xFF)};
}

std::int32_t mapColour(std::int32_t colourValue, float b) {
    const Components components = unpack(colourValue);
    const std::int16_t input[3] = {components.red, components.green, components.blue};
    // Each component's current value: v, then x, y and t as the steps replace it.
    double value[3] = {double(input[0]), double(input[1]), double(input[2])};
    FloatingPointChecks checks; // the status, clear at the start

    for (int c = 0; c < 3; ++c) {
        value[c] = checks.divide(value[c], 255.0); // step 1: x
        testStatus(checks, c, input[c], b);
    }
    for (int c = 0; c < 3; ++c) {
        const double p = checks.multiply(checks.widen(b), value[c]); // step 2
        value[c] = checks.divide(p, checks.add(p, 1.0));             // step 3: y
        testStatus(checks, c, input[c], b);
    }
    std::int16_t output[3];
    for (int c = 0; c < 3; ++c) {
        value[c] = checks.multiply(value[c], 255.0); // step 4: t
        testStatus(checks, c, input[c], b);
        output[c] = roundOutput(value[c], c, input[c], b);
    }
    return colour(output[0], output[1], output[2]);
}

} // namespace lumeno
