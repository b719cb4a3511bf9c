// The chart widget of the standard scene, shown on Qt's offscreen platform, driven by mouse
// events as the window system delivers them.
//
// Pan step: one mouse move of a left-button drag, from the event to the finished paint
// (the move shifts the bottom axis and asks for a repaint; the paint draws the chart and
// copies it to the window). Beside it, the same paint asked for without the mouse: the
// widget's full draw. Hover move that changes nothing: a move without a button over an
// empty pixel of the plot; it must not paint at all, and the run stops if it does.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "bench/BenchMain.h"
#include "bench/DrawScene.h"
#include "chart/ChartWidget.h"

namespace {

struct Widget {
    Widget() {
        bench::FillScene(w.Chart(), 1);
        w.resize(bench::kWidth, bench::kHeight);
        w.show();
        ok = QTest::qWaitForWindowExposed(&w);
        QCoreApplication::processEvents();
        // An empty pixel of the plot: between two points near the top, off the zero line.
        const chart::TChartSeries* walk = w.Chart().Series(0);
        const int i = walk->FirstValueIndex() + 50;
        empty =
            QPoint((walk->CalcXPos(i) + walk->CalcXPos(i + 1)) / 2, w.Chart().ChartRect().Top + 3);
    }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
    }
    // Runs what the event asked for: the paint, when one is due.
    static void Settle() { QCoreApplication::processEvents(); }

    chart::TChartWidget w;
    QPoint empty;
    bool ok = false;
};

// Made on first use and destroyed in main, before the application object.
std::unique_ptr<Widget> theWidget;

Widget& TheWidget() {
    if (!theWidget) theWidget = std::make_unique<Widget>();
    return *theWidget;
}

void BM_PanStepToPaint(benchmark::State& state) {
    Widget& s = TheWidget();
    if (!s.ok) state.SkipWithError("the widget was not exposed");
    s.Send(QEvent::MouseButtonPress, s.empty, Qt::LeftButton, Qt::LeftButton);
    Widget::Settle();
    const long before = s.w.FullDraws();
    int k = 0;
    for (auto _ : state) {
        // Back and forth by one pixel: the window moves by a third of a unit each step.
        s.Send(QEvent::MouseMove, s.empty + QPoint(++k & 1, 0), Qt::NoButton, Qt::LeftButton);
        Widget::Settle();
    }
    const long draws = s.w.FullDraws() - before;
    s.Send(QEvent::MouseButtonRelease, s.empty, Qt::LeftButton, Qt::NoButton);
    Widget::Settle();
    if (draws != static_cast<long>(state.iterations()))
        state.SkipWithError("not every drag step was painted once");
}
BENCHMARK(BM_PanStepToPaint)->Unit(benchmark::kMicrosecond);

void BM_FullDrawOfWindow(benchmark::State& state) {
    Widget& s = TheWidget();
    if (!s.ok) state.SkipWithError("the widget was not exposed");
    for (auto _ : state) {
        s.w.Chart().Invalidate();
        Widget::Settle();
    }
}
BENCHMARK(BM_FullDrawOfWindow)->Unit(benchmark::kMicrosecond);

void BM_HoverMoveWithoutChange(benchmark::State& state) {
    Widget& s = TheWidget();
    if (!s.ok) state.SkipWithError("the widget was not exposed");
    // The first moves make the hover records; from then on a move over nothing changes
    // nothing.
    s.Send(QEvent::MouseMove, s.empty, Qt::NoButton, Qt::NoButton);
    s.Send(QEvent::MouseMove, s.empty + QPoint(1, 0), Qt::NoButton, Qt::NoButton);
    Widget::Settle();
    const long before = s.w.FullDraws();
    int k = 0;
    for (auto _ : state) {
        s.Send(QEvent::MouseMove, s.empty + QPoint(++k & 1, 0), Qt::NoButton, Qt::NoButton);
        Widget::Settle();
    }
    if (s.w.FullDraws() != before) state.SkipWithError("a hover move that changes nothing drew");
}
BENCHMARK(BM_HoverMoveWithoutChange)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const int status = bench::RunBenchmarks(argc, argv);
    theWidget.reset();
    return status;
}
