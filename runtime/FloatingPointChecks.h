#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

namespace lumeno {

// Double arithmetic that tells the floating-point errors each operation raises from its
// operands and result alone, by IEEE's rules, instead of from the processor's status flags
// (WebAssembly has none, and reading them costs more than the arithmetic): a zero divisor of
// a finite non-zero dividend is a division by zero, a NaN from operands that are not NaN or
// from a signalling NaN is an invalid operation, an infinity from finite operands otherwise
// is an overflow. The errors stay raised until the object goes, as the flags do until they
// are cleared. Inexact results and underflow are not errors and are not told.
class FloatingPointChecks {
public:
    static constexpr int invalidOperation = 1;
    static constexpr int divisionByZero = 2;
    static constexpr int overflow = 4;

    // A single widened exactly. The single's own bits are read: a compiler that assumes there
    // are no signalling NaNs widens a known one at compile time and makes it quiet.
    double widen(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        if ((bits & 0x7FC00000U) == 0x7F800000U && (bits & 0x003FFFFFU) != 0) [[unlikely]]
            raised_ |= invalidOperation;
        return double(value);
    }

    double add(double a, double c) { return checked(a + c, a, c); }
    double multiply(double a, double c) { return checked(a * c, a, c); }

    double divide(double a, double c) {
        const double result = a / c;
        if (!std::isfinite(result)) [[unlikely]]
            raised_ |=
                c == 0.0 && std::isfinite(a) && a != 0.0 ? divisionByZero : errorsOf(result, a, c);
        return result;
    }

    // The errors raised so far, an or of the constants above.
    int raised() const { return raised_; }

private:
    double checked(double result, double a, double c) {
        if (!std::isfinite(result)) [[unlikely]]
            raised_ |= errorsOf(result, a, c);
        return result;
    }

    static bool isSignalling(double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return std::isnan(value) && (bits & 0x0008000000000000U) == 0;
    }

    // An addition, multiplication or division that gave infinity or NaN, not by a division
    // by zero.
    static int errorsOf(double result, double a, double c) {
        if (std::isnan(result))
            return isSignalling(a) || isSignalling(c) || !(std::isnan(a) || std::isnan(c))
                       ? invalidOperation
                       : 0;
        return std::isfinite(a) && std::isfinite(c) ? overflow : 0;
    }

    int raised_ = 0;
};

} // namespace lumeno
