#include "Label.h"

#include "LabelView.h"

namespace lumeno {

void Label::fitCaption() {
    constexpr double smallest = 6.0;
    constexpr double step = 0.5;
    double size = view_.windowPointSize();
    while (size - step >= smallest && !view_.captionFits(size))
        size -= step;
    view_.setPointSize(size);
}

} // namespace lumeno
