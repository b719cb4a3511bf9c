// The statistics window on the real main window (F2, updates after each redraw, the chart
// copied and saved, nothing new in settings.dat) and the tooltips of the chart's squares.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "tests/support/FilePermissions.h"
#include "tests/window/FormFixture.h"
#include "window/NumberTable.h"
#include "window/StatsForm.h"

namespace {

using testing_support::FormTest;

class StatisticsWindow : public FormTest {
protected:
    void TypeAndEnter(const QString& numbers) {
        form->Numbers_Memo->setFocus();
        QTest::keyClicks(form->Numbers_Memo, numbers);
        QTest::keyClick(form->Numbers_Memo, Qt::Key_Return);
    }
    // F2 in `where`, its window the active one as the user's typing makes it.
    void PressF2(QWidget* where) {
        QApplication::setActiveWindow(where->window());
        QTest::keyClick(where, Qt::Key_F2);
        QCoreApplication::processEvents();
    }
    TStatsForm* Stats() { return form->StatisticsForm(); }
    QString SpinsText() { return Stats()->Spins_Label->text(); }
};

TEST_F(StatisticsWindow, F2OpensOneWindowAndF2OrEscCloseIt) {
    StartAndShow();
    EXPECT_EQ(Stats(), nullptr) << "nothing is made before F2";
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    TStatsForm* first = Stats();
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(first->windowTitle(), "Статистика");
    EXPECT_FALSE(first->isModal());
    PressF2(form->Numbers_Memo);  // F2 in the main window again closes it
    EXPECT_FALSE(first->isVisible());
    PressF2(form->Show_Btn);  // from another control of the main window
    EXPECT_EQ(Stats(), first) << "one instance";
    EXPECT_TRUE(first->isVisible());
    PressF2(first);  // F2 in the statistics window
    EXPECT_FALSE(first->isVisible());
    PressF2(form->Chart1);
    EXPECT_TRUE(first->isVisible());
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(ui.events, QStringList({"beep"})) << "only the empty list's at start-up";
}

TEST_F(StatisticsWindow, TheButtonsTooltipTellsOfF2) {
    StartAndShow();
    EXPECT_TRUE(form->Show_Btn->toolTip().contains("F2"));
}

TEST_F(StatisticsWindow, UpdatesAfterEveryRedrawWhileTheMainWindowTakesInput) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    EXPECT_EQ(SpinsText(), "Спинов: 0");
    // The main window goes on taking numbers while the window is open.
    TypeAndEnter("5");
    EXPECT_EQ(SpinsText(), "Спинов: 1");
    TypeAndEnter("12");
    TypeAndEnter("7");
    EXPECT_EQ(Memo(), "5 12 7 ");
    EXPECT_EQ(SpinsText(), "Спинов: 3");
    EXPECT_EQ(Stats()->Pair_Labels[0][1][0]->text(), "2") << "two odd";
    EXPECT_EQ(Stats()->Pair_Labels[0][1][2]->text(), "1") << "odd run now 1";
    EXPECT_EQ(Stats()->Pair_Labels[0][0][2]->text(), "—") << "no even run now";
    // The button and the page size redraw too; a bad entry counts only what was walked.
    SetMemo("5 12 7 40 9");
    form->Show_Btn->click();
    EXPECT_EQ(SpinsText(), "Спинов: 3");
    EXPECT_EQ(ui.Messages(), QStringList({"Числа должны быть в диапазоне [1, 36]!"}));
    SetMemo("1 2 3 4");
    form->DotsPerPage_SE->SetValue(200);
    EXPECT_EQ(SpinsText(), "Спинов: 4");
    // An empty list: no spins.
    SetMemo("");
    form->Show_Btn->click();
    EXPECT_EQ(SpinsText(), "Спинов: 0");
}

TEST_F(StatisticsWindow, ClosedItComputesNothingAndOpensOnTheLastWalk) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    Stats()->close();
    TypeAndEnter("36");
    TypeAndEnter("19");
    EXPECT_EQ(SpinsText(), "Спинов: 0") << "a closed window is not updated";
    SetMemo("8 8 8 8");  // edited, not redrawn: the window shows the walk
    PressF2(form->Numbers_Memo);
    EXPECT_EQ(SpinsText(), "Спинов: 2");
    EXPECT_EQ(Stats()->Pair_Labels[1][0][3]->text(), "2") << "red run 36, 19";
}

