#include "chart/Axis.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPass.h"
#include "chart/Chart.h"
#include "chart/Exceptions.h"
#include "chart/Rounding.h"

namespace chart {

bool SameWithin(double a, double b, double tolerance) {
    return std::fabs(a - b) <=
           std::max(std::min(std::fabs(a), std::fabs(b)) * tolerance, tolerance);
}

TChartAxis::TChartAxis(TChart* chart, AxisKind kind)
    : FChart(chart), FKind(kind), FHorizontal(kind == AxisKind::Bottom || kind == AxisKind::Top) {
    if (IsDepthAxis()) FVisible = false;
}

void TChartAxis::SetMinimum(double value) {
    // The negated test also refuses a NaN on either side.
    if (!FChart->Loading() && !(value <= FMaximumValue))
        throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    StoreMinimum(value);
}

void TChartAxis::SetMaximum(double value) {
    if (!FChart->Loading() && !(FMinimumValue <= value))
        throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
    StoreMaximum(value);
}

void TChartAxis::StoreMinimum(double value) {
    if (value == FMinimumValue) return;
    FMinimumValue = value;
    FChart->Invalidate();
}

void TChartAxis::StoreMaximum(double value) {
    if (value == FMaximumValue) return;
    FMaximumValue = value;
    FChart->Invalidate();
}

void TChartAxis::SetMinMax(double aMin, double aMax) {
    FAutomatic = false;
    FAutomaticMinimum = false;
    FAutomaticMaximum = false;
    if (aMax >= aMin) {
        StoreMinimum(aMin);
        StoreMaximum(aMax);
    } else {
        StoreMinimum(aMax);
        StoreMaximum(aMin);
    }
    if (SameWithin(FMinimumValue, FMaximumValue, 1e-12)) {
        StoreMinimum(FMinimumValue - 1e-10);
        StoreMaximum(FMaximumValue + 1e-10);
    }
}

void TChartAxis::SetAutomatic(bool value) {
    const bool changed =
        FAutomatic != value ||
        (!FChart->Loading() && (FAutomaticMinimum != value || FAutomaticMaximum != value));
    FAutomatic = value;
    if (!FChart->Loading()) {
        FAutomaticMinimum = value;
        FAutomaticMaximum = value;
    }
    if (changed) FChart->Invalidate();
}

void TChartAxis::SetAutomaticMinimum(bool value) {
    if (FAutomaticMinimum == value) return;
    FAutomaticMinimum = value;
    if (!value)
        FAutomatic = false;
    else if (FAutomaticMaximum)
        FAutomatic = true;
    FChart->Invalidate();
}

void TChartAxis::SetAutomaticMaximum(bool value) {
    if (FAutomaticMaximum == value) return;
    FAutomaticMaximum = value;
    if (!value)
        FAutomatic = false;
    else if (FAutomaticMinimum)
        FAutomatic = true;
    FChart->Invalidate();
}

void TChartAxis::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    FChart->Invalidate();
}

// ---- range

void TChartAxis::CalcMinMax() {
    // Stored directly: the range a redraw computes asks for no repaint of its own.
    if (FAutomatic || FAutomaticMaximum)
        FMaximumValue = AxisSeriesMinMax(*FChart, *this, false, FHorizontal);
    if (FAutomatic || FAutomaticMinimum)
        FMinimumValue = AxisSeriesMinMax(*FChart, *this, true, FHorizontal);
}

void TChartAxis::AdjustMaxMin() {
    CalcMinMax();
    IMaximum = FMaximumValue;
    IMinimum = FMinimumValue;
    RecalcRange();
}

void TChartAxis::RecalcRange() {
    IRange = IMaximum - IMinimum;
    IRangeZero = std::fabs(IRange) <= 1e-12;
    IAxisSizeRange = IRangeZero ? 0 : IAxisSize / IRange;
}

// ---- pixels

void TChartAxis::InternalCalcPositions() {
    const TChartRect& r = FChart->ChartRect();
    const int start = FHorizontal ? r.Left : r.Top;
    const int size = FHorizontal ? r.Width() : r.Height();
    IStartPos = start + RoundToInt(size * 0.01 * StartPosition);
    IEndPos = start + RoundToInt(size * 0.01 * EndPosition);
    RecalcSizeCenter();
}

void TChartAxis::RecalcSizeCenter() {
    IAxisSize = IEndPos - IStartPos;
    ICenterPos = (IStartPos + IEndPos) / 2;  // C++ division cuts toward zero
    RecalcRange();
}

void TChartAxis::AdjustMaxMinRect(const TChartRect& margins) {
    const int low = FHorizontal ? margins.Left : margins.Top;
    const int high = FHorizontal ? margins.Right : margins.Bottom;
    const int oldStart = IStartPos;
    const int oldEnd = IEndPos;
    IStartPos += low;
    IEndPos -= high;
    IAxisSize = IEndPos - IStartPos;
    if (IAxisSize < 1) {
        // Margins that leave no pixel between them would map every value to 0 and
        // collapse the range; keep the range as it is instead.
        InternalCalcPositions();
        return;
    }
    // The values that now fall on the old ends become the new range.
    const double a = InternalCalcPosPoint(oldStart);
    const double b = InternalCalcPosPoint(oldEnd);
    InternalCalcPositions();
    IMaximum = b;
    IMinimum = a;
    if (IMaximum < IMinimum) std::swap(IMinimum, IMaximum);
    RecalcRange();
}

int TChartAxis::CalcPosValue(double value) const {
    return FHorizontal ? CalcXPosValue(value) : CalcYPosValue(value);
}

int TChartAxis::CalcXPosValue(double value) const {
    if (IRangeZero) return ICenterPos;
    return IStartPos + RoundToInt((value - IMinimum) * IAxisSizeRange);
}

int TChartAxis::CalcYPosValue(double value) const {
    if (IRangeZero) return ICenterPos;
    return IEndPos - RoundToInt((value - IMinimum) * IAxisSizeRange);
}

double TChartAxis::InternalCalcPosPoint(int pixel) const {
    if (IAxisSize < 1) return 0;
    const double a = (pixel - IStartPos) * IRange / IAxisSize;
    return FHorizontal ? IMinimum + a : IMaximum - a;
}

TAxisLabelSelection& TChartAxis::EnsureLabelSelection() {
    if (!FLabelSelection) FLabelSelection = std::make_unique<TAxisLabelSelection>();
    return *FLabelSelection;
}

}  // namespace chart
