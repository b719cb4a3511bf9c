// How soon the statistics window shows the hottest sector's p-value after an update: the
// window's thread hands the simulation to the worker and goes on; the time is the wall
// time from the update to the p-value on screen, events running meanwhile. Each
// iteration's list differs by one spin, so nothing is reused. Target: 250 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <random>

#include "bench/BenchMain.h"
#include "roulette/Statistics.h"
#include "window/StatsForm.h"

namespace {

void SectorShown(benchmark::State& state) {
    const int spins = static_cast<int>(state.range(0));
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> wheel(1, 36);
    std::vector<int> numbers(static_cast<size_t>(spins));
    for (int& n : numbers)
        n = wheel(rng);
    TStatsForm window(nullptr, [] { return QImage(); });
    window.show();
    QCoreApplication::processEvents();
    size_t changed = 0;
    for (auto _ : state) {
        numbers[changed++ % numbers.size()] = wheel(rng);
        const roulette::Statistics s = roulette::FromNumbers(numbers);  // outside the timing
        QElapsedTimer clock;
        clock.start();
        window.ShowStatistics(s);
        while (window.SectorPending())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (!window.ShownSectorP()) state.SkipWithError("no p-value was shown");
    }
}

BENCHMARK(SectorShown)
    ->Arg(2000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
