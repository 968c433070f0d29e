#pragma once

#include "PictureBox.h"
#include "PictureBoxView.h"

#include <windows.h>

namespace lumeno {

struct ControlDefinition;

// A picture box as a child window with a 2-pixel sunken border. What it shows and every
// operation on it come from its PictureBox; the window paints what the box shows. With the
// focus, its border turns the highlight colour.
class Win32PictureBox final : public PictureBoxView {
public:
    Win32PictureBox(const ControlDefinition& control, PixelImage picture, ScreenDensity density,
                    HWND parent);
    Win32PictureBox(const Win32PictureBox&) = delete;
    Win32PictureBox& operator=(const Win32PictureBox&) = delete;

    PictureBox& pictureBox() { return box_; }
    const PictureBox& pictureBox() const { return box_; }
    // The picture box of a window of this class, or null.
    static const Win32PictureBox* ofWindow(HWND window);
    HWND handle() const { return window_; }

    // The window's density changed: the box moves to its place at the new density and
    // takes its client area there.
    void setDensity(ScreenDensity density);

    void resizeBox(int width, int height) override;
    void repaintRows(int top, int bottom) override;
    void pictureReplaced() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void paint();

    PictureBox box_;
    int left_; // twips, in the parent's client area
    int top_;
    HWND window_ = nullptr; // destroyed with its parent
    // Whether the box has the keyboard focus, from WM_SETFOCUS and WM_KILLFOCUS: a paint after
    // each row of a run need not ask the window system (a round trip to Wine's server).
    bool focused_ = false;
};

} // namespace lumeno
