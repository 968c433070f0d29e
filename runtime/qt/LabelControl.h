#pragma once

#include "Label.h"
#include "LabelView.h"

#include <QLabel>

namespace lumeno::qt {

// A label as a word-wrapped QLabel. Its model is a Label, which fits the caption's font.
class LabelControl : public QLabel, public LabelView {
public:
    LabelControl(const QString& caption, QWidget* parent);

    Label& model() { return model_; }

    double windowPointSize() const override { return parentWidget()->font().pointSizeF(); }
    bool captionFits(double points) const override;
    void setPointSize(double points) override;

private:
    Label model_{*this};
};

} // namespace lumeno::qt
