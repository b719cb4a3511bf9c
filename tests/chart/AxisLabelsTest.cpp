// Label steps, label values and texts of the axes as a redraw computes them: the worked
// examples of this window, the step sequence, and the ranges that give one label or none.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ChartFixture.h"
#include "chart/LabelStep.h"

using chart::TChartAxis;
using namespace chart_test;

namespace {

struct WorkedExample {
    const char* name;
    bool leftAxis;       // else the bottom axis
    int walkLo, walkHi;  // walk between these balances; lo > hi for an empty Series1
    double bottomMin, bottomMax;
    int plotWidth, plotHeight;
    int labelWidth;             // every label text this wide
    int labelHeight;            // height of "W"
    double rangeMin, rangeMax;  // to four decimals
    double step;
    double firstLabel, lastLabel;
    int labelCount;
    std::vector<const char*> firstTexts;  // with a decimal comma
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const WorkedExample& e, std::ostream* os) {
    *os << e.name;
}

std::vector<double> LabelValues(const TChartAxis& axis) {
    std::vector<double> v;
    for (const chart::TAxisLabelItem& item : axis.Items)
        v.push_back(item.Value);
    return v;
}

class WorkedExamples : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExamples, ReproduceRangeStepAndLabels) {
    const WorkedExample& e = GetParam();
    CommaLocale comma;
    ProgramChart c;
    if (e.walkLo <= e.walkHi) c.AddWalkBetween(e.walkLo, e.walkHi);
    c.AddZeroLine(e.bottomMax);
    c.chart.BottomAxis().SetMinMax(e.bottomMin, e.bottomMax);
    c.Pass(Plot(e.plotWidth, e.plotHeight));

    TChartAxis& axis = e.leftAxis ? c.chart.LeftAxis() : c.chart.BottomAxis();
    FixedMeasurer m(e.labelWidth, e.labelHeight);
    EXPECT_NEAR(axis.IMinimum, e.rangeMin, 5e-5);
    EXPECT_NEAR(axis.IMaximum, e.rangeMax, 5e-5);
    EXPECT_DOUBLE_EQ(axis.CalcIncrement(m), e.step);

    axis.GenerateLabels(m);
    const std::vector<double> values = LabelValues(axis);
    ASSERT_EQ(static_cast<int>(values.size()), e.labelCount);
    EXPECT_NEAR(values.front(), e.firstLabel, 1e-9);
    EXPECT_NEAR(values.back(), e.lastLabel, 1e-9);
    for (size_t i = 1; i < values.size(); ++i)
        EXPECT_NEAR(values[i - 1] - values[i], e.step, 1e-9)
            << "between labels " << i - 1 << ", " << i;
    ASSERT_EQ(axis.Ticks.size(), axis.Items.size());
    for (size_t i = 0; i < axis.Items.size(); ++i) {
        EXPECT_EQ(axis.Ticks[i], axis.Items[i].Pos);
        EXPECT_EQ(axis.Items[i].Pos, axis.CalcPosValue(axis.Items[i].Value));
    }
    for (size_t i = 0; i < e.firstTexts.size(); ++i)
        EXPECT_EQ(axis.Items[i].Text, QString::fromUtf8(e.firstTexts[i])) << "label " << i;
}

INSTANTIATE_TEST_SUITE_P(
    ThisWindow, WorkedExamples,
    ::testing::Values(
        WorkedExample{"LeftWalkMinus3To5",
                      true,
                      -3,
                      5,
                      0,
                      100,
                      920,
                      330,
                      20,
                      13,
                      -3.0994,
                      5.0994,
                      0.5,
                      5,
                      -3,
                      17,
                      {"5", "4,5", "4", "3,5", "3", "2,5"}},
        WorkedExample{"LeftWalkMinus10To15",
                      true,
                      -10,
                      15,
                      0,
                      100,
                      920,
                      330,
                      20,
                      13,
                      -10.3106,
                      15.3106,
                      2,
                      14,
                      -10,
                      13,
                      {"14", "12", "10"}},
        WorkedExample{"LeftShortPlot",
                      true,
                      -3,
                      5,
                      0,
                      100,
                      920,
                      200,
                      20,
                      13,
                      -3.1667,
                      5.1667,
                      1,
                      5,
                      -3,
                      9,
                      {"5", "4"}},
        WorkedExample{
            "LeftEmptyWalk", true, 1, 0, 0, 100, 920, 330, 20, 13, 0, 0, 1, 0, 0, 1, {"0"}},
        WorkedExample{"Bottom0To100",
                      false,
                      -3,
                      5,
                      0,
                      100,
                      920,
                      330,
                      20,
                      13,
                      0,
                      100,
                      5,
                      100,
                      0,
                      21,
                      {"100", "95", "90"}},
        WorkedExample{"BottomAfterEnter",
                      false,
                      -250,
                      250,
                      400,
                      700,
                      920,
                      330,
                      28,
                      13,
                      400,
                      700,
                      10,
                      700,
                      400,
                      31,
                      {"700", "690"}}),
    [](const ::testing::TestParamInfo<WorkedExample>& info) { return info.param.name; });

