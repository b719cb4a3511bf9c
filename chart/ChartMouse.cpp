#include "chart/ChartMouse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/LabelBox.h"
#include "chart/Series.h"

namespace chart {

namespace {

// How far the axis band reaches past PosAxis into the plot.
constexpr int kBandIntoPlot = 3;

bool AnyActiveSeries(const TChart& chart) {
    for (const TChartSeries* s : chart.SeriesList())
        if (s->Active()) return true;
    return false;
}

bool AnyActiveSeriesUsingAxes(const TChart& chart) {
    for (const TChartSeries* s : chart.SeriesList())
        if (s->Active() && s->UseAxis()) return true;
    return false;
}

// Distance from (px, py) to the segment from (x0, y0) to (x1, y1), in doubles: pixels of
// points far outside the plot come close to the int limits.
double DistanceToSegment(int px, int py, int x0, int y0, int x1, int y1) {
    const double dx = static_cast<double>(x1) - x0;
    const double dy = static_cast<double>(y1) - y0;
    const double qx = static_cast<double>(px) - x0;
    const double qy = static_cast<double>(py) - y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? (qx * dx + qy * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(qx - t * dx, qy - t * dy);
}

void SetSeriesHover(TChart& chart, TSeriesSelection& selection, int index) {
    if (selection.HoverIndex == index) return;
    selection.HoverIndex = index;
    chart.Invalidate();
}

void SetLabelHover(TChart& chart, TAxisLabelSelection& selection, int index) {
    if (selection.HoverIndex == index) return;
    selection.HoverIndex = index;
    chart.Invalidate();
}

}  // namespace

// ---- hit tests

bool AxisBandContains(const TChartAxis& axis, int x, int y) {
    if (!axis.IsVisible) return false;
    // Across the axis: the strip between the labels' line and the axis line, widened
    // towards the plot (the plot lies at higher x of a left axis, lower y of a bottom one).
    int lo = std::min(axis.PosLabels, axis.PosAxis);
    int hi = std::max(axis.PosLabels, axis.PosAxis);
    const bool plotAtHigher = axis.Horizontal() ? axis.OtherSide() : !axis.OtherSide();
    if (plotAtHigher)
        hi += kBandIntoPlot;
    else
        lo -= kBandIntoPlot;
    const int across = axis.Horizontal() ? y : x;
    const int along = axis.Horizontal() ? x : y;
    const int start = std::min(axis.IStartPos, axis.IEndPos);
    const int end = std::max(axis.IStartPos, axis.IEndPos);
    return across >= lo && across <= hi && along >= start && along <= end;
}

TChartPart ChartPartAt(const TChart& chart, int x, int y) {
    for (int i = 0; i < chart.AxisCount(); ++i)
        if (AxisBandContains(chart.Axis(i), x, y)) return TChartPart::Axis;
    // TitleRect is empty when no title was painted.
    const TChartRect& title = chart.TitleRect();
    if (title.Width() > 0 && title.Height() > 0 && title.ContainsInclusive(x, y))
        return TChartPart::Title;
    if (AnyActiveSeries(chart) && chart.ChartRect().ContainsInclusive(x, y))
        return TChartPart::Plot;
    return TChartPart::None;
}

bool ClickableLine(const TChartSeries& series) {
    return series.DrawLine();
}

int SeriesIndexAt(const TChartSeries& series, int x, int y) {
    int first = series.FirstValueIndex();
    if (first < 0) return -1;  // nothing drawn: the common case of a zero line off screen
    const int last = std::min(series.LastValueIndex(), series.Count() - 1);
    if (last < 0 || first > last) return -1;

    const TSeriesPointer& ptr = series.Pointer();
    const bool squares = ptr.Visible;
    const int reachX = kClickTolerance + ptr.HorizSize;
    const int reachY = kClickTolerance + ptr.VertSize;
    const bool clickable = ClickableLine(series);
    if (clickable && first > 0) --first;

    if (!clickable && series.XValues().Order() == loAscending) {
        // Pixels grow with X here, so the indexes that can hold the pointer are those whose
        // x pixel lies within `reach` of it: skip those left of it by binary search and stop
        // at the first one right of it. The lowest hit index still wins.
        const int reach = std::max(squares ? reachX : 0, 1);
        int lo = first;
        int hi = last + 1;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (series.CalcXPos(mid) > x - reach)
                hi = mid;
            else
                lo = mid + 1;
        }
        for (int i = lo; i <= last; ++i) {
            const int xi = series.CalcXPos(i);
            if (xi >= x + reach) break;
            const int yi = series.CalcYPos(i);
            if (squares && std::abs(x - xi) < reachX && std::abs(y - yi) < reachY) return i;
            if (x == xi && y == yi) return i;
        }
        return -1;
    }

