// Line segments of a line series on their way to the canvas: whether a segment can show at
// all, and its end points moved into the coordinate range a drawing layer takes. Pure
// computation on pixel positions, shared by the painter and its tests.
#pragma once

#include "chart/ChartRect.h"

namespace chart {

// Pixel coordinates a segment end may have on its way to the canvas.
constexpr int kSegmentCoordLimit = 32767;

// One segment in pixels, from the previous point (X0, Y0) to the current one (X1, Y1).
struct TSegment {
    double X0 = 0;
    double Y0 = 0;
    double X1 = 0;
    double Y1 = 0;
};

// True when the bounding box of the segment, made at least one pixel wide and high, meets
// `rect` (a non-empty common area).
bool SegmentBoxMeets(int x0, int y0, int x1, int y1, const TChartRect& rect);

// True when a segment stroked with a pen `penWidth` pixels wide, round ends included, can
// cover a pixel of `rect`: its bounding box grown by the pen's reach meets `rect`.
bool SegmentStrokeMeets(int x0, int y0, int x1, int y1, int penWidth, const TChartRect& rect);

// The segment from (x0, y0) to (x1, y1) with every end whose x lies beyond +-32767 moved
// along the segment to x = +-32767, its y read off the segment there. When that y is itself
// beyond +-32767, the x limit is divided by 3 and tried again, up to 4 tries in all; after
// that y is clamped. The previous point stays where it is when its x lies between 0 and
// `chartWidth`.
TSegment LimitSegment(int x0, int y0, int x1, int y1, int chartWidth);

}  // namespace chart
