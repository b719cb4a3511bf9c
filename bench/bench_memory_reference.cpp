// The reference for the peak memory figure: a bare QTextEdit, shown and painted, holding
// the same 1,000,000 numbers as the program's box in bench_memory; then the process's peak
// resident size (VmHWM). Its own binary, so that no other benchmark's peak counts.
#include <QApplication>
#include <QTextEdit>

#include "bench/BenchMain.h"
#include "bench/NumberList.h"
#include "bench/ProcessMemory.h"

namespace {

void BM_PeakMemoryBareTextEdit(benchmark::State& state) {
    bench::MeasurePeakMemory(state, [&] {
        QTextEdit box;
        box.resize(814, 82);  // the number box's size in the window at its design size
        box.show();
        box.setPlainText(bench::NumberList(static_cast<int>(state.range(0))));
        box.repaint();
        QCoreApplication::processEvents();
    });
}
// Once: the peak of a process only grows, so repetitions would add nothing.
BENCHMARK(BM_PeakMemoryBareTextEdit)
    ->Arg(1000000)
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
