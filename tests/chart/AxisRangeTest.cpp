// Axis ranges and pixels of a redraw: which axes show, the ranges the series give them
// (paged, auto-scaled or whole), the series' pixel margins, and value <-> pixel mapping.
#include <gtest/gtest.h>

#include "ChartFixture.h"

using chart::TChartAxis;
using chart::TChartRect;
using namespace chart_test;

namespace {

TEST(AxisShown, OnlyAxesWithAnActiveSeriesShow) {
    ProgramChart c;
    c.AddZeroLine(100);
    c.Pass(Plot(920, 330));
    EXPECT_TRUE(c.chart.BottomAxis().IsVisible);
    EXPECT_TRUE(c.chart.LeftAxis().IsVisible);
    EXPECT_FALSE(c.chart.TopAxis().IsVisible);
    EXPECT_FALSE(c.chart.RightAxis().IsVisible);
    EXPECT_FALSE(c.chart.Axis(4).IsVisible);
    EXPECT_FALSE(c.chart.Axis(5).IsVisible);

    c.chart.SetAxisVisible(false);
    c.Pass(Plot(920, 330));
    EXPECT_FALSE(c.chart.BottomAxis().IsVisible);
}

TEST(AxisShown, WithoutActiveSeriesEveryPlainAxisShows) {
    ProgramChart c;
    c.walk->SetActive(false);
    EXPECT_TRUE(chart::IsAxisShown(c.chart, c.chart.TopAxis()));
    EXPECT_TRUE(chart::IsAxisShown(c.chart, c.chart.RightAxis()));
    EXPECT_FALSE(chart::IsAxisShown(c.chart, c.chart.DepthAxis()));
    EXPECT_EQ(chart::GetAxisSeries(c.chart, c.chart.BottomAxis()), c.walk);  // inactive, first
    auto* line = c.AddZeroLine(100);
    EXPECT_EQ(chart::GetAxisSeries(c.chart, c.chart.BottomAxis()), line);  // first active
}

TEST(AxisRange, LeftAxisCoversTheWholeWalkAndZeroPlusMargins) {
    // A walk that never drops below zero, with its peak far outside the bottom window.
    ProgramChart c;
    c.AddWalkBetween(0, 6);
    c.AddPoints(std::vector<double>(800, 6));
    c.walk->AddXY(900, 9);
    c.AddZeroLine(100);
    c.chart.BottomAxis().SetMinMax(0, 100);
    c.Pass(Plot(920, 330));
    const TChartAxis& left = c.chart.LeftAxis();
    EXPECT_EQ(left.Minimum(), 0);  // stored: the range before margins
    EXPECT_EQ(left.Maximum(), 9);
    const double margin = 4 * 9.0 / (330 - 8);
    EXPECT_NEAR(left.IMinimum, -margin, 1e-12);
    EXPECT_NEAR(left.IMaximum, 9 + margin, 1e-12);
    // The extreme values sit 4 pixels inside the plot: squares of half-height 4 stay in.
    EXPECT_EQ(left.CalcYPosValue(9), 50 + 4);
    EXPECT_EQ(left.CalcYPosValue(0), 380 - 4);
    // The bottom axis is manual: exactly what was stored, whatever the pages say.
    EXPECT_EQ(c.chart.BottomAxis().IMinimum, 0);
    EXPECT_EQ(c.chart.BottomAxis().IMaximum, 100);
    // Hidden automatic axes find no series: 0.
    EXPECT_EQ(c.chart.RightAxis().IMaximum, 0);
    EXPECT_EQ(c.chart.TopAxis().IMinimum, 0);
    EXPECT_EQ(c.chart.TopAxis().IMaximum, 0);
}

TEST(AxisRange, ManualAxisKeepsItsRangeExactly) {
    ProgramChart c;
    c.AddPoints({1, 2, 3});
    c.chart.BottomAxis().SetMinMax(0.1, 0.7);
    c.Pass(Plot(913, 330));
    EXPECT_EQ(c.chart.BottomAxis().IMinimum, 0.1);
    EXPECT_EQ(c.chart.BottomAxis().IMaximum, 0.7);
}

TEST(AxisRange, MarginsWiderThanThePlotLeaveTheRangeAlone) {
    ProgramChart c;
    c.AddWalkBetween(-3, 5);
    c.Pass(Plot(920, 8));  // 4 + 4 pixels of margin leave nothing between them
    EXPECT_EQ(c.chart.LeftAxis().IMinimum, -3);
    EXPECT_EQ(c.chart.LeftAxis().IMaximum, 5);
}

// The paged branch of AxisSeriesMinMax, seen through an automatic bottom axis.
class PagedXAxis : public ::testing::Test {
protected:
    void SetUp() override { c.chart.BottomAxis().SetAutomatic(true); }
    void AddXs(int n, double start = 0) {
        for (int i = 0; i < n; ++i)
            c.walk->AddXY(start + i, 0);
    }
    double Min() { return chart::AxisSeriesMinMax(c.chart, c.chart.BottomAxis(), true, true); }
    double Max() { return chart::AxisSeriesMinMax(c.chart, c.chart.BottomAxis(), false, true); }
    ProgramChart c;
};

TEST_F(PagedXAxis, FullPageGivesItsFirstAndLastX) {
    AddXs(1000);
    EXPECT_EQ(Min(), 0);
    EXPECT_EQ(Max(), 299);
    c.chart.Pages().SetCurrent(2);
    EXPECT_EQ(Min(), 300);
    EXPECT_EQ(Max(), 599);
}

TEST_F(PagedXAxis, IncompleteLastPageIsScaledAsIfFull) {
    AddXs(250, 10);
    EXPECT_EQ(Min(), 10);
    EXPECT_DOUBLE_EQ(Max(), 10 + 300.0 * 249 / 250);
    c.chart.Pages().SetScaleLastPage(true);
    EXPECT_EQ(Max(), 259);
}

TEST_F(PagedXAxis, SinglePointPageSpansOnePageWidth) {
    AddXs(1, 5);
    EXPECT_EQ(Max(), 5 + 300);
}

TEST_F(PagedXAxis, LongestSeriesDecidesAndEmptyAxisGivesZero) {
    AddXs(20);
    auto* line = c.AddZeroLine(50);  // 2 points: the walk is longer
    (void)line;
    EXPECT_EQ(Max(), 0 + 300.0 * 19 / 20);
    c.walk->Clear();  // now the line is the longest
    EXPECT_EQ(Max(), 0 + 300.0 * 50 / 2);
    EXPECT_EQ(chart::AxisSeriesMinMax(c.chart, c.chart.TopAxis(), false, true), 0);
}

TEST(AxisRange, AutoScaleTakesTheCurrentPageOnly) {
    ProgramChart c;
    std::vector<double> ys(600, 1);
    ys[10] = -3;
    ys[200] = 5;
    ys[400] = 100;  // on page 2
    c.AddPoints(ys);
    const TChartAxis& left = c.chart.LeftAxis();
    EXPECT_EQ(chart::AxisSeriesMinMax(c.chart, left, false, false), 100);
    c.chart.Pages().SetAutoScale(true);
    EXPECT_EQ(chart::AxisSeriesMinMax(c.chart, left, false, false), 5);
    EXPECT_EQ(chart::AxisSeriesMinMax(c.chart, left, true, false), -3);
    c.chart.Pages().SetCurrent(2);
    EXPECT_EQ(chart::AxisSeriesMinMax(c.chart, left, false, false), 100);
    EXPECT_EQ(chart::AxisSeriesMinMax(c.chart, left, true, false), 1);
}

TEST(SeriesMargins, MarkerAndWideLineAskForPixels) {
    chart::TPointSeries points(nullptr);
    chart::TLineSeries line(nullptr);
    int a = -1, b = -1;
    points.CalcHorizMargins(a, b);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(5, 5));
    points.CalcVerticalMargins(a, b);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(4, 4));
    points.Pointer().PenVisible = false;
    points.CalcHorizMargins(a, b);
    EXPECT_EQ(a, 5);
    points.CalcVerticalMargins(a, b);
    EXPECT_EQ(a, 5);
    points.Pointer().InflateMargins = false;
    points.CalcHorizMargins(a, b);
    EXPECT_EQ(a, 0);

    const struct {
        int width, margin;
    } lines[] = {{1, 0}, {2, 2}, {3, 3}, {5, 3}, {7, 5}};  // width / 2 to even, plus 1
    for (const auto& l : lines) {
        line.LinePen().Width = l.width;
        line.CalcHorizMargins(a, b);
        EXPECT_EQ(a, l.margin) << "width " << l.width;
        line.CalcVerticalMargins(a, b);
        EXPECT_EQ(b, l.margin) << "width " << l.width;
    }
}

