#include "BrightnessCurve.h"

#include "Conversions.h"
#include "FloatingPointStatus.h"
#include "NumberText.h"
#include "RuntimeError.h"

#include <cfenv>
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
    if (raised & FE_DIVBYZERO)
        return "The brightness curve divided by zero: b × x + 1 is 0 for " + where;
    if (raised & FE_OVERFLOW)
        return "The brightness curve went beyond the largest floating-point number for " + where;
    return "The brightness curve has no defined value for " + where;
}

// The floating-point status tests. GCC does not honour FENV_ACCESS: it takes arithmetic to have
// no side effects, so it may start an operation before the status is cleared or finish it after
// the test meant for it. The mapping therefore keeps every operand and result in volatile
// storage. A volatile access is never moved across a call, so each operation reads its operands
// after the preceding clear or test and stores its result before the following test; volatile
// operands also rule out folding at compile time, whatever the caller passes (given a constant
// signalling-NaN b, GCC would widen it to double silently instead of raising invalid).
void testStatus(int component, std::int16_t v, float b) {
    const int raised = raisedFloatingPointErrors();
    if (raised != 0) [[unlikely]]
        throw RuntimeError(ErrorKind::FloatingPoint, floatingPointCause(raised, component, v, b));
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
    volatile double value[3] = {double(input[0]), double(input[1]), double(input[2])};
    const volatile float parameter = b;
    clearFloatingPointStatus();

    for (int c = 0; c < 3; ++c) {
        value[c] = value[c] / 255.0; // step 1: x
        testStatus(c, input[c], b);
    }
    for (int c = 0; c < 3; ++c) {
        const double p = double(parameter) * value[c]; // step 2
        value[c] = p / (p + 1.0);                      // step 3: y
        testStatus(c, input[c], b);
    }
    std::int16_t output[3];
    for (int c = 0; c < 3; ++c) {
        value[c] = value[c] * 255.0; // step 4: t
        testStatus(c, input[c], b);
        output[c] = roundOutput(value[c], c, input[c], b);
    }
    return colour(output[0], output[1], output[2]);
}

} // namespace lumeno
