// The statistics window beside the typing: F2 leaves the keyboard in the number box, the
// hottest sector and its p-value (from the worker thread, the newest redraw's only, nothing
// while the window is closed, safe when the window goes while it computes), the report on
// the clipboard, and tooltips that show whichever window is active.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QToolTip>
#include <random>

#include "roulette/Report.h"
#include "roulette/Sector.h"
#include "tests/window/FormFixture.h"
#include "window/SectorWorker.h"
#include "window/StatsForm.h"
#include "window/WheelView.h"

namespace {

using testing_support::FormTest;

// `count` spins of a fair wheel drawn from `seed`.
std::vector<int> Spins(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> wheel(1, 36);
    std::vector<int> out(static_cast<size_t>(count));
    for (int& n : out)
        n = wheel(rng);
    return out;
}

QString ListText(const std::vector<int>& numbers) {
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(u' ');
}

roulette::NumberCounts CountsOf(const std::vector<int>& numbers) {
    roulette::NumberCounts c{};
    for (int n : numbers)
        ++c[n];
    return c;
}

// The p-value the window must show for `numbers`, computed here without the window.
std::optional<double> ExpectedP(const std::vector<int>& numbers) {
    const roulette::NumberCounts counts = CountsOf(numbers);
    return roulette::SectorPValue(roulette::ScanSectors(counts), roulette::SectorSeed(counts));
}

class StatisticsBesideTyping : public FormTest {
protected:
    void PressF2(QWidget* where) {
        QApplication::setActiveWindow(where->window());
        QTest::keyClick(where, Qt::Key_F2);
        QCoreApplication::processEvents();
    }
    void Redraw(const std::vector<int>& numbers) {
        SetMemo(ListText(numbers));
        form->Show_Btn->click();
    }
    TStatsForm* Stats() { return form->StatisticsForm(); }
    bool WaitForSector() {
        return QTest::qWaitFor([this] { return !Stats()->SectorPending(); }, 20000);
    }
};

TEST_F(StatisticsBesideTyping, F2LeavesTheKeyboardInTheNumberBox) {
    StartAndShow();
    SetMemo("5 12");
    form->Numbers_Memo->setFocus();
    form->Numbers_Memo->SetSelStart(form->Numbers_Memo->TextLength());
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    EXPECT_TRUE(Stats()->isVisible());
    EXPECT_EQ(QApplication::activeWindow(), form.get()) << "the statistics window took over";
    EXPECT_EQ(QApplication::focusWidget(), form->Numbers_Memo);
    // The next number goes straight in, whichever control had the keyboard before F2.
    QTest::keyClicks(QApplication::focusWidget(), " 7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Memo(), "5 12 7 ");
    EXPECT_EQ(Stats()->Spins_Label->text(), "Спинов: 3");
    PressF2(form->Numbers_Memo);  // closed
    form->Show_Btn->setFocus();
    PressF2(form->Show_Btn);
    EXPECT_TRUE(Stats()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), form->Numbers_Memo);
}

TEST_F(StatisticsBesideTyping, TheWindowLeavesTheSettingsGroupInView) {
    StartAndShow();
    const QRect screen = form->screen()->availableGeometry();
    // Wherever the main window stands, F2 puts the window on the screen and off the number
    // box, the button and the page size; it scrolls when it had to be made smaller.
    for (const QPoint& at : {QPoint(0, 0), QPoint(0, screen.height() - 536), QPoint(60, 30)}) {
        form->move(at);
        QCoreApplication::processEvents();
        PressF2(form->Numbers_Memo);
        ASSERT_TRUE(Stats()->isVisible());
        const QRect group(form->GroupBox1->mapToGlobal(QPoint(0, 0)), form->GroupBox1->size());
        const QRect placed = Stats()->frameGeometry();
        EXPECT_FALSE(placed.intersects(group)) << placed.x() << "," << placed.y();
        EXPECT_TRUE(screen.contains(placed)) << placed.width() << "x" << placed.height();
        const QSize want = Stats()->PreferredSize();
        if (Stats()->height() < want.height()) {
            EXPECT_TRUE(Stats()->Scroll_Area->verticalScrollBar()->isVisible());
        }
        PressF2(form->Numbers_Memo);  // closed again
    }
}

TEST_F(StatisticsBesideTyping, TheSectorAndItsPValueFromTheWorker) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    const struct {
        int spins;
        unsigned seed;
    } cases[] = {{0, 1}, {179, 2}, {180, 3}, {2000, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spins);
        const std::vector<int> numbers = Spins(c.spins, c.seed);
        Redraw(numbers);
        ASSERT_TRUE(WaitForSector());
        const roulette::SectorScan scan = roulette::ScanSectors(CountsOf(numbers));
        const std::optional<double> p = ExpectedP(numbers);
        EXPECT_EQ(p.has_value(), c.spins >= roulette::kMinSpinsForTest);
        EXPECT_EQ(Stats()->ShownSectorP(), p);
        EXPECT_EQ(Stats()->Sector_Label->text(), SectorText(scan, p, false));
        EXPECT_EQ(Stats()->SectorVerdict_Label->text(), SectorVerdictText(p));
        if (c.spins > 0) {
            QStringList names;
            for (int n : roulette::ArcNumbers(scan.hottest))
                names << QString::number(n);
            EXPECT_TRUE(Stats()->Sector_Label->text().contains(names.join(u' ')));
        }
        if (p) {
            EXPECT_TRUE(Stats()->Sector_Label->text().contains(PValueText(*p)));
        } else {
            EXPECT_TRUE(Stats()->SectorVerdict_Label->text().contains("180"));
        }
    }
}

