#pragma once

#include "MousePointer.h"

#include <string_view>

namespace lumeno {

class ControlTable;
struct ControlDefinition;

// The on-screen window of a window definition, as a platform builds it: hidden and in its
// initial state until shown. Its Form adds the controls (TabOrder.h).
//
// Every platform gives it a frame of fixed size: the window has no layout logic, nothing
// would move with the frame, so a larger window would only show empty space and a smaller
// one would cut off controls.
class FormWindow {
public:
    virtual ~FormWindow() = default;

    // Adds the view of a control, with its model in the control table, placed by its twips at
    // the window's density. The controls come in tab order: the order in which the window
    // moves the focus is the order in which they are added.
    virtual void addControl(const ControlDefinition& control) = 0;
    // A label, added before, names a control just added (TabOrder.h).
    virtual void labelNames(const ControlDefinition& label, const ControlDefinition& control) = 0;
    // Every control is added; `firstFocus`, when not null, has the focus when the window is
    // first shown.
    virtual void controlsAdded(const ControlDefinition* firstFocus) = 0;
    // Shows the window, modeless, with no owner.
    virtual void show() = 0;
    virtual void hide() = 0;
    // The pointer over the whole client area, every control included: the busy pointer covers
    // a text box's own pointer too.
    virtual void setMousePointer(MousePointer pointer) = 0;
    // Whether the window is busy, for assistive technology: its Form says so (Form.h).
    virtual void setBusy(bool busy) = 0;
    virtual const ControlTable& controls() const = 0;
    // Says the text to assistive technology at once, wherever the focus is.
    virtual void announce(std::string_view text) = 0;
    // Lays the window out at the density of the screen it is on now, after it told its Form
    // of a change (Form::densityChanged). A window that keeps one density, its toolkit
    // scaling what it draws to the screen, has nothing to do.
    virtual void applyDensityChange() {}
};

} // namespace lumeno
