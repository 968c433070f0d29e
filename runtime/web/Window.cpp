#include "Window.h"

#include "CommandButtonControl.h"
#include "Form.h"
#include "LabelControl.h"
#include "Page.h"
#include "PictureBoxControl.h"
#include "PixelRect.h"
#include "Platform.h"
#include "ProgramPictures.h"
#include "TextBoxControl.h"

#include <algorithm>
#include <string>

namespace lumeno::web {

namespace {

// One CSS pixel is 15 twips: the page's layout is at 96 dpi, whatever the screen's density.
const ScreenDensity cssPixels(96.0);

std::vector<Window*>& windows() {
    static std::vector<Window*> made;
    return made;
}

} // namespace

Window::Window(const WindowDefinition& definition, Form& form)
    : form_(form), handle_(lumeno_window_create(std::string(definition.caption).c_str(),
                                                cssPixels.pixels(definition.clientWidth),
                                                cssPixels.pixels(definition.clientHeight))),
      ratio_(lumeno_device_pixel_ratio()) {
    windows().push_back(this);
}

Window::~Window() {
    std::erase(windows(), this);
    lumeno_window_destroy(handle_);
}

void Window::addControl(const ControlDefinition& control) {
    const PixelRect box = placeAt(control, cssPixels);
    const std::string content(control.content);
    const int index = static_cast<int>(names_.size());
    int handle = 0;
    LabelControl* label = nullptr;
    switch (control.kind) {
    case ControlKind::PictureBox: {
        const auto& added = pictureBoxes_.emplace_back(std::make_unique<PictureBoxControl>(
            handle_, control, programPicture(control.content), ratio_));
        controls_.add(control.name, added->model());
        handle = added->handle();
        break;
    }
    case ControlKind::CommandButton: {
        handle = lumeno_button_create(handle_, content.c_str(), box.left, box.top, box.width,
                                      box.height, index);
        controls_.add(
            control.name,
            buttons_.emplace_back(std::make_unique<CommandButtonControl>(handle_, handle))
                ->model());
        break;
    }
    case ControlKind::Label: {
        handle =
            lumeno_label_create(handle_, content.c_str(), box.left, box.top, box.width, box.height);
        label = labels_.emplace_back(std::make_unique<LabelControl>(handle_, handle)).get();
        controls_.add(control.name, label->model());
        label->model().fitCaption();
        break;
    }
    case ControlKind::TextBox: {
        handle = lumeno_field_create(handle_, box.left, box.top, box.width, box.height);
        controls_.add(control.name,
                      textBoxes_.emplace_back(std::make_unique<TextBoxControl>(handle))->model());
        break;
    }
    }
    // A label names the control that follows it in tab order.
    if (labelBefore_ != nullptr)
        lumeno_label_names(labelBefore_->handle(), handle);
    labelBefore_ = label;
    names_.push_back(control.name);
    handles_.push_back(handle);
}

void Window::controlsAdded(const ControlDefinition* firstFocus) {
    // The page's tab order is the order of its elements, the order the controls came in.
    if (firstFocus == nullptr)
        return;
    const auto first = std::find(names_.begin(), names_.end(), firstFocus->name);
    if (first != names_.end())
        lumeno_control_focus(handles_[first - names_.begin()]);
}

void Window::show() {
    shown_ = true;
    lumeno_window_show(handle_, true);
}

void Window::hide() {
    shown_ = false;
    lumeno_window_show(handle_, false);
}

void Window::setMousePointer(MousePointer pointer) {
    // The busy pointer covers the whole window, the field's I-beam included.
    busy_ = pointer == MousePointer::Busy;
    lumeno_window_set_busy(handle_, busy_);
}

void Window::announce(std::string_view text) {
    lumeno_window_announce(handle_, std::string(text).c_str());
}

void Window::applyDensityChange() {
    const double ratio = lumeno_device_pixel_ratio();
    if (ratio == ratio_)
        return;
    ratio_ = ratio;
    for (const std::unique_ptr<PictureBoxControl>& box : pictureBoxes_)
        box->setDevicePixelRatio(ratio);
}

void Window::dispatch(const PageInput& input) {
    if (input.kind == pageDensityChange) {
        // Each window hears of it; a copy, as a window may be discarded meanwhile.
        for (Window* window : std::vector<Window*>(windows()))
            if (std::find(windows().begin(), windows().end(), window) != windows().end())
                window->form_.densityChanged(*window);
        return;
    }
    const auto found =
        std::find_if(windows().begin(), windows().end(),
                     [&input](const Window* window) { return window->handle_ == input.window; });
    if (found == windows().end() || !(*found)->shown_)
        return;
    Window& window = **found;
    if (input.kind == pageClick && input.control >= 0 &&
        input.control < static_cast<int>(window.names_.size()))
        window.form_.click(window.names_[input.control]);
}

} // namespace lumeno::web

namespace lumeno::platform {

std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form) {
    return std::make_unique<web::Window>(definition, form);
}

} // namespace lumeno::platform
