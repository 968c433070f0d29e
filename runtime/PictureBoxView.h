#pragma once

namespace lumeno {

// How a platform shows a picture box: a PictureBoxModel tells its view what changed.
class PictureBoxView {
public:
    // The box's outer size is now width x height pixels, border included.
    virtual void resizeBox(int width, int height) = 0;
    // Rows top to bottom - 1 of the client area show something new.
    virtual void repaintRows(int top, int bottom) = 0;

protected:
    ~PictureBoxView() = default;
};

} // namespace lumeno
