#include "Win32CommandButton.h"

namespace lumeno {

void Win32CommandButton::setEnabled(bool enabled) {
    // A disabled button cannot keep the focus: it goes on to the next control in tab order.
    if (!enabled && GetFocus() == window_)
        SetFocus(GetNextDlgTabItem(GetParent(window_), window_, FALSE));
    EnableWindow(window_, enabled ? TRUE : FALSE);
}

} // namespace lumeno
