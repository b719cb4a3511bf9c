// Rounding rules of the chart engine: nearest integer with ties to even for pixel
// positions and label sizes, kept inside a range that int arithmetic can take.
#pragma once

#include <cmath>

namespace chart {

// Pixel positions never go beyond this, however far outside the axis a value lies; far
// beyond anything a canvas draws, and small enough that adding two never overflows.
constexpr int kPixelLimit = 1 << 30;

// Nearest integer, ties to even. std::nearbyint follows the current rounding mode, which
// this program never changes from round-to-nearest-even.
inline double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

// RoundHalfEven as an int, clamped to +-kPixelLimit; NaN gives 0.
inline int RoundToInt(double value) {
    if (std::isnan(value)) return 0;
    const double r = RoundHalfEven(value);
    if (r >= kPixelLimit) return kPixelLimit;
    if (r <= -kPixelLimit) return -kPixelLimit;
    return static_cast<int>(r);
}

}  // namespace chart