TEST(AxisLabels, EmptyWalkPutsTheOneLabelAtTheCentre) {
    ProgramChart c;
    c.AddZeroLine(100);
    c.chart.BottomAxis().SetMinMax(0, 100);
    c.Pass(Plot(920, 330));
    TChartAxis& left = c.chart.LeftAxis();
    ASSERT_TRUE(left.IRangeZero);
    EXPECT_EQ(left.CalcYPosValue(12345), left.ICenterPos);
    left.GenerateLabels(FixedMeasurer(20, 13));
    ASSERT_EQ(left.Items.size(), 1u);
    EXPECT_EQ(left.Items[0].Pos, left.ICenterPos);
    EXPECT_EQ(left.ICenterPos, (50 + 380) / 2);
}

TEST(AxisLabels, NextLabelStepGrowsStrictlyThroughOneTwoFive) {
    const struct {
        double in, out;
    } cases[] = {{1, 2},       {2, 5},         {5, 10},
                 {0.328, 0.5}, {2.33, 5},      {9.68, 10},
                 {10, 20},     {20, 50},       {50, 100},
                 {0.1, 0.2},   {0.05, 0.1},    {1.025, 2},
                 {0.556, 1},   {12345, 20000}, {std::numeric_limits<double>::infinity(), 1}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(chart::NextLabelStep(c.in), c.out) << c.in;
    for (double x : {1e-300, 3e-9, 7.7e12, 4e300}) {
        const double next = chart::NextLabelStep(x);
        EXPECT_GT(next, x);
        EXPECT_LE(next, x * 10.0001);
    }
}

TEST(AxisLabels, AxisTooShortForOneLabelGetsNoLabelsNorTicks) {
    ProgramChart c;
    c.AddWalkBetween(-3, 5);
    c.AddZeroLine(100);
    c.chart.BottomAxis().SetMinMax(0, 100);
    c.Pass(Plot(920, 6));  // 6 / (13 + 1) rounds to 0 labels
    TChartAxis& left = c.chart.LeftAxis();
    FixedMeasurer m(20, 13);
    EXPECT_DOUBLE_EQ(left.CalcIncrement(m), 1e-12);
    left.GenerateLabels(m);
    EXPECT_TRUE(left.Items.empty());
    EXPECT_TRUE(left.Ticks.empty());
    EXPECT_TRUE(left.MinorTicks.empty());
}

TEST(AxisLabels, TenThousandStepsOrMoreGiveNoLabels) {
    // On an axis with no room the step is 1e-12: a range of 2e-8 holds 20000 steps and
    // gets nothing, a range of 5e-9 holds 5000 and still gets its labels.
    for (const auto& [range, expectLabels] : {std::pair{2e-8, false}, std::pair{5e-9, true}}) {
        ProgramChart c;
        c.AddPoints({1, 2});
        c.chart.BottomAxis().SetMinMax(0, range);
        c.Pass(Plot(10, 330));
        TChartAxis& bottom = c.chart.BottomAxis();
        bottom.GenerateLabels(FixedMeasurer(20, 13));
        EXPECT_EQ(!bottom.Items.empty(), expectLabels) << range;
    }
}

TEST(AxisLabels, ZeroReachedBySubtractingStepsReadsZero) {
    CommaLocale comma;
    ProgramChart c;
    c.AddWalkBetween(-2, 2);
    c.AddZeroLine(100);
    c.chart.BottomAxis().SetMinMax(0, 100);
    c.Pass(Plot(920, 330));
    TChartAxis& left = c.chart.LeftAxis();
    FixedMeasurer m(20, 13);
    ASSERT_DOUBLE_EQ(left.CalcIncrement(m), 0.2);
    left.GenerateLabels(m);
    const chart::TAxisLabelItem* zero = nullptr;
    for (const chart::TAxisLabelItem& item : left.Items)
        if (std::fabs(item.Value) < 1e-9) zero = &item;
    ASSERT_NE(zero, nullptr);
    EXPECT_NE(zero->Value, 0.0) << "the subtraction was expected to leave a tiny remainder";
    EXPECT_EQ(zero->Text, QStringLiteral("0"));
    EXPECT_EQ(left.Items.front().Text, QStringLiteral("2"));
    EXPECT_EQ(left.Items.back().Text, QStringLiteral("-2"));
}

TEST(AxisLabels, BottomWindowAcrossZeroLabelsMultiplesWithSigns) {
    // Enter with an empty walk: the window -99 .. 201.
    ProgramChart c;
    c.AddZeroLine(24);
    c.chart.BottomAxis().SetMinMax(-99, 201);
    c.Pass(Plot(920, 330));
    TChartAxis& bottom = c.chart.BottomAxis();
    FixedMeasurer m(28, 13);
    bottom.GenerateLabels(m);
    const double step = bottom.CalcIncrement(m);
    ASSERT_EQ(step, 10);
    EXPECT_EQ(bottom.Items.front().Value, 200);
    EXPECT_EQ(bottom.Items.back().Value, -90);
    EXPECT_EQ(bottom.Items.back().Text, QStringLiteral("-90"));
}

TEST(AxisLabels, StepNotBelowOneOnBottomAxisOnlyWhileAZeroLineFits) {
    // A narrow window over a long walk (90 points, more than the 42 labels that fit): the
    // zero line's two points hold the step at 1.
    ProgramChart c;
    c.AddWalkBetween(-30, 30);
    c.AddZeroLine(5);
    c.chart.BottomAxis().SetMinMax(0, 5);
    c.Pass(Plot(920, 330));
    FixedMeasurer m(20, 13);
    EXPECT_DOUBLE_EQ(c.chart.BottomAxis().CalcIncrement(m), 1);
    // Without the zero line the same window gets steps of 0.2.
    ProgramChart bare;
    bare.AddWalkBetween(-30, 30);
    bare.chart.BottomAxis().SetMinMax(0, 5);
    bare.Pass(Plot(920, 330));
    EXPECT_DOUBLE_EQ(bare.chart.BottomAxis().CalcIncrement(m), 0.2);
}

TEST(AxisLabels, MaxLabelsWidthMeasuresEveryLabelPlusASpace) {
    ProgramChart c;
    c.AddWalkBetween(-10, 15);
    c.AddZeroLine(100);
    c.chart.BottomAxis().SetMinMax(0, 100);
    c.Pass(Plot(920, 330));
    FixedMeasurer m(0, 13);
    m.widthOf = [](const QFont&, const QString& text) { return 7 * static_cast<int>(text.size()); };
    // Labels 14, 12, ..., -10: the widest is "-10".
    EXPECT_EQ(c.chart.LeftAxis().MaxLabelsWidth(m), 3 * 7 + 7);
    EXPECT_EQ(c.chart.LeftAxis().LabelsSpace(m), 3 * 7 + 7);
    EXPECT_EQ(c.chart.BottomAxis().LabelsSpace(m), 13);
}

TEST(AxisLabels, AxisWithPointLabelsOrWithoutSeriesGetsNoValueLabels) {
    ProgramChart c;
    c.walk->AddXY(0, 1, QStringLiteral("first"));
    c.walk->AddXY(1, 2);
    c.chart.BottomAxis().SetMinMax(0, 10);
    c.Pass(Plot(920, 330));
    FixedMeasurer m(20, 13);
    EXPECT_EQ(c.chart.BottomAxis().CalcLabelStyle(), chart::talText);
    EXPECT_EQ(c.chart.LeftAxis().CalcLabelStyle(), chart::talValue);  // Y is not labelled
    EXPECT_EQ(c.chart.TopAxis().CalcLabelStyle(), chart::talNone);
    c.chart.BottomAxis().GenerateLabels(m);
    EXPECT_TRUE(c.chart.BottomAxis().Items.empty());
}

TEST(AxisTicks, MinorTicksBeyondAndBetweenWithOffsetsRoundedToEven) {
    ProgramChart c;
    c.Pass(chart::TChartRect{0, 5, 100, 105});
    TChartAxis& left = c.chart.LeftAxis();  // IStartPos 5, IEndPos 105
    left.Ticks = {10, 20, 30};
    left.CalcMinorTicks();
    // Spacing 10 / 4 = 2.5: offsets 2.5 -> 2, 5, 7.5 -> 8. 5 and 2 lie outside (5 is the
    // start itself).
    EXPECT_EQ(left.MinorTicks, (std::vector<int>{8, 32, 35, 38, 18, 15, 12, 28, 25, 22}));
}

TEST(AxisTicks, GridSkipsTicksOnTheAxisEndsAndHonoursDrawEvery) {
    ProgramChart c;
    c.AddWalkBetween(-3, 5);
    c.AddZeroLine(100);
    c.chart.BottomAxis().SetMinMax(0, 100);
    c.Pass(Plot(920, 330));
    TChartAxis& bottom = c.chart.BottomAxis();
    bottom.GenerateLabels(FixedMeasurer(20, 13));
    ASSERT_EQ(bottom.Ticks.front(), bottom.IEndPos);   // label 100
    ASSERT_EQ(bottom.Ticks.back(), bottom.IStartPos);  // label 0
    EXPECT_EQ(bottom.GridTicks, std::vector<int>(bottom.Ticks.begin() + 1, bottom.Ticks.end() - 1));
    bottom.Grid.DrawEvery = 2;
    bottom.CalcGridTicks();
    EXPECT_EQ(bottom.GridTicks.size(), 9u);  // ticks 2, 4, ..., 18 of 0 .. 20
    EXPECT_EQ(bottom.GridTicks.front(), bottom.Ticks[2]);
}

}  // namespace
