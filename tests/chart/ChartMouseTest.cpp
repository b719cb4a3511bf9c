// The chart's mouse handling without events: where a drag may start, the drag steps, the
// series hit test and the hover state, all on a chart drawn by the real painter so that the
// layout results and the label measurements are those of a paint.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "PaintFixture.h"
#include "chart/Axis.h"
#include "chart/ChartMouse.h"
#include "chart/LabelBox.h"

using namespace chart_test;
using chart::TChartPart;

namespace {

// A walk of 200 points, the bottom window at 0 .. 100 and one zero line across it, drawn.
class MouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddWalk(*drawn.walk, 200);
        Bottom().SetMinMax(0, 100);
        zero = AddZeroLine(C(), 100);
        Draw();
    }
    void Draw() { drawn.Draw(painter); }
    chart::TChart& C() { return drawn.chart; }
    chart::TChartAxis& Bottom() { return C().BottomAxis(); }
    chart::TChartAxis& Left() { return C().LeftAxis(); }
    const chart::TChartRect& Plot() { return C().ChartRect(); }
    chart::TPointSeries& Walk() { return *drawn.walk; }
    void Hover(int x, int y) { mouse.HoverAt(x, y, painter.Measurer()); }
    // The centre of the box of label `i` of `axis`, as painted.
    QPoint LabelCentre(const chart::TChartAxis& axis, int i) {
        const chart::TChartRect box =
            chart::LabelBox(axis, axis.Items[i], painter.Measurer(), axis.LabelsFont);
        return QPoint(box.XCenter(), box.YCenter());
    }
    // The centre of a walk point well away from the zero line.
    QPoint PointOffTheLine() {
        for (int i = 50; i < 100; ++i)
            if (std::abs(Walk().CalcYPos(i) - zero->CalcYPos(0)) > 8) {
                point = i;
                return QPoint(Walk().CalcXPos(i), Walk().CalcYPos(i));
            }
        ADD_FAILURE() << "no point off the zero line";
        return QPoint();
    }
    // A pixel inside the plot that no series covers.
    QPoint Empty() {
        const int x = (Walk().CalcXPos(40) + Walk().CalcXPos(41)) / 2;
        const int y0 = zero->CalcYPos(0);
        return QPoint(x, std::abs(Walk().CalcYPos(40) - y0) > 20 ? y0 + 10 : y0 - 10);
    }

    DrawnChart drawn;
    chart::TChartPainter painter;
    chart::TChartMouse mouse{drawn.chart};
    chart::TLineSeries* zero = nullptr;
    int point = -1;  // set by PointOffTheLine
};

