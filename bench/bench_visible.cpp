// The visible index range of a long walk with the window at its end, as after Enter: the
// series' CalcFirstLastVisibleIndex (binary search plus the widening steps) and the bare
// binary search, each beside the linear scan from the start of the X list as reference.
// Also one axis pass of a redraw over the same chart, which reads cached value ranges.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench/DrawScene.h"
#include "chart/AxisPass.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/VisibleRange.h"

namespace {

constexpr int kPoints = 1000000;

// A chart like the program's after Enter on a walk of kPoints numbers: the window
// lastX - 100 .. lastX + 200 on a plot 920 x 330 pixels, axis pass done.
struct WalkChart {
    WalkChart() {
        walk = bench::SetUpChart(chart);
        bench::AddWalk(*walk, kPoints);
        const double lastX = walk->XValues().Last();
        chart.BottomAxis().SetMinMax(lastX - 100, lastX + 200);
        chart.SetChartRect(chart::TChartRect{31, 47, 951, 377});
        chart::AxisPassBeforeLayout(chart);
        chart::AxisPassAfterLayout(chart);
        xmin = chart.BottomAxis().InternalCalcPosPoint(chart.ChartRect().Left);
        xmax = chart.BottomAxis().InternalCalcPosPoint(chart.ChartRect().Right);

        // The two searches must agree before their speeds mean anything.
        const chart::TIndexRange a =
            chart::FindWindowIndexes(walk->XValues().Data(), kPoints, xmin, xmax, false);
        const chart::TIndexRange b =
            chart::FindWindowIndexesLinear(walk->XValues().Data(), kPoints, xmin, xmax, false);
        walk->CalcFirstLastVisibleIndex();
        if (a.First != b.First || a.Last != b.Last || walk->FirstValueIndex() != kPoints - 102 ||
            walk->LastValueIndex() != kPoints - 1) {
            std::fprintf(stderr, "visible ranges disagree: %d..%d, %d..%d, %d..%d\n", a.First,
                         a.Last, b.First, b.Last, walk->FirstValueIndex(), walk->LastValueIndex());
            std::abort();
        }
    }

    chart::TChart chart;
    chart::TPointSeries* walk;
    double xmin = 0;
    double xmax = 0;
};

WalkChart& Walk() {
    static WalkChart w;
    return w;
}

void BM_CalcFirstLastVisibleIndex(benchmark::State& state) {
    WalkChart& w = Walk();
    for (auto _ : state) {
        w.walk->CalcFirstLastVisibleIndex();
        benchmark::DoNotOptimize(w.walk->FirstValueIndex());
    }
}
BENCHMARK(BM_CalcFirstLastVisibleIndex);

void BM_FindWindowIndexes_Binary(benchmark::State& state) {
    WalkChart& w = Walk();
    const double* x = w.walk->XValues().Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(chart::FindWindowIndexes(x, kPoints, w.xmin, w.xmax, false));
}
BENCHMARK(BM_FindWindowIndexes_Binary);

// Reference: the scan from the start of the X list, passing every point left of the window.
void BM_FindWindowIndexes_LinearReference(benchmark::State& state) {
    WalkChart& w = Walk();
    const double* x = w.walk->XValues().Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(chart::FindWindowIndexesLinear(x, kPoints, w.xmin, w.xmax, false));
}
BENCHMARK(BM_FindWindowIndexes_LinearReference);

void BM_AxisPass(benchmark::State& state) {
    WalkChart& w = Walk();
    for (auto _ : state) {
        chart::AxisPassBeforeLayout(w.chart);
        chart::AxisPassAfterLayout(w.chart);
        benchmark::DoNotOptimize(w.chart.LeftAxis().IMaximum);
    }
}
BENCHMARK(BM_AxisPass);

}  // namespace

BENCHMARK_MAIN();
