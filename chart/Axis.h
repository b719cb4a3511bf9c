// One axis of the chart: its stored range with the setters that guard it, the automatic
// flags, and the working fields every redraw recomputes (the range in force and where it
// lies in pixels).
#pragma once

namespace chart {

class TChart;

// The axes in the chart's own order; every per-axis pass of a redraw visits them so.
enum class AxisKind { Bottom, Top, Left, Right, Depth, DepthTop };

class TChartAxis {
public:
    TChartAxis(TChart* chart, AxisKind kind);
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    TChart* ParentChart() const { return FChart; }
    AxisKind Kind() const { return FKind; }
    bool Horizontal() const { return FHorizontal; }
    bool IsDepthAxis() const { return FKind == AxisKind::Depth || FKind == AxisKind::DepthTop; }
    // Top and right axes start on the far side of the plot area.
    bool OtherSide() const { return FKind == AxisKind::Top || FKind == AxisKind::Right; }

    // Stored range. Setting a minimum above the maximum (or a maximum below the minimum)
    // throws AxisException and changes nothing, except while the chart is loading.
    double Minimum() const { return FMinimumValue; }
    double Maximum() const { return FMaximumValue; }
    void SetMinimum(double value);
    void SetMaximum(double value);
    // Stores without checks; an equal value changes nothing and asks for no repaint.
    void StoreMinimum(double value);
    void StoreMaximum(double value);
    // Both ends at once, manual from now on; a reversed pair is swapped, an empty range
    // widened by 1e-10 on each side. Never throws.
    void SetMinMax(double aMin, double aMax);

    bool Automatic() const { return FAutomatic; }
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomatic(bool value);
    void SetAutomaticMinimum(bool value);
    void SetAutomaticMaximum(bool value);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    double Increment() const { return FDesiredIncrement; }
    void SetIncrement(double value) { FDesiredIncrement = value; }

    // Working fields of the current redraw.
    double IMaximum = 0;
    double IMinimum = 0;
    double IRange = 0;
    bool IRangeZero = true;
    double IAxisSizeRange = 0;
    int IStartPos = 0;
    int IEndPos = 0;
    int IAxisSize = 0;
    int ICenterPos = 0;
    bool IsVisible = false;

private:
    TChart* FChart;
    AxisKind FKind;
    bool FAutomatic = true;
    bool FAutomaticMaximum = true;
    bool FAutomaticMinimum = true;
    double FDesiredIncrement = 0;
    double FMaximumValue = 0;
    double FMinimumValue = 0;
    bool FHorizontal;
    bool FVisible = true;
};

// Two doubles are the same within `tolerance` when |a - b| <= max(min(|a|, |b|) * tol, tol).
bool SameWithin(double a, double b, double tolerance);

}  // namespace chart