TEST_F(StatisticsWindow, ShowsTheTestAndTheHotAndColdNumbers) {
    StartAndShow();
    QString list;
    for (int k = 0; k < 5; ++k)
        for (int n = 1; n <= 36; ++n)
            list += QString::number(n) + u' ';
    SetMemo(list.trimmed());
    form->Show_Btn->click();
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    EXPECT_EQ(SpinsText(), "Спинов: 180");
    EXPECT_TRUE(Stats()->Test_Label->text().contains("p = "))
        << Stats()->Test_Label->text().toStdString();
    EXPECT_EQ(Stats()->Verdict_Label->text(), VerdictText(roulette::Verdict::TooEven));
    // One fewer: too little data, no p-value.
    SetMemo(list.trimmed().section(u' ', 0, 178));
    form->Show_Btn->click();
    EXPECT_EQ(SpinsText(), "Спинов: 179");
    EXPECT_FALSE(Stats()->Test_Label->text().contains("p = "));
    EXPECT_EQ(Stats()->Verdict_Label->text(), VerdictText(roulette::Verdict::TooLittleData));
    // 179 spins end with 35: the last five came most recently, 36 waited longest.
    EXPECT_EQ(Stats()->HotCold_Label->text(),
              "Горячие: 35, 34, 33, 32, 31.\nХолодные: 36, 1, 2, 3, 4.");
    EXPECT_TRUE(Stats()->Numbers_Table->IsHot(35));
    EXPECT_TRUE(Stats()->Numbers_Table->IsCold(36));
    EXPECT_FALSE(Stats()->Numbers_Table->IsHot(36));
}

TEST_F(StatisticsWindow, TheNumberTableIsTheRouletteLayout) {
    TNumberTable table;
    // 3, 6 ... 36 on top, 1, 4 ... 34 at the bottom, 1-3 in the first column.
    EXPECT_EQ(table.CellRect(3).topLeft().y(), table.CellRect(36).topLeft().y());
    EXPECT_LT(table.CellRect(3).y(), table.CellRect(2).y());
    EXPECT_LT(table.CellRect(2).y(), table.CellRect(1).y());
    EXPECT_EQ(table.CellRect(1).x(), table.CellRect(3).x());
    EXPECT_LT(table.CellRect(34).x(), table.CellRect(35).right());
    EXPECT_EQ(table.CellRect(34).x() - table.CellRect(1).x(), 11 * TNumberTable::kCellWidth);
}

TEST_F(StatisticsWindow, CopiesAndSavesTheChartsImage) {
    StartAndShow();
    TypeAndEnter("5");
    TypeAndEnter("12");
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    QGuiApplication::clipboard()->clear();
    Stats()->Copy_Btn->click();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), form->Chart1->size() * form->Chart1->devicePixelRatio());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              form->Chart1->Buffer().convertToFormat(QImage::Format_RGB32));

    // Saved through the dialog; a name without the extension gets it.
    ui.Clear();
    ui.saveReply = dir.filePath("walk");
    Stats()->Save_Btn->click();
    EXPECT_EQ(ui.events, QStringList({"save dialog: Сохранить график | график.png"}));
    QImageReader reader(dir.filePath("walk.png"));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.read().size(), copied.size());
    // Cancelled: nothing written, nothing said.
    ui.Clear();
    ui.saveReply.clear();
    Stats()->Save_Btn->click();
    EXPECT_EQ(ui.events, QStringList({"save dialog: Сохранить график | график.png"}));
}

TEST_F(StatisticsWindow, ASaveThatFailsSaysSo) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    testing_support::ScopedFilePermissions permissions(dir.path());
    ASSERT_TRUE(permissions.Binding());
    // A directory the ordinary user made and then closed to writing.
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ui.saveReply = locked + "/chart.png";
    Stats()->Save_Btn->click();
    EXPECT_FALSE(QFile::exists(ui.saveReply));
    EXPECT_EQ(ui.Messages(),
              QStringList({"Не удалось сохранить график в файл " + ui.saveReply + "!"}));
}

TEST_F(StatisticsWindow, SettingsFileIsTheSameWithTheWindowOpenOrNever) {
    StartAndShow();
    TypeAndEnter("5");
    TypeAndEnter("12");
    form->FormClose();
    QFile settings(dir.filePath("settings.dat"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray without = settings.readAll();
    settings.close();
    QFile::remove(settings.fileName());
    PressF2(form->Numbers_Memo);
    ASSERT_TRUE(Stats()->isVisible());
    form->FormClose();
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), without);
}

TEST_F(StatisticsWindow, ClosingTheMainWindowClosesIt) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    ASSERT_TRUE(Stats()->isVisible());
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(Stats()->isVisible());
}

// ---- tooltips of the squares

