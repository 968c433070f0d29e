#include "FormAccessible.h"

#include "Window.h"

namespace lumeno::win32 {

HRESULT FormAccessible::get_accState(VARIANT child, VARIANT* state) {
    const HRESULT result = StandardAccessible::get_accState(child, state);
    if (SUCCEEDED(result) && isSelf(child) && state->vt == VT_I4) {
        const Window* form = Window::ofWindow(window());
        if (form != nullptr && form->isBusy())
            state->lVal |= STATE_SYSTEM_BUSY;
    }
    return result;
}

} // namespace lumeno::win32
