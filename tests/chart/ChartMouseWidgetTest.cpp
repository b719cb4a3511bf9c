// The chart widget driven by mouse, wheel and key events on the offscreen platform: which
// presses start a pan, what a drag does to the axes and to the picture, what ends it, and
// the hover highlight as the events produce it. Drags go through QTest's widget events
// (delivered at once, no paint between them unless the test renders); hover moves through
// the window, as the window system delivers them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "PaintFixture.h"
#include "chart/Axis.h"
#include "chart/LabelBox.h"

using namespace chart_test;

namespace {

bool Reddish(const QColor& c) {
    return c.red() > 100 && c.red() > c.green() + 40 && c.red() > c.blue() + 40;
}

// A shown chart widget with a walk of 200 points, the window 0 .. 100 and one zero line.
class ChartMouseWidget : public ::testing::Test {
protected:
    void SetUp() override {
        AddWalk(*w.walk, 200);
        Bottom().SetMinMax(0, 100);
        zero = AddZeroLine(C(), 100);
        w.widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.widget));
        w.Render();
    }
    void TearDown() override {
        // QTest remembers held buttons across tests.
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (QTestPrivate::qtestMouseButtons & b) QTest::mouseRelease(&w.widget, b);
    }
    chart::TChart& C() { return w.Chart(); }
    chart::TChartAxis& Bottom() { return C().BottomAxis(); }
    chart::TChartAxis& Left() { return C().LeftAxis(); }
    const chart::TChartRect& Plot() { return C().ChartRect(); }
    QWindow* Window() { return w.widget.windowHandle(); }

    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(&w.widget, b, Qt::NoModifier, p);
    }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(&w.widget, b, Qt::NoModifier, p);
    }
    // A move with the buttons held so far; delivered at once, nothing painted.
    void DragMove(QPoint p) { QTest::mouseMove(&w.widget, p); }
    // A move without buttons, through the window like the window system's.
    void Hover(QPoint p) { QTest::mouseMove(Window(), p); }
    // A point of the walk well away from the zero line, and its centre.
    QPoint PointOffTheLine() {
        for (int i = 50; i < 100; ++i)
            if (std::abs(w.walk->CalcYPos(i) - zero->CalcYPos(0)) > 8) {
                point = i;
                return QPoint(w.walk->CalcXPos(i), w.walk->CalcYPos(i));
            }
        ADD_FAILURE() << "no point off the zero line";
        return QPoint();
    }
    QPoint LabelCentre(const chart::TChartAxis& axis, int i) {
        const chart::TChartRect box =
            chart::LabelBox(axis, axis.Items[i], w.widget.Measurer(), axis.LabelsFont);
        return QPoint(box.XCenter(), box.YCenter());
    }

    ProgramWidget w;
    chart::TLineSeries* zero = nullptr;
    int point = -1;
};

TEST_F(ChartMouseWidget, DragsStartOnThePlotTheAxisLineAndTheTitleOnly) {
    const chart::TChartRect& r = Plot();
    const QPoint dot = PointOffTheLine();
    // A horizontal grid line, halfway between two points.
    const int gridY = Left().GridTicks.at(0);
    const int between = (w.walk->CalcXPos(40) + w.walk->CalcXPos(41)) / 2;
    const chart::TChartRect title = C().TitleRect();
    const struct {
        const char* from;
        QPoint at;
        bool pans;
    } cases[] = {
        {"a point", dot, true},
        {"a grid line", {between, gridY}, true},
        {"the left axis line", {Left().PosAxis - 1, r.YCenter()}, true},
        {"the title", {title.XCenter(), title.YCenter()}, true},
        {"a left label", LabelCentre(Left(), 1), false},
        {"a bottom label", LabelCentre(Bottom(), 1), false},
        {"the panel margin", {5, 5}, false},
    };
    for (const auto& c : cases) {
        Bottom().SetMinMax(0, 100);
        w.Render();
        Press(c.at);
        DragMove(c.at + QPoint(10, 0));
        Release(c.at + QPoint(10, 0));
        EXPECT_EQ(Bottom().Minimum() != 0, c.pans) << c.from;
        EXPECT_FALSE(w.widget.Mouse().Dragging()) << c.from;
    }
}

TEST_F(ChartMouseWidget, TenPixelsRightMovesTheWindowAndThePointsAndBackRestores) {
    const int width = Plot().Width();
    const QPoint dot = PointOffTheLine();
    const QColor fill = chart::ToQColor(w.walk->ValueColor(point));
    Press(dot);
    DragMove(dot + QPoint(10, 0));
    EXPECT_NEAR(Bottom().Minimum(), -10 * 100.0 / width, 1e-9);
    EXPECT_NEAR(Bottom().Maximum(), 100 - 10 * 100.0 / width, 1e-9);
    const QImage moved = w.Render();
    // Exact in values; in pixels up to a rounding tie.
    EXPECT_NEAR(w.walk->CalcXPos(point), dot.x() + 10, 1);
    EXPECT_EQ(Pixel(moved, dot.x() + 10, dot.y()), fill);
    DragMove(dot);
    Release(dot);
    const QImage back = w.Render();
    EXPECT_NEAR(Bottom().Minimum(), 0, 1e-9);
    EXPECT_NEAR(Bottom().Maximum(), 100, 1e-9);
    EXPECT_EQ(w.walk->CalcXPos(point), dot.x());
    EXPECT_EQ(Pixel(back, dot.x(), dot.y()), fill);
}