TEST_F(StatisticsBesideTyping, SectorVerdictsFollowThePValue) {
    const struct {
        std::optional<double> p;
        const char* says;
    } cases[] = {
        {std::nullopt, "слишком мало данных"},
        {0.5, "обычен"},
        {0.0501, "обычен"},
        {0.05, "обычен"},
        {0.049, "заметный"},
        {0.01, "заметный"},
        {0.0099, "необычен"},
        {0.0001, "необычен"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SectorVerdictText(c.p).contains(QString::fromUtf8(c.says)))
            << (c.p ? *c.p : -1) << " " << SectorVerdictText(c.p).toStdString();
}

TEST_F(StatisticsBesideTyping, ANewerRedrawReplacesAnOlderPendingOne) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    const int before = Stats()->SectorWorker().Computed();
    // Five redraws in a row, no event processed between them: only the last one shows.
    std::vector<int> last;
    for (unsigned k = 0; k < 5; ++k) {
        last = Spins(1000 + static_cast<int>(k), 10 + k);
        Stats()->ShowStatistics(roulette::FromNumbers(last));
    }
    ASSERT_TRUE(WaitForSector());
    EXPECT_EQ(Stats()->ShownSectorP(), ExpectedP(last));
    QTest::qWait(100);  // a result of an older request arriving now would be shown wrongly
    EXPECT_EQ(Stats()->ShownSectorP(), ExpectedP(last));
    EXPECT_LT(Stats()->SectorWorker().Computed() - before, 5) << "replaced requests skipped";
    // The same counts again (Enter on the same list) cost nothing.
    const int after = Stats()->SectorWorker().Computed();
    Stats()->ShowStatistics(roulette::FromNumbers(last));
    EXPECT_FALSE(Stats()->SectorPending());
    EXPECT_EQ(Stats()->ShownSectorP(), ExpectedP(last));
    QTest::qWait(50);
    EXPECT_EQ(Stats()->SectorWorker().Computed(), after);
}

TEST_F(StatisticsBesideTyping, ClosedItComputesNoSector) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    Stats()->close();
    const int before = Stats()->SectorWorker().Computed();
    Redraw(Spins(500, 7));
    Redraw(Spins(600, 8));
    QTest::qWait(100);
    EXPECT_EQ(Stats()->SectorWorker().Computed(), before);
    PressF2(form->Numbers_Memo);  // opens on the last walk
    ASSERT_TRUE(WaitForSector());
    EXPECT_EQ(Stats()->ShownSectorP(), ExpectedP(Spins(600, 8)));
    EXPECT_EQ(Stats()->SectorWorker().Computed(), before + 1);
}

TEST_F(StatisticsBesideTyping, TheWindowCanGoWhileTheWorkerComputes) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    QPointer<TStatsForm> stats = Stats();
    stats->ShowStatistics(roulette::FromNumbers(Spins(5000, 9)));
    ASSERT_TRUE(stats->SectorPending());
    delete stats.data();  // while its worker computes
    EXPECT_TRUE(stats.isNull());
    QTest::qWait(50);  // a result posted for the window must not be delivered
    // F2 makes a new window that works as the first did.
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    Redraw(Spins(300, 5));
    ASSERT_TRUE(WaitForSector());
    EXPECT_EQ(Stats()->ShownSectorP(), ExpectedP(Spins(300, 5)));
}

