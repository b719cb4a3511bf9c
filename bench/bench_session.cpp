// The chart's draw after a long session: the walk has one point per Enter, and every
// Enter left two zero lines behind (the redraw's 0 .. 100 and the cycle's 0 .. x + 200).
// A draw after the 10,000th Enter (20,000 zero lines) beside one after the 10th.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "bench/BenchMain.h"
#include "bench/DrawScene.h"
#include "chart/Chart.h"
#include "chart/ChartPainter.h"
#include "chart/Series.h"

namespace {

using bench::kHeight;
using bench::kWidth;

struct Session {
    explicit Session(int cycles) {
        auto* walk = bench::SetUpChart(chart);
        auto addLine = [&](double maximum) { bench::AddZeroLine(chart, maximum); };
        addLine(100);  // start-up's
        unsigned state = 12345;
        int balance = 0;
        for (int x = 0; x < cycles; ++x) {
            state = state * 1103515245u + 12345u;
            const bool even = ((state >> 16) & 1) != 0;
            balance += even ? 1 : -1;
            walk->AddXY(x, balance, QString(), even ? 0x008000 : 0xFF0000);
            addLine(100);
            addLine(x + 200);
        }
        chart.BottomAxis().SetMinMax(cycles - 1 - 100, cycles - 1 + 200);
        image = QImage(kWidth, kHeight, QImage::Format_RGB32);
    }

    chart::TChart chart;
    chart::TChartPainter painter;
    QImage image;
};

void SessionDraw(benchmark::State& state) {
    Session s(static_cast<int>(state.range(0)));
    s.painter.Draw(s.chart, s.image, QSize(kWidth, kHeight));
    for (auto _ : state) {
        // Each Enter moves the view by one and adds lines: invalidate the caches a real
        // redraw would find invalid by shifting the view back and forth.
        s.chart.BottomAxis().SetMinMax(s.chart.BottomAxis().Minimum() + 1e-9,
                                       s.chart.BottomAxis().Maximum() + 1e-9);
        s.painter.Draw(s.chart, s.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(s.image.constBits());
    }
    state.counters["series"] = s.chart.SeriesCount();
}

// One more Enter on top of the session: a point, two zero lines, the moved view, the draw.
void SessionEnter(benchmark::State& state) {
    Session s(static_cast<int>(state.range(0)));
    s.painter.Draw(s.chart, s.image, QSize(kWidth, kHeight));
    auto* walk = static_cast<chart::TPointSeries*>(s.chart.Series(0));
    int x = walk->Count();
    for (auto _ : state) {
        walk->AddXY(x, 0, QString(), 0x008000);
        bench::AddZeroLine(s.chart, 100);
        bench::AddZeroLine(s.chart, x + 200);
        s.chart.BottomAxis().SetMinMax(x - 100, x + 200);
        ++x;
        s.painter.Draw(s.chart, s.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(s.image.constBits());
    }
    state.counters["series"] = s.chart.SeriesCount();
}

BENCHMARK(SessionDraw)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SessionEnter)->Arg(10)->Arg(10000)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
