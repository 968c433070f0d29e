#include "Form.h"

#include "ControlTable.h"
#include "ErrorReport.h"
#include "FormWindow.h"
#include "Label.h"
#include "PictureBox.h"
#include "PixelRect.h"
#include "Platform.h"
#include "ResultAnnouncement.h"
#include "Runtime.h"
#include "RuntimeError.h"
#include "TabOrder.h"
#include "TextBox.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace lumeno {

namespace {

template <class Control> Control& found(Control* control, std::string_view name, const char* kind) {
    if (control == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed, "The window has no " + std::string(kind) +
                                                             " named " + std::string(name) + ".");
    return *control;
}

} // namespace

Form::Form(const WindowDefinition& definition, std::span<const EventBinding> bindings)
    : definition_(definition), bindings_(bindings) {}

Form::~Form() = default;

void Form::layOut(FormWindow& window) const {
    const ScreenDensity density = window.density();
    window.setClientSize(density.pixels(definition_.clientWidth),
                         density.pixels(definition_.clientHeight));
    for (const ControlDefinition& control : definition_.controls) {
        window.placeControl(control, placeAt(control, density));
        if (Label* label = window.controls().label(control.name))
            label->fitCaption(); // in its box at this density
    }
}

FormWindow& Form::window() {
    if (!window_) {
        std::unique_ptr<FormWindow> made = platform::createWindow(definition_, *this);
        for (const ControlDefinition& control : definition_.controls) {
            made->addControl(control);
            if (const ControlDefinition* label = namingLabel(definition_, control))
                made->labelNames(*label, control);
        }
        layOut(*made);
        made->controlsAdded(firstFocus(definition_));
        window_ = std::move(made);
        ++loadCount_;
    }
    return *window_;
}

CommandButton& Form::commandButton(std::string_view name) {
    return found(window().controls().commandButton(name), name, "command button");
}

TextBox& Form::textBox(std::string_view name) {
    return found(window().controls().textBox(name), name, "text box");
}

PictureBox& Form::pictureBox(std::string_view name) {
    return found(window().controls().pictureBox(name), name, "picture box");
}

void Form::show() {
    window().show();
}

void Form::showAtStart() {
    try {
        show();
    } catch (...) {
        reportFailureAndEnd();
    }
}

void Form::unload() {
    if (!window_)
        return;
    window_->hide();
    discarded_.push_back(std::move(window_));
    if (handlersRunning_ == 0)
        handlerReturned();
}

void Form::handlerReturned() {
    if (handlersRunning_ > 0)
        return;
    for (std::unique_ptr<FormWindow>& discarded : discarded_)
        platform::destroyAfterEvent(std::move(discarded));
    discarded_.clear();
    if (window_ && std::exchange(densityChangeWaits_, false))
        applyDensityChange(*window_);
}

void Form::densityChanged(FormWindow& window) {
    if (handlersRunning_ > 0)
        densityChangeWaits_ = true;
    else
        applyDensityChange(window);
}

void Form::applyDensityChange(FormWindow& window) const {
    if (!window.takeDensityChange())
        return;
    // A picture box keeps its size in twips: its client area takes the new density's pixels.
    for (PictureBox* box : window.controls().pictureBoxes())
        box->setDensity(window.density());
    layOut(window);
}

void Form::setMousePointer(MousePointer pointer) {
    FormWindow& shown = window();
    shown.setMousePointer(pointer);
    shown.setBusy(pointer == MousePointer::Busy);
}

void Form::click(std::string_view control) {
    const auto binding =
        std::find_if(bindings_.begin(), bindings_.end(),
                     [control](const EventBinding& b) { return b.control == control; });
    if (binding == bindings_.end())
        return;
    ++handlersRunning_;
    const std::uint64_t load = loadCount_;
    std::optional<ResultAnnouncement> results;
    if (window_)
        results.emplace(*window_);
    std::optional<RuntimeError> failure;
    try {
        binding->click(*this);
    } catch (...) {
        failure = currentFailure();
    }
    if (results && isLoaded() && loadCount_ == load)
        results->announce(*window_);
    if (failure) {
        focusTextToCorrect(failure->textToCorrect());
        reportError(*failure);
        // A user's error leaves the window usable; any other failure means the program
        // itself is broken, and it ends.
        if (failure->kind() == ErrorKind::ControlCallFailed)
            endProgram(1);
    }
    --handlersRunning_;
    handlerReturned();
}

void Form::focusTextToCorrect(const TextBox* text) {
    // The text box whose text was not a number takes the focus before the report, which gives
    // the focus back to it when dismissed; the user types the correction at once. It is found
    // among the window's text boxes: the window may have been re-created meanwhile.
    if (!isLoaded() || text == nullptr)
        return;
    if (TextBox* box = window_->controls().textBox(text))
        box->focusWithTextSelected();
}

void Form::closedByUser() {
    unload();
    platform::exitEventLoop(0);
}

} // namespace lumeno
