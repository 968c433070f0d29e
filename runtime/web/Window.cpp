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
#include <utility>

namespace lumeno::web {

namespace {

std::vector<Window*>& windows() {
    static std::vector<Window*> made;
    return made;
}

} // namespace

Window::Window(const WindowDefinition& definition, Form& form)
    : form_(form), handle_(lumeno_window_create(std::string(definition.caption).c_str())),
      ratio_(lumeno_device_pixel_ratio()) {
    windows().push_back(this);
}

Window::~Window() {
    std::erase(windows(), this);
    lumeno_window_destroy(handle_);
}

ScreenDensity Window::density() const {
    return densityAt(ratio_);
}

void Window::setClientSize(int width, int height) {
    lumeno_control_place(handle_, 0, 0, width, height, ratio_);
}

void Window::placeControl(const ControlDefinition& control, const PixelRect& place) {
    // A picture box's size is its model's (PictureBox): -1 leaves the element's size.
    const bool sized = control.kind != ControlKind::PictureBox;
    lumeno_control_place(handleOf(control), place.left, place.top, sized ? place.width : -1,
                         sized ? place.height : -1, ratio_);
}

void Window::addControl(const ControlDefinition& control) {
    const std::string content(control.content);
    const int index = static_cast<int>(controlsAdded_.size());
    int handle = 0;
    switch (control.kind) {
    case ControlKind::PictureBox: {
        const auto& added = pictureBoxes_.emplace_back(std::make_unique<PictureBoxControl>(
            handle_, control, programPicture(control.content), ratio_));
        controls_.add(control.name, added->model());
        handle = added->handle();
        break;
    }
    case ControlKind::CommandButton: {
        handle = lumeno_button_create(handle_, content.c_str(), index);
        controls_.add(
            control.name,
            buttons_.emplace_back(std::make_unique<CommandButtonControl>(handle_, handle))
                ->model());
        break;
    }
    case ControlKind::Label: {
        handle = lumeno_label_create(handle_, content.c_str());
        controls_.add(
            control.name,
            labels_.emplace_back(std::make_unique<LabelControl>(handle_, handle))->model());
        break;
    }
    case ControlKind::TextBox: {
        handle = lumeno_field_create(handle_);
        controls_.add(control.name,
                      textBoxes_.emplace_back(std::make_unique<TextBoxControl>(handle))->model());
        break;
    }
    }
    controlsAdded_.emplace_back(Control{&control, handle});
}

int Window::handleOf(const ControlDefinition& control) const {
    const auto found =
        std::find_if(controlsAdded_.begin(), controlsAdded_.end(),
                     [&control](const Control& added) { return added.definition == &control; });
    return found != controlsAdded_.end() ? found->handle : 0;
}

void Window::labelNames(const ControlDefinition& label, const ControlDefinition& control) {
    lumeno_label_names(handleOf(label), handleOf(control));
}

void Window::controlsAdded(const ControlDefinition* firstFocus) {
    // The page's tab order is the order of its elements, the order the controls came in.
    if (firstFocus != nullptr)
        firstFocus_ = handleOf(*firstFocus);
}

void Window::show() {
    shown_ = true;
    lumeno_window_show(handle_, true);
    // A hidden element cannot take the focus: the first control takes it once shown.
    if (const int first = std::exchange(firstFocus_, 0); first != 0)
        lumeno_control_focus(first);
}

void Window::hide() {
    shown_ = false;
    lumeno_window_show(handle_, false);
}

void Window::setMousePointer(MousePointer pointer) {
    // The busy pointer covers the whole window, the field's I-beam included.
    lumeno_window_set_pointer(handle_, pointer == MousePointer::Busy);
}

void Window::setBusy(bool busy) {
    lumeno_window_set_busy(handle_, busy);
}

void Window::announce(std::string_view text) {
    lumeno_window_announce(handle_, std::string(text).c_str());
}

bool Window::takeDensityChange() {
    const double ratio = lumeno_device_pixel_ratio();
    if (ratio == ratio_)
        return false;
    ratio_ = ratio;
    for (const std::unique_ptr<PictureBoxControl>& box : pictureBoxes_)
        box->setDevicePixelRatio(ratio);
    return true;
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
        input.control < static_cast<int>(window.controlsAdded_.size()))
        window.form_.click(window.controlsAdded_[input.control].definition->name);
}

} // namespace lumeno::web

namespace lumeno::platform {

std::unique_ptr<FormWindow> createWindow(const WindowDefinition& definition, Form& form) {
    return std::make_unique<web::Window>(definition, form);
}

} // namespace lumeno::platform
