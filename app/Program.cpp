#include "Program.h"

#include "Form1.h"
#include "ProcessingRun.h"

#include <array>

namespace lumeno {

namespace {

constexpr std::array bindings{
    EventBinding{"cmdGo", processingRun},
};

} // namespace

const ProgramHeader& programHeader() {
    static const ProgramHeader header{form1Definition(), bindings, "lumeno", LUMENO_VERSION};
    return header;
}

} // namespace lumeno
