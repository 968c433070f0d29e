#include "LabelControl.h"

#include "Page.h"

namespace lumeno::web {

double LabelControl::windowPointSize() const {
    return lumeno_window_point_size(window_);
}

bool LabelControl::captionFits(double points) const {
    return lumeno_label_fits(label_, points);
}

void LabelControl::setPointSize(double points) {
    lumeno_label_set_point_size(label_, points);
}

} // namespace lumeno::web
