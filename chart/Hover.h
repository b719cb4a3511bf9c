// Hover highlighting state: the chart's hover settings (on, and the translucent red pen),
// the selection record a series gets the first time it is needed (its hovered point or
// segment), and the one an axis gets for its labels (its hovered label). Painting reads
// these to choose the pen or font of each item; the mouse handling sets them.
#pragma once

#include "chart/Colors.h"

namespace chart {

struct THoverSettings {
    bool Visible = true;
    TColor PenColor = 0x800000FF;  // red, half transparent
    int PenWidth = 3;
};

// A series' selection record: the value index of the highlighted point, or the start point
// of the highlighted line segment; -1 for none.
struct TSeriesSelection {
    int HoverIndex = -1;
    THoverSettings Hover;
};

// An axis' label selection record: the index of the highlighted label in the axis' label
// items of the last paint; -1 for none. The label is painted in the bold hover font.
struct TAxisLabelSelection {
    int HoverIndex = -1;
    bool HoverVisible = true;
};

}  // namespace chart