TEST(SectorWorker, DestroyedMidComputationItNeverCallsBack) {
    bool called = false;
    {
        TSectorWorker worker;
        worker.OnResult = [&](std::uint64_t, std::optional<double>) { called = true; };
        const roulette::NumberCounts counts = CountsOf(Spins(20000, 3));
        // Many draws: still computing when the worker goes out of scope.
        worker.Request(roulette::ScanSectors(counts), 1, 20000, 1);
    }
    QTest::qWait(50);
    EXPECT_FALSE(called);
    // A finished one calls back on this thread with its request's number.
    TSectorWorker worker;
    std::uint64_t got = 0;
    std::optional<double> value;
    worker.OnResult = [&](std::uint64_t id, std::optional<double> p) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        got = id;
        value = p;
    };
    const roulette::NumberCounts counts = CountsOf(Spins(400, 4));
    const roulette::SectorScan scan = roulette::ScanSectors(counts);
    worker.Request(scan, 77, 500, 42);
    ASSERT_TRUE(QTest::qWaitFor([&] { return got != 0; }, 20000));
    EXPECT_EQ(got, 42u);
    EXPECT_EQ(value, roulette::SectorPValue(scan, 77, 500));
}

TEST_F(StatisticsBesideTyping, CtrlCAndTheButtonCopyTheReportAsText) {
    StartAndShow();
    const std::vector<int> numbers = Spins(400, 12);
    Redraw(numbers);
    PressF2(form->Numbers_Memo);
    QGuiApplication::clipboard()->clear();
    // Ctrl+C at once, before the worker delivered: the report carries the p-value all the
    // same.
    QApplication::setActiveWindow(Stats());
    QTest::keyClick(Stats(), Qt::Key_C, Qt::ControlModifier);
    const roulette::Statistics s = roulette::FromNumbers(numbers);
    const roulette::SectorScan scan = roulette::ScanSectors(CountsOf(numbers));
    const QString expected = roulette::StatisticsReport(s, scan, ExpectedP(numbers));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    ASSERT_TRUE(WaitForSector());
    QGuiApplication::clipboard()->clear();
    Stats()->CopyStats_Btn->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    const QStringList lines = expected.split(u'\n', Qt::SkipEmptyParts);
    for (const char* label :
         {"Спинов", "Хи-квадрат", "p хи-квадрат", "Горячий сектор", "p сектора"}) {
        const QString prefix = QString::fromUtf8(label) + u'\t';
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
            return l.startsWith(prefix);
        })) << label;
    }
    EXPECT_TRUE(lines.contains("Спинов\t400"));
    // "Копировать график" still copies the chart's picture.
    Stats()->Copy_Btn->click();
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(StatisticsBesideTyping, ToolTipsShowWhicheverWindowIsActive) {
    StartAndShow();
    SetMemo("5 12 7");
    form->Show_Btn->click();
    PressF2(form->Numbers_Memo);
    QCoreApplication::processEvents();
    // The chart's square with the statistics window active ...
    QApplication::setActiveWindow(Stats());
    ASSERT_EQ(QApplication::activeWindow(), Stats());
    const QPoint square(form->Series1->CalcXPos(1), form->Series1->CalcYPos(1));
    QToolTip::hideText();
    QTest::mouseMove(form->Chart1, square);
    QTest::mouseMove(form->Chart1, square + QPoint(1, 0));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), form->SquareToolTip(1));
    // ... and the wheel's pocket with the main window active.
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    QApplication::setActiveWindow(form.get());
    TWheelView* wheel = Stats()->Wheel_View;
    // The test screen is small: the window goes clear of the main window (the pointer is
    // placed on the screen, where the topmost window takes it) and shows the wheel.
    Stats()->move(form->frameGeometry().right() + 50, 0);
    Stats()->Scroll_Area->ensureWidgetVisible(wheel, 0, 0);
    const double r = (wheel->InnerRadius() + wheel->OuterRadius()) / 2;
    const QPoint pocket = (wheel->Centre() + QPointF(0, -r)).toPoint();  // the zero
    QTest::mouseMove(wheel, pocket);
    QTest::mouseMove(wheel, pocket + QPoint(1, 0));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), wheel->PocketToolTip(0));
}

}  // namespace
