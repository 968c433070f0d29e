#pragma once

#include <functional>

namespace lumeno {

// Labels are narrow. A label's caption, word-wrapped, takes the largest font size in which
// it fits the label's box: from the window's own size down in half points, to 6 points at
// the least. The platform measures: `fits` says whether the wrapped caption fits the box
// in a font of that many points.
double fittedPointSize(double windowPointSize, const std::function<bool(double points)>& fits);

} // namespace lumeno
