// The statistics window on the real main window (F2, updates after each redraw, the chart
// copied and saved, nothing new in settings.dat) and the tooltips of the chart's squares.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
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
    // F2 leaves the main window active: Esc reaches the window once the user activates it.
    QApplication::setActiveWindow(first);
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

// The label names the numbers the table frames, at every stage of a session: nothing
// before the first spin, only numbers that came as hot, never a number both hot and cold.
TEST_F(StatisticsWindow, HotAndColdLabelAgreesWithTheTable) {
    StartAndShow();
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    QString many;
    for (int k = 0; k < 400; ++k)
        many += QString::number(k * 7 % 36 + 1) + u' ';
    const struct {
        QString list;
        QString label;
    } rows[] = {
        {QString(), "Горячие и холодные номера появятся после первых спинов."},
        {"7", "Горячие: 7.\nХолодные: 1, 2, 3, 4, 5."},
        {"5 12 7", "Горячие: 7, 12, 5.\nХолодные: 1, 2, 3, 4, 6."},
        {"5 12 7 12 1", "Горячие: 12, 1, 7, 5.\nХолодные: 2, 3, 4, 6, 8."},
        {many.trimmed(), QString()},  // 400 spins: checked against the table alone
    };
    for (const auto& row : rows) {
        SetMemo(row.list);
        form->Show_Btn->click();
        const QString label = Stats()->HotCold_Label->text();
        if (!row.label.isEmpty()) {
            EXPECT_EQ(label, row.label) << row.list.left(20).toStdString();
        }
        // Every framed number is named in the label's own line, and nothing else is.
        const QStringList lines = label.split(u'\n');
        for (int n = 1; n <= 36; ++n) {
            const bool hot = Stats()->Numbers_Table->IsHot(n);
            const bool cold = Stats()->Numbers_Table->IsCold(n);
            EXPECT_FALSE(hot && cold) << n;
            auto names = [n](const QString& line) {
                return line.section(u':', 1)
                    .split(QRegularExpression("[ ,.]+"), Qt::SkipEmptyParts)
                    .contains(QString::number(n));
            };
            EXPECT_EQ(hot, lines.size() == 2 && names(lines[0]))
                << n << " spins " << row.list.size();
            EXPECT_EQ(cold, lines.size() == 2 && names(lines[1])) << n;
        }
    }
}

TEST_F(StatisticsWindow, SmallPValuesTheExtremesAndTheTestsNumbers) {
    // "p < 0,001" where three decimals would show 0; the locale's separator either way.
    const QString sep = QLocale().decimalPoint();
    EXPECT_EQ(PValueText(0.0004), "p < 0" + sep + "001");
    EXPECT_EQ(PValueText(1e-30), "p < 0" + sep + "001");
    EXPECT_EQ(PValueText(0.001), "p = 0" + sep + "001");
    EXPECT_EQ(PValueText(0.4682), "p = 0" + sep + "468");
    // 180 sevens: a p-value far below 0.001.
    StartAndShow();
    PressF2(form->Numbers_Memo);
    ASSERT_NE(Stats(), nullptr);
    SetMemo(QStringList(180, "7").join(u' '));
    form->Show_Btn->click();
    EXPECT_TRUE(Stats()->Test_Label->text().endsWith("p < 0" + sep + "001."))
        << Stats()->Test_Label->text().toStdString();
    EXPECT_TRUE(Stats()->Test_Label->text().startsWith("Хи-квадрат по 36 номерам: "));
    EXPECT_TRUE(Stats()->Test_Label->text().contains("при 35 степенях свободы"));
    EXPECT_EQ(VerdictText(roulette::Verdict::TooLittleData),
              "Для проверки колеса слишком мало данных: нужно хотя бы 180 спинов (по 5 на номер).");
    // The extremes are of the balance after each spin, and the label says so: after "1"
    // the highest is -1 although the chart starts on the zero line.
    SetMemo("1");
    form->Show_Btn->click();
    EXPECT_EQ(Stats()->Balance_Label->text(),
              "Баланс чёт/нечет после спинов: наибольший -1 (после спина 1),\n"
              "наименьший -1 (после спина 1).");
}

// The cells hold the widest counts in the table's font: after a million spins a cell
// reads "27812 / 143", and a font sized in pixels (pointSize() -1) still gives a size.
TEST_F(StatisticsWindow, NumberTableCellsFitTheirTexts) {
    for (const bool pixelFont : {false, true}) {
        TNumberTable table;
        QFont f = table.font();
        if (pixelFont) f.setPixelSize(15);
        table.setFont(f);
        const QSize plain = table.CellSize();
        EXPECT_GE(plain.width(), TNumberTable::kCellWidth);
        EXPECT_GE(plain.height(), TNumberTable::kCellHeight);
        std::vector<int> numbers(1000000);
        for (size_t i = 0; i < numbers.size(); ++i)
            numbers[i] = static_cast<int>(i % 36) + 1;
        numbers.resize(numbers.size() - 143);  // some numbers last came long ago
        std::fill(numbers.end() - 140, numbers.end(), 17);
        const roulette::Statistics s = roulette::FromNumbers(numbers);
        table.SetStatistics(s);
        const QFontMetrics small(table.font());
        const QFontMetrics big(table.NumberFont());
        int widest = 0;
        for (int n = 1; n <= 36; ++n)
            widest = std::max(widest,
                              small.horizontalAdvance(QString::number(s.numbers[n].count) + " / " +
                                                      QString::number(s.numbers[n].sinceLast)));
        EXPECT_GT(widest, 0);
        EXPECT_LE(widest, table.CellSize().width() - 4) << "pixel font " << pixelFont;
        EXPECT_LE(big.height() + small.height(), table.CellSize().height()) << pixelFont;
        EXPECT_EQ(table.sizeHint().width() - 4, 12 * table.CellSize().width());
    }
}

TEST_F(StatisticsWindow, TheNumberTableIsTheRouletteLayout) {
    TNumberTable table;
    // 3, 6 ... 36 on top, 1, 4 ... 34 at the bottom, 1-3 in the first column.
    EXPECT_EQ(table.CellRect(3).topLeft().y(), table.CellRect(36).topLeft().y());
    EXPECT_LT(table.CellRect(3).y(), table.CellRect(2).y());
    EXPECT_LT(table.CellRect(2).y(), table.CellRect(1).y());
    EXPECT_EQ(table.CellRect(1).x(), table.CellRect(3).x());
    EXPECT_LT(table.CellRect(34).x(), table.CellRect(35).right());
    EXPECT_EQ(table.CellRect(34).x() - table.CellRect(1).x(), 11 * table.CellSize().width());
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
