// The main window at work on Qt's offscreen platform, shown.
//
// The Enter cycle: with N numbers in the box and one more number just typed (outside the
// timing), one press of Enter, from the key event to the end of the paints it causes. The
// chart holds the zero lines of a fresh session: the two that each cycle adds are taken
// away again outside the timing (the draw with 1000 zero lines is measured on its own). Its
// floor, measured beside it: replacing the box's text once with the same text through
// setPlainText, with the wrap and paint that follow; the counters give the text
// extractions and edits the box made per cycle. Target: at most 2 x the floor.
//
// The Enter cycle with automatic saving on, beside it with saving off, at 100,000 and
// 1,000,000 numbers: the window thread's processor time. Target: at most 1.1 x. From Enter
// to the files durable on disk at 1,000,000 numbers: the median and the maximum over nine
// Enters, and the processor time the window's thread spent in each.
//
// Start-up: the window made, restored from settings.dat with N numbers, drawn and shown,
// beside the same with 10 numbers. Target: 100,000 numbers within 3 x 10.
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include "bench/BenchMain.h"
#include "bench/WindowBench.h"
#include "chart/ChartWidget.h"
#include "chart/Series.h"
#include "formstate/AutoSaver.h"
#include "formstate/FormSettings.h"
#include "platform/widgets/Memo.h"
#include "platform/widgets/SpinEdit.h"

namespace {

using bench::CountingUi;

// The processor time this thread has used, in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
using bench::NumberList;

// Counts the paint events an object receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject* watched) { watched->installEventFilter(this); }
    long paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A shown main window after start-up, its box holding `count` numbers drawn once.
struct Window {
    explicit Window(int count) {
        form = std::make_unique<TmainForm>();
        mainForm = form.get();
        form->FormCreate();
        ok = bench::ShowAndSettle(*form);
        form->Numbers_Memo->setPlainText(NumberList(count));
        form->Show_BtnClick();
        QCoreApplication::processEvents();
    }
    ~Window() { mainForm = nullptr; }
    // Returns when the save the last change asked for is on disk (at once with saving off).
    void WaitForSaver() {
        if (form->AutoSaver()) form->AutoSaver()->WaitUntilIdle();
    }
    void PressEnter() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(form->Numbers_Memo, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(form->Numbers_Memo, &release);
        QCoreApplication::processEvents();
    }
    // Deletes the zero lines past the first `keep` series: every Enter adds two, and a
    // chart with hundreds of them is another figure (the draw with 1000 zero lines).
    void KeepSeries(int keep) {
        chart::TChart& c = form->Chart1->Chart();
        while (c.SeriesCount() > keep)
            delete c.Series(c.SeriesCount() - 1);  // owned by the chart
    }
    // Types one number at the end of the box, as the user does before Enter.
    void TypeNumber() {
        platform::TMemo& memo = *form->Numbers_Memo;
        memo.setCursorPosition(memo.length());
        memo.insertText(QStringLiteral("17"));
        QCoreApplication::processEvents();
    }

