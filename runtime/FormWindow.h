#pragma once

#include "MousePointer.h"
#include "ScreenDensity.h"

#include <string_view>

namespace lumeno {

class ControlTable;
struct ControlDefinition;
struct PixelRect;

// The on-screen window of a window definition, as a platform builds it: hidden and in its
// initial state until shown. Its Form adds the controls (TabOrder.h) and lays the window out by
// twips at the window's density: the size of its client area and each control's place, when
// it is made and again after a change of density.
//
// Every platform gives it a frame of fixed size: the window has no layout logic, nothing
// would move with the frame, so a larger window would only show empty space and a smaller
// one would cut off controls.
class FormWindow {
public:
    virtual ~FormWindow() = default;

    // The density the window is laid out at: of the screen it is on, or the one from which its
    // toolkit scales everything it draws.
    virtual ScreenDensity density() const = 0;
    // Gives the window a client area of that many pixels.
    virtual void setClientSize(int width, int height) = 0;
    // Adds the view of a control, with its model in the control table, at the window's
    // density; its Form then places it. The controls come in tab order: the order in which the
    // window moves the focus is the order in which they are added.
    virtual void addControl(const ControlDefinition& control) = 0;
    // Puts a control's view at its place in the client area: when it is added, and again after
    // a change of density. A picture box takes only the place's corner: its size is its
    // model's (PictureBox), which the program may change.
    virtual void placeControl(const ControlDefinition& control, const PixelRect& place) = 0;
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
    // Takes the density of the screen the window is on now, after it told its Form of a
    // change (Form::densityChanged), with what the window itself has at a density (its frame,
    // font and icons); false when that density is the one it is laid out at. Its Form then
    // lays it out again. A window that keeps one density, its toolkit scaling what it draws to
    // the screen, never tells of a change.
    virtual bool takeDensityChange() { return false; }
};

} // namespace lumeno
