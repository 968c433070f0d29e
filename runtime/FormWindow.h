#pragma once

#include "MousePointer.h"

#include <string_view>

namespace lumeno {

class ControlTable;

// The on-screen window of a window definition, as a platform builds it: hidden and in its
// initial state until shown.
class FormWindow {
public:
    virtual ~FormWindow() = default;

    // Shows the window, modeless, with no owner.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void setMousePointer(MousePointer pointer) = 0;
    virtual const ControlTable& controls() const = 0;
    // Says the text to assistive technology at once, wherever the focus is.
    virtual void announce(std::string_view text) = 0;
    // Every handler has returned to the event loop: what the window put off while one ran
    // is done now.
    virtual void handlersReturned() {}
};

} // namespace lumeno
