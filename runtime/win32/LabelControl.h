#pragma once

#include "OwnedHandle.h"

#include <string>
#include <string_view>
#include <windows.h>

namespace lumeno::win32 {

// A label: the system's static text, word-wrapped, in the largest font up to the window's own
// in which its caption fits the label's box.
class LabelControl {
public:
    LabelControl(std::string_view caption, const RECT& box, const LOGFONTW& windowFont, UINT dpi,
                 HWND parent);

    // Moves the label to its box and fits its caption again, in the window's font at a
    // density of `dpi`.
    void place(const RECT& box, const LOGFONTW& windowFont, UINT dpi);

private:
    std::wstring caption_;
    HWND window_ = nullptr; // destroyed with its parent
    OwnedFont font_;        // outlives the label: its parent is destroyed first
};

} // namespace lumeno::win32
