// Stacked horizontal lines: which ones the lines drawn over them settle, checked against
// the picture of drawing them all.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "chart/Colors.h"
#include "chart/LineStack.h"

using chart::TLineDraw;

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 40;
const QRect kClip(20, 5, 360, 30);
constexpr qreal kY = 20;

QPen PalettePen(int i, int width = 1) {
    const std::vector<chart::TColor>& palette = chart::PaletteColors(13);
    return QPen(QBrush(chart::ToQColor(palette[static_cast<size_t>(i) % palette.size()])), width,
                Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

TLineDraw Line(qreal x0, qreal x1, int i, qreal y = kY) {
    return TLineDraw{QLineF(x0, y, x1, y), PalettePen(i)};
}

TLineDraw Other() {
    TLineDraw d;
    d.Other = true;
    return d;
}

chart::TLineTarget Target(qreal dpr = 1) {
    chart::TLineTarget t;
    t.Clip = kClip;
    t.Size = QSize(kWidth, kHeight);
    t.Dpr = dpr;
    t.Hints = QPainter::Antialiasing;
    return t;
}

// The lines over a striped background, clipped like the chart; "other" items cover the
// stack's rows with a grey bar. Skipped lines are left out when `honourSkip` is set.
QImage Draw(const std::vector<TLineDraw>& draws, bool honourSkip, qreal dpr = 1) {
    QImage image(QSize(kWidth, kHeight) * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int x = 0; x < kWidth; x += 6)
        p.fillRect(QRectF(x, 0, 3, kHeight), QColor(40, 160, 90));
    p.setRenderHints(QPainter::Antialiasing);
    p.setClipRect(kClip);
    for (const TLineDraw& d : draws) {
        if (d.Other) {
            p.fillRect(QRectF(0, kY - 4, kWidth, 8), QColor(128, 128, 128));
        } else if (!(honourSkip && d.Skip)) {
            p.setPen(d.Pen);
            p.drawLine(d.Line);
        }
    }
    return image;
}

// Marks the settled lines and checks that leaving them out changes no pixel.
int SkipAndCompare(std::vector<TLineDraw>& draws, qreal dpr = 1) {
    chart::TLineStack stack;
    const int marked = stack.SkipSettledLines(draws, Target(dpr));
    EXPECT_TRUE(Draw(draws, true, dpr) == Draw(draws, false, dpr)) << "a skipped line showed";
    return marked;
}

TEST(LineStack, LinesUnderEnoughLaterLinesAreSkipped) {
    std::vector<TLineDraw> draws;
    for (int i = 0; i < 40; ++i)
        draws.push_back(Line(-100, 500, i));
    const int marked = SkipAndCompare(draws);
    EXPECT_GE(marked, 24);
    // The last lines make the picture: they are drawn.
    for (size_t i = draws.size() - 10; i < draws.size(); ++i)
        EXPECT_FALSE(draws[i].Skip) << i;
}

TEST(LineStack, LinesEndingLeftOfLaterLinesAreSkippedButNotOneThatReachesFurther) {
    std::vector<TLineDraw> draws;
    draws.push_back(Line(-100, 360, 0));  // reaches further than all later lines
    for (int i = 1; i < 40; ++i)
        draws.push_back(Line(-100, 100 + 5 * i, i));  // each a little longer
    SkipAndCompare(draws);
    EXPECT_FALSE(draws[0].Skip);
    EXPECT_TRUE(draws[1].Skip);
    EXPECT_TRUE(draws[10].Skip);
}

TEST(LineStack, OnlyLinesAfterTheLastOtherDrawingSettleTheStack) {
    std::vector<TLineDraw> draws;
    for (int i = 0; i < 30; ++i)
        draws.push_back(Line(-100, 500, i));
    draws.push_back(Other());
    for (int i = 0; i < 3; ++i)
        draws.push_back(Line(-100, 500, i));
    // Three lines cannot settle anything; the thirty under the other drawing stay.
    EXPECT_EQ(SkipAndCompare(draws), 0);
    // With enough lines after it, even lines before the other drawing go.
    for (int i = 3; i < 30; ++i)
        draws.push_back(Line(-100, 500, i));
    EXPECT_GE(SkipAndCompare(draws), 30);
    EXPECT_TRUE(draws[5].Skip);
}

TEST(LineStack, LinesAtAnotherHeightOrWithAnotherPenAreJudgedOnTheirOwnPixels) {
    std::vector<TLineDraw> draws;
    draws.push_back(Line(-100, 500, 0, kY + 10));  // another height: never part of the stack
    TLineDraw thick = Line(-100, 500, 1);
    thick.Pen.setWidth(3);  // rows the thin lines do not cover
    draws.push_back(thick);
    for (int i = 0; i < 40; ++i)
        draws.push_back(Line(-100, 500, i));
    SkipAndCompare(draws);
    EXPECT_FALSE(draws[0].Skip);
    EXPECT_FALSE(draws[1].Skip);
    EXPECT_TRUE(draws[2].Skip);
}

TEST(LineStack, WholeDevicePixelRatiosOnly) {
    std::vector<TLineDraw> draws;
    for (int i = 0; i < 40; ++i)
        draws.push_back(Line(-100, 500, i));
    std::vector<TLineDraw> copy = draws;
    EXPECT_GT(SkipAndCompare(draws, 2), 0);
    chart::TLineStack stack;
    EXPECT_EQ(stack.SkipSettledLines(copy, Target(1.5)), 0);
}

}  // namespace
