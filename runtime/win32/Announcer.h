#pragma once

#include <string_view>
#include <windows.h>

namespace lumeno::win32 {

// How a window says something to assistive technology that is not about the control with the
// focus. From Windows 10 version 1709 a UI Automation notification from the window, which
// Narrator and NVDA speak whatever has the focus; before it, and where UI Automation lacks the
// function, a change of a polite live region: a child window of no size holding the text.
// Windows 7 has neither: there the region changes unannounced, unless a screen reader knows
// Windows 8's event.
class Announcer {
public:
    explicit Announcer(HWND window);

    void announce(std::string_view text);

private:
    HWND window_;
    HWND liveRegion_; // destroyed with its parent
};

} // namespace lumeno::win32
