// How the chart's window rectangle is cut down to the plot rectangle (the chart's
// ChartRect), in the order one full draw runs it:
//   1. Margins: the chart's bounds (0, 0, width, height) less the margins (percent of the
//      width or height, truncated) and the bevel on every side.
//   2. Title: a box as wide as the widest title line and one "W" line high per line, its
//      top on ChartRect's top, centred on ChartRect but never left of the bevel plus 2 % of
//      the chart's width (rounded). ChartRect's top moves to the box's bottom plus
//      VertMargin.
//   3. Axis ranges and pixels on this ChartRect (AxisPassBeforeLayout).
//   4. Axis space, for each shown axis in the order bottom, left, top, right: its side
//      moves in by the label space (the label height for a horizontal axis, the widest
//      label for a vertical one; never closer than 1 pixel to the opposite side), which
//      gives PosLabels; then by the axis pen's width + 1 + the longer tick length, which
//      gives PosAxis, the side's final position.
//   5. Axis pixels on the final ChartRect, then the series' pixel margins at automatic
//      axis ends (AxisPassAfterLayout).
//   6. Labels, major and minor ticks and grid lines of every shown axis (GenerateLabels).
// After every change ChartRect keeps its left and top inside the bounds and stays at least
// one pixel wide and high.
//
// The results live in the chart: ChartRect(), TitleRect(), and per axis IsVisible,
// PosAxis, PosLabels, IStartPos/IEndPos, Items, Ticks, MinorTicks and GridTicks. Nothing
// here paints; the painter draws from these results.
#pragma once

#include "chart/ChartRect.h"

namespace chart {

class TChart;
class TChartAxis;
class TTextMeasurer;
struct TChartStyle;

// Step 1.
TChartRect MarginsRect(int width, int height, const TChartStyle& style);

// Step 2's box for the chart's title on the current ChartRect of a chart `width` pixels
// wide; an empty rectangle (Width and Height 0) when the title is hidden or has no line.
TChartRect TitleBox(const TChart& chart, const TChartStyle& style, const TTextMeasurer& measurer,
                    int width);

// Step 4 for one shown axis: takes its space from the chart's ChartRect and sets its
// PosLabels and PosAxis.
void TakeAxisSpace(TChart& chart, TChartAxis& axis, const TChartStyle& style,
                   const TTextMeasurer& measurer);

// Steps 1 to 6 for a chart `width` x `height` pixels.
void LayoutChart(TChart& chart, const TChartStyle& style, const TTextMeasurer& measurer, int width,
                 int height);

}  // namespace chart
