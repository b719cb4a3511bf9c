#include "chart/Series.h"

#include <algorithm>

#include "chart/Axis.h"
#include "chart/Chart.h"

namespace chart {

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
    if (FParent) FParent->Invalidate();
}

void TChartSeries::SetParentChart(TChart* chart) {
    if (FParent == chart) return;
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
        const TColor own = (*FColors)[static_cast<size_t>(index)];
        if (own != clUseSeriesColor) return own;
    }
    if (FColorEachPoint && FParent) return FParent->GetDefaultColor(index);
    return SeriesColor();
}

QString TChartSeries::Label(int index) const {
    if (index < 0 || index >= static_cast<int>(FLabels.size())) return QString();
    return FLabels[static_cast<size_t>(index)];
}

int TChartSeries::AddXY(double x, double y, const QString& label, TColor color) {
    FX.TempValue = x;
    FY.TempValue = y;
    const int index = FX.AddOrdered(x);
    FY.InsertValue(index, y);

    if (FColors) {
        FColors->insert(FColors->begin() + index, color);
    } else if (color != clUseSeriesColor) {
        FColors = std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count()), clUseSeriesColor);
        (*FColors)[static_cast<size_t>(index)] = color;
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

void TChartSeries::NotifyNewValue(int /*index*/) { RepaintIfShown(); }

void TChartSeries::RepaintIfShown() {
    if (FActive && FParent && !FParent->Destroying()) FParent->Invalidate();
}

void TChartSeries::Clear() {
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    FX.ClearValues();
    FY.ClearValues();
    FColors.reset();
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

double TChartSeries::MinXValue() const { return FX.MinValue(); }
double TChartSeries::MaxXValue() const { return FX.MaxValue(); }

double TChartSeries::MinYValue() const {
    if (FNullPoints == 0) return FY.MinValue();
    bool first = true;
    double result = 0;
    for (int i = 0; i < Count(); ++i) {
        if ((*FColors)[static_cast<size_t>(i)] == clNone) continue;
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
        if ((*FColors)[static_cast<size_t>(i)] == clNone) continue;
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
