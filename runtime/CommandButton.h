#pragma once

namespace lumeno {

class CommandButtonView;

// A command button of a loaded window. A disabled button is greyed and ignores clicks.
//
// It keeps the focus while it is disabled. A disabled control cannot hold the focus, and a
// window system passes it on to the next control in tab order, where it stays: a button that
// disables itself while it works, pressed with Space, would leave the focus elsewhere.
// Instead no control has the focus while the button is disabled, and the button takes it
// back when enabled again, unless the user gave it to a control meanwhile. The same on
// every platform; a platform shows the button through a CommandButtonView.
class CommandButton {
public:
    explicit CommandButton(CommandButtonView& view) : view_(view) {}
    CommandButton(const CommandButton&) = delete;
    CommandButton& operator=(const CommandButton&) = delete;

    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

private:
    CommandButtonView& view_;
    bool enabled_ = true;
    bool takesFocusBack_ = false;
};

} // namespace lumeno
