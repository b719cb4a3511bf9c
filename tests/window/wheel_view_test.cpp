// The drawn wheel: rendered into images at device pixel ratios 1, 1.5 and 2, its pockets
// carry their colours and numbers where the geometry puts them, the frets between them fall
// on the computed angles, the shading ring follows the counts, the hottest sector is
// outlined (across the zero too), and the tooltips name counts and neighbours.
#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <cmath>

#include "roulette/Sector.h"
#include "window/WheelView.h"

namespace {

constexpr int kPockets = 37;
constexpr double kSpan = 360.0 / kPockets;

// The point at `radius` from the centre, `angle` degrees clockwise from straight up.
QPointF Polar(const TWheelView& w, double radius, double angle) {
    const double a = angle * M_PI / 180.0;
    return w.Centre() + QPointF(std::sin(a), -std::cos(a)) * radius;
}

QImage Render(TWheelView& w, double ratio) {
    QImage image((QSizeF(w.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    w.render(&image);
    return image;
}

// The colour at logical point `p` of an image rendered at `ratio`.
QColor At(const QImage& image, const QPointF& p, double ratio) {
    return image.pixelColor(static_cast<int>(p.x() * ratio), static_cast<int>(p.y() * ratio));
}

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// Whitish: the numbers' ink.
bool Ink(QRgb c) {
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
}

int PositionOf(int number) {
    for (int i = 0; i < kPockets; ++i)
        if (roulette::kWheelOrder[i] == number) return i;
    return -1;
}

roulette::NumberCounts Even(int each) {
    roulette::NumberCounts c{};
    for (int n = 1; n <= 36; ++n)
        c[n] = each;
    return c;
}

class WheelView : public ::testing::Test {
protected:
    void SetUp() override { wheel.resize(wheel.sizeHint()); }
    TWheelView wheel;
};

TEST_F(WheelView, PocketsCarryTheirColoursAndNumbersAtEveryPixelRatio) {
    wheel.SetCounts(Even(10), std::nullopt);
    const double textRadius = (wheel.NumberRadius() + wheel.OuterRadius()) / 2;
    const double pocketWidth = 2 * M_PI * textRadius / kPockets;
    std::vector<QPointF> inkAtOne(kPockets);
    for (double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image = Render(wheel, ratio);
        for (int i = 0; i < kPockets; ++i) {
            const int n = roulette::kWheelOrder[i];
            // The pocket's own colour between its number and the rim.
            const QPointF side =
                Polar(wheel, (textRadius + 2 * wheel.OuterRadius()) / 3, wheel.PocketAngle(i));
            EXPECT_LT(Distance(At(image, side, ratio), TWheelView::PocketColour(n)), 40)
                << "pocket " << n;
            // The number's ink: centred on the pocket's middle, in device pixels.
            const QPointF centre = Polar(wheel, textRadius, wheel.PocketAngle(i)) * ratio;
            const double half = pocketWidth * ratio * 0.45;
            double sx = 0, sy = 0;
            int count = 0;
            for (int y = int(centre.y() - half); y <= int(centre.y() + half); ++y)
                for (int x = int(centre.x() - half); x <= int(centre.x() + half); ++x)
                    if (Ink(image.pixel(x, y))) sx += x + 0.5, sy += y + 0.5, ++count;
            ASSERT_GT(count, 4 * ratio * ratio) << "no number drawn in pocket " << n;
            const QPointF ink(sx / count, sy / count);
            EXPECT_LT(QLineF(ink, centre).length(), 3.0 * ratio) << "number " << n;
            // The same place at every ratio: the drawing scales, it does not snap.
            if (ratio == 1.0)
                inkAtOne[i] = ink;
            else
                EXPECT_LT(QLineF(ink, inkAtOne[i] * ratio).length(), 1.5 * ratio) << "number " << n;
        }
    }
}

TEST_F(WheelView, FretsBetweenPocketsLieOnTheirAnglesAtEveryPixelRatio) {
    wheel.SetCounts(Even(10), std::nullopt);
    // Between the rim of the shading ring and the numbers.
    const double radius = (wheel.NumberRadius() * 0.75 + wheel.OuterRadius() * 0.25);
    for (double ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image = Render(wheel, ratio);
        for (int i = 0; i < kPockets; ++i) {
            // Walk across the border between pocket i-1 and pocket i in steps of a tenth of
            // a device pixel; the point least like either pocket is the fret.
            const double border = wheel.PocketAngle(i) - kSpan / 2;
            const QColor left = TWheelView::PocketColour(roulette::kWheelOrder[(i + 36) % 37]);
            const QColor right = TWheelView::PocketColour(roulette::kWheelOrder[i]);
            const double stepDegrees = 0.1 / (ratio * radius) * 180.0 / M_PI;
            double bestAngle = 0;
            int bestScore = -1;
            for (double a = border - 2.5 * kSpan / 10; a <= border + 2.5 * kSpan / 10;
                 a += stepDegrees) {
                const QColor c = At(image, Polar(wheel, radius, a), ratio);
                const int score = std::min(Distance(c, left), Distance(c, right));
                if (score > bestScore) bestScore = score, bestAngle = a;
            }
            const double offPixels = std::abs(bestAngle - border) * M_PI / 180.0 * radius * ratio;
            // Within a device pixel, plus the half pixel of reading whole pixels.
            EXPECT_LE(offPixels, 1.25) << "fret before pocket " << roulette::kWheelOrder[i];
            EXPECT_GT(bestScore, 60) << "a fret stands out from its pockets";
        }
    }
}

TEST_F(WheelView, ShadingFollowsEachCountAndTheZeroIsNotCounted) {
    // 36 spins each, 17 far above, 25 far below and 34 at the expected count.
    roulette::NumberCounts counts = Even(36);
    counts[17] = 90;
    counts[25] = 5;
    wheel.SetCounts(counts, std::nullopt);
    EXPECT_GT(wheel.Deviation(17), 2.5);
    EXPECT_LT(wheel.Deviation(25), -2.5);
    const double ring = (wheel.InnerRadius() + wheel.NumberRadius()) / 2;
    for (double ratio : {1.0, 2.0}) {
        const QImage image = Render(wheel, ratio);
        const auto shadeOf = [&](int n) {
            return At(image, Polar(wheel, ring, wheel.PocketAngle(PositionOf(n))), ratio);
        };
        const QColor hot = shadeOf(17);
        const QColor cold = shadeOf(25);
        const QColor usual = shadeOf(34);
        EXPECT_GT(hot.red() - hot.blue(), 100) << "17 came far more often: hot";
        EXPECT_GT(cold.blue() - cold.red(), 100) << "25 came far less often: cold";
        EXPECT_LT(Distance(usual, TWheelView::Shade(0)), 60) << "34 as expected: light";
        EXPECT_GT(usual.lightness(), 200);
        // The zero's ring is grey with a hatch: no shade of the scale.
        const QColor zero = shadeOf(0);
        EXPECT_LT(std::abs(zero.red() - zero.blue()), 20);
        EXPECT_LT(zero.lightness(), 215);
    }
    // Without spins every number is as expected.
    wheel.SetCounts(roulette::NumberCounts{}, std::nullopt);
    for (int n = 1; n <= 36; ++n)
        EXPECT_EQ(wheel.Deviation(n), 0.0);
}

TEST_F(WheelView, TheHottestSectorIsOutlinedAlsoAcrossTheZero) {
    const double rim = wheel.OuterRadius() + 1.5;
    const QColor gold(0xFF, 0xC8, 0x00);
    const struct {
        roulette::Arc arc;
        std::vector<int> inside;   // numbers whose pockets lie under the outline
        std::vector<int> outside;  // numbers well away from it
    } cases[] = {
        {{27, 9}, {22, 18, 29, 7, 28, 12, 35, 3, 26}, {32, 15, 11, 5}},
        // 3 26 | 0 | 32 15: the arc runs on past the zero, which sits between 26 and 32.
        {{34, 4}, {3, 26, 0, 32, 15}, {17, 30, 14}},
        {{0, 3}, {32, 15, 19}, {26, 21, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arc.start * 100 + c.arc.length);
        wheel.SetCounts(Even(5), c.arc);
        for (double ratio : {1.0, 1.5}) {
            const QImage image = Render(wheel, ratio);
            for (int n : c.inside)
                EXPECT_LT(
                    Distance(At(image, Polar(wheel, rim, wheel.PocketAngle(PositionOf(n))), ratio),
                             gold),
                    90)
                    << n << " under the outline";
            for (int n : c.outside)
                EXPECT_GT(
                    Distance(At(image, Polar(wheel, rim, wheel.PocketAngle(PositionOf(n))), ratio),
                             gold),
                    200)
                    << n << " not outlined";
        }
    }
}

TEST_F(WheelView, PocketsUnderThePointerAndTheirToolTips) {
    roulette::NumberCounts counts = Even(3);
    counts[17] = 7;  // 112 spins: 3,11 expected
    wheel.SetCounts(counts, std::nullopt);
    const double mid = (wheel.InnerRadius() + wheel.OuterRadius()) / 2;
    for (int i = 0; i < kPockets; ++i) {
        EXPECT_EQ(wheel.PocketAt(Polar(wheel, mid, wheel.PocketAngle(i))), i);
        EXPECT_EQ(wheel.PocketAt(
                      Polar(wheel, wheel.OuterRadius() - 1, wheel.PocketAngle(i) + kSpan * 0.45)),
                  i);
    }
    EXPECT_EQ(wheel.PocketAt(Polar(wheel, mid, 359.0)), 0) << "the zero spans straight up";
    EXPECT_EQ(wheel.PocketAt(wheel.Centre()), -1);
    EXPECT_EQ(wheel.PocketAt(Polar(wheel, wheel.InnerRadius() - 2, 30)), -1);
    EXPECT_EQ(wheel.PocketAt(Polar(wheel, wheel.OuterRadius() + 2, 30)), -1);

    const QString expected = QLocale().toString(112 / 36.0, 'f', 1);
    const struct {
        int number;
        QString tip;
    } cases[] = {
        {17,
         "Номер 17 — чёрное\nВыпало: 7, ожидается: " + expected + "\nСоседи на колесе: 25 и 34"},
        {26, "Номер 26 — чёрное\nВыпало: 3, ожидается: " + expected + "\nСоседи на колесе: 3 и 0"},
        {32,
         "Номер 32 — красное\nВыпало: 3, ожидается: " + expected + "\nСоседи на колесе: 0 и 15"},
        {0,
         "0 — зеро, не считается: в списке только номера от 1 до 36\n"
         "Соседи на колесе: 26 и 32"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wheel.PocketToolTip(PositionOf(c.number)), c.tip);
}

}  // namespace
