// 8 bytes: the bit pattern of b (any float: NaN, infinities, subnormals) and a colour value.
// mapColour must give what a plain re-computation of the curve gives: the clamped packed
// outputs, or the error of the first failing test in stage order, with the failing
// component named. The floating-point status is modelled from the operands and results,
// not read from the hardware. CurveTable(b).map must give the same outcome as mapColour.
#include "BrightnessCurve.h"
#include "CurveTable.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

using lumeno::ErrorKind;

float currentB = 0.0F;
std::int32_t currentColour = 0;

[[noreturn]] void violation(const std::string& what) {
    std::uint32_t bBits;
    std::memcpy(&bBits, &currentB, sizeof bBits);
    std::fprintf(stderr, "mapColour contract violated for b = %.9g (0x%08X), colour 0x%08X: %s\n",
                 double(currentB), bBits, static_cast<std::uint32_t>(currentColour), what.c_str());
    std::abort();
}

// The status flags an IEEE operation raises, worked out from its operands and result.
struct Status {
    bool raised = false;

    double result(double r, double a, double b) {
        if (std::isnan(r) && !std::isnan(a) && !std::isnan(b))
            raised = true; // invalid: 0*inf, inf/inf, 0/0, inf-inf
        if (std::isinf(r) && std::isfinite(a) && std::isfinite(b))
            raised = true; // overflow, or division of a finite number by zero
        return r;
    }
    double mul(double a, double b) { return result(a * b, a, b); }
    double add(double a, double b) { return result(a + b, a, b); }
    double div(double a, double b) { return result(a / b, a, b); }
    double widen(float f) {
        std::uint32_t u;
        std::memcpy(&u, &f, sizeof u);
        if ((u & 0x7F800000) == 0x7F800000 && (u & 0x007FFFFF) != 0 && (u & 0x00400000) == 0)
            raised = true; // a signalling NaN raises invalid when it is converted
        return double(f);
    }
};

// Nearest integer, ties to even.
double roundHalfEven(double t) {
    if (!std::isfinite(t) || std::fabs(t) >= 4503599627370496.0) // 2^52: already whole
        return t;
    const double below = std::floor(t);
    const double fraction = t - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        return below + 1.0;
    return below;
}

struct Outcome {
    std::optional<std::int32_t> value;
    ErrorKind kind = ErrorKind::ControlCallFailed;
    int component = -1;
    std::string cause;
};

Outcome reference(std::int32_t colourValue, float b) {
    const int v[3] = {colourValue & 0xFF, (colourValue >> 8) & 0xFF, (colourValue >> 16) & 0xFF};
    double x[3], y[3];
    int out[3];
    Status status;
    const auto fails = [](ErrorKind kind, int c) { return Outcome{std::nullopt, kind, c, {}}; };
    for (int c = 0; c < 3; ++c) {
        x[c] = status.div(double(v[c]), 255.0);
        if (status.raised)
            return fails(ErrorKind::FloatingPoint, c);
    }
    for (int c = 0; c < 3; ++c) {
        const double p = status.mul(status.widen(b), x[c]);
        y[c] = status.div(p, status.add(p, 1.0));
        if (status.raised)
            return fails(ErrorKind::FloatingPoint, c);
    }
    for (int c = 0; c < 3; ++c) {
        const double t = status.mul(y[c], 255.0);
        if (status.raised)
            return fails(ErrorKind::FloatingPoint, c);
        const double rounded = roundHalfEven(t);
        if (std::isnan(rounded) || rounded < -32768.0 || rounded > 32767.0)
            return fails(ErrorKind::Overflow, c);
        out[c] = std::clamp(static_cast<int>(rounded), 0, 255);
    }
    return Outcome{out[0] + 256 * out[1] + 65536 * out[2], {}, -1, {}};
}

template <typename Map> Outcome run(Map map) {
    try {
        return Outcome{map(), {}, -1, {}};
    } catch (const lumeno::RuntimeError& error) {
        return Outcome{std::nullopt, error.kind(), -1, error.cause()};
    }
}

std::string describe(const Outcome& outcome) {
    if (outcome.value) {
        char text[32];
        std::snprintf(text, sizeof text, "colour 0x%08X",
                      static_cast<std::uint32_t>(*outcome.value));
        return text;
    }
    return std::string(lumeno::errorName(outcome.kind)) +
           (outcome.component >= 0 ? " at component " + std::to_string(outcome.component) : "") +
           (outcome.cause.empty() ? "" : " (" + outcome.cause + ")");
}

// Whether the cause names this component (and its input value) and no other.
bool namesComponent(const std::string& cause, int component, std::int32_t colourValue) {
    static const char* const names[3] = {"red", "green", "blue"};
    for (int c = 0; c < 3; ++c) {
        const std::string named =
            std::string(names[c]) + " " + std::to_string((colourValue >> (8 * c)) & 0xFF);
        const std::size_t at = cause.find(named);
        const bool present = at != std::string::npos &&
                             (at + named.size() == cause.size() ||
                              !std::isdigit(static_cast<unsigned char>(cause[at + named.size()])));
        if (present != (c == component))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8)
        return 0;
    std::memcpy(&currentB, data, 4);
    std::memcpy(&currentColour, data + 4, 4);
    const float b = currentB;
    const std::int32_t colourValue = currentColour;

    const Outcome expected = reference(colourValue, b);
    const Outcome exact = run([&] { return lumeno::mapColour(colourValue, b); });
    if (exact.value) {
        if ((*exact.value & ~0xFFFFFF) != 0)
            violation("mapColour gave " + describe(exact) + ", which is not a colour value");
        if (exact.value != expected.value)
            violation("mapColour gave " + describe(exact) + ", expected " + describe(expected));
    } else {
        if (expected.value || exact.kind != expected.kind)
            violation("mapColour gave " + describe(exact) + ", expected " + describe(expected));
        if (!namesComponent(exact.cause, expected.component, colourValue))
            violation("mapColour gave " + describe(exact) + ", expected it at component " +
                      std::to_string(expected.component));
    }

    // Tables are kept for the values of b seen lately: building one takes 256 exact mappings
    // and fills 65,536 entries, far more than the mapping under test.
    static std::map<std::uint32_t, std::unique_ptr<lumeno::CurveTable>> tables;
    std::uint32_t bBits;
    std::memcpy(&bBits, &b, sizeof bBits);
    auto table = tables.find(bBits);
    if (table == tables.end()) {
        if (tables.size() >= 256)
            tables.clear();
        table = tables.emplace(bBits, std::make_unique<lumeno::CurveTable>(b)).first;
    }
    const Outcome fast = run([&] { return table->second->map(colourValue); });
    if (fast.value != exact.value ||
        (!exact.value && (fast.kind != exact.kind || fast.cause != exact.cause)))
        violation("CurveTable gave " + describe(fast) + ", mapColour gave " + describe(exact));
    return 0;
}
