#include "chart/AxisPass.h"

#include <algorithm>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/SeriesDigest.h"

namespace chart {

namespace {

bool AnyActiveAssociated(const TChart& chart, const TChartAxis& axis) {
    for (const TChartSeries* s : chart.SeriesList())
        if (s->Active() && s->AssociatedToAxis(axis)) return true;
    return false;
}

// The series on which the axis' range is computed for paging: the one with the most
// points among the active associated series (all associated ones when none is active);
// the first in list order wins a tie.
const TChartSeries* LongestAxisSeries(const TChart& chart, const TChartAxis& axis) {
    const bool activeOnly = AnyActiveAssociated(chart, axis);
    const TChartSeries* best = nullptr;
    for (const TChartSeries* s : chart.SeriesList()) {
        if (!s->AssociatedToAxis(axis) || (activeOnly && !s->Active())) continue;
        if (!best || s->Count() > best->Count()) best = s;
    }
    return best;
}

}  // namespace

bool SeriesOnAxis(const TChartSeries& s, const TChartAxis& axis, bool isX) {
    if (isX) {
        return s.HorizAxis() == aBothHorizAxis ||
               (s.HorizAxis() == aBottomAxis && axis.Kind() == AxisKind::Bottom) ||
               (s.HorizAxis() == aTopAxis && axis.Kind() == AxisKind::Top);
    }
    return s.VertAxis() == aBothVertAxis ||
           (s.VertAxis() == aLeftAxis && axis.Kind() == AxisKind::Left) ||
           (s.VertAxis() == aRightAxis && axis.Kind() == AxisKind::Right);
}

namespace {

int AxisIndex(const TChartAxis& axis) {
    return static_cast<int>(axis.Kind());
}

double PagedMinMax(const TChart& chart, const TChartAxis& axis, bool isMin, bool isX) {
    const TChartSeries* s = nullptr;
    if (const TSeriesDigest* d = chart.DigestInForce()) {
        const TAxisDigest& a = d->Axis(AxisIndex(axis));
        s = a.AnyActiveAssociated ? a.LongestActive : a.LongestAny;
    } else {
        s = LongestAxisSeries(chart, axis);
    }
    if (!s || s->Count() == 0) return 0;
    const TChartPage& page = chart.Pages();
    int first = 0;
    int last = 0;
    page.CalcPageIndexRange(*s, first, last);
    const TChartValueList& list = isX ? s->XValues() : s->YValues();
    if (isMin) return list.Value(first);
    double result = list.Value(last);
    const int n = last - first + 1;
    const int p = page.MaxPointsPerPage();
    if (!page.ScaleLastPage() && n < p) {
        // Scale an incomplete last page as if it were full.
        const double f = list.Value(first);
        result = result == f ? f + static_cast<double>(p) / n : f + p * (result - f) / n;
    }
    return result;
}

// Min or max of the values of the current page (AutoScale); false when the page holds no
// value of the series.
bool PageValueMinMax(const TChartSeries& s, const TChartPage& page, bool isMin, bool isX,
                     double& v) {
    const long long start = page.FirstValueIndex();
    if (start >= s.Count()) return false;
    const long long end = std::min<long long>(start + page.MaxPointsPerPage(), s.Count());
    const TChartValueList& list = isX ? s.XValues() : s.YValues();
    v = list.Value(static_cast<int>(start));
    for (long long i = start + 1; i < end; ++i) {
        const double x = list.Value(static_cast<int>(i));
        if (isMin ? x < v : x > v) v = x;
    }
    return true;
}

}  // namespace

bool IsAxisShown(const TChart& chart, const TChartAxis& axis) {
    if (!chart.AxisVisible() || !axis.Visible()) return false;
    if (axis.IsDepthAxis()) return false;
    if (const TSeriesDigest* d = chart.DigestInForce()) {
        const int decision = d->Axis(AxisIndex(axis)).ShownDecision;
        return decision >= 0 ? decision == 1 : !d->AnyActive();
    }
    bool anyActive = false;
    for (const TChartSeries* s : chart.SeriesList()) {
        if (!s->Active()) continue;
        anyActive = true;
        if (!s->UseAxis()) return false;
        if (s->AssociatedToAxis(axis)) return true;
    }
    return !anyActive;
}

TChartSeries* GetAxisSeries(const TChart& chart, const TChartAxis& axis) {
    if (const TSeriesDigest* d = chart.DigestInForce()) {
        const TAxisDigest& a = d->Axis(AxisIndex(axis));
        return a.FirstActiveAssociated ? a.FirstActiveAssociated : a.FirstAssociated;
    }
    TChartSeries* firstAssociated = nullptr;
    for (TChartSeries* s : chart.SeriesList()) {
        if (!s->AssociatedToAxis(axis)) continue;
        if (s->Active()) return s;
        if (!firstAssociated) firstAssociated = s;
    }
    return firstAssociated;
}

double AxisSeriesMinMax(const TChart& chart, const TChartAxis& axis, bool isMin, bool isX) {
    const TChartSeries* s = GetAxisSeries(chart, axis);
    const bool xAxis = (!s || s->YMandatory()) ? isX : !isX;
    const TChartPage& page = chart.Pages();
    const bool paged = page.MaxPointsPerPage() > 0;
    if (paged && xAxis) return PagedMinMax(chart, axis, isMin, isX);

    const TSeriesDigest* d = chart.DigestInForce();
    if (d && !(paged && page.AutoScale()) && isX == axis.Horizontal()) {
        const TAxisDigest& a = d->Axis(AxisIndex(axis));
        const TAxisDigest::Extreme& e = a.AnyActiveAssociated ? a.ActiveValues : a.AllValues;
        // A NaN makes the result depend on where it stands: walk the series then.
        if (!e.HasNaN) return e.Any ? (isMin ? e.Min : e.Max) : 0;
    }

    const bool activeOnly = AnyActiveAssociated(chart, axis);
    bool first = true;
    double result = 0;
    for (const TChartSeries* series : chart.SeriesList()) {
        if (activeOnly && !series->Active()) continue;
        if (series->Count() == 0) continue;
        if (!SeriesOnAxis(*series, axis, isX)) continue;
        double v = 0;
        if (paged && page.AutoScale()) {
            if (!PageValueMinMax(*series, page, isMin, isX, v)) continue;
        } else if (isX) {
            v = isMin ? series->MinXValue() : series->MaxXValue();
        } else {
            v = isMin ? series->MinYValue() : series->MaxYValue();
        }
        if (first) {
            result = v;
            first = false;
        } else if (isMin ? v < result : v > result) {
            result = v;
        }
    }
    return result;
}

TChartRect AxisSeriesMargins(const TChart& chart, const TChartAxis& axis) {
    TChartRect m;
    if (const TSeriesDigest* d = chart.DigestInForce()) {
        m = d->Axis(AxisIndex(axis)).Margins;
    } else {
        for (const TChartSeries* s : chart.SeriesList()) {
            if (!s->Active() || !s->AssociatedToAxis(axis)) continue;
            int low = 0;
            int high = 0;
            if (axis.Horizontal()) {
                s->CalcHorizMargins(low, high);
                m.Left = std::max(m.Left, low);
                m.Right = std::max(m.Right, high);
            } else {
                s->CalcVerticalMargins(low, high);
                m.Top = std::max(m.Top, low);
                m.Bottom = std::max(m.Bottom, high);
            }
        }
    }
    // A margin counts only at an automatic end: the minimum is the left end of a horizontal
    // axis and the bottom end of a vertical one.
    if (!axis.AutomaticMinimum()) {
        m.Left = 0;
        m.Bottom = 0;
    }
    if (!axis.AutomaticMaximum()) {
        m.Right = 0;
        m.Top = 0;
    }
    return m;
}

void AxisPassBeforeLayout(TChart& chart) {
    // Step 2: which axes show, and the ranges from the stored values and the series.
    for (int i = 0; i < chart.AxisCount(); ++i) {
        TChartAxis& axis = chart.Axis(i);
        axis.IsVisible = IsAxisShown(chart, axis);
        axis.AdjustMaxMin();
    }
    for (int i = 0; i < chart.AxisCount(); ++i)
        chart.Axis(i).InternalCalcPositions();
}

void AxisPassAfterLayout(TChart& chart) {
    for (int i = 0; i < chart.AxisCount(); ++i)
        chart.Axis(i).InternalCalcPositions();
    for (int i = 0; i < chart.AxisCount(); ++i) {
        TChartAxis& axis = chart.Axis(i);
        if (axis.IsDepthAxis()) continue;
        // A manual axis keeps its range exactly: no pixel round trip.
        if (!axis.Automatic() && !axis.AutomaticMinimum() && !axis.AutomaticMaximum()) continue;
        axis.AdjustMaxMinRect(AxisSeriesMargins(chart, axis));
    }
}

}  // namespace chart
