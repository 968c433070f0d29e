#include "Program.h"

#include "Form1.h"
#include "ProcessingRun.h"
#include "WindowCommands.h"

#include <array>

namespace lumeno {

namespace {

constexpr std::array bindings{
    EventBinding{"cmdGo", processingRun},
    EventBinding{"cmdRestart", restart},
    EventBinding{"Quit", quit},
};

} // namespace

const ProgramHeader& programHeader() {
    static const ProgramHeader header{form1Definition(), bindings, "lumeno", LUMENO_VERSION};
    return header;
}

} // namespace lumeno
