#include "FocusKeepingButton.h"

#include <utility>

namespace lumeno {

void FocusKeepingButton::setEnabled(bool enabled) {
    if (!enabled && isFocused()) {
        clearWindowFocus();
        takesFocusBack_ = true;
    }
    enableButton(enabled);
    if (enabled && std::exchange(takesFocusBack_, false) && !windowHasFocusedControl())
        takeFocus();
}

} // namespace lumeno
