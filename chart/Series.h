// The series of the chart: the base with values, per-point colours and labels, and the two
// kinds this program draws, the point series (one square per point) and the line series
// (a line through the points). A series is a QObject owned by its owner (the window or the
// chart); independently of that, the chart's series list names the series it paints.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "chart/Colors.h"
#include "chart/Hover.h"
#include "chart/ValueList.h"
#include "chart/ValueStorage.h"

namespace chart {

class TChart;
class TChartAxis;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };

enum TSeriesPointerStyle { psRectangle };

// The marker drawn at each point.
struct TSeriesPointer {
    bool Visible = true;
    bool InflateMargins = true;
    int HorizSize = 4;  // half-width in pixels
    int VertSize = 4;   // half-height in pixels
    TSeriesPointerStyle Style = psRectangle;
    bool PenVisible = true;
    int PenWidth = 1;
    TColor PenColor = clBlack;
};

// The pen a line series draws its line with.
struct TSeriesLinePen {
    bool Visible = true;
    int Width = 1;
};

// One colour per point, in the points' order; grows in the same steps as the value lists.
class TColorList {
public:
    int Count() const { return count_; }
    TColor operator[](int index) const { return block_.Data()[index]; }
    void Insert(int index, TColor color);
    // Count 0, the storage kept.
    void Clear() { count_ = 0; }

private:
    TBlock<TColor> block_;
    int count_ = 0;
};

class TChartSeries : public QObject {
    Q_OBJECT
public:
    // `owner` destroys the series (Qt parent ownership); it need not be the chart.
    explicit TChartSeries(QObject* owner);
    // Leaves the parent chart's list on the way out.
    ~TChartSeries() override;

    bool Active() const { return FActive; }
    virtual void SetActive(bool value);

    TChart* ParentChart() const { return FParent; }
    // Moves the series into `chart`'s list (out of its old chart's list first); nullptr
    // takes it out of its chart.
    virtual void SetParentChart(TChart* chart);

    // The colour as set, or the colour in force while none is set.
    TColor SeriesColor() const { return FColor == clUseSeriesColor ? ISeriesColor : FColor; }
    TColor ColorAsSet() const { return FColor; }
    virtual void SetSeriesColor(TColor color);
    // The colour point i is drawn with: its own colour, else the series' colour.
    virtual TColor ValueColor(int index) const;
    bool HasColorList() const { return FColors != nullptr; }
    bool ColorEachPoint() const { return FColorEachPoint; }

    int Count() const { return FX.Count(); }
    // Handing out a list for writing counts as a change of the series (see Version).
    TChartValueList& XValues() {
        Touch();
        return FX;
    }
    TChartValueList& YValues() {
        Touch();
        return FY;
    }
    const TChartValueList& XValues() const { return FX; }
    const TChartValueList& YValues() const { return FY; }
    // Label of point i; empty when no point has a label.
    QString Label(int index) const;
    int LabelCount() const { return static_cast<int>(FLabels.size()); }
    // True when some point has a non-empty label.
    bool HasPointLabels() const;

    // Adds a point where the X order puts it; returns its index.
    virtual int AddXY(double x, double y, const QString& label = QString(),
                      TColor color = clUseSeriesColor);
    // Removes every point; colour, axes and chart stay.
    virtual void Clear();

    THorizAxis HorizAxis() const { return FHorizAxis; }
    TVertAxis VertAxis() const { return FVertAxis; }
    virtual bool UseAxis() const { return true; }
    // True when the series draws on `axis` (a depth axis counts for every series).
    virtual bool AssociatedToAxis(const TChartAxis& axis) const;

    // Value ranges over all points (0 for an empty series); null points do not count in Y.
    virtual double MinXValue() const;
    virtual double MaxXValue() const;
    virtual double MinYValue() const;
    virtual double MaxYValue() const;

    // Called by the chart when the series enters its list: a series without a colour of
    // its own takes a free palette colour.
    void Added();
    void Removed();

    // The axes the series draws on, from its parent chart; nullptr without a chart.
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;
    // Pixel of point i on the horizontal and the vertical axis (the axes' current redraw
    // state); 0 without a chart.
    int CalcXPos(int index) const;
    int CalcYPos(int index) const;

    // Pixel margins the series asks of its axes so that its markers and lines stay inside
    // the plot: left and right of a horizontal axis, top and bottom of a vertical one. 0
    // here; series with markers or wide lines ask for more.
    virtual void CalcHorizMargins(int& left, int& right) const;
    virtual void CalcVerticalMargins(int& top, int& bottom) const;
    // True when point i shows inside the chart's ChartRect.
    virtual bool IsPointInChartRect(int index) const;