    bench::ScratchDir scratch;
    std::unique_ptr<TmainForm> form;
    bool ok = false;
};

// The Enter cycle; with `autoSave` the window hands its state to the saver after it, and
// the save is written while the timing is paused. The time is the window thread's own
// processor time, so the saver's writing is not in it unless the window's thread does it.
void EnterCycle(benchmark::State& state, bool autoSave) {
    CountingUi ui;
    Window w(static_cast<int>(state.range(0)));
    if (!w.ok) state.SkipWithError("the window was not exposed");
    w.form->SetAutoSave(autoSave);
    w.PressEnter();  // the box now ends in the space Enter leaves for the next number
    w.WaitForSaver();
    platform::TMemo& memo = *w.form->Numbers_Memo;
    PaintCounter memoPaints(memo.viewport());
    long extractions = 0, edits = 0, boxPaints = 0, chartDraws = 0;
    const int series = w.form->Chart1->Chart().SeriesCount();
    for (auto _ : state) {
        state.PauseTiming();
        w.KeepSeries(series);
        w.TypeNumber();
        w.WaitForSaver();  // the pause in typing may have started one
        const long x0 = memo.TextExtractions(), e0 = memo.TextEdits();
        const long p0 = memoPaints.paints, d0 = w.form->Chart1->FullDraws();
        state.ResumeTiming();
        w.PressEnter();
        state.PauseTiming();
        extractions += memo.TextExtractions() - x0;
        edits += memo.TextEdits() - e0;
        boxPaints += memoPaints.paints - p0;
        chartDraws += w.form->Chart1->FullDraws() - d0;
        w.WaitForSaver();
        state.ResumeTiming();
    }
    if (ui.messages) state.SkipWithError("a message box came up");
    if (autoSave && w.form->AutoSaver()->Failed()) state.SkipWithError("an automatic save failed");
    state.counters["extractions"] =
        benchmark::Counter(static_cast<double>(extractions), benchmark::Counter::kAvgIterations);
    state.counters["edits"] =
        benchmark::Counter(static_cast<double>(edits), benchmark::Counter::kAvgIterations);
    state.counters["box_paints"] =
        benchmark::Counter(static_cast<double>(boxPaints), benchmark::Counter::kAvgIterations);
    state.counters["chart_draws"] =
        benchmark::Counter(static_cast<double>(chartDraws), benchmark::Counter::kAvgIterations);
}

void BM_EnterCycle(benchmark::State& state) {
    EnterCycle(state, false);
}
BENCHMARK(BM_EnterCycle)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same cycle with automatic saving on, beside it with saving off, in one run.
void BM_EnterCycleAutoSave(benchmark::State& state) {
    EnterCycle(state, true);
}
void BM_EnterCycleSaveOff(benchmark::State& state) {
    EnterCycle(state, false);
}
BENCHMARK(BM_EnterCycleAutoSave)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnterCycleSaveOff)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// From the Enter key event to the files durable on disk (synced, renamed, the folder
// synced), with automatic saving on: the median and the maximum over the Enters, the same
// from the end of the window's Enter cycle (the saver's own delay), and the processor time
// the window's thread spent in the cycle.
void BM_EnterToDurable(benchmark::State& state) {
    CountingUi ui;
    Window w(static_cast<int>(state.range(0)));
    if (!w.ok) state.SkipWithError("the window was not exposed");
    w.form->SetAutoSave(true);
    w.PressEnter();
    w.WaitForSaver();
    std::vector<double> durable, afterCycle, windowCpu;
    const int series = w.form->Chart1->Chart().SeriesCount();
    for (auto _ : state) {
        w.KeepSeries(series);
        w.TypeNumber();
        w.WaitForSaver();
        const auto t0 = std::chrono::steady_clock::now();
        const double cpu0 = ThreadCpuMs();
        w.PressEnter();
        const double cpu1 = ThreadCpuMs();
        const auto cycleEnd = std::chrono::steady_clock::now();
        w.WaitForSaver();
        const auto t1 = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(t1 - t0).count();
        durable.push_back(ms);
        afterCycle.push_back(std::chrono::duration<double, std::milli>(t1 - cycleEnd).count());
        windowCpu.push_back(cpu1 - cpu0);
        state.SetIterationTime(ms / 1000.0);
    }
    if (ui.messages) state.SkipWithError("a message box came up");
    if (w.form->AutoSaver()->Failed()) state.SkipWithError("an automatic save failed");
    std::sort(durable.begin(), durable.end());
    std::sort(windowCpu.begin(), windowCpu.end());
    std::sort(afterCycle.begin(), afterCycle.end());
    state.counters["durable_median_ms"] = durable[durable.size() / 2];
    state.counters["durable_max_ms"] = durable.back();
    state.counters["after_cycle_median_ms"] = afterCycle[afterCycle.size() / 2];
    state.counters["after_cycle_max_ms"] = afterCycle.back();
    state.counters["window_cpu_median_ms"] = windowCpu[windowCpu.size() / 2];
}
BENCHMARK(BM_EnterToDurable)
    ->Arg(1000000)
    ->Iterations(9)
    ->Repetitions(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Enter pressed again straight away: the box ends in the space the last Enter left, which
// the redraw takes away and the cycle puts back.
void BM_EnterCycleAgain(benchmark::State& state) {
    CountingUi ui;
    Window w(static_cast<int>(state.range(0)));
    if (!w.ok) state.SkipWithError("the window was not exposed");
    w.PressEnter();
    for (auto _ : state)
        w.PressEnter();
    if (ui.messages) state.SkipWithError("a message box came up");
}
BENCHMARK(BM_EnterCycleAgain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SetPlainTextFloor(benchmark::State& state) {
    CountingUi ui;
    Window w(static_cast<int>(state.range(0)));
    if (!w.ok) state.SkipWithError("the window was not exposed");
    w.TypeNumber();
    w.PressEnter();
    const QString text = w.form->Numbers_Memo->toPlainText();
    for (auto _ : state) {
        w.form->Numbers_Memo->setPlainText(text);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SetPlainTextFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_StartUp(benchmark::State& state) {
    CountingUi ui;
    bench::ScratchDir scratch;
    {
        // settings.dat with the numbers and a page size of 100, as a closed window leaves it.
        TmainForm form;
        mainForm = &form;
        form.Numbers_Memo->setPlainText(NumberList(static_cast<int>(state.range(0))));
        form.FormClose();
        mainForm = nullptr;
    }
    for (auto _ : state) {
        auto form = std::make_unique<TmainForm>();
        mainForm = form.get();
        form->FormCreate();
        if (!bench::ShowAndSettle(*form)) state.SkipWithError("the window was not exposed");
        state.PauseTiming();
        form.reset();
        mainForm = nullptr;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (ui.messages) state.SkipWithError("a message box came up");
}
BENCHMARK(BM_StartUp)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
