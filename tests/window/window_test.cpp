// The main window driven through keys and clicks: the Enter cycle, the button, the
// page-size box, and the layout at its design size and narrower.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "tests/window/FormFixture.h"

using namespace testing_support;

namespace {

const QString kNoList = QStringLiteral("Не задан список номеров!");

class WindowTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartAndShow());
        ui.Clear();
    }

    void Type(QWidget* w, const QString& text) { QTest::keyClicks(w, text); }
    void Enter(Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(form->Numbers_Memo, Qt::Key_Return, mods);
    }
    // The maximum each redraw gave the bottom axis, read off the zero lines it added.
    std::vector<double> RedrawMaxima(int fromLine) {
        std::vector<double> out;
        for (int i = fromLine + 1; i < Chart().SeriesCount(); ++i)
            out.push_back(Chart().Series(i)->XValues().Last());
        return out;
    }
};

TEST_F(WindowTest, TypingNumbersWithEnterBuildsTheWalkAndMovesTheView) {
    form->Numbers_Memo->setFocus();
    Type(form->Numbers_Memo, "5");
    Enter();
    EXPECT_EQ(Memo(), "5 ");
    Type(form->Numbers_Memo, "12");
    Enter(Qt::ShiftModifier);  // modifiers are not looked at
    Type(form->Numbers_Memo, "7");
    Enter(Qt::ControlModifier);
    EXPECT_EQ(Points(), (std::vector<WalkPoint>{{0, -1, B}, {1, 0, G}, {2, -1, B}}));
    EXPECT_DOUBLE_EQ(Bottom().Minimum(), -98);
    EXPECT_DOUBLE_EQ(Bottom().Maximum(), 202);
    EXPECT_EQ(Memo(), "5 12 7 ");
    EXPECT_EQ(form->Numbers_Memo->SelStart(), Memo().size());
    EXPECT_EQ(form->Numbers_Memo->SelLength(), 0);
    EXPECT_TRUE(form->Numbers_Memo->hasFocus());
    EXPECT_TRUE(ui.events.isEmpty());
    // Each Enter adds two zero lines (the redraw's and the cycle's), the last one to x + 200.
    EXPECT_EQ(ZeroLines(), 1 + 3 * 2);
    EXPECT_EQ(Chart().Series(Chart().SeriesCount() - 1)->XValues().Last(), 202);
}

TEST_F(WindowTest, EnterInAnEmptyBoxBeepsShowsTheMessageAndCentresOnOne) {
    Enter();
    EXPECT_EQ(ui.events, QStringList({"beep", "message: " + kNoList}));
    EXPECT_DOUBLE_EQ(Bottom().Minimum(), -99);
    EXPECT_DOUBLE_EQ(Bottom().Maximum(), 201);
    EXPECT_EQ(Memo(), " ");
    EXPECT_EQ(ZeroLines(), 2);  // start-up's and the cycle's; the redraw stopped early
}

TEST_F(WindowTest, EnterAfterABadLastEntryRemovesItAndCentresOnTheLastGoodPoint) {
    SetMemo(QStringLiteral("5 12 abc"));
    form->Numbers_Memo->SetSelStart(8);
    Enter();
    EXPECT_EQ(ui.Messages(), QStringList({QStringLiteral("Ошибка обработки номера: abc")}));
    EXPECT_EQ(Memo(), "5 12  ");
    EXPECT_DOUBLE_EQ(Bottom().Minimum(), -99);
    EXPECT_DOUBLE_EQ(Bottom().Maximum(), 201);
    ui.Clear();
    Type(form->Numbers_Memo, "3");
    Enter();
    EXPECT_EQ(Memo(), "5 12 3 ");  // the next redraw merges the two spaces
    EXPECT_EQ(Points().size(), 3u);
}

