#pragma once

#include "MousePointer.h"
#include "WindowDefinition.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumeno {

class CommandButton;
class FormWindow;
class PictureBox;
class TextBox;

// The window object: one for the whole program. It outlives its on-screen window:
// unload discards the window and all control state, and the next use of the window
// or a control re-creates it from the definition in its initial state.
class Form {
public:
    Form(const WindowDefinition& definition, std::span<const EventBinding> bindings);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Controls by name; each loads the window if it is not loaded. A name that is not
    // a control of that kind is the failed-control-call error.
    CommandButton& commandButton(std::string_view name);
    TextBox& textBox(std::string_view name);
    PictureBox& pictureBox(std::string_view name);

    // Shows the window, modeless, with no owner.
    void show();
    // Shows the window at start-up. A failure to load it is reported and ends the program:
    // there is no window to go on with.
    void showAtStart();
    // Discards the on-screen window and all control state. Safe inside a handler of
    // one of its own controls, also one running inside another handler's event pump:
    // the window disappears at once, its controls are destroyed once every handler
    // has returned to the event loop.
    void unload();
    // The window shows the pointer; it is busy, for assistive technology, while the pointer is
    // the busy one.
    void setMousePointer(MousePointer pointer);

    bool isLoaded() const { return window_ != nullptr; }
    // Whether a handler is running, perhaps pumping events.
    bool handlerRunning() const { return handlersRunning_ > 0; }
    // Counts the loads; a handler that pumps events compares it before and after
    // to notice that its window was discarded meanwhile.
    std::uint64_t loadCount() const { return loadCount_; }

    // Runs the handler bound to a control's click. When it returns to the window it started
    // in, a result it drew there is announced (ResultAnnouncement.h). An error that reaches
    // its end is reported; a failed control call, or any failure of the run-time itself, then
    // ends the program.
    void click(std::string_view control);
    // The user closed the window through its frame: the program ends.
    void closedByUser();
    // The screen of a window of this form changed its density. The window lays itself out
    // again at once, but not while a handler runs: a processing run finishes at the density it
    // began with, so that its result is exact and whole, and the new layout follows as soon as
    // every handler has returned.
    void densityChanged(FormWindow& window);

private:
    FormWindow& window();
    // Gives the window its client size and every control its place at the window's density.
    void layOut(FormWindow& window) const;
    // Lays the window out again when it takes a new density.
    void applyDensityChange(FormWindow& window) const;
    void handlerReturned();
    void focusTextToCorrect(const TextBox* text);

    const WindowDefinition& definition_;
    std::span<const EventBinding> bindings_;
    std::unique_ptr<FormWindow> window_;
    std::vector<std::unique_ptr<FormWindow>> discarded_; // hidden, awaiting destruction
    int handlersRunning_ = 0;
    bool densityChangeWaits_ = false;
    std::uint64_t loadCount_ = 0;
};

} // namespace lumeno
