#include "Form.h"

#include "CommandButtonWidget.h"
#include "ErrorReport.h"
#include "FormWindow.h"
#include "PictureBoxWidget.h"
#include "Runtime.h"
#include "TextBoxWidget.h"

#include <QCoreApplication>
#include <algorithm>
#include <string>

namespace lumeno {

namespace {

template <class Widget>
Widget& controlOfKind(FormWindow& window, std::string_view name, const char* kind) {
    auto* widget = dynamic_cast<Widget*>(window.control(name));
    if (widget == nullptr)
        throw RuntimeError(ErrorKind::ControlCallFailed, "The window has no " + std::string(kind) +
                                                             " named " + std::string(name) + ".");
    return *widget;
}

} // namespace

Form::Form(const WindowDefinition& definition, std::span<const EventBinding> bindings)
    : definition_(definition), bindings_(bindings) {}

Form::~Form() = default;

FormWindow& Form::window() {
    if (!window_) {
        window_ = std::make_unique<FormWindow>(definition_, *this);
        ++loadCount_;
    }
    return *window_;
}

CommandButton& Form::commandButton(std::string_view name) {
    return controlOfKind<CommandButtonWidget>(window(), name, "command button");
}

TextBox& Form::textBox(std::string_view name) {
    return controlOfKind<TextBoxWidget>(window(), name, "text box");
}

PictureBox& Form::pictureBox(std::string_view name) {
    return controlOfKind<PictureBoxWidget>(window(), name, "picture box");
}

void Form::show() {
    window().show();
}

void Form::unload() {
    if (!window_)
        return;
    window_->hide();
    discarded_.push_back(std::move(window_));
    if (handlersRunning_ == 0)
        destroyDiscardedWindows();
}

void Form::destroyDiscardedWindows() {
    // Deferred once more: the click that ended the last handler is still being
    // delivered to a widget of the discarded window.
    for (std::unique_ptr<FormWindow>& discarded : discarded_)
        discarded.release()->deleteLater();
    discarded_.clear();
}

void Form::setMousePointer(MousePointer pointer) {
    if (pointer == MousePointer::Busy)
        window().setCursor(Qt::WaitCursor);
    else
        window().unsetCursor();
}

void Form::click(std::string_view control) {
    const auto binding = std::ranges::find(bindings_, control, &EventBinding::control);
    if (binding == bindings_.end())
        return;
    ++handlersRunning_;
    try {
        binding->click(*this);
    } catch (const RuntimeError& error) {
        reportError(error);
        // A failed control call means the program itself is broken: it ends.
        if (error.kind() == ErrorKind::ControlCallFailed)
            endProgram(1);
    }
    if (--handlersRunning_ == 0)
        destroyDiscardedWindows();
    PictureBoxWidget::repaintDrawnAreas();
}

void Form::closedByUser() {
    unload();
    QCoreApplication::exit(0);
}

} // namespace lumeno
