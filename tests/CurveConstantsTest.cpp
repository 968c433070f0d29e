// mapColour with arguments the compiler knows. This executable compiles the curve itself
// with link-time optimisation and calls it from one place only (keep it so), so the compiler
// inlines the mapping into the loop below and sees its colour and b as constants. The
// floating-point checks it then works out at compile time must still find the error they find
// for arguments known only at run time.
#include "BrightnessCurve.h"
#include "RuntimeError.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

// A signalling NaN b raises invalid when it is widened to double, in red's stage 2. GCC
// assumes there are no signalling NaNs: given b as a constant, it widens it at compile time
// to a quiet NaN, which a check of the widened value would take for a quiet b.
TEST(CurveConstants, SignallingNanRaisesInvalidInEveryMapping) {
    int raised = 0;
    for (int i = 0; i < 1000; ++i) {
        try {
            lumeno::mapColour(0xFFFFFF, std::numeric_limits<float>::signaling_NaN());
        } catch (const lumeno::RuntimeError& error) {
            raised += error.kind() == lumeno::ErrorKind::FloatingPoint &&
                      error.cause().find("no defined value for b = nan and red 255.") !=
                          std::string::npos;
        }
    }
    EXPECT_EQ(raised, 1000);
}

} // namespace
