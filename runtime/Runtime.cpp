#include "Runtime.h"

#include <cstdio>
#include <cstdlib>

namespace lumeno {

void endProgram(int status) {
    std::fflush(nullptr);
    // No destructors and no further event handling: the windows go with the process.
    std::_Exit(status);
}

} // namespace lumeno
