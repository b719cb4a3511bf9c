// Peak memory of the program with 1,000,000 numbers in the box: the window started, the
// list drawn, one more number typed and Enter pressed, then the process's peak resident
// size (VmHWM of /proc/self/status), beside the peak before the window was made. Its own
// binary, so that no other benchmark's peak counts. The reference is a bare QTextEdit
// holding the same numbers (bench_memory_reference).
#include <QApplication>
#include <QKeyEvent>

#include "bench/BenchMain.h"
#include "bench/ProcessMemory.h"
#include "bench/WindowBench.h"
#include "platform/widgets/Memo.h"

namespace {

void BM_PeakMemory(benchmark::State& state) {
    bench::CountingUi ui;
    bench::ScratchDir scratch;
    const int count = static_cast<int>(state.range(0));
    bench::MeasurePeakMemory(state, [&] {
        TmainForm form;
        mainForm = &form;
        form.FormCreate();
        if (!bench::ShowAndSettle(form)) state.SkipWithError("the window was not exposed");
        form.Numbers_Memo->setPlainText(bench::NumberList(count));
        form.Show_BtnClick();
        form.Numbers_Memo->setCursorPosition(form.Numbers_Memo->length());
        form.Numbers_Memo->insertText(QStringLiteral(" 17"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(form.Numbers_Memo, &press);
        QCoreApplication::processEvents();
        mainForm = nullptr;
    });
    if (ui.messages) state.SkipWithError("a message box came up");
}
// Once: the peak of a process only grows, so repetitions would add nothing.
BENCHMARK(BM_PeakMemory)
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
