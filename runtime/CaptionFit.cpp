#include "CaptionFit.h"

namespace lumeno {

double fittedPointSize(double windowPointSize, const std::function<bool(double points)>& fits) {
    constexpr double smallest = 6.0;
    constexpr double step = 0.5;
    double size = windowPointSize;
    while (size - step >= smallest && !fits(size))
        size -= step;
    return size;
}

} // namespace lumeno
