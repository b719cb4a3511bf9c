// The standard scene of the draw benchmarks: the program's chart with a 1000-point walk,
// the bottom window at 400 .. 700 and one zero line, or the 1000 zero lines that 500
// redraws with Enter leave behind. The peer libraries draw the same scene from the
// description here: the points, the axis windows and label steps our chart computed, the
// zero lines.
#pragma once

#include <QString>
#include <vector>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "window/ChartDesign.h"

namespace bench {

constexpr int kWidth = 1021;
constexpr int kHeight = 431;
constexpr int kPoints = 1000;

using diagram::Title;

// Sets `chart` up as the program's window does (title, manual bottom axis, 300 points a
// page) and adds the empty walk series, which it returns.
inline chart::TPointSeries* SetUpChart(chart::TChart& chart) {
    auto* walk = new chart::TPointSeries(&chart);  // owned by the chart
    diagram::ApplyDesign(chart, *walk);
    return walk;
}

// Adds a zero line from 0 to `maximum`, as the diagram routine leaves one.
inline void AddZeroLine(chart::TChart& chart, double maximum) {
    auto* line = new chart::TLineSeries(&chart);  // owned by the chart
    line->AddXY(0, 0);
    line->AddXY(maximum, 0);
    chart.AddSeries(line);
}

// Fills `walk` with `points` steps of a fixed pseudo-random even/odd walk at X = 0, 1, ...:
// up in green for even, down in blue for odd.
inline void AddWalk(chart::TPointSeries& walk, int points) {
    walk.BeginUpdate();
    int balance = 0;
    unsigned state = 12345;
    for (int i = 0; i < points; ++i) {
        state = state * 1103515245u + 12345u;
        const bool even = ((state >> 16) & 1) != 0;
        balance += even ? 1 : -1;
        walk.AddXY(i, balance, QString(), even ? 0x008000 : 0xFF0000);
    }
    walk.EndUpdate();
}

// Sets `chart` up as the program does and fills it with the standard scene: the walk,
// the window 400 .. 700 and `lines` zero lines (1, or pairs as Enter leaves them). Returns
// the walk series; the maxima of the zero lines go to `lineMaxima` when given.
inline chart::TPointSeries* FillScene(chart::TChart& chart, int lines,
                                      std::vector<double>* lineMaxima = nullptr) {
    auto* walk = SetUpChart(chart);
    AddWalk(*walk, kPoints);
    chart.BottomAxis().SetMinMax(400, 700);
    auto addLine = [&](double maximum) {
        AddZeroLine(chart, maximum);
        if (lineMaxima) lineMaxima->push_back(maximum);
    };
    if (lines == 1) {
        addLine(700);
    } else {
        // The pairs that Enter leaves: 0 .. 100, then 0 .. x + 200 with x growing.
        for (int k = 0; k < lines / 2; ++k) {
            addLine(100);
            addLine(k * (kPoints - 1) / (lines / 2) + 200);
        }
    }
    return walk;
}

// The standard scene on a chart of its own.
struct Scene {
    explicit Scene(int lines) : walk(FillScene(chart, lines, &lineMaxima)) {}

    chart::TChart chart;
    std::vector<double> lineMaxima;
    chart::TPointSeries* walk;
};

// What a peer needs to draw the scene as our chart shows it (read after one full draw).
struct PeerScene {
    struct Point {
        double x, y;
        bool even;
    };
    std::vector<Point> points;
    std::vector<double> lineMaxima;
    double xMin = 0, xMax = 0, xStep = 1;
    double yMin = 0, yMax = 0, yStep = 1;
};

inline double LabelStep(const chart::TChartAxis& axis) {
    return axis.Items.size() >= 2 ? std::abs(axis.Items[1].Value - axis.Items[0].Value) : 1.0;
}

inline PeerScene DescribeForPeers(const Scene& s) {
    PeerScene p;
    for (int i = 0; i < s.walk->Count(); ++i)
        p.points.push_back({s.walk->XValues().Value(i), s.walk->YValues().Value(i),
                            s.walk->ValueColor(i) == 0x008000});
    p.lineMaxima = s.lineMaxima;
    const chart::TChartAxis& b = s.chart.BottomAxis();
    const chart::TChartAxis& l = s.chart.LeftAxis();
    p.xMin = b.IMinimum;
    p.xMax = b.IMaximum;
    p.xStep = LabelStep(b);
    p.yMin = l.IMinimum;
    p.yMax = l.IMaximum;
    p.yStep = LabelStep(l);
    return p;
}

// Peer benchmarks, registered when the peer library was found at configure time.
void RegisterQCustomPlot(const PeerScene& one, const PeerScene& many);
void RegisterQtCharts(const PeerScene& one, const PeerScene& many);

}  // namespace bench
