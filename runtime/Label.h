#pragma once

namespace lumeno {

class LabelView;

// A label of a loaded window: a caption that takes no focus and offers no operations.
// Labels are narrow, so the caption, word-wrapped, takes the largest font size in which it
// fits the label's box: from the window's own size down in half points, to 6 points at the
// least. The same on every platform; the platform measures the text (LabelView).
class Label {
public:
    explicit Label(LabelView& view) : view_(view) {}
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    // Fits the caption to the label's box as it is now: when the label is made, and again
    // after a change of the screen's density.
    void fitCaption();

private:
    LabelView& view_;
};

} // namespace lumeno
