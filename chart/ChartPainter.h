// One full draw of a chart into an image: the layout (ChartLayout.h), then, in this order,
// the panel with its raised bevel, the title, the back wall, the shown axes (line, major
// ticks, grid, minor ticks, labels) and every series clipped to the plot rectangle, each
// over the ones before it. Drawing is anti-aliased with pixel centres at half-integer
// coordinates (QPainter's own convention), and every position is used exactly as the
// layout gives it: a 1-pixel line on an integer coordinate covers two pixel rows at about
// half strength. Highlights are a pen or font chosen at draw time: the hovered square and
// line segment get the series' hover pen, the hovered axis label a bold copy of the labels
// font.
#pragma once

#include <QHash>
#include <QPen>
#include <QSize>
#include <functional>
#include <vector>

#include "chart/ChartRect.h"
#include "chart/ChartStyle.h"
#include "chart/LineStack.h"
#include "chart/PainterMeasurer.h"
#include "chart/Stamps.h"

class QImage;
class QPainter;

namespace chart {

class TChart;
class TChartAxis;
class TChartSeries;

struct TPaintOptions {
    // On: each series draws only its visible range, line segments whose stroke misses the
    // plot never reach the painter, lines at one height that the lines drawn over them
    // settle are skipped (LineStack.h), one clip serves all series, fonts, pens and
    // text sizes are kept between draws, and squares, axis-parallel lines and texts are
    // copied from stamps rendered once (Stamps.h). Off: every point and segment is drawn, the clip
    // is set per series and everything is made and measured afresh. Both give the same picture.
    bool Optimised = true;
};

class TChartPainter {
public:
    explicit TChartPainter(const TChartStyle& style = TChartStyle());

    TChartStyle& Style() { return style_; }
    const TChartStyle& Style() const { return style_; }
    TPaintOptions& Options() { return options_; }
    // The measurer of the draws, measuring as on the image of the last one: label boxes
    // measured with it match the painted labels.
    const TPainterMeasurer& Measurer() const { return measurer_; }
    // Line segments of the last draw that reached the painter, and those left out because
    // the lines drawn over them settle every pixel they cover.
    int LinesDrawn() const { return linesDrawn_; }
    int LinesSettled() const { return linesSettled_; }

    // One full draw of `chart` into `image`, whose logical size (the chart's bounds) is
    // `size`; the image's device pixel ratio scales everything. AutoRepaint is off during
    // the draw, so nothing done while drawing asks for another; `afterDraw` runs at its
    // very end, before AutoRepaint is restored.
    void Draw(TChart& chart, QImage& image, QSize size,
              const std::function<void()>& afterDraw = std::function<void()>());

private:
    void PaintPanel(QPainter& p, const TChart& chart, int width, int height);
    void PaintTitle(QPainter& p, const TChart& chart);
    void PaintBackWall(QPainter& p, const TChart& chart);
    void PaintAxis(QPainter& p, const TChart& chart, const TChartAxis& axis);
    void PaintAxisLabels(QPainter& p, const TChartAxis& axis);
    void PaintAllSeries(QPainter& p, TChart& chart, const QImage& image, int width, int height);
    // The line segments of points first..last of `s` that can show, in drawing order, each
    // handed to `out` with its pen.
    template <typename Out>
    void ForEachSegment(const TChartSeries& s, int first, int last, const TChartRect& bounds,
                        const TChartRect& clip, Out&& out);
    void PaintPointers(QPainter& p, const TChartSeries& s, int first, int last);

    // A solid pen with round joins and round (or flat) ends; kept between draws.
    QPen Pen(TColor color, int width, bool flatEnds = false);
    QPen Pen(const TChartPen& pen) { return Pen(pen.Color, pen.Width, pen.FlatEnds); }
    // True when point `index` is the series' hovered one; `pen` is then its hover pen.
    bool HoverPen(const TChartSeries& s, int index, QPen& pen);
    // drawLine(line) with `pen`, through a stamp when the draw is optimised and the line
    // allows it; only what falls inside `visible` matters.
    void DrawLine(QPainter& p, const QLineF& line, const QPen& pen, const QRect& visible);
    // drawText(baseline, text) with the drawing font of `font` and the pen of `color`.
    void DrawText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
                  TColor color);

    TChartStyle style_;
    TPaintOptions options_;
    TPainterMeasurer measurer_;
    QHash<quint64, QPen> pens_;
    TStampCache stamps_;
    QRect bounds_;  // the image's logical rectangle, during a draw

    // The series pass of a draw, kept to be reused: segments and points in drawing order
    // (the points of one series are one `Other` item), and what the stacks of lines allow
    // to skip.
    void QueueSeries(TChartSeries* series, const TChartRect& bounds, const TChartRect& clip);

    struct PointsDraw {
        const TChartSeries* series;
        int first;
        int last;
    };
    std::vector<TLineDraw> draws_;
    std::vector<PointsDraw> points_;
    TLineStack stack_;
    int linesDrawn_ = 0;
    int linesSettled_ = 0;
};

}  // namespace chart
