#include "CommandButton.h"

#include "CommandButtonView.h"

#include <utility>

namespace lumeno {

void CommandButton::setEnabled(bool enabled) {
    if (!enabled && view_.isFocused()) {
        view_.clearWindowFocus();
        takesFocusBack_ = true;
    }
    view_.enable(enabled);
    enabled_ = enabled;
    if (enabled && std::exchange(takesFocusBack_, false) && !view_.windowHasFocusedControl())
        view_.takeFocus();
}

} // namespace lumeno
