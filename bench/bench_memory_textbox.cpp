// Peak memory of the text box on the text model (platform::TextBox), shown and painted,
// holding the same 1,000,000 numbers as the bare QTextEdit of bench_memory_reference; then
// the process's peak resident size (VmHWM). Its own binary, so that no other benchmark's
// peak counts.
#include <QApplication>

#include "bench/BenchMain.h"
#include "bench/NumberList.h"
#include "bench/ProcessMemory.h"
#include "platform/widgets/TextBox.h"

namespace {

void BM_PeakMemoryTextBox(benchmark::State& state) {
    bench::MeasurePeakMemory(state, [&] {
        platform::TextBox box;
        box.resize(814, 82);  // the number box's size in the window at its design size
        box.show();
        box.replaceRange(0, 0, bench::NumberList(static_cast<int>(state.range(0))));
        box.repaint();
        QCoreApplication::processEvents();
    });
}
// Once: the peak of a process only grows, so repetitions would add nothing.
BENCHMARK(BM_PeakMemoryTextBox)
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
