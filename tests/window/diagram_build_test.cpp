// The diagram routine's walk into the chart's point series, without a window.
#include <gtest/gtest.h>

#include "chart/Chart.h"
#include "chart/Series.h"
#include "window/ChartDesign.h"
#include "window/Diagram.h"

namespace {

// The walk adds its points inside one update and then asks the chart for one repaint.
TEST(DiagramBuild, FillsTheSeriesAndAsksForOneRepaint) {
    chart::TChart chart;
    auto* series = new chart::TPointSeries(&chart);  // owned by the chart
    chart.AddSeries(series);
    int repaints = 0;
    chart.OnInvalidate = [&repaints] { ++repaints; };
    roulette::SpinRecord record;
    const diagram::Result r = diagram::Build(QStringLiteral("1 2  3 "), *series, record);
    EXPECT_EQ(series->Count(), 3);
    EXPECT_EQ(series->XValues().Last(), 2);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(r.text, QStringLiteral("1 2 3"));
    EXPECT_EQ(record, (roulette::SpinRecord{1, 2, 3}));
    EXPECT_EQ(series->ValueColor(0), diagram::kOddColor);
    EXPECT_EQ(series->ValueColor(1), diagram::kEvenColor);
    // A list without a valid number adds nothing and asks for nothing.
    repaints = 0;
    series->Clear();
    repaints = 0;
    diagram::Build(QStringLiteral("abc"), *series, record);
    EXPECT_TRUE(record.empty());
    EXPECT_EQ(series->Count(), 0);
    EXPECT_EQ(repaints, 0);
}

}  // namespace