// The redraw inside the Enter cycle does not paint the view from 0 that the cycle replaces
// at once: one full draw per Enter, of the final view. The button's redraw paints before
// it returns.
TEST_F(WindowTest, EnterPaintsTheChartOnceWithTheMovedViewAndTheButtonPaintsAtOnce) {
    form->Numbers_Memo->setFocus();
    Type(form->Numbers_Memo, "5 12 7");
    QApplication::processEvents();
    const long before = form->Chart1->FullDraws();
    Enter();
    QApplication::processEvents();
    EXPECT_EQ(form->Chart1->FullDraws(), before + 1);
    EXPECT_FALSE(form->Chart1->Dirty());
    EXPECT_DOUBLE_EQ(Bottom().Minimum(), -98);
    // The painted image is that of the final state: a fresh draw of it gives the same.
    const QImage shown = form->Chart1->Buffer();
    Chart().Invalidate();
    QApplication::processEvents();
    EXPECT_TRUE(form->Chart1->Buffer() == shown);

    const long beforeButton = form->Chart1->FullDraws();
    form->DrawDiagram(false);
    EXPECT_GT(form->Chart1->FullDraws(), beforeButton);
    EXPECT_FALSE(form->Chart1->Dirty());
}

TEST_F(WindowTest, EnterNeverBreaksALineAndOtherKeysReachTheBox) {
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::AltModifier)}) {
        QTest::keyClick(form->Numbers_Memo, Qt::Key_Enter, mods | Qt::KeypadModifier);
        EXPECT_FALSE(Memo().contains(u'\n'));
    }
    Type(form->Numbers_Memo, "8");
    EXPECT_TRUE(Memo().endsWith(u'8'));
}

TEST_F(WindowTest, TheButtonPutsTheViewBackToZeroToPageSize) {
    SetMemo(QStringLiteral("1 2 3"));
    Enter();
    ASSERT_DOUBLE_EQ(Bottom().Minimum(), -98);
    QTest::mouseClick(form->Show_Btn, Qt::LeftButton);
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 100);
    EXPECT_EQ(Points().size(), 3u);
}

TEST_F(WindowTest, PageSizeArrowsRedrawOnlyWhenTheTextChanges) {
    SetMemo(QStringLiteral("1"));
    platform::TSpinEdit* se = form->DotsPerPage_SE;
    int lines = Chart().SeriesCount() - 1;
    QTest::mouseClick(se->DownButton(), Qt::LeftButton);  // 100 - 100 = 0, clamped to 50
    EXPECT_EQ(se->Text(), "50");
    EXPECT_EQ(RedrawMaxima(lines), std::vector<double>({50}));
    EXPECT_EQ(Bottom().Maximum(), 50);

    se->SetValue(5000);
    lines = Chart().SeriesCount() - 1;
    QTest::mouseClick(se->UpButton(), Qt::LeftButton);
    QTest::keyClick(se->Editor(), Qt::Key_Up);
    EXPECT_EQ(se->Text(), "5000");
    EXPECT_TRUE(RedrawMaxima(lines).empty());
}

TEST_F(WindowTest, TypingIntoThePageSizeBoxRedrawsAtEveryKeyAndClampsOnLeaving) {
    SetMemo(QStringLiteral("1"));
    platform::TSpinEdit* se = form->DotsPerPage_SE;
    se->Editor()->setFocus();
    se->Editor()->selectAll();
    int lines = Chart().SeriesCount() - 1;
    Type(se->Editor(), "9999");
    EXPECT_EQ(RedrawMaxima(lines), std::vector<double>({9, 99, 999, 9999}));
    lines = Chart().SeriesCount() - 1;
    form->Numbers_Memo->setFocus();  // leaving the box
    EXPECT_EQ(se->Text(), "5000");
    EXPECT_EQ(RedrawMaxima(lines), std::vector<double>({5000}));

    se->Editor()->setFocus();
    se->Editor()->selectAll();
    lines = Chart().SeriesCount() - 1;
    Type(se->Editor(), "300");
    EXPECT_EQ(RedrawMaxima(lines), std::vector<double>({3, 30, 300}));

    lines = Chart().SeriesCount() - 1;
    ui.Clear();
    QTest::keyClick(se->Editor(), Qt::Key_Return);
    EXPECT_EQ(ui.events, QStringList({"beep"}));
    EXPECT_TRUE(RedrawMaxima(lines).empty());
    EXPECT_EQ(se->Text(), "300");
}

