// The chart-level half of axis scaling: which axes show, which series an axis takes its
// range from, and the axis pass of a redraw, split at the point where the layout takes
// label and tick space from the plot rectangle.
//
// One full draw runs, in this order (the layout owns steps 1 and 4, the painter step 6):
//   1. Layout: place the title and shrink the chart's ChartRect by it.
//   2. AxisPassBeforeLayout, first half: for every axis in the chart's order, IsVisible :=
//      IsAxisShown, then AdjustMaxMin (automatic ends from the series, IMinimum/IMaximum,
//      RecalcRange).
//   3. AxisPassBeforeLayout, second half: InternalCalcPositions of every axis on ChartRect.
//   4. Layout: for every shown axis in turn (bottom, then left), take its label space
//      (axis.LabelsSpace: the height of "W" for a horizontal axis, MaxLabelsWidth for a
//      vertical one, both measured on the range of step 2) and axis pen + 1 + TickLength
//      from ChartRect; set PosLabels and PosAxis. No positions are recomputed in between.
//   5. AxisPassAfterLayout: InternalCalcPositions of every axis on the final ChartRect,
//      then the series' pixel margins at automatic ends (AdjustMaxMinRect).
//   6. Painter, per shown axis at draw time: axis.GenerateLabels(measurer), then draw
//      Items, Ticks, MinorTicks and GridTicks.
//   7. Painter, per series: series.CalcFirstLastVisibleIndex(), then draw the points from
//      FirstValueIndex to LastValueIndex (nothing when FirstValueIndex is -1).
#pragma once

#include "chart/ChartRect.h"

namespace chart {

class TChart;
class TChartAxis;
class TChartSeries;

// True when the series draws its values along `axis` (isX: the axis is horizontal), by the
// axes the series names, whatever its chart.
bool SeriesOnAxis(const TChartSeries& s, const TChartAxis& axis, bool isX);

// True when `axis` shows in this redraw: axes on, the axis visible, not a depth axis (the
// view is 2D), and some active series on it (or no active series at all).
bool IsAxisShown(const TChart& chart, const TChartAxis& axis);

// The first active series associated with `axis`, else the first associated one, else
// nullptr.
TChartSeries* GetAxisSeries(const TChart& chart, const TChartAxis& axis);

// The minimum (isMin) or maximum value that the series on `axis` need; isX tells whether
// the axis is horizontal. Paged X axes take the current page of their longest series,
// scaling an incomplete last page as if it were full unless ScaleLastPage is set. 0 when
// no series counts.
double AxisSeriesMinMax(const TChart& chart, const TChartAxis& axis, bool isMin, bool isX);

// The largest pixel margins that the active series on `axis` ask for, counted only at
// automatic ends (Left/Right for a horizontal axis, Top/Bottom for a vertical one).
TChartRect AxisSeriesMargins(const TChart& chart, const TChartAxis& axis);

// Steps 2 and 3 above.
void AxisPassBeforeLayout(TChart& chart);
// Step 5 above.
void AxisPassAfterLayout(TChart& chart);

}  // namespace chart
