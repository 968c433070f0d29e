#include "FormAccessible.h"

#include "Win32FormWindow.h"

namespace lumeno {

HRESULT FormAccessible::get_accState(VARIANT child, VARIANT* state) {
    const HRESULT result = StandardAccessible::get_accState(child, state);
    if (SUCCEEDED(result) && isSelf(child) && state->vt == VT_I4) {
        const Win32FormWindow* form = Win32FormWindow::ofWindow(window());
        if (form != nullptr && form->isBusy())
            state->lVal |= STATE_SYSTEM_BUSY;
    }
    return result;
}

} // namespace lumeno
