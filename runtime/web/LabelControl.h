#pragma once

#include "Label.h"
#include "LabelView.h"

namespace lumeno::web {

// A label as a <label>, its caption wrapped in its box. Its model is a Label, which fits the
// caption's font.
class LabelControl final : public LabelView {
public:
    LabelControl(int window, int label) : window_(window), label_(label) {}
    LabelControl(const LabelControl&) = delete;
    LabelControl& operator=(const LabelControl&) = delete;

    Label& model() { return model_; }

    double windowPointSize() const override;
    bool captionFits(double points) const override;
    void setPointSize(double points) override;

private:
    int window_;
    int label_;
    Label model_{*this};
};

} // namespace lumeno::web