// Moves can come faster than paints: the second step builds on the first, so the point
// grabbed stays under the pointer.
TEST_F(ChartMouseWidget, TwoStepsWithNoPaintBetweenKeepThePointUnderThePointer) {
    const int width = Plot().Width();
    const QPoint dot = PointOffTheLine();
    const long draws = w.widget.FullDraws();
    Press(dot);
    DragMove(dot + QPoint(4, 0));
    DragMove(dot + QPoint(10, 0));
    ASSERT_EQ(w.widget.FullDraws(), draws);  // no paint between the steps
    EXPECT_NEAR(Bottom().Minimum(), -10 * 100.0 / width, 1e-9);
    EXPECT_NEAR(Bottom().Maximum(), 100 - 10 * 100.0 / width, 1e-9);
    const QImage image = w.Render();
    // Exact in values; in pixels up to a rounding tie.
    EXPECT_NEAR(w.walk->CalcXPos(point), dot.x() + 10, 1);
    EXPECT_EQ(Pixel(image, dot.x() + 10, dot.y()), chart::ToQColor(w.walk->ValueColor(point)));
    Release(dot + QPoint(10, 0));
}

TEST_F(ChartMouseWidget, AVerticalDragChangesNothingAndPaintsNothing) {
    const QPoint start(Plot().XCenter(), Plot().YCenter());
    Press(start);
    const long requests = C().RepaintRequests();
    const long draws = w.widget.FullDraws();
    const double leftMin = Left().Minimum();
    for (int dy : {10, 40, -30})
        DragMove(start + QPoint(0, dy));
    QApplication::processEvents();
    EXPECT_EQ(C().RepaintRequests(), requests);
    EXPECT_FALSE(w.widget.Dirty());
    EXPECT_EQ(w.widget.FullDraws(), draws);
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 100);
    EXPECT_EQ(Left().Minimum(), leftMin);
    Release(start);
}

TEST_F(ChartMouseWidget, ReleasingAnotherButtonEndsTheDrag) {
    const QPoint start(Plot().XCenter(), Plot().YCenter());
    for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        Bottom().SetMinMax(0, 100);
        w.Render();
        Press(start);
        Press(start, other);
        Release(start, other);
        EXPECT_FALSE(w.widget.Mouse().Dragging());
        DragMove(start + QPoint(20, 0));  // the left button is still down
        EXPECT_EQ(Bottom().Minimum(), 0);
        Release(start + QPoint(20, 0));
    }
}

TEST_F(ChartMouseWidget, TheDragGoesOnOutsideTheWidgetAndAfterLeavingIt) {
    const int width = Plot().Width();
    const QPoint start(Plot().XCenter(), Plot().YCenter());
    Press(start);
    // Qt hands the moves of a held button to the widget that got the press, wherever the
    // pointer is; the window test drags over other controls.
    const QPoint outside(-40, start.y() + 300);
    DragMove(outside);
    EXPECT_NEAR(Bottom().Minimum(), (start.x() + 40) * 100.0 / width, 1e-9);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w.widget, &leave);
    EXPECT_TRUE(w.widget.Mouse().Dragging());
    DragMove(start);
    EXPECT_NEAR(Bottom().Minimum(), 0, 1e-9);
    Release(start);
    EXPECT_FALSE(w.widget.Mouse().Dragging());
}

TEST_F(ChartMouseWidget, AMoveWithoutAButtonEndsADragWhoseReleaseWentElsewhere) {
    const QPoint start(Plot().XCenter(), Plot().YCenter());
    Press(start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(30, 0)),
                     QPointF(w.widget.mapToGlobal(start + QPoint(30, 0))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w.widget, &move);
    EXPECT_FALSE(w.widget.Mouse().Dragging());
    EXPECT_EQ(Bottom().Minimum(), 0);
    Release(start);
}

TEST_F(ChartMouseWidget, TheWheelAndTheKeysLeaveTheChartAlone) {
    const QPoint at(Plot().XCenter(), Plot().YCenter());
    Press(at);
    Release(at);
    const long requests = C().RepaintRequests();
    for (int delta : {120, -120, -480}) {
        QWheelEvent wheel(QPointF(at), QPointF(w.widget.mapToGlobal(at)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&w.widget, &wheel);
        EXPECT_TRUE(wheel.isAccepted());
    }
    QTest::keyClicks(&w.widget, "12+-");
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Return})
        QTest::keyClick(&w.widget, k);
    EXPECT_EQ(Bottom().Minimum(), 0);
    EXPECT_EQ(Bottom().Maximum(), 100);
    EXPECT_TRUE(Left().Automatic());
    EXPECT_EQ(C().RepaintRequests(), requests);
}

// ---- hover

