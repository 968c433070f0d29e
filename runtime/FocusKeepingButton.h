#pragma once

#include "CommandButton.h"

namespace lumeno {

// A command button that keeps the focus while it is disabled. A disabled control cannot hold
// the focus, and a window system passes it on to the next control in tab order, where it
// stays: a button that disables itself while it works, pressed with Space, would leave the
// focus elsewhere. Instead no control has the focus while the button is disabled, and the
// button takes it back when enabled again, unless the user gave it to a control meanwhile.
// A platform's button provides the primitives.
class FocusKeepingButton : public CommandButton {
public:
    void setEnabled(bool enabled) override;

protected:
    ~FocusKeepingButton() = default;

    // Whether the button has its window's focus, also while another window is active.
    virtual bool isFocused() const = 0;
    // Whether any control of the button's window has the window's focus.
    virtual bool windowHasFocusedControl() const = 0;
    // Leaves the button's window with no control having the focus.
    virtual void clearWindowFocus() = 0;
    virtual void takeFocus() = 0;
    // Greys the button or makes it usable, and nothing else.
    virtual void enableButton(bool enabled) = 0;

private:
    bool takesFocusBack_ = false;
};

} // namespace lumeno
