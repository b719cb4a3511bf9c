// The range of points a series draws: the window of the bottom axis, widened by squares
// that reach into the plot and by equal X values; the binary search against the scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ChartFixture.h"
#include "chart/VisibleRange.h"

using chart::TIndexRange;
using namespace chart_test;

namespace {

std::pair<int, int> Drawn(const chart::TChartSeries& s) {
    return {s.FirstValueIndex(), s.LastValueIndex()};
}

// A walk of `n` points drawn with the bottom window `lo` .. `hi` on a plot `width` wide.
std::pair<int, int> WalkRange(int n, double lo, double hi, int width = 920) {
    ProgramChart c;
    std::vector<double> ys(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        ys[static_cast<size_t>(i)] = (i % 7) - 3;
    c.AddPoints(ys);
    c.chart.BottomAxis().SetMinMax(lo, hi);
    c.Pass(Plot(width, 330));
    c.walk->CalcFirstLastVisibleIndex();
    return Drawn(*c.walk);
}

TEST(VisibleRange, WalkWindowsDrawWhatLiesInThem) {
    const struct {
        const char* name;
        int points;
        double lo, hi;
        int width;
        int first, last;
    } cases[] = {
        // Page settings (300 per page) do not limit what is drawn.
        {"window 0..100", 1000, 0, 100, 920, 0, 100},
        {"window 0..5000", 1000, 0, 5000, 920, 0, 999},
        // After Enter: 398's square, 3 pixels left of the plot, reaches 1 pixel in.
        {"after Enter", 500, 399, 699, 920, 398, 499},
        // On a plot 5 pixels per unit wide it does not.
        {"after Enter, wide plot", 500, 399, 699, 1500, 399, 499},
        {"window inside", 1000, 250.5, 260.5, 920, 251, 260},
        {"window left of all", 100, -500, -200, 920, 0, 0},
        {"window right of all", 100, 200, 500, 920, -1, -1},
    };
    for (const auto& k : cases)
        EXPECT_EQ(WalkRange(k.points, k.lo, k.hi, k.width), std::make_pair(k.first, k.last))
            << k.name;
}

TEST(VisibleRange, EqualXOnTheEdgeAreDrawnOrLeftOutTogether) {
    const std::vector<double> xs = {0, 1, 2, 2, 3, 4, 5, 6, 6, 7};
    const struct {
        double lo, hi;
        int first, last;
    } cases[] = {
        {3, 6, 4, 8},     // the window ends on the pair
        {3, 5.99, 4, 8},  // the pair lies 3 pixels out: both squares reach in
        {3, 5.9, 4, 6},   // 30 pixels out: neither
        {2.01, 5, 2, 6},  // the left pair reaches in
        {2.1, 5, 4, 6},
    };
    for (const auto& k : cases) {
        ProgramChart c;
        for (double x : xs)
            c.walk->AddXY(x, 0);
        c.chart.BottomAxis().SetMinMax(k.lo, k.hi);
        c.Pass(Plot(920, 330));  // about 300 pixels per unit
        c.walk->CalcFirstLastVisibleIndex();
        EXPECT_EQ(Drawn(*c.walk), std::make_pair(k.first, k.last)) << k.lo << " .. " << k.hi;
    }
}

TEST(VisibleRange, EqualXJoinAnEndTheirSquaresDoNotReach) {
    ProgramChart c;
    // A line keeps its first point beyond the right edge, and the point sharing its X.
    chart::TLineSeries* line = c.AddZeroLine(50);
    line->AddXY(50, 1);
    line->AddXY(60, 1);
    // Points sharing an X where one lies far above the plot of a manual left axis.
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1, 100}, {1, 0}, {2, 0}, {3, 0}, {3, 100}})
        c.walk->AddXY(x, y);
    c.chart.LeftAxis().SetMinMax(-5, 5);
    // X = 1 and X = 3 lie 3 pixels outside: their squares at Y = 0 reach in.
    c.chart.BottomAxis().SetMinMax(1.0065, 2.9935);
    c.Pass(Plot(920, 330));
    line->CalcFirstLastVisibleIndex();
    EXPECT_EQ(Drawn(*line), std::make_pair(1, 2));  // (0, 0) (50, 0) (50, 1) (60, 1)
    c.walk->CalcFirstLastVisibleIndex();
    EXPECT_EQ(Drawn(*c.walk), std::make_pair(1, 5));
}