TEST_F(ChartMouseWidget, ASquareLightsUpThreePixelsOffItsCentreNotFour) {
    const QPoint dot = PointOffTheLine();
    Hover(dot + QPoint(1, 1));  // the first move over the chart only prepares
    EXPECT_EQ(w.walk->HoverIndex(), -1);
    for (QPoint off : {QPoint(3, 3), QPoint(-3, 3), QPoint(3, -3)}) {
        Hover(dot + off);
        EXPECT_EQ(w.walk->HoverIndex(), point) << off.x() << ", " << off.y();
        EXPECT_TRUE(Reddish(Pixel(w.Render(), dot.x() - 5, dot.y())));
    }
    for (QPoint off : {QPoint(4, 0), QPoint(0, -4), QPoint(-4, 4)}) {
        Hover(dot + QPoint(1, 1));
        Hover(dot + off);
        EXPECT_EQ(w.walk->HoverIndex(), -1) << off.x() << ", " << off.y();
        EXPECT_FALSE(Reddish(Pixel(w.Render(), dot.x() - 5, dot.y())));
    }
}

TEST_F(ChartMouseWidget, AZeroLineLightsUpOnePixelOffItNotTwo) {
    const int y0 = zero->CalcYPos(0);
    const int x = (w.walk->CalcXPos(40) + w.walk->CalcXPos(41)) / 2;
    const QPoint far(Plot().Left + 20, y0 - 1);  // on the line, away from the pointer
    const QColor plain = Pixel(w.Render(), far.x(), far.y());
    Hover(QPoint(x, y0 - 20));
    for (int dy : {-1, 1, 0, -2, 2}) {
        Hover(QPoint(x, y0 - 20));
        Hover(QPoint(x, y0 + dy));
        const bool hit = std::abs(dy) <= 1;
        EXPECT_EQ(zero->HoverIndex(), hit ? 0 : -1) << "dy " << dy;
        // The whole segment takes the hover pen.
        EXPECT_EQ(Pixel(w.Render(), far.x(), far.y()) != plain, hit) << "dy " << dy;
    }
}

TEST_F(ChartMouseWidget, MovingAlongTheLeftLabelsMovesTheBoldLabel) {
    const chart::TTextMeasurer& m = w.widget.Measurer();
    const int panel = qGray(chart::ToQColor(chart::clBtnFace).rgb());
    auto ink = [&](const QImage& image, int i) {
        const chart::TChartRect r = chart::LabelBox(Left(), Left().Items[i], m, Left().LabelsFont);
        long sum = 0;
        for (int py = r.Top; py < r.Bottom; ++py)
            for (int px = r.Left; px < r.Right; ++px)
                sum += std::max(0, panel - qGray(image.pixel(px, py)));
        return sum;
    };
    const QImage plain = w.Render().copy();
    Hover(LabelCentre(Left(), 0) + QPoint(0, 1));
    for (int i : {1, 2}) {
        Hover(LabelCentre(Left(), i));
        EXPECT_EQ(Left().LabelHoverIndex(), i);
        const QImage image = w.Render();
        EXPECT_GT(ink(image, i), ink(plain, i) * 5 / 4) << "label " << i;
        EXPECT_EQ(ink(image, i - 1), ink(plain, i - 1)) << "label " << i - 1;
    }
    Hover(QPoint(Plot().XCenter(), 5));
    EXPECT_EQ(Left().LabelHoverIndex(), -1);
    EXPECT_EQ(w.Render(), plain);
}

TEST_F(ChartMouseWidget, LeavingClearsAllHighlights) {
    const QPoint dot = PointOffTheLine();
    Hover(dot);
    Hover(dot + QPoint(1, 0));
    const QPoint label = LabelCentre(Left(), 1);
    Hover(label);
    Hover(dot);
    ASSERT_EQ(w.walk->HoverIndex(), point);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w.widget, &leave);
    EXPECT_EQ(w.walk->HoverIndex(), -1);
    EXPECT_EQ(zero->HoverIndex(), -1);
    EXPECT_EQ(Left().LabelHoverIndex(), -1);
    EXPECT_FALSE(Reddish(Pixel(w.Render(), dot.x() - 5, dot.y())));
}

TEST_F(ChartMouseWidget, AMoveThatChangesNoHighlightPaintsNothing) {
    const QPoint dot = PointOffTheLine();
    const QPoint empty((w.walk->CalcXPos(40) + w.walk->CalcXPos(41)) / 2, Plot().Top + 3);
    Hover(empty);
    Hover(empty + QPoint(1, 0));
    QApplication::processEvents();
    const struct {
        QPoint at;
        bool paints;
    } moves[] = {
        {empty + QPoint(2, 0), false},
        {dot + QPoint(1, 1), true},
        {dot, false},
        {dot + QPoint(-2, 3), false},
        {empty, true},
        {empty + QPoint(0, 1), false},
    };
    for (const auto& m : moves) {
        const long draws = w.widget.FullDraws();
        Hover(m.at);
        w.Render();
        EXPECT_EQ(w.widget.FullDraws() - draws, m.paints ? 1 : 0) << m.at.x() << ", " << m.at.y();
    }
}

}  // namespace