class SquareToolTips : public StatisticsWindow {
protected:
    QPoint SquarePixel(int index) {
        QCoreApplication::processEvents();
        return QPoint(form->Series1->CalcXPos(index), form->Series1->CalcYPos(index));
    }
    // Qt hides a tooltip a moment after it is told to.
    static bool ToolTipGone() {
        return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
    }
    // The tooltip the chart shows for a pointer resting at `pos`; empty for none.
    QString ToolTipAt(const QPoint& pos) {
        QToolTip::hideText();
        EXPECT_TRUE(ToolTipGone());
        QTest::mouseMove(form->Chart1, pos);
        QHelpEvent help(QEvent::ToolTip, pos, form->Chart1->mapToGlobal(pos));
        QCoreApplication::sendEvent(form->Chart1, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(SquareToolTips, TellTheSpinItsNumberSidesAndBalance) {
    StartAndShow();
    // Nine even and seven odd, then 24: spin 17, balance +3.
    SetMemo("2 4 6 8 10 12 14 16 18 1 3 5 7 9 11 13 24");
    form->Show_Btn->click();
    EXPECT_EQ(form->SquareToolTip(16), "Спин 17: 24 — чёт, чёрное, 19–36\nБаланс: +3");
    EXPECT_EQ(ToolTipAt(SquarePixel(16)), "Спин 17: 24 — чёт, чёрное, 19–36\nБаланс: +3");
    EXPECT_EQ(ToolTipAt(SquarePixel(9) + QPoint(3, -3)),
              "Спин 10: 1 — нечет, красное, 1–18\nБаланс: +8");
    const struct {
        const char* list;
        int index;
        const char* text;
    } cases[] = {
        {"19", 0, "Спин 1: 19 — нечет, красное, 19–36\nБаланс: -1"},
        {"1 2", 1, "Спин 2: 2 — чёт, чёрное, 1–18\nБаланс: 0"},
        {"0x24 +7", 0, "Спин 1: 36 — чёт, красное, 19–36\nБаланс: +1"},
    };
    for (const auto& c : cases) {
        SetMemo(QString::fromUtf8(c.list));
        form->Show_Btn->click();
        EXPECT_EQ(form->SquareToolTip(c.index), QString::fromUtf8(c.text)) << c.list;
    }
}

TEST_F(SquareToolTips, ComeFromTheLastRedrawNotFromTheEditedBox) {
    StartAndShow();
    SetMemo("5 12 7");
    form->Show_Btn->click();
    SetMemo("30 30 30");
    EXPECT_EQ(ToolTipAt(SquarePixel(1)), "Спин 2: 12 — чёт, красное, 1–18\nБаланс: 0");
    EXPECT_EQ(form->SquareToolTip(3), "") << "no fourth spin";
}

TEST_F(SquareToolTips, NoneOnEmptyPlotZeroLinesAndLabelsOrDuringADrag) {
    StartAndShow();
    SetMemo("5 12 7");
    form->Show_Btn->click();
    const QPoint square = SquarePixel(2);
    ASSERT_FALSE(ToolTipAt(square).isEmpty());
    // Empty plot far right of the points, and a point of the zero line there.
    const QPoint empty(form->Series1->CalcXPos(2) + 200, square.y() - 40);
    EXPECT_EQ(ToolTipAt(empty), "");
    EXPECT_EQ(ToolTipAt(QPoint(empty.x(), form->Series1->CalcYPos(1))), "") << "zero line";
    // A label of the left axis.
    EXPECT_EQ(ToolTipAt(QPoint(10, square.y())), "");
    // During a drag: none, and a tooltip showing goes when the drag starts.
    ASSERT_FALSE(ToolTipAt(square).isEmpty());
    QTest::mousePress(form->Chart1, Qt::LeftButton, {}, square);
    ASSERT_TRUE(form->Chart1->Mouse().Dragging());
    EXPECT_TRUE(ToolTipGone());
    QHelpEvent help(QEvent::ToolTip, square, form->Chart1->mapToGlobal(square));
    QCoreApplication::sendEvent(form->Chart1, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    QTest::mouseRelease(form->Chart1, Qt::LeftButton, {}, square);
}

TEST_F(SquareToolTips, LeavingHidesItAndTheChartsImageStaysAsItWas) {
    StartAndShow();
    SetMemo("5 12 7");
    form->Show_Btn->click();
    const QPoint square = SquarePixel(0);
    QTest::mouseMove(form->Chart1, square);
    QTest::mouseMove(form->Chart1, square);  // the second move highlights
    QCoreApplication::processEvents();
    form->Chart1->repaint();
    const QImage before = form->Chart1->Buffer().copy();
    const long draws = form->Chart1->FullDraws();
    QHelpEvent help(QEvent::ToolTip, square, form->Chart1->mapToGlobal(square));
    QCoreApplication::sendEvent(form->Chart1, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    form->Chart1->repaint();
    EXPECT_EQ(form->Chart1->FullDraws(), draws) << "showing the tooltip draws nothing";
    EXPECT_EQ(form->Chart1->Buffer(), before);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form->Chart1, &leave);
    EXPECT_TRUE(ToolTipGone());
}

}  // namespace
