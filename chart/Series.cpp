#include "chart/Series.h"

#include <algorithm>
#include <cstring>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/Rounding.h"
#include "chart/SeriesDigest.h"
#include "chart/VisibleRange.h"

namespace chart {

void TColorList::Insert(int index, TColor color) {
    if (count_ == block_.Length()) block_.Resize(count_ + TChartValueList::GrowthStep());
    TColor* d = block_.Data();
    if (index < count_)
        std::memmove(d + index + 1, d + index,
                     sizeof(TColor) * static_cast<size_t>(count_ - index));
    d[index] = color;
    ++count_;
}

void TChartSeries::Touch() {
    if (FParent && FDigestSlot >= 0) FParent->Digest().NoteChanged(FDigestSlot);
}

void TChartSeries::NoteRangeWritten() {
    if (FParent && FDigestSlot >= 0) FParent->Digest().NoteRangeWritten(FDigestSlot);
}

void TChartSeries::ResetVisibleRange() {
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    NoteRangeWritten();
}

TChartSeries::TChartSeries(QObject* owner)
    : QObject(owner),
      FX(this, QStringLiteral("X"), loAscending),
      FY(this, QStringLiteral("Y"), loNone) {}

TChartSeries::~TChartSeries() {
    if (FParent) FParent->InternalRemoveSeries(this);
}

void TChartSeries::SetActive(bool value) {
    if (FActive == value) return;
    FActive = value;
    Touch();
    if (FParent) FParent->Invalidate();
}

void TChartSeries::SetParentChart(TChart* chart) {
    if (FParent == chart) return;
    Touch();
    FDigestSlot = -1;  // a place in the old chart's digest means nothing in the new one
    if (FParent) FParent->InternalRemoveSeries(this);
    FParent = chart;
    if (FParent) FParent->InternalAddSeries(this);
}

void TChartSeries::SetSeriesColor(TColor color) {
    const bool changed = color != FColor || color != ISeriesColor;
    FColor = color;
    ISeriesColor = color;
    if (changed && FParent) FParent->Invalidate();
}

TColor TChartSeries::ValueColor(int index) const {
    if (FColors) {
        const TColor own = (*FColors)[index];
        if (own != clUseSeriesColor) return own;
    }
    if (FColorEachPoint && FParent) return FParent->GetDefaultColor(index);
    return SeriesColor();
}

QString TChartSeries::Label(int index) const {
    if (index < 0 || index >= static_cast<int>(FLabels.size())) return QString();
    return FLabels[static_cast<size_t>(index)];
}

bool TChartSeries::HasPointLabels() const {
    return std::any_of(FLabels.begin(), FLabels.end(),
                       [](const QString& l) { return !l.isEmpty(); });
}

int TChartSeries::AddXY(double x, double y, const QString& label, TColor color) {
    Touch();
    FX.TempValue = x;
    FY.TempValue = y;
    const int index = FX.AddOrdered(x);
    FY.InsertValue(index, y);

    if (FColors) {
        FColors->Insert(index, color);
    } else if (color != clUseSeriesColor) {
        // The first point with a colour of its own: every other point uses the series'.
        FColors = FSpareColors ? std::move(FSpareColors) : std::make_unique<TColorList>();
        for (int i = 0; i < Count(); ++i)
            FColors->Insert(i, i == index ? color : clUseSeriesColor);
    }
    if (color == clNone) ++FNullPoints;

    if (!label.isEmpty() || !FLabels.empty()) {
        // The labels list starts holding entries with the first non-empty label; the points
        // before it get empty labels so that the list stays one text per point.
        if (FLabels.empty() && Count() > 1) FLabels.resize(static_cast<size_t>(Count() - 1));
        FLabels.insert(FLabels.begin() + index, label);
    }

    if (IUpdating == 0) NotifyNewValue(index);
    return index;
}

void TChartSeries::NotifyNewValue(int /*index*/) {
    RepaintIfShown();
}

void TChartSeries::RepaintIfShown() {
    if (FActive && FParent && !FParent->Destroying()) FParent->Invalidate();
}

void TChartSeries::Clear() {
    Touch();
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    // The lists keep their storage: a series is cleared to be filled again, often with as
    // many points (every redraw of the walk).
    FX.ClearKeepingStorage();
    FY.ClearKeepingStorage();
    if (FColors) {
        FColors->Clear();
        FSpareColors = std::move(FColors);
    }
    FNullPoints = 0;
    FLabels.clear();
    RepaintIfShown();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis& axis) const {
    if (axis.IsDepthAxis()) return true;
    if (!UseAxis() || !FParent) return false;
    if (axis.Horizontal()) {
        return FHorizAxis == aBothHorizAxis ||
               (FHorizAxis == aBottomAxis && axis.Kind() == AxisKind::Bottom) ||
               (FHorizAxis == aTopAxis && axis.Kind() == AxisKind::Top);
    }
    return FVertAxis == aBothVertAxis ||
           (FVertAxis == aLeftAxis && axis.Kind() == AxisKind::Left) ||
           (FVertAxis == aRightAxis && axis.Kind() == AxisKind::Right);
}

double TChartSeries::MinXValue() const {
    return FX.MinValue();
}
double TChartSeries::MaxXValue() const {
    return FX.MaxValue();
}

double TChartSeries::MinYValue() const {
    if (FNullPoints == 0) return FY.MinValue();
    bool first = true;
    double result = 0;
    for (int i = 0; i < Count(); ++i) {
        if ((*FColors)[i] == clNone) continue;
        if (first || FY.Value(i) < result) result = FY.Value(i);
        first = false;
    }
    return result;
}

double TChartSeries::MaxYValue() const {
    if (FNullPoints == 0) return FY.MaxValue();
    bool first = true;
    double result = 0;
    for (int i = 0; i < Count(); ++i) {
        if ((*FColors)[i] == clNone) continue;
        if (first || FY.Value(i) > result) result = FY.Value(i);
        first = false;
    }
    return result;
}

void TChartSeries::Added() {
    if (FColor == clUseSeriesColor && FParent) {
        const TColor color = FParent->GetFreeSeriesColor(true, nullptr);
        ISeriesColor = color;
        FColor = color;
    }
}

void TChartSeries::Removed() {}

TSeriesSelection& TChartSeries::EnsureSelection() {
    if (!FSelection) FSelection = std::make_unique<TSeriesSelection>();
    return *FSelection;
}

// ---- axes and pixels

TChartAxis* TChartSeries::GetHorizAxis() const {
    if (!FParent) return nullptr;
    return FHorizAxis == aTopAxis ? &FParent->TopAxis() : &FParent->BottomAxis();
}

TChartAxis* TChartSeries::GetVertAxis() const {
    if (!FParent) return nullptr;
    return FVertAxis == aRightAxis ? &FParent->RightAxis() : &FParent->LeftAxis();
}

int TChartSeries::CalcXPos(int index) const {
    const TChartAxis* axis = GetHorizAxis();
    return axis ? axis->CalcXPosValue(FX.Value(index)) : 0;
}

int TChartSeries::CalcYPos(int index) const {
    const TChartAxis* axis = GetVertAxis();
    return axis ? axis->CalcYPosValue(FY.Value(index)) : 0;
}

void TChartSeries::CalcHorizMargins(int& left, int& right) const {
    left = right = 0;
}

void TChartSeries::CalcVerticalMargins(int& top, int& bottom) const {
    top = bottom = 0;
}

bool TChartSeries::IsPointInChartRect(int index) const {
    if (!FParent) return false;
    return FParent->ChartRect().ContainsInclusive(CalcXPos(index), CalcYPos(index));
}

// ---- visible range

void TChartSeries::CalcFirstLastVisibleIndex() {
    NoteRangeWritten();
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    const int n = Count();
    if (n == 0) return;
    const TChartAxis* axis = GetHorizAxis();
    // Without a chart, or for an unordered X list, every point is drawn. (Only series with
    // X as their free value are cut to the window.)
    if (!FCalcVisiblePoints || FX.Order() == loNone || !axis || !FYMandatory) {
        FFirstVisibleIndex = 0;
        FLastVisibleIndex = n - 1;
        return;
    }
    const TChartRect& plot = FParent->ChartRect();
    const double xmin = axis->InternalCalcPosPoint(plot.Left);
    const double xmax = axis->InternalCalcPosPoint(plot.Right);
    const TIndexRange r =
        FX.Order() == loAscending
            ? FindWindowIndexes(FX.Data(), n, xmin, xmax, FDrawBetweenPoints)
            : FindWindowIndexesLinear(FX.Data(), n, xmin, xmax, FDrawBetweenPoints);
    FFirstVisibleIndex = r.First;
    FLastVisibleIndex = r.Last;
}

// ---- TCustomSeries

void TCustomSeries::CalcHorizMargins(int& left, int& right) const {
    left = right = 0;
    if (FPointer.Visible && FPointer.InflateMargins)
        left = right = FPointer.HorizSize + (FPointer.PenVisible ? FPointer.PenWidth / 2 + 1 : 1);
    if (FDrawLine && FInflateMargins && FLinePen.Width >= 2) {
        const int m = RoundToInt(FLinePen.Width / 2.0) + 1;
        left = std::max(left, m);
        right = std::max(right, m);
    }
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) const {
    top = bottom = 0;
    if (FPointer.Visible && FPointer.InflateMargins)
        top = bottom = FPointer.VertSize + (FPointer.PenVisible ? FPointer.PenWidth / 2 : 1);
    if (FDrawLine && FInflateMargins && FLinePen.Width >= 2) {
        const int m = RoundToInt(FLinePen.Width / 2.0) + 1;
        top = std::max(top, m);
        bottom = std::max(bottom, m);
    }
}

bool TCustomSeries::IsPointInChartRect(int index) const {
    if (!FParent) return false;
    const int x = CalcXPos(index);
    const int y = CalcYPos(index);
    const TChartRect square{x - FPointer.HorizSize, y - FPointer.VertSize, x + FPointer.HorizSize,
                            y + FPointer.VertSize};
    return square.Overlaps(FParent->ChartRect());
}

void TCustomSeries::CalcFirstLastVisibleIndex() {
    TChartSeries::CalcFirstLastVisibleIndex();
    const int n = Count();
    if (n == 0) return;
    int& first = FFirstVisibleIndex;
    int& last = FLastVisibleIndex;
    // Neighbours beyond either end whose square still reaches into the plot, then points
    // that share the X of an end, so that equal X values are drawn or left out together.
    while (last < n - 1 && IsPointInChartRect(last + 1))
        ++last;
    while (last >= 0 && last < n - 1 && FX.Value(last + 1) == FX.Value(last))
        ++last;
    while (first > 0 && IsPointInChartRect(first - 1))
        --first;
    while (first > 0 && FX.Value(first - 1) == FX.Value(first))
        --first;
}

TPointSeries::TPointSeries(QObject* owner) : TCustomSeries(owner) {
    FPointer.Visible = true;
}

TLineSeries::TLineSeries(QObject* owner) : TCustomSeries(owner) {
    FPointer.Visible = false;
    FDrawLine = true;
    FDrawBetweenPoints = true;
    FAllowSinglePoint = false;
}

}  // namespace chart
