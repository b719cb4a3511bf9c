#include "chart/LineSegments.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace chart {

namespace {

constexpr int kLimitTries = 4;

// Moves (x, y) along the line through (ox, oy) so that x lies within the limit.
void LimitEnd(double& x, double& y, double ox, double oy) {
    const double limit = kSegmentCoordLimit;
    if (std::fabs(x) <= limit) return;
    const double dx = x - ox;
    const double sign = x < 0 ? -1 : 1;
    double lx = limit;
    double ny = y;
    for (int i = 0; i < kLimitTries; ++i, lx /= 3) {
        // A vertical segment (both ends beyond the limit on the same x) keeps its y.
        ny = dx == 0 ? y : oy + (y - oy) * (sign * lx - ox) / dx;
        if (std::fabs(ny) <= limit) break;
    }
    if (std::fabs(ny) > limit) {
        lx *= 3;  // the last x tried
        ny = std::clamp(ny, -limit, limit);
    }
    x = sign * lx;
    y = ny;
}

}  // namespace

bool SegmentBoxMeets(int x0, int y0, int x1, int y1, const TChartRect& rect) {
    // Wide types: pixel positions may lie near the int limits.
    const long long left = std::min(x0, x1);
    const long long top = std::min(y0, y1);
    const long long right = std::max<long long>(std::max(x0, x1), left + 1);
    const long long bottom = std::max<long long>(std::max(y0, y1), top + 1);
    return std::max<long long>(left, rect.Left) < std::min<long long>(right, rect.Right) &&
           std::max<long long>(top, rect.Top) < std::min<long long>(bottom, rect.Bottom);
}

bool SegmentStrokeMeets(int x0, int y0, int x1, int y1, int penWidth, const TChartRect& rect) {
    const int reach = penWidth / 2 + 1;
    const TChartRect grown{rect.Left - reach, rect.Top - reach, rect.Right + reach,
                           rect.Bottom + reach};
    return SegmentBoxMeets(x0, y0, x1, y1, grown);
}

TSegment LimitSegment(int x0, int y0, int x1, int y1, int chartWidth) {
    TSegment s{static_cast<double>(x0), static_cast<double>(y0), static_cast<double>(x1),
               static_cast<double>(y1)};
    LimitEnd(s.X1, s.Y1, x0, y0);
    if (x0 < 0 || x0 > chartWidth) LimitEnd(s.X0, s.Y0, x1, y1);
    return s;
}

}  // namespace chart
