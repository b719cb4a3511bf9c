// A chart widget set up like the program's Chart1 (title, manual bottom axis, 300 points
// per page, the walk series first, zero lines after it), a deterministic walk to fill it
// with, and helpers that read pixels of the drawn image.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

#include "chart/ChartPainter.h"
#include "chart/ChartWidget.h"
#include "chart/Series.h"
#include "window/ChartDesign.h"

namespace chart_test {

constexpr chart::TColor kEven = 0x008000;  // green
constexpr chart::TColor kOdd = 0xFF0000;   // blue

// The program's chart settings on `c`, with `walk` joining it as its first series.
inline void SetUpProgramChart(chart::TChart& c, chart::TPointSeries* walk) {
    diagram::ApplyDesign(c, *walk);
}

// `count` points of a walk: X = 0, 1, 2, ..., one step up (green) or down (blue) each,
// from a fixed pseudo-random sequence.
inline void AddWalk(chart::TPointSeries& walk, int count, unsigned seed = 12345) {
    walk.BeginUpdate();
    int balance = 0;
    unsigned state = seed;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        const bool even = ((state >> 16) & 1) != 0;
        balance += even ? 1 : -1;
        walk.AddXY(i, balance, QString(), even ? kEven : kOdd);
    }
    walk.EndUpdate();
}

// A zero line from X = 0 to `maximum`, owned by the chart.
inline chart::TLineSeries* AddZeroLine(chart::TChart& c, double maximum) {
    auto* line = new chart::TLineSeries(&c);
    line->AddXY(0, 0);
    line->AddXY(maximum, 0);
    c.AddSeries(line);
    return line;
}

// The zero lines that `redraws` presses of Enter leave on a walk of `points` points: each
// redraw adds a line to the page size (100), then one to x + 200, x growing over the walk.
inline void AddEnterZeroLines(chart::TChart& c, int redraws, int points) {
    for (int k = 0; k < redraws; ++k) {
        const int x = static_cast<int>(static_cast<long long>(k) * (points - 1) / redraws);
        AddZeroLine(c, 100);
        AddZeroLine(c, x + 200);
    }
}

// The program's chart on a widget of the design size.
class ProgramWidget {
public:
    explicit ProgramWidget(int width = 1021, int height = 431) {
        walk = new chart::TPointSeries(&widget);  // owned by the widget
        SetUpProgramChart(widget.Chart(), walk);
        widget.resize(width, height);
    }
    chart::TChart& Chart() { return widget.Chart(); }

    // Paints the widget (a full draw when something changed) and returns its image.
    const QImage& Render() {
        widget.grab();
        return widget.Buffer();
    }

    chart::TChartWidget widget;
    chart::TPointSeries* walk;
};

inline QColor Pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// The program's chart without a widget, drawn by a painter of its own into an image.
class DrawnChart {
public:
    DrawnChart() {
        walk = new chart::TPointSeries(&chart);  // owned by the chart
        SetUpProgramChart(chart, walk);
    }
    // One full draw into a `width` x `height` image of device pixel ratio `dpr`.
    QImage Draw(chart::TChartPainter& painter, qreal dpr = 1, int width = 1021, int height = 431) {
        QImage image(QSize(width, height) * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::white);
        painter.Draw(chart, image, QSize(width, height));
        return image;
    }

    chart::TChart chart;
    chart::TPointSeries* walk;
};

}  // namespace chart_test
