// Painting of the chart widget: pixels of a rendered walk (squares, outlines, zero line,
// grid, clip), the cached image, highlights, and the optimised draw against drawing
// everything.
#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "PaintFixture.h"
#include "chart/Axis.h"
#include "chart/ChartPainter.h"
#include "chart/LabelBox.h"

using namespace chart_test;

namespace {

// The share of `mix` that is `a` rather than `b`, per channel, averaged over the channels
// where a and b differ enough to tell.
double Share(const QColor& mix, const QColor& a, const QColor& b) {
    double sum = 0;
    int n = 0;
    const int ma[] = {mix.red(), mix.green(), mix.blue()};
    const int aa[] = {a.red(), a.green(), a.blue()};
    const int ba[] = {b.red(), b.green(), b.blue()};
    for (int c = 0; c < 3; ++c) {
        if (std::abs(aa[c] - ba[c]) < 40) continue;
        sum += static_cast<double>(ma[c] - ba[c]) / (aa[c] - ba[c]);
        ++n;
    }
    return n ? sum / n : -1;
}

bool Grey(const QColor& c) {
    return std::abs(c.red() - c.green()) <= 2 && std::abs(c.green() - c.blue()) <= 2;
}

// A walk of 1000 points with the window at 400 .. 700 and one zero line across it.
class WalkPaint : public ::testing::Test {
protected:
    void SetUp() override {
        AddWalk(*w.walk, 1000);
        w.Chart().BottomAxis().SetMinMax(400, 700);
        line = AddZeroLine(w.Chart(), 700);
        image = w.Render();
        panel = chart::ToQColor(chart::clBtnFace);
    }
    chart::TChart& C() { return w.Chart(); }
    const chart::TChartRect& Plot() { return C().ChartRect(); }

