// The text box on the text model (platform::TextBox), on its own and beside Qt's plain text
// edit, with 1,000, 100,000 and 1,000,000 numbers in it, the caret at the end and the box
// at the number box's size:
// - a keystroke: a space and a Backspace, each followed by what an input method asks
//   (the caret's rectangle and the text around it) and by painting what changed;
// - " 17" typed, painted;
// - one blink of the caret: its rectangle painted.
// The plain text edit runs at 1,000 and 100,000 numbers only: at a million one keystroke
// takes it a large part of a second.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

#include "bench/BenchMain.h"
#include "bench/NumberList.h"
#include "platform/widgets/TextBox.h"

namespace {

template <typename Box>
std::unique_ptr<Box> MakeBox(int count) {
    auto box = std::make_unique<Box>();
    box->resize(814, 82);  // the number box's size in the window at its design size
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->show();
    const QString list = bench::NumberList(count);
    if constexpr (std::is_same_v<Box, QPlainTextEdit>) {
        box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        box->setPlainText(list);
        box->moveCursor(QTextCursor::End);
    } else {
        box->replaceRange(0, box->length(), list);
        box->setCursorPosition(box->length());
        box->ensureCursorVisible();
    }
    box->setFocus();
    box->activateWindow();
    box->repaint();
    QCoreApplication::processEvents();
    return box;
}

// A key as the window gets it, then the input method's questions and the paint.
template <typename Box>
void Key(Box& box, Qt::Key key) {
    QTest::keyClick(&box, key, Qt::NoModifier);
    benchmark::DoNotOptimize(static_cast<QWidget&>(box).inputMethodQuery(Qt::ImCursorRectangle));
    benchmark::DoNotOptimize(static_cast<QWidget&>(box).inputMethodQuery(Qt::ImSurroundingText));
    box.viewport()->repaint();
}

template <typename Box>
void BM_Keystroke(benchmark::State& state) {
    auto box = MakeBox<Box>(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Key(*box, Qt::Key_Space);
        Key(*box, Qt::Key_Backspace);
    }
}

// A keystroke at the list's start: the rows after it may all move by a word, which the
// re-wrap follows until they meet the old ones.
void BM_TextBoxKeystrokeAtStart(benchmark::State& state) {
    auto box = MakeBox<platform::TextBox>(static_cast<int>(state.range(0)));
    box->setCursorPosition(0);
    box->ensureCursorVisible();
    for (auto _ : state) {
        Key(*box, Qt::Key_1);
        Key(*box, Qt::Key_Backspace);
    }
}

template <typename Box>
void BM_TypeNumber(benchmark::State& state) {
    auto box = MakeBox<Box>(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTest::keyClicks(box.get(), QStringLiteral(" 17"));
        box->viewport()->repaint();
        state.PauseTiming();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(box.get(), Qt::Key_Backspace);
        state.ResumeTiming();
    }
}

void BM_TextBoxBlink(benchmark::State& state) {
    auto box = MakeBox<platform::TextBox>(static_cast<int>(state.range(0)));
    const QRect caret = box->characterRect(box->cursorPosition()).adjusted(-2, 0, 2, 0);
    for (auto _ : state)
        box->viewport()->repaint(caret);
}

void BM_PlainTextEditBlink(benchmark::State& state) {
    auto box = MakeBox<QPlainTextEdit>(static_cast<int>(state.range(0)));
    const QRect caret = box->cursorRect().adjusted(-2, 0, 2, 0);
    for (auto _ : state)
        box->viewport()->repaint(caret);
}

BENCHMARK_TEMPLATE(BM_Keystroke, platform::TextBox)
    ->Name("TextBoxKeystroke")
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Keystroke, QPlainTextEdit)
    ->Name("PlainTextEditKeystroke")
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextBoxKeystrokeAtStart)
    ->Name("TextBoxKeystrokeAtStart")
    ->Arg(1000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_TypeNumber, platform::TextBox)
    ->Name("TextBoxTypeNumber")
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextBoxBlink)
    ->Name("TextBoxBlink")
    ->Arg(1000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainTextEditBlink)
    ->Name("PlainTextEditBlink")
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunBenchmarks(argc, argv);
}
