// A long session: 10,000 Enter cycles on a shown window, each typing one number into the
// box and pressing Enter through the real key handler, so the list grows to 10,000 numbers
// and the chart collects 20,000 zero lines, as designed (every cycle adds two, and nothing
// removes them). No crash; the heap grows by no more than those zero lines' value lists
// account for (their storage grows in steps of 1000 values) plus 2 KB per cycle, so
// nothing else leaks; the cost of a late redraw against an early one is measured and
// reported (a figure, not a timed assertion; the benchmark "Draw after 10,000 Enters"
// holds the target).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "chart/ChartWidget.h"
#include "chart/Series.h"
#include "tests/reliability/HeapUsage.h"
#include "tests/reliability/Session.h"

namespace {

int Cycles() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("VEXILO_LONG_SESSION_CYCLES", &ok);
    return ok && n > 0 ? n : 10000;
}

// Bytes of value storage that the chart's series hold (X and Y lists).
long long ValueStorage(const chart::TChart& c) {
    long long bytes = 0;
    for (const chart::TChartSeries* s : c.SeriesList())
        bytes += 8LL * (s->XValues().Capacity() + s->YValues().Capacity());
    return bytes;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The chart's full draw of the view it shows, timed over 21 redraws: a steadier figure
// than the one draw each Enter cycle makes.
double SteadyDrawMs(chart::TChartWidget& widget) {
    std::vector<double> ms;
    for (int k = 0; k < 21; ++k) {
        const long before = widget.FullDraws();
        widget.Chart().Invalidate();
        widget.repaint();
        EXPECT_EQ(widget.FullDraws(), before + 1);
        ms.push_back(widget.LastDrawNanoseconds() / 1e6);
    }
    return Median(ms);
}

TEST(LongSession, TenThousandEnterCyclesLeakNothingAndKeepTheList) {
    const int cycles = Cycles();
    ASSERT_GE(cycles, 1100) << "the measurement needs at least 1100 cycles";
    reliability::Session s;
    s.Start();
    s.ui.Clear();  // the silent first draw beeps at the empty list
    TmainForm& form = s.Form();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    chart::TChart& chart = form.Chart1->Chart();

    // The window settles during the first cycles; the baseline is taken after them.
    const int warmUp = 1000;
    long long heapAtBaseline = 0;
    long long storageAtBaseline = 0;
    std::vector<double> earlyMs, lateMs, earlyDrawMs, lateDrawMs;
    double tenthSteadyMs = 0;
    QString expected;
    QElapsedTimer timer;
    for (int i = 0; i < cycles; ++i) {
        const QString number = QString::number(i % 36 + 1);
        QTest::keyClicks(form.Numbers_Memo, number);
        timer.start();
        QTest::keyClick(form.Numbers_Memo, Qt::Key_Return);
        const double ms = timer.nsecsElapsed() / 1e6;
        const double drawMs = form.Chart1->LastDrawNanoseconds() / 1e6;
        expected += number + u' ';
        if (i >= 10 && i < 20) {
            earlyMs.push_back(ms);
            earlyDrawMs.push_back(drawMs);
        }
        if (i >= cycles - 10) {
            lateMs.push_back(ms);
            lateDrawMs.push_back(drawMs);
        }
        if (i == 9) tenthSteadyMs = SteadyDrawMs(*form.Chart1);
        if (i == warmUp - 1) {
            heapAtBaseline = reliability::HeapInUse();
            storageAtBaseline = ValueStorage(chart);
        }
    }
    const long long heapGrowth = reliability::HeapInUse() - heapAtBaseline;
    const double lastSteadyMs = SteadyDrawMs(*form.Chart1);
    const long long storageGrowth = ValueStorage(chart) - storageAtBaseline;
    const int measured = cycles - warmUp;

    // The list is what was typed, and every number was drawn.
    EXPECT_TRUE(s.Memo() == expected) << "the list lost or changed numbers";
    EXPECT_EQ(form.Series1->Count(), cycles);
    EXPECT_EQ(chart.SeriesCount(), 1 + 1 + 2 * cycles);  // Series1, start-up's line, 2 a cycle
    EXPECT_TRUE(s.ui.events.isEmpty()) << s.ui.events.join('\n').toStdString();

    const double perCycle = static_cast<double>(heapGrowth) / measured;
    const double storagePerCycle = static_cast<double>(storageGrowth) / measured;
    std::printf(
        "[ REPORT   ] long session: %d cycles, heap %+.0f bytes per cycle (%s), of which "
        "value lists %.0f; the chart's redraw after Enter %.3f ms at cycle 10-19, %.3f ms at "
        "the last 10 cycles (ratio %.2f); the whole Enter cycle %.3f ms and %.3f ms (ratio "
        "%.2f, the number box re-laying out the growing list); the view after the last Enter "
        "redrawn 21 times %.3f ms beside the view after the tenth %.3f ms (ratio %.2f)\n",
        cycles, perCycle, reliability::HeapCounterName(), storagePerCycle, Median(earlyDrawMs),
        Median(lateDrawMs), Median(lateDrawMs) / Median(earlyDrawMs), Median(earlyMs),
        Median(lateMs), Median(lateMs) / Median(earlyMs), lastSteadyMs, tenthSteadyMs,
        lastSteadyMs / tenthSteadyMs);
    ::testing::Test::RecordProperty("heap_bytes_per_cycle", static_cast<int>(perCycle));
    ::testing::Test::RecordProperty(
        "redraw_ratio_x100", static_cast<int>(100 * Median(lateDrawMs) / Median(earlyDrawMs)));
    ::testing::Test::RecordProperty("steady_redraw_ratio_x100",
                                    static_cast<int>(100 * lastSteadyMs / tenthSteadyMs));

    // Two zero lines a cycle, each with an X and a Y list of 1000 values: 32,000 bytes.
    EXPECT_NEAR(storagePerCycle, 2 * 2 * 1000 * 8, 2 * 2 * 1000 * 8 * 0.01);
    EXPECT_LE(perCycle, storagePerCycle + 2048) << "the heap grows by more than the zero lines";

    // The list saved on close is the list in the box.
    ASSERT_TRUE(s.Close());
    EXPECT_TRUE(s.dir.Read("System/Numbers_Memo.txt") == expected.toUtf8());
}

}  // namespace
