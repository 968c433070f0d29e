#pragma once

#include "BoxPicture.h"
#include "PersistentImage.h"
#include "PictureBox.h"
#include "ScreenDensity.h"

#include <QFrame>
#include <QImage>
#include <cstdint>

namespace lumeno {

// A picture box with a 2-pixel sunken border. What it shows comes from its own model
// (persistent image, or picture over background), so reading a pixel never reads the
// screen. Drawing records the rows it changes; the event pump repaints them.
class PictureBoxWidget : public QFrame, public PictureBox {
public:
    PictureBoxWidget(const QImage& picture, ScreenDensity density, QWidget* parent);
    ~PictureBoxWidget() override;

    // Sets position and outer size in twips.
    void place(int left, int top, int width, int height);

    int outerWidth() const override { return outerWidth_; }
    int outerHeight() const override { return outerHeight_; }
    void setOuterWidth(int twips) override;
    void setOuterHeight(int twips) override;
    bool persistentDrawing() const override { return persistent_; }
    void setPersistentDrawing(bool on) override;
    void persistentImageToPicture() override;
    void discardDrawing() override;

    // Requests the repaint of everything drawn since the last call, for every box.
    static void repaintDrawnAreas();

protected:
    void paintEvent(QPaintEvent* event) override;

    void drawingRow(int row) override;
    [[noreturn]] void notDrawing() const override;
    [[noreturn]] void invalidColour(std::int32_t colourValue) const override;
    [[noreturn]] void noPixelAt(float x, float y) const override;

private:
    void resizeOuter(int widthTwips, int heightTwips);
    void describeMemory(); // tells PictureBox where the pixels are now
    void requestRepaint();

    ScreenDensity density_;
    BoxPicture boxPicture_;
    PersistentImage persistentImage_; // valid while persistent_
    int outerWidth_ = 0;              // twips
    int outerHeight_ = 0;
    bool persistent_ = false;
    // Rows drawn since the last repaint request: [drawnTop_, drawnBottom_).
    int drawnTop_ = 0;
    int drawnBottom_ = 0;
};

} // namespace lumeno
