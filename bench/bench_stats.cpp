// The statistics window's update after a redraw (read the walk's record, compute everything,
// show it in the window) beside the walk of the same list, measured in the same run: the
// update must cost no more than the walk.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QString>
#include <memory>

#include "bench/BenchMain.h"
#include "bench/NumberList.h"
#include "bench/WalkBench.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "roulette/Statistics.h"
#include "window/Diagram.h"
#include "window/StatsForm.h"

namespace {

// The walk of the same list (as bench_walk's Walk, under its own name in this binary).
void StatsWalk(benchmark::State& state) {
    bench::RunWalk(state);
}

// What the main window does after a redraw while the window is open, on the record that
// the walk left.
void StatsUpdate(benchmark::State& state) {
    const QString list = bench::NumberList(static_cast<int>(state.range(0)));
    chart::TChart chart;
    auto* series = new chart::TPointSeries(&chart);  // owned by the chart
    chart.AddSeries(series);
    roulette::SpinRecord record;
    diagram::Build(list, *series, record);
    TStatsForm window(nullptr, [] { return QImage(); });
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.ShowStatistics(roulette::FromRecord(record));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(StatsWalk)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(StatsUpdate)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
