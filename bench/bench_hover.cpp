// One mouse move over the chart without a drag (the hover hit tests of every series and of
// the axis labels), with one zero line and with the 5000 that 2500 presses of Enter leave
// behind, most of them ending left of the window and drawing nothing; one pan step; and,
// as the reference of the same run, one full draw of the chart with one zero line.
//
// Targets: a hover move with 5000 zero lines within 10 % of a full draw; a pan step within
// 1 % of it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "bench/BenchMain.h"
#include "bench/DrawScene.h"
#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/ChartMouse.h"
#include "chart/ChartPainter.h"
#include "chart/Series.h"

namespace {

using bench::kHeight;
using bench::kWidth;
constexpr int kPoints = 5000;

// The program's chart after a long session: a walk of kPoints points, the window that
// Enter sets (last X - 100 .. last X + 200) and `redraws` pairs of zero lines (0 .. 100,
// then 0 .. x + 200 with x growing over the walk), or a single line across the window.
struct Scene {
    explicit Scene(int redraws) : image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied) {
        walk = bench::SetUpChart(chart);
        bench::AddWalk(*walk, kPoints);
        const double last = kPoints - 1;
        chart.BottomAxis().SetMinMax(last - 100, last + 200);
        if (redraws == 0) {
            AddLine(last + 200);
        } else {
            for (int k = 0; k < redraws; ++k) {
                AddLine(100);
                AddLine(static_cast<double>(k) * last / redraws + 200);
            }
        }
        image.fill(Qt::white);
        painter.Draw(chart, image, QSize(kWidth, kHeight));
        // Two moves: the first gives every series its hover record.
        mouse.HoverAt(Empty().x(), Empty().y(), painter.Measurer());
        mouse.HoverAt(Empty().x() + 1, Empty().y(), painter.Measurer());
    }
    void AddLine(double maximum) { bench::AddZeroLine(chart, maximum); }
    // A pixel of the plot between two points, off the zero line.
    QPoint Empty() const {
        const int i = kPoints - 50;
        const int x = (walk->CalcXPos(i) + walk->CalcXPos(i + 1)) / 2;
        return QPoint(x, chart.ChartRect().Top + 3);
    }

    chart::TChart chart;
    chart::TPointSeries* walk;
    chart::TChartPainter painter;
    chart::TChartMouse mouse{chart};
    QImage image;
};

Scene& OneLine() {
    static Scene s(0);
    return s;
}

Scene& LongSession() {
    static Scene s(2500);
    return s;
}

// Back and forth between two neighbouring pixels that hit nothing: no index changes.
void HoverMoves(benchmark::State& state, Scene& s) {
    const QPoint p = s.Empty();
    const long requests = s.chart.RepaintRequests();
    int k = 0;
    for (auto _ : state) {
        s.mouse.HoverAt(p.x() + (k++ & 1), p.y(), s.painter.Measurer());
    }
    if (s.chart.RepaintRequests() != requests) state.SkipWithError("a move asked for a repaint");
}

void BM_HoverMove_OneLine(benchmark::State& state) {
    HoverMoves(state, OneLine());
}
BENCHMARK(BM_HoverMove_OneLine)->Unit(benchmark::kMicrosecond);

void BM_HoverMove_5000ZeroLines(benchmark::State& state) {
    HoverMoves(state, LongSession());
}
BENCHMARK(BM_HoverMove_5000ZeroLines)->Unit(benchmark::kMicrosecond);

void BM_PanStep(benchmark::State& state) {
    Scene& s = OneLine();
    const QPoint p = s.Empty();
    s.mouse.MouseDown(Qt::LeftButton, p.x(), p.y());
    int k = 0;
    for (auto _ : state) {
        s.mouse.DragTo(p.x() + (++k & 1), p.y());
    }
    s.mouse.MouseUp(Qt::LeftButton, p.x(), p.y());
}
BENCHMARK(BM_PanStep)->Unit(benchmark::kMicrosecond);

// The reference: what every move would cost if it repainted.
void BM_FullDraw_OneLine(benchmark::State& state) {
    Scene& s = OneLine();
    for (auto _ : state) {
        s.painter.Draw(s.chart, s.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(s.image.constBits());
    }
}
BENCHMARK(BM_FullDraw_OneLine)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QGuiApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
