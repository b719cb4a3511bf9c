// The diagram routine's own work (normalise, split, convert, walk, fill the point series),
// with the chart detached from painting, beside a bare reference that splits the same text,
// converts with std::from_chars and fills two vectors.
#include <benchmark/benchmark.h>

#include <QString>
#include <charconv>
#include <string>
#include <vector>

#include "bench/NumberList.h"
#include "bench/WalkBench.h"

namespace {

void Walk(benchmark::State& state) {
    bench::RunWalk(state);
}

void WalkReference(benchmark::State& state) {
    const std::string list = bench::NumberList(static_cast<int>(state.range(0))).toStdString();
    for (auto _ : state) {
        std::vector<double> xs;
        std::vector<double> ys;
        int balance = 0;
        const char* p = list.data();
        const char* end = p + list.size();
        int position = 0;
        while (p <= end) {
            const char* stop =
                static_cast<const char*>(memchr(p, ' ', static_cast<size_t>(end - p)));
            if (!stop) stop = end;
            int n = 0;
            std::from_chars(p, stop, n);
            balance += (n % 2 == 0) ? 1 : -1;
            xs.push_back(position++);
            ys.push_back(balance);
            p = stop + 1;
        }
        benchmark::DoNotOptimize(xs.data());
        benchmark::DoNotOptimize(ys.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(Walk)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(WalkReference)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
