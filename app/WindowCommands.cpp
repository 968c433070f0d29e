#include "WindowCommands.h"

#include "CommandButton.h"
#include "Form.h"
#include "Runtime.h"

namespace lumeno {

void restart(Form& form) {
    // The window object itself always exists: the handler was given it.
    form.unload();
    // The first use of a control after the unload re-creates the window from its
    // definition, where Quit is enabled already.
    form.commandButton("Quit").setEnabled(true);
    form.show();
    pumpEvents(); // the new window paints before the handler returns
}

void quit(Form&) {
    endProgram(0);
}

} // namespace lumeno
