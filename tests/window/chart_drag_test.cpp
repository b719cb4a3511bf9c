// Dragging the chart in the main window: mouse input through the window, as the window
// system delivers it. A drag goes on over the other controls, a click takes the keys away
// from the number box, and every redraw of the diagram sets the bottom window anew.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "chart/Axis.h"
#include "chart/ChartWidget.h"
#include "tests/window/FormFixture.h"

using namespace testing_support;

namespace {

class ChartDragTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartAndShow());
        SetMemo(QStringLiteral("5 12 7 30 1 2 3 4 8 10 11 17 20"));
        form->Show_BtnClick();
        QApplication::processEvents();
        ui.Clear();
    }
    void TearDown() override {
        if (QTestPrivate::qtestMouseButtons & Qt::LeftButton)
            QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(500, 200));
        FormTest::TearDown();
    }
    QWindow* Window() { return form->windowHandle(); }
    // A point of the chart in window coordinates.
    QPoint InWindow(QPoint chartPoint) { return form->Chart1->mapTo(form.get(), chartPoint); }
    QPoint PlotCentre() {
        const chart::TChartRect& r = Chart().ChartRect();
        return QPoint(r.XCenter(), r.YCenter());
    }
    // Drags `dx` pixels right from the plot's centre and lets go.
    void Pan(int dx) {
        const QPoint from = InWindow(PlotCentre());
        QTest::mousePress(Window(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Window(), from + QPoint(dx / 2, 0));
        QTest::mouseMove(Window(), from + QPoint(dx, 0));
        QTest::mouseRelease(Window(), Qt::LeftButton, {}, from + QPoint(dx, 0));
    }
};

TEST_F(ChartDragTest, ADragGoesOnOverTheOtherControlsUntilTheButtonComesUp) {
    const int width = Chart().ChartRect().Width();
    const QPoint from = InWindow(PlotCentre());
    // Below the chart, over the settings group.
    const QPoint overGroup(from.x() + 20, form->GroupBox1->geometry().center().y());
    ASSERT_EQ(form->childAt(overGroup) == form->Chart1, false);
    QTest::mousePress(Window(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Window(), from + QPoint(10, 0));
    QTest::mouseMove(Window(), overGroup);
    EXPECT_TRUE(form->Chart1->Mouse().Dragging());
    EXPECT_NEAR(Bottom().Minimum(), -20 * 100.0 / width, 1e-9);
    EXPECT_NEAR(Bottom().Maximum(), 100 - 20 * 100.0 / width, 1e-9);
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, overGroup);
    EXPECT_FALSE(form->Chart1->Mouse().Dragging());
    // Moves after the release no longer pan.
    QTest::mouseMove(Window(), from);
    EXPECT_NEAR(Bottom().Minimum(), -20 * 100.0 / width, 1e-9);
}

TEST_F(ChartDragTest, AClickOnTheChartKeepsTypedDigitsFromTheNumberBox) {
    form->Numbers_Memo->setFocus();
    const QString before = Memo();
    QTest::mouseClick(Window(), Qt::LeftButton, {}, InWindow(QPoint(5, 5)));  // the margin
    EXPECT_TRUE(form->Chart1->hasFocus());
    for (Qt::Key k : {Qt::Key_7, Qt::Key_Space, Qt::Key_9, Qt::Key_Return})
        QTest::keyClick(Window(), k);
    EXPECT_EQ(Memo(), before);
    EXPECT_DOUBLE_EQ(Bottom().Minimum(), 0);
    EXPECT_DOUBLE_EQ(Bottom().Maximum(), 100);
}

TEST_F(ChartDragTest, EveryRedrawOfTheDiagramSetsTheWindowAnew) {
    const struct {
        const char* trigger;
        std::function<void()> run;
        double min, max;
    } cases[] = {
        {"Enter", [&] { QTest::keyClick(form->Numbers_Memo, Qt::Key_Return); }, 12 - 100.0,
         12 + 200.0},
        {"the button", [&] { QTest::mouseClick(form->Show_Btn, Qt::LeftButton); }, 0, 100},
        {"the page size", [&] { form->DotsPerPage_SE->SetValue(200); }, 0, 200},
    };
    for (const auto& c : cases) {
        Pan(30);
        ASSERT_LT(Bottom().Minimum(), -1) << c.trigger;
        c.run();
        QApplication::processEvents();
        EXPECT_DOUBLE_EQ(Bottom().Minimum(), c.min) << c.trigger;
        EXPECT_DOUBLE_EQ(Bottom().Maximum(), c.max) << c.trigger;
    }
    EXPECT_TRUE(ui.events.isEmpty()) << ui.events.join("; ").toStdString();
}

TEST_F(ChartDragTest, MovingOffTheChartClearsTheHighlight) {
    const chart::TPointSeries* s = form->Series1;
    const QPoint dot = InWindow(QPoint(s->CalcXPos(3), s->CalcYPos(3)));
    QTest::mouseMove(Window(), dot + QPoint(1, 0));
    QTest::mouseMove(Window(), dot);
    ASSERT_EQ(s->HoverIndex(), 3);
    QTest::mouseMove(Window(), QPoint(dot.x(), form->GroupBox1->geometry().center().y()));
    EXPECT_EQ(s->HoverIndex(), -1);
}

}  // namespace