    int px = 0;
    int py = 0;
    for (int i = first; i <= last; ++i) {
        const int xi = series.CalcXPos(i);
        const int yi = series.CalcYPos(i);
        if (squares && std::abs(x - xi) < reachX && std::abs(y - yi) < reachY) return i;
        if (x == xi && y == yi) return i;
        if (clickable && i != first) {
            const bool onEnd = (x == px && y == py);
            if (onEnd || DistanceToSegment(x, y, px, py, xi, yi) <= kClickTolerance + 1)
                return i - 1;
        }
        px = xi;
        py = yi;
    }
    return -1;
}

void ShiftAxis(TChartAxis& axis, int from, int to) {
    // A manual end holds what was set last, by the program or by the previous drag step,
    // whether or not a draw has run since; an automatic end is only known as drawn.
    const double lo = axis.Automatic() || axis.AutomaticMinimum() ? axis.IMinimum : axis.Minimum();
    const double hi = axis.Automatic() || axis.AutomaticMaximum() ? axis.IMaximum : axis.Maximum();
    double shift = 0;
    // An axis shorter than one pixel maps every pixel to 0: no shift.
    if (axis.IAxisSize >= 1) {
        const double range = hi - lo;
        auto value = [&](int pixel) {
            const double a = (pixel - axis.IStartPos) * range / axis.IAxisSize;
            return axis.Horizontal() ? lo + a : hi - a;
        };
        shift = value(from) - value(to);
    }
    axis.SetMinMax(lo + shift, hi + shift);
}

// ---- the drag and hover

TChartMouse::TChartMouse(TChart& chart) : chart_(chart) {}

bool TChartMouse::MouseDown(Qt::MouseButton button, int x, int y) {
    if (dragging_) return false;
    if (ChartPartAt(chart_, x, y) == TChartPart::None) return false;
    if (button != panning_.ScrollMouseButton || panning_.AllowPanning == TPanningMode::None)
        return false;
    if (!AnyActiveSeriesUsingAxes(chart_)) return false;
    dragging_ = true;
    x0_ = x1_ = x;
    y0_ = y1_ = y;
    return true;
}

void TChartMouse::MouseMove(int x, int y, const TTextMeasurer& measurer) {
    if (dragging_)
        DragTo(x, y);
    else
        HoverAt(x, y, measurer);
}

void TChartMouse::MouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    // Whichever button comes up ends the drag.
    dragging_ = false;
}

void TChartMouse::DragTo(int x, int y) {
    if (panning_.InsideBounds && !chart_.ChartRect().ContainsInclusive(x, y)) {
        dragging_ = false;
        return;
    }
    if (x == x1_ && y == y1_) return;
    const TPanningMode mode = panning_.AllowPanning;
    bool horizontalStep = false;
    if (x != x1_ && (mode == TPanningMode::Horizontal || mode == TPanningMode::Both)) {
        horizontalStep = true;
        for (int i = 0; i < chart_.AxisCount(); ++i) {
            TChartAxis& axis = chart_.Axis(i);
            if (axis.Horizontal()) ShiftAxis(axis, x1_, x);
        }
    }
    if (y != y1_ && (mode == TPanningMode::Vertical || mode == TPanningMode::Both)) {
        for (int i = 0; i < chart_.AxisCount(); ++i) {
            TChartAxis& axis = chart_.Axis(i);
            if (!axis.Horizontal() && !axis.IsDepthAxis()) ShiftAxis(axis, y1_, y);
        }
    }
    x1_ = x;
    y1_ = y;
    // Every horizontal step repaints, even one that shifted by nothing.
    if (horizontalStep) chart_.Invalidate();
}

void TChartMouse::HoverAt(int x, int y, const TTextMeasurer& measurer) {
    if (!chart_.Hover().Visible) return;
    const std::vector<TChartSeries*>& list = chart_.SeriesList();

    // 1. Series, from the last to the first: those that have their selection record get
    // the index under the pointer. A series without one gets it now and takes part from
    // the next move on (so the very first move highlights no series). Making the record
    // here rather than after the labels changes nothing: it is read only by later moves,
    // and one pass touches each of the many zero lines once.
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        TChartSeries& s = **it;
        if (!s.Active()) continue;
        TSeriesSelection* selection = s.Selection();
        if (!selection) {
            s.EnsureSelection();
            continue;
        }
        if (selection->Hover.Visible) SetSeriesHover(chart_, *selection, SeriesIndexAt(s, x, y));
    }

    // 2. Labels of the shown axes.
    for (int i = 0; i < chart_.AxisCount(); ++i) {
        TChartAxis& axis = chart_.Axis(i);
        if (!axis.IsVisible) continue;
        TAxisLabelSelection& selection = axis.EnsureLabelSelection();
        if (!selection.HoverVisible) continue;
        SetLabelHover(chart_, selection, LabelAt(axis, measurer, x, y));
    }
}

void TChartMouse::MouseLeave() {
    for (int i = 0; i < chart_.AxisCount(); ++i)
        if (TAxisLabelSelection* selection = chart_.Axis(i).LabelSelection())
            SetLabelHover(chart_, *selection, -1);
    for (TChartSeries* s : chart_.SeriesList())
        SetSeriesHover(chart_, s->EnsureSelection(), -1);
}

}  // namespace chart
