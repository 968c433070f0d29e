#pragma once

#include "Announcer.h"
#include "ControlTable.h"
#include "FormWindow.h"
#include "OwnedHandle.h"
#include "ScreenDensity.h"
#include "WindowDefinition.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <windows.h>

namespace lumeno::win32 {

class CommandButtonControl;
class LabelControl;
class PictureBoxControl;
class TextBoxControl;

// The on-screen window of a window definition, as a top-level window with a fixed frame. The
// client area and every control are laid out by twips at the window's own density, and again
// when the window moves to a screen of another density.
class Window final : public FormWindow {
public:
    Window(const WindowDefinition& definition, Form& form);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    ScreenDensity density() const override { return ScreenDensity(dpi_); }
    // After a change of density, the frame's corner goes where the window system suggested.
    void setClientSize(int width, int height) override;
    void addControl(const ControlDefinition& control) override;
    void placeControl(const ControlDefinition& control, const PixelRect& place) override;
    // Assistive technology names a control that has no name of its own by the static text
    // made before it, which the controls' order of creation already makes the label.
    void labelNames(const ControlDefinition&, const ControlDefinition&) override {}
    void controlsAdded(const ControlDefinition* firstFocus) override;
    void show() override;
    void hide() override;
    void setMousePointer(MousePointer pointer) override;
    void setBusy(bool busy) override;
    const ControlTable& controls() const override { return controls_; }
    void announce(std::string_view text) override;
    bool takeDensityChange() override;

    // The control that has the window's focus, also while another window is active; null
    // when none has it.
    HWND focusedControl() const;
    // Gives the window's focus to a control, or with null to none: the window itself then
    // takes the keys, and Tab goes to the first control. While the window is inactive, the
    // control gets the focus when the window is activated.
    void focusControl(HWND control);

    // The window object of a window of this class, or null.
    static const Window* ofWindow(HWND window);
    // Whether the window is busy (setBusy).
    bool isBusy() const { return busy_; }

    // Whether a top-level window is one of these: the event loop hands their keyboard
    // messages to the dialog manager, which moves the focus with Tab and the arrow keys.
    static bool isFormWindow(HWND window);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    // Messages also come while the window is being created and destroyed, when window_ is
    // not set: handlers use the window they are given.
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Sizes the frame for a client area of width x height pixels; with `corner`, moves the
    // frame's top-left corner there.
    void sizeFrame(int width, int height, std::optional<POINT> corner);
    // The window's font and icons at its density; returns the font's description.
    LOGFONTW makeFontAndIcons();
    // A change of density, as WM_DPICHANGED reports it with its suggested frame.
    void densityChanged(UINT dpi, const RECT& suggested);
    // Makes a control's window and its view, unplaced; returns the window.
    HWND makeControl(const ControlDefinition& control, int id);
    HWND addSystemControl(const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                          const ControlDefinition& control, int id);
    HWND windowOf(const ControlDefinition& control) const;
    void buttonClicked(HWND button);

    // A density change waiting for the handlers to return: the new density, and where the
    // suggested frame's corner lies from the frame's corner at the time.
    struct DensityChange {
        UINT dpi;
        POINT offset;
    };

    const WindowDefinition& definition_;
    Form& form_;
    UINT dpi_ = 96;
    std::optional<DensityChange> pendingDensityChange_;
    std::optional<POINT> frameCorner_; // where the next sizing puts the frame, after a change
    OwnedFont font_;
    OwnedFont previousFont_; // of the density before, until the controls have let go of it
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
    ControlTable controls_;
    std::vector<std::unique_ptr<PictureBoxControl>> pictureBoxes_;
    std::vector<std::unique_ptr<CommandButtonControl>> buttons_;
    std::vector<std::unique_ptr<TextBoxControl>> textBoxes_;
    std::vector<std::pair<const ControlDefinition*, std::unique_ptr<LabelControl>>> labels_;
    MousePointer pointer_ = MousePointer::Default;
    bool busy_ = false;
    // What gets the focus when the window is activated: a control, or the window itself when
    // no control is to have it; null for the first control.
    HWND focus_ = nullptr;
    HWND firstFocus_ = nullptr; // the control that has the focus at start
    LOGFONTW messageFont_{};    // the window's font, as the system describes it at its density
    int nextControlId_;
    std::vector<std::pair<const ControlDefinition*, HWND>> windowsOfControls_;
    std::optional<Announcer> announcer_; // once the window exists
    OwnedWindow window_;                 // destroyed first, with its controls (see the destructor)
};

} // namespace lumeno::win32
