#include "Runtime.h"

#include "Conversions.h"
#include "Form.h"
#include "Platform.h"
#include "RuntimeError.h"
#include "TextBox.h"

#include <cstdio>
#include <cstdlib>

namespace lumeno {

int start(const ProgramHeader& header) {
    platform::startApplication(header.applicationName, header.applicationVersion);
    int status = 0;
    {
        Form form(header.startupWindow, header.bindings);
        form.showAtStart();
        status = platform::runEventLoop();
    }
    platform::endApplication(status);
    return status;
}

void pumpEvents() {
    platform::pumpEvents();
}

float textToSingle(std::string_view text) {
    return textToSingle(text, platform::decimalSeparator());
}

float textToSingle(const TextBox& box) {
    try {
        return textToSingle(box.text());
    } catch (RuntimeError& error) {
        if (error.kind() == ErrorKind::TypeMismatch)
            error.setTextToCorrect(&box);
        throw;
    }
}

void endProgram(int status) {
    std::fflush(nullptr);
    // No destructors and no further event handling: the windows go with the process.
    std::_Exit(status);
}

} // namespace lumeno
