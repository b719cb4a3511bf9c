// The chart as a model, free of widgets: its six axes, its ordered series list, its page
// settings and colour palette, its appearance settings, and the repaint requests that every
// change makes. The chart widget owns one of these and paints it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "chart/Axis.h"
#include "chart/ChartRect.h"
#include "chart/Colors.h"
#include "chart/Hover.h"
#include "chart/Page.h"

namespace chart {

class TChartSeries;
class TSeriesDigest;

class TChart : public QObject {
    Q_OBJECT
public:
    explicit TChart(QObject* owner = nullptr);
    // Destroys every series still in the list; series it owns but that left the list go
    // with it as its Qt children.
    ~TChart() override;

    // Axes, in the chart's order: bottom, top, left, right, depth, depth-top.
    TChartAxis& BottomAxis() { return *FAxes[0]; }
    TChartAxis& TopAxis() { return *FAxes[1]; }
    TChartAxis& LeftAxis() { return *FAxes[2]; }
    TChartAxis& RightAxis() { return *FAxes[3]; }
    TChartAxis& DepthAxis() { return *FAxes[4]; }
    TChartAxis& DepthTopAxis() { return *FAxes[5]; }
    const TChartAxis& BottomAxis() const { return *FAxes[0]; }
    const TChartAxis& TopAxis() const { return *FAxes[1]; }
    const TChartAxis& LeftAxis() const { return *FAxes[2]; }
    const TChartAxis& RightAxis() const { return *FAxes[3]; }
    int AxisCount() const { return static_cast<int>(FAxes.size()); }
    TChartAxis& Axis(int i) { return *FAxes[static_cast<size_t>(i)]; }
    const TChartAxis& Axis(int i) const { return *FAxes[static_cast<size_t>(i)]; }
    // The axis of a kind: the kinds are numbered in the chart's order.
    TChartAxis& Axis(AxisKind kind) { return Axis(static_cast<int>(kind)); }
    const TChartAxis& Axis(AxisKind kind) const { return Axis(static_cast<int>(kind)); }

    // Series in the order they joined; painting follows it.
    int SeriesCount() const { return static_cast<int>(FSeriesList.size()); }
    TChartSeries* Series(int i) const { return FSeriesList[static_cast<size_t>(i)]; }
    const std::vector<TChartSeries*>& SeriesList() const { return FSeriesList; }
    // Makes this chart the series' parent; returns the series.
    TChartSeries* AddSeries(TChartSeries* series);
    // Takes the series out of the list (it stays alive).
    void RemoveSeries(TChartSeries* series);
    // Changes whenever a series joins or leaves the list.
    uint64_t ListVersion() const { return FListVersion; }
    // The lowest list index that a join or a departure has touched since the digest last
    // caught up (the list's length when none).
    int FirstListChange() const { return FFirstListChange; }
    void ListChangesSeen() { FFirstListChange = SeriesCount(); }
    // The digest of the series list that redraws answer from (SeriesDigest.h).
    TSeriesDigest& Digest() const { return *FDigest; }
    // The digest while a redraw has put it in force (TSeriesDigestScope), else nullptr.
    const TSeriesDigest* DigestInForce() const { return FDigestInForce ? FDigest.get() : nullptr; }
    void SetDigestInForce(bool value) { FDigestInForce = value; }

    // Called by a series when its parent chart changes; not for other callers.
    void InternalAddSeries(TChartSeries* series);
    void InternalRemoveSeries(TChartSeries* series);

    TChartPage& Pages() { return FPage; }
    const TChartPage& Pages() const { return FPage; }

    int ColorPaletteIndex() const { return FColorPaletteIndex; }
    void SetColorPaletteIndex(int index);
    const std::vector<TColor>& ColorPalette() const { return FColorPalette; }
    TColor GetDefaultColor(int index) const;
    TColor GetFreeSeriesColor(bool checkBackground, const TChartSeries* series) const;
    bool IsFreeSeriesColor(TColor color, bool checkBackground, const TChartSeries* series) const;

    // A repaint request: marks the chart for drawing unless AutoRepaint is off (a draw is
    // running). The widget hooks OnInvalidate to schedule its paint.
    void Invalidate();
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool value) { FAutoRepaint = value; }
    std::function<void()> OnInvalidate;
    // Requests that got through, counted from construction (tests check "no repaint").
    long RepaintRequests() const { return FRepaintRequests; }

    // While the stored form is applied, axis setters skip their checks and Automatic sets
    // only its own flag.
    bool Loading() const { return FLoading; }
    void SetLoading(bool value) { FLoading = value; }
    bool Destroying() const { return FDestroying; }

    // The plot rectangle in pixels. The layout sets it while it draws (the axes map values
    // between its edges); setting it asks for no repaint.
    const TChartRect& ChartRect() const { return FChartRect; }
    void SetChartRect(const TChartRect& rect) { FChartRect = rect; }

    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool value);
    bool ClipPoints() const { return FClipPoints; }
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColor BackWallColor() const { return FBackWallColor; }

    // Title lines (none until set).
    const QStringList& TitleText() const { return FTitleText; }
    void SetTitleText(const QStringList& lines);
    bool TitleVisible() const { return FTitleVisible; }
    void SetTitleVisible(bool value);
    // The painted title's text box in the last paint; empty (Width 0) when none was painted.
    const TChartRect& TitleRect() const { return FTitleRect; }
    void SetTitleRect(const TChartRect& rect) { FTitleRect = rect; }

    // Hover highlighting: on, with a 3-pixel translucent red pen.
    THoverSettings& Hover() { return FHover; }
    const THoverSettings& Hover() const { return FHover; }

private:
    std::array<std::unique_ptr<TChartAxis>, 6> FAxes;
    std::vector<TChartSeries*> FSeriesList;
    uint64_t FListVersion = 0;
    int FFirstListChange = 0;
    std::unique_ptr<TSeriesDigest> FDigest;
    bool FDigestInForce = false;
    TChartPage FPage;
    TChartRect FChartRect;
    int FColorPaletteIndex = -1;
    std::vector<TColor> FColorPalette;
    bool FAxisVisible = true;
    bool FClipPoints = true;
    bool FAutoRepaint = false;
    bool FLoading = false;
    bool FDestroying = false;
    long FRepaintRequests = 0;
    TColor FColor = clBtnFace;
    TColor FBackWallColor = clSilver;
    QStringList FTitleText;
    bool FTitleVisible = true;
    TChartRect FTitleRect;
    THoverSettings FHover;
};

}  // namespace chart
