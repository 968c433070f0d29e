#include "Runtime.h"

#include "Conversions.h"
#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace lumeno {

float textToSingle(std::string_view text) {
    return textToSingle(text, platform::decimalSeparator());
}

void endProgram(int status) {
    std::fflush(nullptr);
    // No destructors and no further event handling: the windows go with the process.
    std::_Exit(status);
}

} // namespace lumeno