TEST_F(WindowTest, ClickingTheChartTakesTheFocusFromTheNumberBox) {
    form->Numbers_Memo->setFocus();
    QTest::mouseClick(form->Chart1, Qt::LeftButton, {}, QPoint(500, 200));
    EXPECT_TRUE(form->Chart1->hasFocus());
}

TEST_F(WindowTest, LayoutAtDesignSizeAndWhenNarrowed) {
    form->resize(1021, 536);
    QApplication::processEvents();
    auto inGroup = [&](QWidget* w) { return w->geometry(); };
    EXPECT_EQ(form->GroupBox1->geometry(), QRect(0, 431, 1021, 105));
    EXPECT_EQ(form->Chart1->geometry(), QRect(0, 0, 1021, 431));
    EXPECT_EQ(inGroup(form->Show_Btn), QRect(835, 16, 179, 25));
    EXPECT_EQ(inGroup(form->DotsPerPage_SE), QRect(941, 47, 73, 22));
    EXPECT_EQ(inGroup(form->Numbers_Memo), QRect(5, 18, 814, 82));
    EXPECT_EQ(form->Label1->pos(), QPoint(835, 52));

    form->resize(600, 536);
    QApplication::processEvents();
    EXPECT_EQ(form->GroupBox1->geometry(), QRect(0, 431, 600, 105));
    EXPECT_EQ(form->Chart1->geometry(), QRect(0, 0, 600, 431));
    EXPECT_EQ(600 - form->Show_Btn->geometry().right() - 1, 7);
    EXPECT_EQ(inGroup(form->Show_Btn), QRect(414, 16, 179, 25));
    EXPECT_EQ(inGroup(form->DotsPerPage_SE), QRect(520, 47, 73, 22));
    EXPECT_EQ(inGroup(form->Numbers_Memo), QRect(5, 18, 393, 82));
    EXPECT_EQ(form->Label1->pos(), QPoint(414, 52));

    form->resize(1021, 700);  // taller: the group box keeps its height at the bottom
    QApplication::processEvents();
    EXPECT_EQ(form->GroupBox1->geometry(), QRect(0, 595, 1021, 105));
    EXPECT_EQ(form->Chart1->geometry(), QRect(0, 0, 1021, 595));
}

// Enter and Space on the focused button press it, as on any desktop; the number box and
// the page-size box keep their own Enter.
TEST_F(WindowTest, EnterAndSpaceOnTheFocusedButtonPressIt) {
    form->Numbers_Memo->setPlainText(QStringLiteral("5 12"));
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
        {"Space", Qt::Key_Space, Qt::NoModifier},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Moved away by a drag, the view goes back to 0 .. page size only by a redraw.
        Chart().BottomAxis().SetMinMax(40, 90);
        form->Show_Btn->setFocus();
        ASSERT_TRUE(form->Show_Btn->hasFocus());
        // Key events to the window, as the window system delivers them: Qt hands them to
        // the focused widget.
        QTest::keyClick(form->windowHandle(), c.key, c.modifiers);
        QApplication::processEvents();
        EXPECT_EQ(Chart().BottomAxis().Minimum(), 0);
        EXPECT_EQ(Chart().BottomAxis().Maximum(), 100);
        EXPECT_EQ(Points().size(), 2u);
    }
    // Enter held down presses once.
    Chart().BottomAxis().SetMinMax(40, 90);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(form->Show_Btn, &repeat);
    EXPECT_EQ(Chart().BottomAxis().Minimum(), 40);
    EXPECT_TRUE(ui.Messages().isEmpty());
}

