#pragma once

#include "ControlTable.h"
#include "FormWindow.h"
#include "OwnedHandle.h"
#include "PixelImage.h"
#include "ScreenDensity.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace lumeno {

class Form;
class Win32CommandButton;
class Win32Label;
class Win32PictureBox;
class Win32TextBox;
struct ControlDefinition;
struct WindowDefinition;

// The on-screen window of a window definition, as a top-level window with a fixed frame. The
// client area and every control are laid out by twips at the window's own density.
class Win32FormWindow final : public FormWindow {
public:
    Win32FormWindow(const WindowDefinition& definition, Form& form);
    ~Win32FormWindow() override;
    Win32FormWindow(const Win32FormWindow&) = delete;
    Win32FormWindow& operator=(const Win32FormWindow&) = delete;

    void show() override;
    void hide() override;
    void setMousePointer(MousePointer pointer) override;
    const ControlTable& controls() const override { return controls_; }

    // The control that has the window's focus, also while another window is active; null
    // when none has it.
    HWND focusedControl() const;
    // Gives the window's focus to a control, or with null to none: the window itself then
    // takes the keys, and Tab goes to the first control. While the window is inactive, the
    // control gets the focus when the window is activated.
    void focusControl(HWND control);

    // The window object of a window of this class, or null.
    static const Win32FormWindow* ofWindow(HWND window);
    // Whether the window shows the busy pointer.
    bool isBusy() const { return pointer_ == MousePointer::Busy; }

    // Whether a top-level window is one of these: the event loop hands their keyboard
    // messages to the dialog manager, which moves the focus with Tab and the arrow keys.
    static bool isFormWindow(HWND window);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    // Messages also come while the window is being created and destroyed, when window_ is
    // not set: handlers use the window they are given.
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void setClientSize(int width, int height);
    void addControl(const ControlDefinition& control, const ScreenDensity& density,
                    const LOGFONTW& font, int id);
    HWND addSystemControl(const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                          const ControlDefinition& control, const RECT& box, int id);
    void buttonClicked(HWND button);
    const PixelImage& picture(std::string_view name);

    Form& form_;
    UINT dpi_ = 96;
    OwnedFont font_;
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
    ControlTable controls_;
    std::map<std::string, PixelImage, std::less<>> pictures_; // decoded pictures, by name
    std::vector<std::unique_ptr<Win32PictureBox>> pictureBoxes_;
    std::vector<std::unique_ptr<Win32CommandButton>> buttons_;
    std::vector<std::unique_ptr<Win32TextBox>> textBoxes_;
    std::vector<std::unique_ptr<Win32Label>> labels_;
    MousePointer pointer_ = MousePointer::Default;
    // The control to give the focus to when the window is activated; null for the first one.
    HWND focus_ = nullptr;
    // Destroyed first, with its controls, while everything they use still exists.
    OwnedWindow window_;
};

} // namespace lumeno
