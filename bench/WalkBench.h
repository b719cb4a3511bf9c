// The diagram routine's walk of a generated list of state.range(0) numbers, with the chart
// detached from painting: the body of the walk benchmark, shared by the binaries that set
// other work beside it in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <QString>

#include "bench/NumberList.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "window/Diagram.h"

namespace bench {

inline void RunWalk(benchmark::State& state) {
    const QString list = NumberList(static_cast<int>(state.range(0)));
    chart::TChart chart;
    auto* series = new chart::TPointSeries(&chart);  // owned by the chart
    chart.AddSeries(series);
    roulette::SpinRecord record;
    for (auto _ : state) {
        series->Clear();
        diagram::Result r = diagram::Build(list, *series, record);
        benchmark::DoNotOptimize(r.text.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace bench
