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
// screen, and a pixel is read or set with one memory access. Drawing records the
// changed area; the event pump repaints it.
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
    ScaleMode scaleMode() const override { return scaleMode_; }
    void setScaleMode(ScaleMode mode) override { scaleMode_ = mode; }
    float innerWidth() const override;
    float innerHeight() const override;
    bool persistentDrawing() const override { return persistent_; }
    void setPersistentDrawing(bool on) override;
    std::int32_t readPixel(float x, float y) const override;
    void setPixel(float x, float y, std::int32_t colourValue) override;
    void persistentImageToPicture() override;
    void discardDrawing() override;

    // Requests the repaint of everything drawn since the last call, for every box.
    static void repaintDrawnAreas();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Pixel {
        int column;
        int row;
    };

    Pixel pixelAt(float x, float y) const; // throws outside the client area
    void resizeOuter(int widthTwips, int heightTwips);
    void requestRepaint();

    ScreenDensity density_;
    BoxPicture picture_;
    PersistentImage image_; // valid while persistent_
    int outerWidth_ = 0;    // twips
    int outerHeight_ = 0;
    int clientWidth_ = 0; // pixels
    int clientHeight_ = 0;
    ScaleMode scaleMode_ = ScaleMode::Twips;
    bool persistent_ = false;

    // Client-area pixels drawn since the last repaint request: columns and rows
    // [drawnLeft_, drawnRight_) x [drawnTop_, drawnBottom_), empty when left >= right.
    int drawnLeft_ = 0;
    int drawnTop_ = 0;
    int drawnRight_ = 0;
    int drawnBottom_ = 0;
};

} // namespace lumeno
