#include "chart/LabelStep.h"

#include <cmath>

namespace chart {

double NextLabelStep(double step) {
    if (std::isinf(step) || !(step > 0)) return 1;
    // Scale into [1, 10) by tens, choose there and scale back one factor at a time: the
    // same floating-point products as "10 x Next(x x 0.1)" and "0.1 x Next(x x 10)"
    // applied level by level, without deep recursion for tiny or huge steps.
    int up = 0;
    int down = 0;
    while (step >= 10) {
        step *= 0.1;
        ++up;
    }
    while (step < 1) {
        step *= 10;
        ++down;
    }
    double result = step < 2 ? 2 : step < 5 ? 5 : 10;
    for (; up > 0; --up)
        result *= 10;
    for (; down > 0; --down)
        result *= 0.1;
    return result;
}

}  // namespace chart
