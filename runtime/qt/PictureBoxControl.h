#pragma once

#include "PictureBox.h"
#include "PictureBoxView.h"
#include "WindowDefinition.h"

#include <QFrame>

namespace lumeno::qt {

// A picture box as a Qt widget with a 2-pixel sunken border. What it shows and every
// operation on it come from its PictureBox; the widget paints what the box shows. With the
// focus, its border turns the highlight colour.
class PictureBoxControl : public QFrame, public PictureBoxView {
public:
    PictureBoxControl(const ControlDefinition& control, const PixelImage& picture,
                      ScreenDensity density, QWidget* parent);

    PictureBox& model() { return box_; }

    void resizeBox(int width, int height) override { resize(width, height); }
    void repaintRows(int top, int bottom) override;
    void pictureReplaced() override;

    // Paints at once, in every box, the rows drawn since the box last painted them. The event
    // pump does this first, so that it need not wake itself for a repaint, and the event loop
    // does it before it waits.
    static void paintDrawnRows();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRows();

    PictureBox box_;
    // Rows drawn since they were last painted: drawnTop_ to drawnBottom_ - 1.
    int drawnTop_ = 0;
    int drawnBottom_ = 0;
};

} // namespace lumeno::qt
