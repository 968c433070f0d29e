#pragma once

namespace lumeno {

// How a platform shows a picture box: a PictureBox tells its view what changed.
class PictureBoxView {
public:
    // The box's outer size is now width x height pixels, border included.
    virtual void resizeBox(int width, int height) = 0;
    // Rows top to bottom - 1 of the client area show something new.
    virtual void repaintRows(int top, int bottom) = 0;
    // The box's picture was replaced by what was drawn into it, which it already shows:
    // nothing to paint, but assistive technology is to be told that the picture changed.
    virtual void pictureReplaced() = 0;

protected:
    ~PictureBoxView() = default;
};

} // namespace lumeno
