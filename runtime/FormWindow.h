#pragma once

#include "MousePointer.h"

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
    // Lays the window out at the density of the screen it is on now, after it told its Form
    // of a change (Form::densityChanged). A window that keeps one density, its toolkit
    // scaling what it draws to the screen, has nothing to do.
    virtual void applyDensityChange() {}
};

} // namespace lumeno
