#pragma once

#include "PictureBoxModel.h"
#include "PictureBoxView.h"

#include <QFrame>
#include <QSize>
#include <QString>

namespace lumeno {

struct ControlDefinition;

// A picture box as a Qt widget with a 2-pixel sunken border. What it shows and every
// operation on it come from its PictureBoxModel; the widget paints the model. With the
// focus, its border turns the highlight colour.
class PictureBoxWidget : public QFrame, public PictureBoxView {
public:
    PictureBoxWidget(const ControlDefinition& control, const PixelImage& picture,
                     ScreenDensity density, QWidget* parent);

    PictureBox& pictureBox() { return model_; }

    void resizeBox(int width, int height) override { resize(width, height); }
    void repaintRows(int top, int bottom) override;
    void pictureReplaced() override;

    // What the box shows, in words, for assistive technology.
    QString description() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureBoxModel model_;
    // The size of the picture the box was made with; empty once a drawing replaced it.
    QSize originalPicture_;
};

} // namespace lumeno
