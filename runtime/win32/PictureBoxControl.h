#pragma once

#include "PictureBox.h"
#include "PictureBoxView.h"
#include "WindowDefinition.h"

#include <windows.h>

namespace lumeno::win32 {

// A picture box as a child window with a 2-pixel sunken border. What it shows and every
// operation on it come from its PictureBox; the window paints what the box shows. With the
// focus, its border turns the highlight colour.
class PictureBoxControl final : public PictureBoxView {
public:
    // Made at its size at the density, unplaced: its window places it.
    PictureBoxControl(const ControlDefinition& control, PixelImage picture, ScreenDensity density,
                      HWND parent);
    PictureBoxControl(const PictureBoxControl&) = delete;
    PictureBoxControl& operator=(const PictureBoxControl&) = delete;

    PictureBox& model() { return box_; }
    const PictureBox& model() const { return box_; }
    // The picture box of a window of this class, or null.
    static const PictureBoxControl* ofWindow(HWND window);
    HWND handle() const { return window_; }

    void resizeBox(int width, int height) override;
    void repaintRows(int top, int bottom) override;
    void pictureReplaced() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void paint();

    PictureBox box_;
    HWND window_ = nullptr; // destroyed with its parent
    // Whether the box has the keyboard focus, from WM_SETFOCUS and WM_KILLFOCUS: a paint after
    // each row of a run need not ask the window system (a round trip to Wine's server).
    bool focused_ = false;
};

} // namespace lumeno::win32
