// The layout: margins and bevel, the title box, the axis space with PosLabels and PosAxis,
// on exact text sizes and on the fonts the chart is drawn with.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "ChartFixture.h"
#include "PaintFixture.h"
#include "chart/ChartLayout.h"
#include "chart/ChartStyle.h"
#include "chart/LabelBox.h"
#include "chart/PainterMeasurer.h"

using chart::TChartRect;
using namespace chart_test;

namespace {

struct MarginCase {
    int width, height;
    TChartRect expected;
};

TEST(ChartLayout, MarginsArePercentsTruncatedPlusTheBevel) {
    const chart::TChartStyle style;
    const MarginCase cases[] = {
        {1021, 431, {31, 18, 990, 413}},  // the window's design size
        {800, 300, {25, 13, 775, 287}},   // 24 + 1, 12 + 1, 800 - 24 - 1, 300 - 12 - 1
        {33, 24, {1, 1, 32, 23}},         // 0.99 and 0.96 pixels of margin: none
        {0, 0, {1, 1, -1, -1}},           // before the sanity rule
    };
    for (const MarginCase& c : cases)
        EXPECT_EQ(chart::MarginsRect(c.width, c.height, style), c.expected)
            << c.width << " x " << c.height;
}

// The program's chart laid out on exact text sizes: every text `charWidth` pixels per
// character, every line `lineHeight` high.
class LayoutOnFixedText : public ::testing::Test {
protected:
    LayoutOnFixedText() : measurer(0, 0) {}
    void Layout(int width, int height, int charWidth, int lineHeight) {
        measurer = FixedMeasurer(0, lineHeight);
        measurer.widthOf = [charWidth](const QFont&, const QString& text) {
            return charWidth * static_cast<int>(text.size());
        };
        chart::LayoutChart(c.chart, style, measurer, width, height);
    }
    DrawnChart c;
    chart::TChartStyle style;
    FixedMeasurer measurer;
};

TEST_F(LayoutOnFixedText, TitleIsCentredAndTakesItsHeightPlusTheMargin) {
    // 47 characters of 12 pixels: a box 564 wide, 27 high, centred on (31 + 990) / 2 = 510.
    ASSERT_EQ(c.chart.TitleText().first().size(), 47);
    Layout(1021, 431, 12, 27);
    EXPECT_EQ(c.chart.TitleRect(), (TChartRect{228, 18, 792, 45}));
    EXPECT_EQ(c.chart.ChartRect().Top, 45 + 5);
}

TEST_F(LayoutOnFixedText, TitleBoxNeverStartsLeftOfTheBevelPlusTwoPercent) {
    struct Case {
        int width;
        int charWidth;
        int left;
    };
    const Case cases[] = {
        {1021, 21, 21},  // 987 wide: centred it would start at 17; 1 + 20 instead
        {1021, 30, 21},  // wider than the chart: still 21
        {300, 12, 7},    // a narrow chart: 1 + 6
        {130, 12, 4},    // 1 + 2.6 rounded
    };
    for (const Case& k : cases) {
        Layout(k.width, 431, k.charWidth, 27);
        EXPECT_EQ(c.chart.TitleRect().Left, k.left) << k.width << " / " << k.charWidth;
        EXPECT_EQ(c.chart.TitleRect().Width(), 47 * k.charWidth);
    }
}

TEST_F(LayoutOnFixedText, TitleOfSeveralLinesHasTheWidestLineAndOneLineHeightEach) {
    c.chart.SetTitleText({QStringLiteral("one"), QStringLiteral("three"), QString()});
    Layout(1021, 431, 10, 20);
    EXPECT_EQ(c.chart.TitleRect(), (TChartRect{510 - 25, 18, 510 + 25, 78}));
    EXPECT_EQ(c.chart.ChartRect().Top, 83);
}

TEST_F(LayoutOnFixedText, HiddenOrEmptyTitleTakesNoSpace) {
    c.chart.SetTitleVisible(false);
    Layout(1021, 431, 10, 20);
    EXPECT_EQ(c.chart.TitleRect().Height(), 0);
    EXPECT_EQ(c.chart.TitleRect().Width(), 0);
    const int hiddenTop = c.chart.ChartRect().Top;
    c.chart.SetTitleVisible(true);
    c.chart.SetTitleText({});
    Layout(1021, 431, 10, 20);
    EXPECT_EQ(c.chart.ChartRect().Top, hiddenTop);
    // Without a title, the left axis starts right below the margin.
    EXPECT_EQ(c.chart.LeftAxis().IStartPos, 18);
}

TEST_F(LayoutOnFixedText, BottomThenLeftAxisTakeLabelAndTickSpace) {
    AddWalk(*c.walk, 40);  // between -4 and 5 with this seed: labels up to two characters
    c.chart.BottomAxis().SetMinMax(0, 100);
    AddZeroLine(c.chart, 100);
    Layout(1021, 431, 7, 13);
    const chart::TChartAxis& bottom = c.chart.BottomAxis();
    const chart::TChartAxis& left = c.chart.LeftAxis();
    const TChartRect& r = c.chart.ChartRect();
    // Bottom: 13 for the labels under 413, then 2 + 1 + 4 for the axis and its ticks.
    EXPECT_EQ(bottom.PosLabels, 400);
    EXPECT_EQ(bottom.PosAxis, 393);
    EXPECT_EQ(r.Bottom, 393);
    // Left: the widest label plus a space, then 7.
    int widest = 0;
    for (const chart::TAxisLabelItem& item : left.Items)
        widest = std::max(widest, 7 * static_cast<int>(item.Text.size()));
    EXPECT_EQ(left.PosLabels, 31 + widest + 7);
    EXPECT_EQ(left.PosAxis, left.PosLabels + 7);
    EXPECT_EQ(r.Left, left.PosAxis);
    // Nothing on the right and no top axis: the title alone moved the top.
    EXPECT_EQ(r.Right, 990);
    EXPECT_EQ(r.Top, 18 + 13 + 5);
    EXPECT_FALSE(c.chart.TopAxis().IsVisible);
    EXPECT_FALSE(c.chart.RightAxis().IsVisible);
    EXPECT_TRUE(c.chart.TopAxis().Items.empty());
    // The axes map onto the final rectangle.
    EXPECT_EQ(bottom.IStartPos, r.Left);
    EXPECT_EQ(bottom.IEndPos, r.Right);
    EXPECT_EQ(left.IStartPos, r.Top);
    EXPECT_EQ(left.IEndPos, r.Bottom);
    EXPECT_FALSE(bottom.Items.empty());
    EXPECT_FALSE(left.Items.empty());
}

TEST_F(LayoutOnFixedText, TinyChartKeepsAPlotRectangleOfAtLeastOnePixel) {
    AddWalk(*c.walk, 40);
    AddZeroLine(c.chart, 24);
    for (const QSize size : {QSize(40, 30), QSize(10, 10), QSize(1, 1), QSize(0, 0)}) {
        Layout(size.width(), size.height(), 7, 13);
        const TChartRect& r = c.chart.ChartRect();
        EXPECT_GE(r.Left, 0) << size.width();
        EXPECT_GE(r.Top, 0) << size.width();
        EXPECT_GE(r.Width(), 1) << size.width();
        EXPECT_GE(r.Height(), 1) << size.width();
    }
    // And it still paints.
    chart::TChartPainter painter;
    const QImage image = c.Draw(painter, 1, 20, 12);
    EXPECT_EQ(image.size(), QSize(20, 12));
}

// The fonts the chart is drawn with, measured on the device it is drawn on.
TEST(ChartLayoutOnFonts, LayoutAgreesWithTheMeasuredFonts) {
    DrawnChart c;
    AddWalk(*c.walk, 1000);
    c.chart.BottomAxis().SetMinMax(400, 700);
    AddZeroLine(c.chart, 700);
    chart::TChartPainter painter;
    c.Draw(painter);
    const chart::TPainterMeasurer& m = painter.Measurer();
    const chart::TChartStyle& style = painter.Style();
    const chart::TChartAxis& bottom = c.chart.BottomAxis();
    const chart::TChartAxis& left = c.chart.LeftAxis();
    const TChartRect& r = c.chart.ChartRect();

    // Title: Arial with 24-pixel characters, bold; its box is the text's size.
    const QString title = c.chart.TitleText().first();
    const TChartRect& t = c.chart.TitleRect();
    EXPECT_EQ(t.Top, 18);
    EXPECT_EQ(t.Height(), m.TextHeight(style.TitleFont));
    EXPECT_EQ(t.Width(), m.TextWidth(style.TitleFont, title));
    EXPECT_GE(t.Height(), 26);
    EXPECT_LE(t.Height(), 29);
    EXPECT_GE(t.Left, 21);
    EXPECT_EQ(r.Top, t.Bottom + 5);

    // Bottom labels: the height of "W" in Arial 8 points at 96 dpi, then 7 pixels.
    const int h = m.TextHeight(bottom.LabelsFont);
    EXPECT_GE(h, 11);
    EXPECT_LE(h, 13);
    EXPECT_EQ(bottom.PosLabels, 413 - h);
    EXPECT_EQ(bottom.PosAxis, bottom.PosLabels - 7);
    EXPECT_EQ(r.Bottom, bottom.PosAxis);

    // Left labels: every one fits between the margin and PosLabels, with a space to spare.
    EXPECT_EQ(left.PosAxis, left.PosLabels + 7);
    EXPECT_EQ(r.Left, left.PosAxis);
    const int space = m.TextWidth(left.LabelsFont, QStringLiteral(" "));
    for (const chart::TAxisLabelItem& item : left.Items) {
        const TChartRect box = chart::LabelBox(left, item, m, left.LabelsFont);
        EXPECT_EQ(box.Right, left.PosLabels);
        EXPECT_GE(box.Left - space, 31) << item.Text.toStdString();
    }
    EXPECT_EQ(r.Right, 990);
}

TEST(ChartLayoutOnFonts, TextSizesDoNotDependOnTheDevicesResolution) {
    const QFont labels(QStringLiteral("Arial"), 8);
    const QString text = QStringLiteral("-1 234,5");
    chart::TPainterMeasurer at96;
    QImage hiDpi(4, 4, QImage::Format_ARGB32_Premultiplied);
    hiDpi.setDotsPerMeterX(5669);  // 144 dpi
    hiDpi.setDotsPerMeterY(5669);
    ASSERT_EQ(hiDpi.logicalDpiY(), 144);
    chart::TPainterMeasurer at144(hiDpi);
    EXPECT_EQ(at144.TextWidth(labels, text), at96.TextWidth(labels, text));
    EXPECT_EQ(at144.TextHeight(labels), at96.TextHeight(labels));
    // 8 points are 10 2/3 pixels at 96 dpi, whatever the device.
    EXPECT_DOUBLE_EQ(chart::DrawingFont(labels, 144).pointSizeF() * 144 / 72, 32.0 / 3);
    // Pixel sizes stay as they are.
    EXPECT_EQ(chart::DrawingFont(chart::TChartStyle::DefaultTitleFont(), 144).pixelSize(), 24);
    // Kept sizes come back the same, and a bold font measures apart from the regular one.
    EXPECT_EQ(at96.TextWidth(labels, text), at96.TextWidth(labels, text));
    QFont bold = labels;
    bold.setBold(true);
    EXPECT_GT(at96.TextWidth(bold, QStringLiteral("Wide Text")),
              at96.TextWidth(labels, QStringLiteral("Wide Text")));
}

}  // namespace
