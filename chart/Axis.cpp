#include "chart/Axis.h"

#include <algorithm>
#include <cmath>

#include "chart/Chart.h"
#include "chart/Exceptions.h"

namespace chart {

bool SameWithin(double a, double b, double tolerance) {
    return std::fabs(a - b) <= std::max(std::min(std::fabs(a), std::fabs(b)) * tolerance, tolerance);
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
    const bool changed = FAutomatic != value ||
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

}  // namespace chart
