#pragma once

#include "ControlTable.h"
#include "FormWindow.h"
#include "WindowDefinition.h"

#include <memory>
#include <string_view>
#include <vector>

struct PageInput;

namespace lumeno::web {

class CommandButtonControl;
class LabelControl;
class PictureBoxControl;
class TextBoxControl;

// The on-screen window of a window definition, as a <section> of the page of fixed size,
// named by its caption, which is also the page's title. It and its controls, DOM elements, are
// laid out by twips at the screen's density, 96 dpi for each device pixel a CSS pixel has: 15
// twips a CSS pixel, and at a ratio of 2 the layout of 192 dpi on the desktop. A picture box
// has as many device pixels as a desktop's at that density.
class Window final : public FormWindow {
public:
    Window(const WindowDefinition& definition, Form& form);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    ScreenDensity density() const override;
    void setClientSize(int width, int height) override;
    void addControl(const ControlDefinition& control) override;
    void placeControl(const ControlDefinition& control, const PixelRect& place) override;
    void labelNames(const ControlDefinition& label, const ControlDefinition& control) override;
    void controlsAdded(const ControlDefinition* firstFocus) override;
    void show() override;
    void hide() override;
    void setMousePointer(MousePointer pointer) override;
    void setBusy(bool busy) override;
    const ControlTable& controls() const override { return controls_; }
    void announce(std::string_view text) override;
    bool takeDensityChange() override;

    // Hands what the user did to the window it was done in, while that is shown.
    static void dispatch(const PageInput& input);

private:
    struct Control {
        const ControlDefinition* definition;
        int handle;
    };

    int handleOf(const ControlDefinition& control) const;

    Form& form_;
    int handle_;
    bool shown_ = false;
    double ratio_;
    ControlTable controls_;
    std::vector<Control> controlsAdded_; // in the order added: a click names its index
    std::vector<std::unique_ptr<PictureBoxControl>> pictureBoxes_;
    std::vector<std::unique_ptr<CommandButtonControl>> buttons_;
    std::vector<std::unique_ptr<TextBoxControl>> textBoxes_;
    std::vector<std::unique_ptr<LabelControl>> labels_;
    int firstFocus_ = 0; // the control to take the focus when the window is first shown
};

} // namespace lumeno::web
