#pragma once

namespace lumeno {

// How a platform shows a label: its caption word-wrapped in its box, in a font size the
// Label chooses.
class LabelView {
public:
    // The size of the window's own font, in points.
    virtual double windowPointSize() const = 0;
    // Whether the wrapped caption fits the label's box in a font of that many points.
    virtual bool captionFits(double points) const = 0;
    virtual void setPointSize(double points) = 0;

protected:
    ~LabelView() = default;
};

} // namespace lumeno