// The chart's panel and the window behind it come from one palette colour, also under a
// theme whose buttons have a shade of their own.
TEST_F(WindowTest, TheChartPanelHasTheColourOfTheWindowBehindIt) {
    const QPalette before = QApplication::palette();
    QPalette themed = before;
    themed.setColor(QPalette::Window, QColor(0xE0, 0xD8, 0xC8));
    themed.setColor(QPalette::Button, QColor(0x90, 0xA8, 0xC0));
    QApplication::setPalette(themed);  // the chart draws itself anew
    QApplication::processEvents();
    const QImage shot = form->grab().toImage();
    QApplication::setPalette(before);
    const QColor window = shot.pixelColor(827, 431 + 80);  // the group box, beside the box
    EXPECT_EQ(window, themed.color(QPalette::Window)) << window.name().toStdString();
    // The chart's panel: its margins left and right of the plot, and above the title.
    for (const QPoint p : {QPoint(10, 200), QPoint(1010, 200), QPoint(500, 8)})
        EXPECT_EQ(shot.pixelColor(p), window)
            << p.x() << "," << p.y() << " " << shot.pixelColor(p).name().toStdString();
}

// Entries are separated by the space character alone: pasted text keeps its other
// characters, and an entry holding one is a single bad entry, reported whole and deleted.
TEST_F(WindowTest, PastedNonSpaceSeparatorsStayInsideTheirEntry) {
    struct Case {
        const char* name;
        QString pasted;
        QString badEntry;  // as the message shows it
        QString boxAfter;  // after Enter
        size_t points;
    };
    const QString prefix = QStringLiteral("Ошибка обработки номера: ");
    const Case cases[] = {
        {"no-break space", QStringLiteral("5\u00A06"), QStringLiteral("5\u00A06"),
         QStringLiteral(" "), 0},
        // The space left by the deleted last entry and the one Enter appends.
        {"line separator", QStringLiteral("7 5\u20286"), QStringLiteral("5\u20286"),
         QStringLiteral("7  "), 1},
        {"tab", QStringLiteral("5\t6 7"), QStringLiteral("5\t6"), QStringLiteral(" 7 "), 0},
        {"line break", QStringLiteral("7 5\n6"), QStringLiteral("5\n6"), QStringLiteral("7  "), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->Numbers_Memo->SetText(QString());
        form->Numbers_Memo->setFocus();
        form->Numbers_Memo->insertPlainText(c.pasted);  // what pasting does
        ui.Clear();
        Enter();
        EXPECT_EQ(ui.Messages(), QStringList{prefix + c.badEntry});
        EXPECT_EQ(form->Numbers_Memo->Text(), c.boxAfter);
        EXPECT_EQ(Points().size(), c.points);
    }
}

TEST_F(WindowTest, ComponentsCaptionsAndHiddenControls) {
    QStringList names;
    for (const auto& c : form->Components())
        names << c.name;
    EXPECT_EQ(names,
              QStringList({"GroupBox1", "Label1", "Show_Btn", "Numbers_Memo", "DotsPerPage_SE",
                           "LogGroupBox", "Log", "Debug_CheckBox", "ClearLogBitBtn",
                           "SaveLogBitBtn", "UserAgentListBox", "Chart1", "Series1", "Timer1"}));
    EXPECT_EQ(form->GroupBox1->title(), "Настройки");
    EXPECT_EQ(form->Label1->text(), "Точек на странице");
    EXPECT_EQ(form->Show_Btn->text(), "Показать график");
    EXPECT_TRUE(form->Show_Btn->font().bold());
    EXPECT_FALSE(form->LogGroupBox->isVisible());
    EXPECT_FALSE(form->Debug_CheckBox->isHidden());  // its own flag is set
    EXPECT_TRUE(form->UserAgentListBox->isHidden());
    EXPECT_EQ(form->DotsPerPage_SE->Value(), 100);
    EXPECT_FALSE(form->Timer1->isActive());
}

}  // namespace