TEST(SeriesMargins, CountOnlyAtAutomaticEnds) {
    ProgramChart c;
    c.AddPoints({1, 2});
    c.chart.LeftAxis().SetAutomaticMaximum(false);
    const TChartRect m = chart::AxisSeriesMargins(c.chart, c.chart.LeftAxis());
    EXPECT_EQ(m.Top, 0);
    EXPECT_EQ(m.Bottom, 4);
    EXPECT_EQ(chart::AxisSeriesMargins(c.chart, c.chart.BottomAxis()), TChartRect{});
}

TEST(AxisPixels, PositionsRoundHalvesToEven) {
    ProgramChart c;
    c.chart.BottomAxis().SetMinMax(0, 10);
    c.chart.BottomAxis().StartPosition = 25;
    c.chart.BottomAxis().EndPosition = 75;
    c.Pass(TChartRect{0, 0, 10, 20});
    const TChartAxis& bottom = c.chart.BottomAxis();
    EXPECT_EQ(bottom.IStartPos, 2);  // 2.5
    EXPECT_EQ(bottom.IEndPos, 8);    // 7.5
    EXPECT_EQ(bottom.ICenterPos, 5);
    EXPECT_DOUBLE_EQ(bottom.IAxisSizeRange, 0.6);

    c.chart.BottomAxis().StartPosition = 0;
    c.chart.BottomAxis().EndPosition = 100;
    c.chart.BottomAxis().SetMinMax(0, 10);
    c.Pass(TChartRect{0, 0, 20, 20});  // 2 pixels per unit
    const struct {
        double value;
        int x;
    } cases[] = {{0.25, 0}, {0.75, 2}, {1.25, 2}, {1.75, 4}, {-0.25, 0}, {-0.75, -2}, {5, 10}};
    for (const auto& k : cases)
        EXPECT_EQ(bottom.CalcXPosValue(k.value), k.x) << k.value;
    // A vertical axis counts from its end: value 0 at the bottom.
    c.chart.LeftAxis().SetMinMax(0, 10);
    c.Pass(TChartRect{0, 0, 20, 20});
    EXPECT_EQ(c.chart.LeftAxis().CalcYPosValue(0.75), 18);
    EXPECT_EQ(c.chart.LeftAxis().CalcYPosValue(10), 0);
}

TEST(AxisPixels, PixelToValueAndFarValues) {
    ProgramChart c;
    c.chart.BottomAxis().SetMinMax(400, 700);
    c.chart.LeftAxis().SetMinMax(-4, 6);
    c.Pass(Plot(920, 330));
    const TChartAxis& bottom = c.chart.BottomAxis();
    EXPECT_DOUBLE_EQ(bottom.InternalCalcPosPoint(60), 400);
    EXPECT_DOUBLE_EQ(bottom.InternalCalcPosPoint(980), 700);
    EXPECT_DOUBLE_EQ(c.chart.LeftAxis().InternalCalcPosPoint(50), 6);
    EXPECT_DOUBLE_EQ(c.chart.LeftAxis().InternalCalcPosPoint(380), -4);
    // Far outside the range: outside the axis, not clamped to it, and no overflow.
    EXPECT_LT(bottom.CalcXPosValue(0), 60 - 1000);
    EXPECT_GT(bottom.CalcXPosValue(1e300), 980);
    EXPECT_LT(bottom.CalcXPosValue(-1e300), 60);

    c.Pass(TChartRect{60, 50, 60, 380});  // zero width
    EXPECT_EQ(bottom.InternalCalcPosPoint(60), 0);
}

}  // namespace
