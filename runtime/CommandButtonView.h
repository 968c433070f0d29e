#pragma once

namespace lumeno {

// How a platform shows a command button: the primitives its CommandButton works through.
class CommandButtonView {
public:
    // Greys the button or makes it usable, and nothing else.
    virtual void enable(bool enabled) = 0;
    // Whether the button has its window's focus, also while another window is active.
    virtual bool isFocused() const = 0;
    // Whether any control of the button's window has the window's focus.
    virtual bool windowHasFocusedControl() const = 0;
    // Leaves the button's window with no control having the focus.
    virtual void clearWindowFocus() = 0;
    virtual void takeFocus() = 0;

protected:
    ~CommandButtonView() = default;
};

} // namespace lumeno