TEST_F(MouseTest, PressesFindAxisBandsTitleAndPlotWithEdgesIncluded) {
    const chart::TChartRect r = Plot();
    const chart::TChartAxis& left = Left();
    const chart::TChartAxis& bottom = Bottom();
    const chart::TChartRect title = C().TitleRect();
    const QPoint leftLabel = LabelCentre(left, 1);
    const QPoint bottomLabel = LabelCentre(bottom, 1);
    const int ym = r.YCenter();
    const int xm = r.XCenter();
    struct Case {
        const char* where;
        int x, y;
        TChartPart part;
    } cases[] = {
        {"plot centre", xm, ym, TChartPart::Plot},
        {"plot right edge", r.Right, ym, TChartPart::Plot},
        {"right of the plot", r.Right + 1, ym, TChartPart::None},
        {"left axis line", left.PosAxis - 1, ym, TChartPart::Axis},
        {"left band, outer edge", left.PosAxis - 7, ym, TChartPart::Axis},
        {"left of the band", left.PosAxis - 8, ym, TChartPart::None},
        {"left band, 3 into the plot", left.PosAxis + 3, ym, TChartPart::Axis},
        {"4 into the plot", left.PosAxis + 4, ym, TChartPart::Plot},
        {"left band, axis start", left.PosAxis - 7, left.IStartPos, TChartPart::Axis},
        {"left band, axis end", left.PosAxis - 7, left.IEndPos, TChartPart::Axis},
        {"above the left band", left.PosAxis - 7, left.IStartPos - 1, TChartPart::None},
        {"bottom band, outer edge", xm, bottom.PosAxis + 7, TChartPart::Axis},
        {"below the band", xm, bottom.PosAxis + 8, TChartPart::None},
        {"bottom band, 3 into the plot", xm, bottom.PosAxis - 3, TChartPart::Axis},
        {"right of the bottom band", bottom.IEndPos + 1, bottom.PosAxis + 5, TChartPart::None},
        {"title top left", title.Left, title.Top, TChartPart::Title},
        {"title bottom right", title.Right, title.Bottom, TChartPart::Title},
        {"left of the title", title.Left - 1, title.Top, TChartPart::None},
        {"left label text", leftLabel.x(), leftLabel.y(), TChartPart::None},
        {"bottom label text", bottomLabel.x(), bottomLabel.y(), TChartPart::None},
        {"panel margin", 5, 5, TChartPart::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::ChartPartAt(C(), c.x, c.y), c.part)
            << c.where << " (" << c.x << ", " << c.y << ")";
    // Without an active series the plot is no target (the bands and the title still are).
    Walk().SetActive(false);
    zero->SetActive(false);
    EXPECT_EQ(chart::ChartPartAt(C(), xm, ym), TChartPart::None);
}

TEST_F(MouseTest, OnlyTheLeftButtonOnATargetStartsADragAndAnyReleaseEndsIt) {
    const QPoint label = LabelCentre(Left(), 1);
    EXPECT_FALSE(mouse.MouseDown(Qt::RightButton, 500, 200));
    EXPECT_FALSE(mouse.MouseDown(Qt::MiddleButton, 500, 200));
    EXPECT_FALSE(mouse.MouseDown(Qt::LeftButton, label.x(), label.y()));
    EXPECT_FALSE(mouse.Dragging());
    ASSERT_TRUE(mouse.MouseDown(Qt::LeftButton, 500, 200));
    // A press while dragging is ignored: the drag keeps its start.
    EXPECT_FALSE(mouse.MouseDown(Qt::LeftButton, 600, 220));
    EXPECT_EQ(QPoint(mouse.StartX(), mouse.StartY()), QPoint(500, 200));
    mouse.MouseUp(Qt::RightButton, 500, 200);
    EXPECT_FALSE(mouse.Dragging());

    mouse.Panning().AllowPanning = chart::TPanningMode::None;
    EXPECT_FALSE(mouse.MouseDown(Qt::LeftButton, 500, 200));
}

TEST_F(MouseTest, TenPixelsRightShiftsBothHorizontalAxesAndBackRestores) {
    const int w = Bottom().IAxisSize;
    ASSERT_EQ(w, Plot().Width());
    const long requests = C().RepaintRequests();
    ASSERT_TRUE(mouse.MouseDown(Qt::LeftButton, 500, 200));
    mouse.DragTo(510, 200);
    EXPECT_NEAR(Bottom().Minimum(), -10 * 100.0 / w, 1e-9);
    EXPECT_NEAR(Bottom().Maximum(), 100 - 10 * 100.0 / w, 1e-9);
    EXPECT_FALSE(Bottom().Automatic());
    EXPECT_FALSE(C().TopAxis().Automatic());  // the hidden top axis moves along
    EXPECT_GT(C().RepaintRequests(), requests);
    Draw();
    mouse.DragTo(500, 200);
    EXPECT_NEAR(Bottom().Minimum(), 0, 1e-9);
    EXPECT_NEAR(Bottom().Maximum(), 100, 1e-9);
}

// Each step shifts from the range the step before it set, so a drag ends at the same
// window however its moves and the paints interleave, and the value that was under the
// pointer at the start is under it at the end.
TEST_F(MouseTest, StepsAddUpWhetherOrNotAPaintRunsBetweenThem) {
    const int w = Bottom().IAxisSize;
    const double grabbed = Bottom().InternalCalcPosPoint(500);
    struct Case {
        const char* name;
        std::vector<int> xs;
        bool drawBetween;
    } cases[] = {
        {"one step", {510}, false},
        {"two steps, no paint", {504, 510}, false},
        {"two steps, a paint between", {504, 510}, true},
        {"back and forth, no paint", {530, 490, 507, 510}, false},
    };
    for (const Case& c : cases) {
        Bottom().SetMinMax(0, 100);
        Draw();
        ASSERT_TRUE(mouse.MouseDown(Qt::LeftButton, 500, 200));
        for (int x : c.xs) {
            mouse.DragTo(x, 200);
            if (c.drawBetween) Draw();
        }
        mouse.MouseUp(Qt::LeftButton, 510, 200);
        EXPECT_NEAR(Bottom().Minimum(), -10 * 100.0 / w, 1e-9) << c.name;
        EXPECT_NEAR(Bottom().Maximum(), 100 - 10 * 100.0 / w, 1e-9) << c.name;
        Draw();
        EXPECT_NEAR(Bottom().InternalCalcPosPoint(510), grabbed, 1e-9) << c.name;
    }
}

TEST_F(MouseTest, VerticalMovesChangeNothingAndAskForNoRepaint) {
    ASSERT_TRUE(mouse.MouseDown(Qt::LeftButton, 500, 200));
    const long requests = C().RepaintRequests();
    const double axes[] = {Bottom().Minimum(), Bottom().Maximum(),      Left().Minimum(),
                           Left().Maximum(),   C().TopAxis().Minimum(), C().TopAxis().Maximum()};
    mouse.DragTo(500, 230);
    mouse.DragTo(500, 150);
    mouse.DragTo(500, 150);
    const double after[] = {Bottom().Minimum(), Bottom().Maximum(),      Left().Minimum(),
                            Left().Maximum(),   C().TopAxis().Minimum(), C().TopAxis().Maximum()};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(after[i], axes[i]) << i;
    EXPECT_EQ(C().RepaintRequests(), requests);
    EXPECT_EQ(mouse.LastY(), 150);
    EXPECT_TRUE(Left().Automatic());
}

TEST_F(MouseTest, VerticalPanningShiftsTheLeftAxisWhenAllowed) {
    mouse.Panning().AllowPanning = chart::TPanningMode::Both;
    const double lo = Left().IMinimum;
    const double hi = Left().IMaximum;
    const double perPixel = (hi - lo) / Left().IAxisSize;
    ASSERT_TRUE(mouse.MouseDown(Qt::LeftButton, 500, 200));
    mouse.DragTo(500, 220);  // down: the values move down with the pointer
    EXPECT_NEAR(Left().Minimum(), lo + 20 * perPixel, 1e-9);
    EXPECT_NEAR(Left().Maximum(), hi + 20 * perPixel, 1e-9);
    EXPECT_EQ(Bottom().Minimum(), 0);
}

// ---- series hit test

// The hit test as the rule states it, index by index over the drawn range.
int ScanForSquare(const chart::TChartSeries& s, int x, int y) {
    for (int i = s.FirstValueIndex(); i >= 0 && i <= s.LastValueIndex(); ++i) {
        const int dx = std::abs(x - s.CalcXPos(i));
        const int dy = std::abs(y - s.CalcYPos(i));
        if (dx < 4 && dy < 4) return i;
    }
    return -1;
}

TEST_F(MouseTest, SquaresAreHitWithinThreePixelsOfTheirCentre) {
    const int x = Walk().CalcXPos(50);
    const int y = Walk().CalcYPos(50);
    const struct {
        int dx, dy, index;
    } cases[] = {{0, 0, 50}, {3, 3, 50},  {-3, -3, 50}, {3, -3, 50}, {4, 0, -1},
                 {0, 4, -1}, {-4, 0, -1}, {0, -4, -1},  {4, 4, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(chart::SeriesIndexAt(Walk(), x + c.dx, y + c.dy), c.index)
            << "offset " << c.dx << ", " << c.dy;
}

TEST_F(MouseTest, SquareHitMatchesAScanOverEveryDrawnIndex) {
    // Sparse (about 9 pixels a point) and dense (several points a pixel, squares overlap).
    for (double max : {100.0, 2000.0}) {
        Bottom().SetMinMax(0, max);
        Draw();
        int hits = 0;
        for (int x = Plot().Left - 6; x <= Plot().Left + 120; ++x)
            for (int y = Plot().Top; y <= Plot().Bottom; y += 1) {
                const int expected = ScanForSquare(Walk(), x, y);
                ASSERT_EQ(chart::SeriesIndexAt(Walk(), x, y), expected)
                    << "at " << x << ", " << y << " window 0 .. " << max;
                hits += expected >= 0;
            }
        EXPECT_GT(hits, 100);
    }
}

TEST_F(MouseTest, OverlappingSquaresGiveTheLowerIndex) {
    Walk().Clear();
    Walk().AddXY(50, 0);
    Walk().AddXY(50.2, 0);  // about 2 pixels further right, painted over the first
    Draw();
    ASSERT_LT(Walk().CalcXPos(0), Walk().CalcXPos(1));
    EXPECT_EQ(chart::SeriesIndexAt(Walk(), Walk().CalcXPos(1), Walk().CalcYPos(1)), 0);
    EXPECT_EQ(chart::SeriesIndexAt(Walk(), Walk().CalcXPos(0) + 4, Walk().CalcYPos(1)), 1);
}

TEST_F(MouseTest, ZeroLinesAreHitWithinOnePixel) {
    const int y0 = zero->CalcYPos(0);
    for (int x : {Plot().Left + 1, Plot().XCenter(), Plot().Right - 1})
        for (int dy = -3; dy <= 3; ++dy)
            EXPECT_EQ(chart::SeriesIndexAt(*zero, x, y0 + dy), std::abs(dy) <= 1 ? 0 : -1)
                << "x " << x << " dy " << dy;
}

TEST_F(MouseTest, ALineIsHitFromThePointBeforeItsDrawnRange) {
    // Both ends lie outside the window: only the right one is in the drawn range, and the
    // segment into it crosses the whole plot.
    auto* line = new chart::TLineSeries(&C());  // owned by the chart
    line->AddXY(-100, 0);
    line->AddXY(200, 0);
    C().AddSeries(line);
    Draw();
    ASSERT_EQ(line->FirstValueIndex(), 1);
    EXPECT_EQ(chart::SeriesIndexAt(*line, Plot().XCenter(), line->CalcYPos(0) + 1), 0);
}

TEST_F(MouseTest, NothingDrawnNothingHit) {
    Bottom().SetMinMax(400, 700);
    Draw();
    ASSERT_EQ(zero->FirstValueIndex(), -1);
    EXPECT_EQ(chart::SeriesIndexAt(*zero, Plot().XCenter(), zero->CalcYPos(0)), -1);
    Walk().Clear();
    EXPECT_EQ(chart::SeriesIndexAt(Walk(), Plot().XCenter(), Plot().YCenter()), -1);
}

// ---- hover

TEST_F(MouseTest, TheFirstMoveCreatesTheRecordsTheSecondHighlights) {
    const QPoint p = PointOffTheLine();
    Hover(p.x(), p.y());
    ASSERT_NE(Walk().Selection(), nullptr);
    EXPECT_NE(zero->Selection(), nullptr);
    EXPECT_EQ(Walk().HoverIndex(), -1);
    Hover(p.x() + 1, p.y());
    EXPECT_EQ(Walk().HoverIndex(), point);

    // A series that joins later: the first move after it joined makes its record, the one
    // after that highlights it.
    chart::TLineSeries* later = AddZeroLine(C(), 100);
    Draw();
    const int y0 = later->CalcYPos(0);
    Hover(Plot().XCenter(), y0);
    EXPECT_EQ(zero->HoverIndex(), 0);
    EXPECT_EQ(later->HoverIndex(), -1);
    Hover(Plot().XCenter() + 1, y0);
    EXPECT_EQ(later->HoverIndex(), 0);
}

TEST_F(MouseTest, OnlyAChangedIndexAsksForARepaint) {
    const QPoint p = PointOffTheLine();
    const QPoint e = Empty();
    Hover(e.x(), e.y());
    Hover(e.x() + 1, e.y());
    struct Step {
        QPoint at;
        long newRequests;
    } steps[] = {
        {e, 0},                  // nothing under it, nothing was
        {p, 1},                  // onto a square
        {p + QPoint(2, -1), 0},  // within the same square
        {p + QPoint(-3, 3), 0},  // still
        {e, 1},                  // off it
        {e + QPoint(1, 0), 0},
    };
    for (const Step& s : steps) {
        const long before = C().RepaintRequests();
        Hover(s.at.x(), s.at.y());
        EXPECT_EQ(C().RepaintRequests() - before, s.newRequests)
            << "at " << s.at.x() << ", " << s.at.y();
    }
}

TEST_F(MouseTest, MovingAlongTheLeftLabelsMovesTheHighlight) {
    ASSERT_GE(Left().Items.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const QPoint c = LabelCentre(Left(), i);
        const long before = C().RepaintRequests();
        Hover(c.x(), c.y());
        EXPECT_EQ(Left().LabelHoverIndex(), i);
        EXPECT_EQ(Bottom().LabelHoverIndex(), -1);
        EXPECT_EQ(C().RepaintRequests() - before, 1);
    }
    const QPoint b = LabelCentre(Bottom(), 2);
    Hover(b.x(), b.y());
    EXPECT_EQ(Left().LabelHoverIndex(), -1);
    EXPECT_EQ(Bottom().LabelHoverIndex(), 2);
    const QPoint e = Empty();
    Hover(e.x(), e.y());
    EXPECT_EQ(Bottom().LabelHoverIndex(), -1);
    // Hidden axes get no record.
    EXPECT_EQ(C().TopAxis().LabelSelection(), nullptr);
}

TEST_F(MouseTest, LeavingClearsEveryHighlight) {
    const QPoint p = PointOffTheLine();
    Hover(p.x(), p.y());
    Hover(p.x(), p.y());
    const QPoint label = LabelCentre(Left(), 1);
    Hover(label.x(), label.y());
    Hover(Plot().XCenter(), zero->CalcYPos(0));
    ASSERT_EQ(zero->HoverIndex(), 0);
    Left().EnsureLabelSelection().HoverIndex = 1;  // as if the label were still hovered
    Walk().EnsureSelection().HoverIndex = point;
    chart::TLineSeries* fresh = AddZeroLine(C(), 100);
    const long before = C().RepaintRequests();
    mouse.MouseLeave();
    EXPECT_EQ(Walk().HoverIndex(), -1);
    EXPECT_EQ(zero->HoverIndex(), -1);
    EXPECT_EQ(Left().LabelHoverIndex(), -1);
    EXPECT_NE(fresh->Selection(), nullptr);  // made here, with nothing to clear
    EXPECT_EQ(C().RepaintRequests() - before, 3);
    mouse.MouseLeave();
    EXPECT_EQ(C().RepaintRequests() - before, 3);
}

TEST_F(MouseTest, HoverIndexesOutliveARedrawOfTheSeries) {
    const QPoint p = PointOffTheLine();
    Hover(p.x(), p.y());
    Hover(p.x(), p.y());
    Walk().Clear();
    AddWalk(Walk(), 200);
    EXPECT_EQ(Walk().HoverIndex(), point);
}

TEST_F(MouseTest, HoverStandsStillDuringADrag) {
    const QPoint p = PointOffTheLine();
    Hover(p.x(), p.y());
    Hover(p.x(), p.y());
    ASSERT_TRUE(mouse.MouseDown(Qt::LeftButton, p.x(), p.y()));
    const QPoint e = Empty();
    mouse.MouseMove(e.x(), e.y(), painter.Measurer());
    EXPECT_EQ(Walk().HoverIndex(), point);
    EXPECT_NE(Bottom().Minimum(), 0);
    mouse.MouseUp(Qt::LeftButton, e.x(), e.y());
    Draw();
    // The point dragged along is under the pointer still; the next move elsewhere clears.
    const QPoint off = Empty();
    mouse.MouseMove(off.x(), off.y(), painter.Measurer());
    EXPECT_EQ(Walk().HoverIndex(), -1);
}

TEST_F(MouseTest, HoverSwitchedOffHighlightsNothing) {
    C().Hover().Visible = false;
    const QPoint p = PointOffTheLine();
    const QPoint label = LabelCentre(Left(), 1);
    const long before = C().RepaintRequests();
    for (int k = 0; k < 2; ++k) {
        Hover(p.x(), p.y());
        Hover(label.x(), label.y());
    }
    EXPECT_EQ(Walk().Selection(), nullptr);
    EXPECT_EQ(Left().LabelHoverIndex(), -1);
    EXPECT_EQ(C().RepaintRequests(), before);
}

}  // namespace