    ProgramWidget w;
    chart::TLineSeries* line = nullptr;
    QImage image;
    QColor panel;
};

TEST_F(WalkPaint, SquaresAreFilledWithTheirColourAndOutlinedOnThePixelEdges) {
    int green = 0;
    int blue = 0;
    const int y0 = C().LeftAxis().CalcYPosValue(0);
    const std::vector<int>& grid = C().BottomAxis().GridTicks;
    for (int i = w.walk->FirstValueIndex(); i <= w.walk->LastValueIndex(); ++i) {
        const int x = w.walk->CalcXPos(i);
        const int y = w.walk->CalcYPos(i);
        // Neighbours are 3 pixels right and 7 up or down: on the centre's row, only the
        // square two points earlier lies under the left outline. Leave out the zero line's
        // rows, the plot's edges and the columns of vertical grid lines.
        if (std::abs(y - y0) < 8 || x - 6 <= Plot().Left + 1 || x + 4 >= Plot().Right) continue;
        if (std::any_of(grid.begin(), grid.end(), [&](int g) { return g >= x - 7 && g <= x; }))
            continue;
        const QColor fill = chart::ToQColor(w.walk->ValueColor(i));
        const QColor centre = Pixel(image, x, y);
        if (w.walk->ValueColor(i) == kEven) {
            EXPECT_EQ(centre, QColor(0, 128, 0)) << "point " << i;
            ++green;
        } else {
            EXPECT_EQ(centre, QColor(0, 0, 255)) << "point " << i;
            ++blue;
        }
        // The outline runs along the pixel edge x - 4: half over the pixel outside the
        // fill, half over the fill's first column.
        const QColor under = Pixel(image, x - 6, y);  // what the outline was drawn over
        EXPECT_NEAR(Share(Pixel(image, x - 5, y), Qt::black, under), 0.5, 0.05) << "point " << i;
        EXPECT_NEAR(Share(Pixel(image, x - 4, y), Qt::black, fill), 0.5, 0.05) << "point " << i;
    }
    EXPECT_GT(green, 20);
    EXPECT_GT(blue, 20);
}

TEST_F(WalkPaint, ZeroLineBlendsHalfIntoTheTwoRowsAroundValueZero) {
    const int y0 = C().LeftAxis().CalcYPosValue(0);
    const QColor colour = chart::ToQColor(line->SeriesColor());
    // The same picture without the line shows what it was drawn over.
    line->SetActive(false);
    const QImage under = w.Render();
    int probed = 0;
    for (int x = Plot().Left + 2; x < Plot().Right - 1; ++x) {
        for (int row : {y0 - 1, y0}) {
            EXPECT_NEAR(Share(Pixel(image, x, row), colour, Pixel(under, x, row)), 0.5, 0.05)
                << "x " << x << " row " << row;
        }
        for (int row : {y0 - 2, y0 + 1})
            EXPECT_EQ(Pixel(image, x, row), Pixel(under, x, row)) << "x " << x << " row " << row;
        ++probed;
    }
    EXPECT_GT(probed, 900);
    // Outside the plot the line is clipped away.
    for (int x : {Plot().Left - 3, Plot().Left, Plot().Right, Plot().Right + 3})
        EXPECT_EQ(Pixel(image, x, y0), Pixel(under, x, y0)) << "x " << x;
}

TEST_F(WalkPaint, GridLinesAreGreyAndNeverOnThePlotFrame) {
    const chart::TChartAxis& bottom = C().BottomAxis();
    // 400 and 700 are labels at the two ends of the axis: ticks but no grid lines.
    ASSERT_EQ(bottom.Items.front().Value, 700);
    ASSERT_EQ(bottom.Items.back().Value, 400);
    ASSERT_EQ(bottom.Ticks.front(), bottom.IEndPos);
    ASSERT_EQ(bottom.GridTicks.size(), bottom.Ticks.size() - 2);
    const chart::TChartRect& r = Plot();
    const int y = r.Top + 3;  // above the walk and the zero line
    for (int x : bottom.GridTicks) {
        const QColor c = Pixel(image, x, y);
        EXPECT_TRUE(Grey(c)) << "x " << x;
        EXPECT_NEAR(Share(c, QColor(0xC0, 0xC0, 0xC0), panel), 0.5, 0.15) << "x " << x;
    }
    // The frame's columns are half black; the grid's light grey is not there.
    for (int x : {r.Left, r.Right}) {
        const QColor c = Pixel(image, x, y);
        EXPECT_TRUE(Grey(c));
        EXPECT_NEAR(Share(c, Qt::black, panel), 0.5, 0.1) << "x " << x;
    }
    const chart::TChartAxis& left = C().LeftAxis();
    for (int t : left.GridTicks) {
        EXPECT_GT(t, r.Top);
        EXPECT_LT(t, r.Bottom);
    }
}

// Points exactly at both ends of the window, far from each other.
TEST(ChartPaint, PointsAtTheWindowEdgesAreDrawnAndClippedAtThePlotEdges) {
    ProgramWidget w;
    w.walk->AddXY(0, 1, QString(), kEven);
    w.walk->AddXY(10, 0, QString(), kOdd);
    w.walk->AddXY(20, -1, QString(), kOdd);
    w.Chart().BottomAxis().SetMinMax(0, 20);
    const QImage image = w.Render();
    const chart::TChartRect& r = w.Chart().ChartRect();
    const int yl = w.walk->CalcYPos(0);
    const int yr = w.walk->CalcYPos(2);
    ASSERT_EQ(w.walk->CalcXPos(0), r.Left);
    ASSERT_EQ(w.walk->CalcXPos(2), r.Right);
    // Left: the clip starts at left + 1; the fill reaches left + 4, the outline's inner
    // half left + 4 and its outer half left + 5.
    for (int x = r.Left + 1; x <= r.Left + 3; ++x)
        EXPECT_EQ(Pixel(image, x, yl), QColor(0, 128, 0)) << "x " << x;
    // Left of the clip: axis line (left - 2, left - 1) and half the frame (left).
    EXPECT_EQ(Pixel(image, r.Left - 1, yl), QColor(Qt::black));
    EXPECT_NE(Pixel(image, r.Left, yl), QColor(0, 128, 0));
    // Right: the clip ends before right; the fill (from right - 3, the outline's inner
    // half on right - 4) shows up to right - 1.
    for (int x = r.Right - 3; x <= r.Right - 1; ++x)
        EXPECT_EQ(Pixel(image, x, yr), QColor(0, 0, 255)) << "x " << x;
    // Beyond: half the frame on right (a row off the grid line), then the panel.
    const QColor panel = chart::ToQColor(chart::clBtnFace);
    EXPECT_NEAR(Share(Pixel(image, r.Right, yr + 2), Qt::black, panel), 0.5, 0.05);
    EXPECT_EQ(Pixel(image, r.Right + 2, yr + 2), panel);
}

TEST_F(WalkPaint, TitleAndLabelsAreDrawnInsideTheirBoxes) {
    const chart::TChartRect& t = C().TitleRect();
    auto inkIn = [&](int l, int tp, int r, int b) {
        int ink = 0;
        for (int y = tp; y < b; ++y)
            for (int x = l; x < r; ++x)
                if (Pixel(image, x, y) != panel) ++ink;
        return ink;
    };
    EXPECT_GT(inkIn(t.Left, t.Top, t.Right, t.Bottom), 500);
    // Blue title pixels: strong blue, hardly any red or green.
    int strongBlue = 0;
    for (int y = t.Top; y < t.Bottom; ++y)
        for (int x = t.Left; x < t.Right; ++x)
            if (Pixel(image, x, y) == QColor(0, 0, 255)) ++strongBlue;
    EXPECT_GT(strongBlue, 100);
    // Nothing of the title outside its box (above it, and left and right of it).
    EXPECT_EQ(inkIn(t.Left - 10, t.Top - 5, t.Left, t.Bottom), 0);
    EXPECT_EQ(inkIn(t.Right, t.Top, t.Right + 10, t.Bottom), 0);
    // Every label of the left axis has ink in its box and none left of it.
    const chart::TChartAxis& left = C().LeftAxis();
    const chart::TTextMeasurer& m = w.widget.Measurer();
    for (const chart::TAxisLabelItem& item : left.Items) {
        if (!left.IsLabelInRange(item)) continue;
        const chart::TChartRect box = chart::LabelBox(left, item, m, left.LabelsFont);
        EXPECT_EQ(box.Right, left.PosLabels);
        EXPECT_GT(inkIn(box.Left, box.Top, box.Right, box.Bottom), 5) << item.Text.toStdString();
    }
}

TEST(ChartPaint, PaintWithoutChangeCopiesTheCachedImage) {
    ProgramWidget w;
    AddWalk(*w.walk, 50);
    AddZeroLine(w.Chart(), 24);
    int afterDraws = 0;
    bool repaintDuringAfterDraw = true;
    w.widget.OnAfterDraw = [&] {
        ++afterDraws;
        repaintDuringAfterDraw = w.Chart().AutoRepaint();
    };
    const QImage first = w.Render();
    EXPECT_EQ(w.widget.FullDraws(), 1);
    // Nothing the draw computes (automatic axis ends, label items) asked for a repaint.
    EXPECT_FALSE(w.widget.Dirty());
    EXPECT_EQ(afterDraws, 1);
    EXPECT_FALSE(repaintDuringAfterDraw);  // AutoRepaint is off until the draw has ended
    EXPECT_TRUE(w.Chart().AutoRepaint());

    // A second paint copies the image: no full draw, the same pixels on the window.
    const QPixmap shown = w.widget.grab();
    EXPECT_EQ(w.widget.FullDraws(), 1);
    EXPECT_EQ(afterDraws, 1);
    EXPECT_EQ(shown.toImage().convertToFormat(first.format()), first);

    // A change marks the image dirty; the next paint draws once more.
    w.walk->AddXY(50, 0, QString(), kEven);
    EXPECT_TRUE(w.widget.Dirty());
    w.Render();
    w.Render();
    EXPECT_EQ(w.widget.FullDraws(), 2);
    EXPECT_EQ(afterDraws, 2);

    // So does a new size, and the image follows it.
    w.widget.resize(800, 300);
    EXPECT_EQ(w.Render().size(), QSize(800, 300));
    EXPECT_EQ(w.widget.FullDraws(), 3);
    w.Render();
    EXPECT_EQ(w.widget.FullDraws(), 3);
}

TEST(ChartPaint, ImageFollowsTheDevicePixelRatio) {
    DrawnChart c;
    AddWalk(*c.walk, 300);
    c.chart.BottomAxis().SetMinMax(0, 300);
    AddZeroLine(c.chart, 300);
    chart::TChartPainter painter;
    const QImage one = c.Draw(painter, 1);
    const chart::TChartRect layout = c.chart.ChartRect();
    const QImage two = c.Draw(painter, 2);
    EXPECT_EQ(two.size(), QSize(2042, 862));
    // Logical coordinates everywhere: the same layout, the same colours in the middle of a
    // square.
    EXPECT_EQ(c.chart.ChartRect(), layout);
    const int i = 150;
    const int x = c.walk->CalcXPos(i);
    const int y = c.walk->CalcYPos(i);
    EXPECT_EQ(one.pixelColor(x, y), two.pixelColor(2 * x, 2 * y));
}

// Hover highlights: a style chosen at draw time, nothing else changes.
TEST(ChartPaint, HoveredSquareAndLabelAreDrawnWithTheHoverPenAndBoldFont) {
    ProgramWidget w;
    AddWalk(*w.walk, 60);
    w.Chart().BottomAxis().SetMinMax(0, 60);
    AddZeroLine(w.Chart(), 60);
    const QImage plain = w.Render();

    const int i = 30;
    w.walk->EnsureSelection().HoverIndex = i;
    chart::TChartAxis& left = w.Chart().LeftAxis();
    const int label = 1;
    left.EnsureLabelSelection().HoverIndex = label;
    w.Chart().Invalidate();
    const QImage hovered = w.Render();

    // The square: same fill, a thick translucent red outline around the pixel edge x - 4
    // (from x - 5.5 to x - 2.5: x - 5 and x - 4 fully, at half opacity).
    const int x = w.walk->CalcXPos(i);
    const int y = w.walk->CalcYPos(i);
    EXPECT_EQ(Pixel(hovered, x, y), Pixel(plain, x, y));
    EXPECT_NE(Pixel(hovered, x - 3, y), Pixel(plain, x - 3, y));
    for (int px : {x - 5, x - 4}) {
        const QColor c = Pixel(hovered, px, y);
        EXPECT_NE(c, Pixel(plain, px, y)) << "x " << px;
        EXPECT_GT(c.red(), 100) << "x " << px;
        EXPECT_GT(c.red(), c.green() + 40) << "x " << px;
    }
    // Its neighbours keep their black outlines.
    const int xn = w.walk->CalcXPos(i - 2);
    EXPECT_EQ(Pixel(hovered, xn - 5, w.walk->CalcYPos(i - 2)),
              Pixel(plain, xn - 5, w.walk->CalcYPos(i - 2)));

    // The label: bold, in a box measured in the bold font, right-aligned as ever (digits
    // are as wide in bold as in regular type).
    const chart::TTextMeasurer& m = w.widget.Measurer();
    QFont bold = left.LabelsFont;
    bold.setBold(true);
    const chart::TAxisLabelItem& item = left.Items[label];
    const chart::TChartRect regular = chart::LabelBox(left, item, m, left.LabelsFont);
    const chart::TChartRect box = chart::LabelBox(left, item, m, bold);
    EXPECT_GE(box.Width(), regular.Width());
    EXPECT_EQ(box.Right, left.PosLabels);
    const int panel = qGray(chart::ToQColor(chart::clBtnFace).rgb());
    auto ink = [&](const QImage& image, const chart::TChartRect& r) {
        long sum = 0;
        for (int py = r.Top; py < r.Bottom; ++py)
            for (int px = r.Left; px < r.Right; ++px)
                sum += std::max(0, panel - qGray(image.pixel(px, py)));
        return sum;
    };
    EXPECT_GT(ink(hovered, box), ink(plain, box) * 5 / 4);
    // The next label is drawn as before.
    const chart::TChartRect next = chart::LabelBox(left, left.Items[label + 1], m, left.LabelsFont);
    EXPECT_EQ(hovered.copy(next.Left, next.Top, next.Width(), next.Height()),
              plain.copy(next.Left, next.Top, next.Width(), next.Height()));
}

TEST(ChartPaint, HoveredLineSegmentIsDrawnWithTheHoverPen) {
    ProgramWidget w;
    AddWalk(*w.walk, 60);
    w.Chart().BottomAxis().SetMinMax(0, 60);
    chart::TLineSeries* line = AddZeroLine(w.Chart(), 60);
    const QImage plain = w.Render();
    line->EnsureSelection().HoverIndex = 0;  // the segment from point 0 to point 1
    w.Chart().Invalidate();
    const QImage hovered = w.Render();
    const int y0 = w.Chart().LeftAxis().CalcYPosValue(0);
    const chart::TChartRect& r = w.Chart().ChartRect();
    int reddened = 0;
    for (int x = r.Left + 2; x < r.Right - 2; x += 5) {
        // 3 pixels wide around the pixel edge y0: two full rows and two half rows.
        for (int row : {y0 - 2, y0 - 1, y0, y0 + 1}) {
            const QColor c = Pixel(hovered, x, row);
            EXPECT_NE(c, Pixel(plain, x, row)) << x << ", " << row;
            if (c.red() > c.blue() + 40) ++reddened;
        }
        EXPECT_EQ(Pixel(hovered, x, y0 - 3), Pixel(plain, x, y0 - 3));
        EXPECT_EQ(Pixel(hovered, x, y0 + 2), Pixel(plain, x, y0 + 2));
    }
    EXPECT_GT(reddened, 4 * 150);
}

}  // namespace
