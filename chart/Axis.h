// One axis of the chart: its stored range with the setters that guard it, the automatic
// flags, the label and tick settings, and everything a redraw computes for it before
// painting: the range in force, where it lies in pixels, the label step, the label items,
// the major and minor ticks and the grid lines.
#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "chart/ChartRect.h"
#include "chart/DefaultFont.h"
#include "chart/Hover.h"

namespace chart {

class TChart;
class TTextMeasurer;

// The axes in the chart's own order; every per-axis pass of a redraw visits them so.
enum class AxisKind { Bottom, Top, Left, Right, Depth, DepthTop };

// Which kind of labels an axis shows. Only value labels are generated; an axis whose
// automatic style comes out as text labels (a series with point labels) shows none.
enum TAxisLabelStyle { talAuto, talNone, talValue, talText };

// One label of the current redraw: its value, its text and the pixel along the axis it
// stands at (x for a horizontal axis, y for a vertical one).
struct TAxisLabelItem {
    double Value = 0;
    QString Text;
    int Pos = 0;
};

// Grid lines at the major ticks.
struct TAxisGrid {
    bool Visible = true;
    int DrawEvery = 1;        // a line at every DrawEvery-th tick
    bool Centered = false;    // lines between ticks instead of at them; not supported
    bool DrawAlways = false;  // ticks and grid even when labels are off
};

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

    // ---- label and tick settings (read by every redraw; changing them asks for no repaint)
    bool Labels = true;
    TAxisLabelStyle LabelStyle = talAuto;
    int LabelsSeparation = 10;     // percent of a label's size added as gap for the step
    bool LabelsOnAxis = true;      // a label for every step value, without a pixel test
    bool RoundFirstLabel = true;   // labels at whole multiples of the step
    double StartPosition = 0;      // percent of the plot side where the axis starts
    double EndPosition = 100;      // ... and where it ends
    bool TickOnLabelsOnly = true;  // major ticks only where labels are
    int TickLength = 4;
    int TickInnerLength = 0;
    int MinorTickCount = 3;
    int MinorTickLength = 2;
    TAxisGrid Grid;
    QFont LabelsFont = DefaultLabelsFont();

    // ---- range, computed from the stored values and the series (axis pass, step 2)
    // Refreshes the stored value of every automatic end from the series on the axis.
    void CalcMinMax();
    // CalcMinMax, then IMinimum/IMaximum from the stored values, then RecalcRange.
    void AdjustMaxMin();
    // IRange, IRangeZero, IAxisSizeRange from IMinimum, IMaximum and IAxisSize.
    void RecalcRange();

    // ---- pixels (axis pass, steps 3 to 5)
    // IStartPos and IEndPos from the chart's ChartRect, then RecalcSizeCenter.
    void InternalCalcPositions();
    // IAxisSize, ICenterPos, then RecalcRange.
    void RecalcSizeCenter();
    // Widens the range so that the old extreme values sit the given pixels inside the
    // axis ends: Left/Right margins for a horizontal axis, Top/Bottom for a vertical one.
    void AdjustMaxMinRect(const TChartRect& margins);
    // Value to pixel: ICenterPos for a zero range, else a position that may lie outside
    // the axis (nothing clamps it short of kPixelLimit).
    int CalcPosValue(double value) const;
    int CalcXPosValue(double value) const;
    int CalcYPosValue(double value) const;
    // Pixel to value; 0 when the axis is shorter than one pixel.
    double InternalCalcPosPoint(int pixel) const;

    // ---- label step and texts
    TAxisLabelStyle CalcLabelStyle() const;
    // The label step of the current range on the current axis length.
    double CalcIncrement(const TTextMeasurer& measurer) const;
    // The step for labels of `maxLabelSize` pixels along the axis.
    double CalcXYIncrement(int maxLabelSize) const;
    // The step when at most `maxLabels` labels fit; 1e-12 when none fits.
    double CalcLabelsIncrement(int maxLabels) const;
    // The text of the label at `value`.
    QString LabelValue(double value) const;
    // Size of the label at `value` along a horizontal axis (its width) and a vertical one
    // (the height of "W" in the labels font).
    int LabelWidth(const TTextMeasurer& measurer, double value) const;
    int LabelHeight(const TTextMeasurer& measurer, double value) const;
    // Width of the widest label the current range gets, plus one space: the label column
    // a vertical axis needs.
    int MaxLabelsWidth(const TTextMeasurer& measurer) const;
    // Space the layout takes from the plot rectangle for the labels of this axis: the
    // label height for a horizontal axis, MaxLabelsWidth for a vertical one.
    int LabelsSpace(const TTextMeasurer& measurer) const;

    // ---- labels, ticks and grid of the current redraw (axis pass, step 6)
    // Rebuilds Items, Ticks, MinorTicks and GridTicks with the current range and pixels.
    void GenerateLabels(const TTextMeasurer& measurer);
    // Value labels from the top of the range down, one tick each.
    void AddValueLabels(const TTextMeasurer& measurer);
    // One label and its tick at `value`.
    void AddOneLabel(double value);
    // Minor ticks beyond and between the major ticks, and the grid lines.
    void CalcMinorTicks();
    void CalcGridTicks();
    // True when a label item is to be painted: its value lies in the range in force.
    bool IsLabelInRange(const TAxisLabelItem& item) const;

    // ---- working fields of the current redraw
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
    // Set by the layout: the pixel line the axis sits on and the line its labels align to.
    int PosAxis = 0;
    int PosLabels = 0;
    // Results of GenerateLabels, kept for painting and hover; cleared and refilled.
    std::vector<TAxisLabelItem> Items;  // in the order made: from the top of the range down
    std::vector<int> Ticks;             // one major tick pixel per label
    std::vector<int> MinorTicks;        // strictly inside the axis
    std::vector<int> GridTicks;         // major ticks that get a grid line

    // The label hover record, created the first time the mouse handling needs it.
    TAxisLabelSelection* LabelSelection() const { return FLabelSelection.get(); }
    TAxisLabelSelection& EnsureLabelSelection();
    int LabelHoverIndex() const { return FLabelSelection ? FLabelSelection->HoverIndex : -1; }

    // True when some active series for which this is the X axis has at most `points`
    // points (the label step then stays at 1 or above).
    bool HasXSeriesWithAtMost(int points) const;

private:
    // Label texts by value (the bits of the double), see LabelValue.
    static constexpr int kMaxKeptLabelTexts = 512;
    mutable QHash<quint64, QString> labelTexts_;
    mutable QString labelDecimal_, labelThousands_;  // the separators they were made with
    std::unique_ptr<TAxisLabelSelection> FLabelSelection;

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
