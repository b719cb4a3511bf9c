// The label box shared by drawing and hover, and the measurer on real fonts.
#include <gtest/gtest.h>

#include "ChartFixture.h"
#include "chart/LabelBox.h"

using chart::TChartRect;
using namespace chart_test;

namespace {

TEST(LabelBox, LeftLabelsRightAlignedBottomLabelsCentred) {
    ProgramChart c;
    chart::TChartAxis& left = c.chart.LeftAxis();
    chart::TChartAxis& bottom = c.chart.BottomAxis();
    left.PosLabels = 50;
    bottom.PosLabels = 400;
    EXPECT_EQ(chart::LabelBox(left, 100, 30, 13), (TChartRect{20, 94, 50, 107}));
    EXPECT_EQ(chart::LabelBox(bottom, 200, 31, 13), (TChartRect{185, 400, 216, 413}));
}

TEST(LabelBox, HitTestCountsEdgesAndTakesTheFirstItem) {
    ProgramChart c;
    chart::TChartAxis& left = c.chart.LeftAxis();
    left.PosLabels = 50;
    left.Items = {{5, QStringLiteral("5"), 100}, {4.5, QStringLiteral("4.5"), 110}};
    FixedMeasurer m(0, 13);
    m.widthOf = [](const QFont& font, const QString& text) {
        return (font.bold() ? 8 : 7) * static_cast<int>(text.size());
    };
    // Item 0: x 43 .. 50, y 94 .. 107; item 1: x 29 .. 50, y 104 .. 117.
    EXPECT_EQ(chart::LabelAt(left, m, 50, 94), 0);
    EXPECT_EQ(chart::LabelAt(left, m, 43, 107), 0);
    EXPECT_EQ(chart::LabelAt(left, m, 45, 105), 0);  // both boxes: the first wins
    EXPECT_EQ(chart::LabelAt(left, m, 42, 100), -1);
    EXPECT_EQ(chart::LabelAt(left, m, 30, 105), 1);
    EXPECT_EQ(chart::LabelAt(left, m, 51, 100), -1);
    // The hovered label is drawn in the bold font, measured in it.
    QFont bold = left.LabelsFont;
    bold.setBold(true);
    EXPECT_EQ(chart::LabelBox(left, left.Items[1], m, bold), (TChartRect{26, 104, 50, 117}));
}

TEST(LabelBox, FontMetricsMeasurerMeasuresRealText) {
    chart::TFontMetricsMeasurer m;
    const QFont font(QStringLiteral("Arial"), 8);
    EXPECT_GT(m.TextHeight(font), 5);
    EXPECT_GT(m.TextWidth(font, QStringLiteral("-1 000")), m.TextWidth(font, QStringLiteral("0")));
}

}  // namespace
