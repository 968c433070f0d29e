#pragma once

#include "PictureBox.h"
#include "PictureBoxView.h"
#include "WindowDefinition.h"

namespace lumeno::web {

// The density of a device pixel ratio: 96 dpi for each device pixel a CSS pixel has.
ScreenDensity densityAt(double devicePixelRatio);

// A picture box as an opaque <canvas> of device pixels, its 2-pixel border drawn by the page.
// What it shows and every operation on it come from its PictureBox. Assistive technology sees
// an image named by the control's accessible name and described by the box.
class PictureBoxControl final : public PictureBoxView {
public:
    PictureBoxControl(int window, const ControlDefinition& control, const PixelImage& picture,
                      double devicePixelRatio);
    ~PictureBoxControl();
    PictureBoxControl(const PictureBoxControl&) = delete;
    PictureBoxControl& operator=(const PictureBoxControl&) = delete;

    PictureBox& model() { return box_; }
    int handle() const { return canvas_; }

    void resizeBox(int width, int height) override;
    void repaintRows(int top, int bottom) override;
    void pictureReplaced() override;

    // The screen's density changed: the canvas takes the new ratio's device pixels when the
    // model next sizes the box (PictureBox::setDensity).
    void setDevicePixelRatio(double ratio) { ratio_ = ratio; }

    // Paints, in every box, the rows drawn since the box last painted them; the page shows
    // them in its next frame.
    static void paintDrawnRows();

private:
    void paintRows();
    void describe();

    int canvas_;
    double ratio_;
    PictureBox box_;
    // Rows drawn since they were last painted: drawnTop_ to drawnBottom_ - 1.
    int drawnTop_ = 0;
    int drawnBottom_ = 0;
};

} // namespace lumeno::web
