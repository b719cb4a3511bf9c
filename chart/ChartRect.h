// The plot rectangle and other pixel rectangles of the chart: left, top, right and bottom
// edges as ints. The layout shrinks the chart's ChartRect step by step; the axes map values
// between its edges, and label boxes and pixel margins use the same type.
#pragma once

#include <algorithm>

namespace chart {

struct TChartRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    int XCenter() const { return (Left + Right) / 2; }
    int YCenter() const { return (Top + Bottom) / 2; }

    // True when the point lies inside or on an edge (hover hit tests count the edges).
    bool ContainsInclusive(int x, int y) const {
        return x >= Left && x <= Right && y >= Top && y <= Bottom;
    }
    // True when the two rectangles share an area that is not empty.
    bool Overlaps(const TChartRect& other) const {
        return std::max(Left, other.Left) < std::min(Right, other.Right) &&
               std::max(Top, other.Top) < std::min(Bottom, other.Bottom);
    }
    // The plot rectangle's sanity rule: left and top not outside `bounds`, and at least
    // one pixel wide and high.
    void KeepInside(const TChartRect& bounds) {
        Left = std::max(Left, bounds.Left);
        Top = std::max(Top, bounds.Top);
        if (Right < Left) Right = Left + 1;
        if (Bottom < Top) Bottom = Top + 1;
    }

    bool operator==(const TChartRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TChartRect& o) const { return !(*this == o); }
};

}  // namespace chart