TEST(VisibleRange, ZeroLineDrawnOnlyWhenItReachesTheWindow) {
    ProgramChart c;
    c.AddWalkBetween(-3, 5);
    chart::TLineSeries* shortLine = c.AddZeroLine(100);
    chart::TLineSeries* longLine = c.AddZeroLine(700);
    c.chart.BottomAxis().SetMinMax(400, 700);
    c.Pass(Plot(920, 330));
    shortLine->CalcFirstLastVisibleIndex();
    longLine->CalcFirstLastVisibleIndex();
    EXPECT_EQ(shortLine->FirstValueIndex(), -1);
    // From its right point; the painter draws the segment from the point before.
    EXPECT_EQ(Drawn(*longLine), std::make_pair(1, 1));

    // A line keeps the first point beyond the right edge; points do not.
    c.chart.BottomAxis().SetMinMax(0, 50);
    c.Pass(Plot(920, 330));
    longLine->CalcFirstLastVisibleIndex();
    EXPECT_EQ(Drawn(*longLine), std::make_pair(0, 1));
}

TEST(VisibleRange, EmptyUnorderedAndUncutSeries) {
    ProgramChart c;
    c.chart.BottomAxis().SetMinMax(10, 20);
    c.Pass(Plot(920, 330));
    c.walk->CalcFirstLastVisibleIndex();
    EXPECT_EQ(Drawn(*c.walk), std::make_pair(-1, -1));

    c.walk->XValues().SetOrder(chart::loNone);
    for (double x : {50, 3, 15, 0})
        c.walk->AddXY(x, 0);
    c.Pass(Plot(920, 330));
    c.walk->CalcFirstLastVisibleIndex();
    EXPECT_EQ(Drawn(*c.walk), std::make_pair(0, 3));
}

TEST(VisibleRange, ClearForgetsTheRange) {
    ProgramChart c;
    c.AddPoints({1, 2, 3});
    c.chart.BottomAxis().SetMinMax(0, 10);
    c.Pass(Plot(920, 330));
    c.walk->CalcFirstLastVisibleIndex();
    ASSERT_EQ(Drawn(*c.walk), std::make_pair(0, 2));
    c.walk->Clear();
    EXPECT_EQ(Drawn(*c.walk), std::make_pair(-1, -1));
}

// The binary search must answer exactly as the scan on every ascending list, duplicates
// and windows outside the values included.
TEST(VisibleRange, BinarySearchAgreesWithTheScan) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 40)(rng);
        std::vector<double> x(static_cast<size_t>(n));
        for (double& v : x)
            v = std::uniform_int_distribution<int>(-20, 20)(rng) * 0.5;
        std::sort(x.begin(), x.end());
        double lo = std::uniform_int_distribution<int>(-50, 50)(rng) * 0.25;
        double hi = std::uniform_int_distribution<int>(-50, 50)(rng) * 0.25;
        if (hi < lo) std::swap(lo, hi);
        for (bool keep : {false, true}) {
            const TIndexRange a = chart::FindWindowIndexes(x.data(), n, lo, hi, keep);
            const TIndexRange b = chart::FindWindowIndexesLinear(x.data(), n, lo, hi, keep);
            ASSERT_EQ(std::make_pair(a.First, a.Last), std::make_pair(b.First, b.Last))
                << "n " << n << " window " << lo << " .. " << hi << " keep " << keep;
        }
    }
}

}  // namespace