    // Sets FirstValueIndex and LastValueIndex for the coming drawing: the points whose X
    // lies in the horizontal axis' window. Run after the axis pass (the axes' pixels and
    // ranges must be those of this redraw). Found by binary search on ascending X values.
    virtual void CalcFirstLastVisibleIndex();
    // Range of point indexes to draw; -1, -1 for none. Nothing is drawn while
    // FirstValueIndex is -1, whatever LastValueIndex says.
    int FirstValueIndex() const { return FFirstVisibleIndex; }
    // What CalcFirstLastVisibleIndex gives a series that has nothing in the window.
    void ResetVisibleRange();
    int LastValueIndex() const { return FLastVisibleIndex; }

    bool YMandatory() const { return FYMandatory; }
    bool DrawLine() const { return FDrawLine; }
    bool InflateMargins() const { return FInflateMargins; }
    bool CalcVisiblePoints() const { return FCalcVisiblePoints; }
    bool DrawBetweenPoints() const { return FDrawBetweenPoints; }
    bool AllowSinglePoint() const { return FAllowSinglePoint; }
    // The hover record, created the first time the mouse handling needs it; nullptr until then.
    TSeriesSelection* Selection() const { return FSelection.get(); }
    TSeriesSelection& EnsureSelection();
    // The highlighted value index, -1 for none (also while there is no record).
    int HoverIndex() const { return FSelection ? FSelection->HoverIndex : -1; }

    TSeriesPointer& Pointer() {
        Touch();
        return FPointer;
    }
    const TSeriesPointer& Pointer() const { return FPointer; }
    TSeriesLinePen& LinePen() {
        Touch();
        return FLinePen;
    }
    const TSeriesLinePen& LinePen() const { return FLinePen; }

    // Update nesting: while above 0, adding a point does not ask for a repaint.
    void BeginUpdate() { ++IUpdating; }
    void EndUpdate() { --IUpdating; }
    // Asks the parent chart for a repaint when the series is active and in a chart (what
    // adding a point does outside an update).
    void RepaintIfShown();

    // The series' place in its chart's digest (SeriesDigest.h); set by the digest.
    void SetDigestSlot(int slot) { FDigestSlot = slot; }

protected:
    void NotifyNewValue(int index);
    // Tells the chart's digest that the series' points or settings may have changed:
    // adding, clearing, (de)activating, joining or leaving a chart, and writable access to
    // its value lists, pointer or line pen all count.
    void Touch();
    void NoteRangeWritten();

    bool FActive = true;
    TChart* FParent = nullptr;
    TColor FColor = clUseSeriesColor;
    bool FColorEachPoint = false;
    std::vector<QString> FLabels;
    TChartValueList FX;
    TChartValueList FY;
    THorizAxis FHorizAxis = aBottomAxis;
    TVertAxis FVertAxis = aLeftAxis;
    TColor ISeriesColor = clUseSeriesColor;
    std::unique_ptr<TColorList> FColors;
    // The colour list that Clear took away, kept with its storage for the next points.
    std::unique_ptr<TColorList> FSpareColors;
    int FNullPoints = 0;
    int FFirstVisibleIndex = -1;
    int FLastVisibleIndex = -1;
    int IUpdating = 0;
    bool FCalcVisiblePoints = true;
    bool FDrawBetweenPoints = false;
    bool FAllowSinglePoint = true;
    bool FYMandatory = true;
    bool FDrawLine = false;
    bool FInflateMargins = true;
    TSeriesPointer FPointer;
    TSeriesLinePen FLinePen;
    std::unique_ptr<TSeriesSelection> FSelection;
    int FDigestSlot = -1;
};

// Series with a marker and a line setting; both kinds of this program derive from it.
class TCustomSeries : public TChartSeries {
    Q_OBJECT
public:
    using TChartSeries::TChartSeries;

    // A visible, inflating marker asks for its half size plus half its pen; a line of 2
    // pixels or more asks for half its width plus 1 (the larger of the two counts).
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;
    // True when the marker square of point i (visible or not) overlaps ChartRect.
    bool IsPointInChartRect(int index) const override;
    // The window's range, widened by neighbours whose marker reaches into the plot and by
    // points with the same X as an end of the range.
    void CalcFirstLastVisibleIndex() override;
};

// One square marker per point; no line.
class TPointSeries : public TCustomSeries {
    Q_OBJECT
public:
    explicit TPointSeries(QObject* owner);
};

// A line through the points; no marker.
class TLineSeries : public TCustomSeries {
    Q_OBJECT
public:
    explicit TLineSeries(QObject* owner);
};

}  // namespace chart
