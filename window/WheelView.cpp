#include "window/WheelView.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "roulette/StatisticsText.h"
#include "roulette/Wheel.h"

namespace {

constexpr int kPockets = roulette::kNumbers + 1;  // with the zero
constexpr double kPocketSpan = 360.0 / kPockets;
constexpr int kSide = 270;         // the wheel's square at its preferred size
constexpr double kMargin = 5;      // room for the sector's outline outside the pockets
constexpr int kLegendHeight = 50;  // the colour bar, its words and the marks' line

const QColor kRed(0xC0, 0x1C, 0x1C);  // as in the number table
const QColor kBlack(0x22, 0x22, 0x22);
const QColor kGreen(0x12, 0x80, 0x3C);
const QColor kFret(0xC8, 0xA8, 0x50);  // the metal between the pockets
const QColor kCold(0x2F, 0x6F, 0xD0);
const QColor kEven(0xF4, 0xF4, 0xF4);
const QColor kHot(0xE8, 0x59, 0x0C);
const QColor kOutline(0xFF, 0xC8, 0x00);  // the gold of the hot numbers' frames
const QColor kNotCounted(0xC8, 0xC8, 0xC8);

// The annular sector between radii r0 < r1 from `start` degrees clockwise from straight up,
// `span` degrees clockwise.
QPainterPath Annulus(QPointF c, double r0, double r1, double start, double span) {
    const QRectF outer(c.x() - r1, c.y() - r1, 2 * r1, 2 * r1);
    const QRectF inner(c.x() - r0, c.y() - r0, 2 * r0, 2 * r0);
    // Qt counts angles counter-clockwise from three o'clock.
    const double qtStart = 90.0 - start;
    QPainterPath path;
    path.arcMoveTo(outer, qtStart);
    path.arcTo(outer, qtStart, -span);
    path.arcTo(inner, qtStart - span, span);
    path.closeSubpath();
    return path;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

}  // namespace

TWheelView::TWheelView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TWheelView::SetCounts(const roulette::NumberCounts& counts,
                           std::optional<roulette::Arc> hottest) {
    counts_ = counts;
    spins_ = 0;
    for (int n = roulette::kLowest; n <= roulette::kHighest; ++n)
        spins_ += counts_[n];
    hottest_ = hottest;
    update();
}

QSize TWheelView::sizeHint() const {
    return QSize(kSide, kSide + kLegendHeight);
}

QPointF TWheelView::Centre() const {
    const double side = std::min(width(), height() - kLegendHeight);
    return QPointF(width() / 2.0, side / 2.0);
}

double TWheelView::OuterRadius() const {
    const double side = std::min(width(), height() - kLegendHeight);
    return std::max(0.0, side / 2.0 - kMargin);
}

double TWheelView::NumberRadius() const {
    return OuterRadius() * 0.8;
}

double TWheelView::InnerRadius() const {
    return OuterRadius() * 0.6;
}

double TWheelView::PocketAngle(int position) {
    return position * kPocketSpan;
}

int TWheelView::PocketAt(const QPointF& pos) const {
    const QPointF d = pos - Centre();
    const double r = std::hypot(d.x(), d.y());
    if (r < InnerRadius() || r > OuterRadius()) return -1;
    double angle = std::atan2(d.x(), -d.y()) * 180.0 / M_PI;  // clockwise from up
    if (angle < 0) angle += 360.0;
    return static_cast<int>(std::floor((angle + kPocketSpan / 2) / kPocketSpan)) % kPockets;
}

QRectF TWheelView::LegendBar() const {
    const double top = std::min(width(), height() - kLegendHeight) + 2.0;
    const double w = std::min(220.0, width() - 20.0);
    return QRectF((width() - w) / 2.0, top, w, 10);
}

double TWheelView::Deviation(int number) const {
    if (spins_ == 0 || !roulette::IsNumber(number)) return 0;
    const double p = 1.0 / roulette::kNumbers;
    const double z = (counts_[number] - spins_ * p) / std::sqrt(spins_ * p * (1 - p));
    return std::clamp(z, -kShadeLimit, kShadeLimit);
}

QColor TWheelView::Shade(double deviation) {
    const double t = std::clamp(deviation / kShadeLimit, -1.0, 1.0);
    return t < 0 ? Mix(kEven, kCold, -t) : Mix(kEven, kHot, t);
}

QColor TWheelView::PocketColour(int number) {
    if (number == 0) return kGreen;
    return roulette::IsRed(number) ? kRed : kBlack;
}

QString TWheelView::PocketToolTip(int position) const {
    if (position < 0 || position >= kPockets) return QString();
    const int n = roulette::kWheelOrder[position];
    const int before = roulette::kWheelOrder[(position + kPockets - 1) % kPockets];
    const int after = roulette::kWheelOrder[(position + 1) % kPockets];
    const QString neighbours = QStringLiteral("Соседи на колесе: %1 и %2").arg(before).arg(after);
    if (n == 0)
        return QStringLiteral("0 — зеро, не считается: в списке только номера от %1 до %2\n")
                   .arg(roulette::kLowest)
                   .arg(roulette::kHighest) +
               neighbours;
    return QStringLiteral("Номер %1 — %2\nВыпало: %3, ожидается: %4\n")
               .arg(n)
               .arg(roulette::SideName(roulette::Pair::RedBlack,
                                       roulette::SideOf(roulette::Pair::RedBlack, n)))
               .arg(counts_[n])
               .arg(roulette::DecimalText(spins_ / double(roulette::kNumbers), 1)) +
           neighbours;
}

bool TWheelView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int position = PocketAt(help->pos());
        if (position < 0) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), PocketToolTip(position), this);
        }
        return true;
    }
    return QWidget::event(event);
}

void TWheelView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QPointF c = Centre();
    const double outer = OuterRadius();
    const double middle = NumberRadius();
    const double inner = InnerRadius();
    if (outer <= 0) return;

    // 1. The pockets and the shading ring, one annular sector each.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kPockets; ++i) {
        const int n = roulette::kWheelOrder[i];
        const double start = PocketAngle(i) - kPocketSpan / 2;
        p.setBrush(PocketColour(n));
        p.drawPath(Annulus(c, middle, outer, start, kPocketSpan));
        if (n == 0) {
            p.setBrush(kNotCounted);
            p.drawPath(Annulus(c, inner, middle, start, kPocketSpan));
            p.setBrush(QBrush(QColor(0x70, 0x70, 0x70), Qt::BDiagPattern));
        } else {
            p.setBrush(Shade(Deviation(n)));
        }
        p.drawPath(Annulus(c, inner, middle, start, kPocketSpan));
    }

    // 2. The frets between the pockets and the rings' edges.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFret, 1.0));
    for (int i = 0; i < kPockets; ++i) {
        const double a = (PocketAngle(i) - kPocketSpan / 2) * M_PI / 180.0;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(c + dir * middle, c + dir * outer);
    }
    p.drawEllipse(c, outer, outer);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.0));
    for (int i = 0; i < kPockets; ++i) {
        const double a = (PocketAngle(i) - kPocketSpan / 2) * M_PI / 180.0;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(c + dir * inner, c + dir * middle);
    }
    p.drawEllipse(c, inner, inner);
    p.setPen(QPen(kFret, 1.0));
    p.drawEllipse(c, middle, middle);

    // 3. The numbers, upright towards the rim, white on their pockets; the digits' own
    // height is centred in the pocket (they have no descent).
    QFont numberFont = font();
    numberFont.setBold(true);
    p.setFont(numberFont);
    p.setPen(Qt::white);
    const QFontMetricsF digits(numberFont);
    const double textRadius = (middle + outer) / 2;
    for (int i = 0; i < kPockets; ++i) {
        const QString text = QString::number(roulette::kWheelOrder[i]);
        p.save();
        p.translate(c);
        p.rotate(PocketAngle(i));
        p.drawText(
            QPointF(-digits.horizontalAdvance(text) / 2, -textRadius + digits.capHeight() / 2),
            text);
        p.restore();
    }

    // 4. The hottest sector, outlined over both rings: from its first pocket clockwise to
    // its last (an arc across 26 and 32 passes the zero, which sits between them).
    if (hottest_ && hottest_->length > 0) {
        const int first = hottest_->start + 1;  // ring index to wheel position
        const int pockets =
            hottest_->length + (hottest_->start + hottest_->length > roulette::kNumbers ? 1 : 0);
        const QPainterPath arc = Annulus(
            c, inner - 2, outer + 2, PocketAngle(first) - kPocketSpan / 2, pockets * kPocketSpan);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 5.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(arc);
        p.setPen(QPen(kOutline, 3.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPath(arc);
    }

    // 5. The legend: the shades from fewer to more than expected, then the two marks.
    const QRectF bar = LegendBar();
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    for (int k = -3; k <= 3; ++k)
        gradient.setColorAt((k + 3) / 6.0, Shade(k * kShadeLimit / 3));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.0));
    p.setBrush(gradient);
    p.drawRect(bar);
    QFont small = font();
    p.setFont(small);
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF fm(small);
    const double textTop = bar.bottom() + 1;
    const QRectF words(bar.left(), textTop, bar.width(), fm.height());
    p.drawText(words, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("реже"));
    p.drawText(words, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("как ожидается"));
    p.drawText(words, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("чаще"));
    const double marksTop = textTop + fm.height() + 3;
    const QString sector = QStringLiteral("горячий сектор");
    const QString zero = QStringLiteral("0 не считается");
    const double swatch = fm.height() - 4;
    const double total =
        2 * (swatch + 4) + fm.horizontalAdvance(sector) + 16 + fm.horizontalAdvance(zero);
    double x = (width() - total) / 2;
    const double swatchTop = marksTop + 2;
    p.setPen(QPen(kOutline, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x + 1.5, swatchTop + 1.5, swatch - 3, swatch - 3));
    x += swatch + 4;
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRectF(x, marksTop, fm.horizontalAdvance(sector) + 1, fm.height()),
               Qt::AlignLeft | Qt::AlignVCenter, sector);
    x += fm.horizontalAdvance(sector) + 16;
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.0));
    p.setBrush(kNotCounted);
    p.drawRect(QRectF(x, swatchTop, swatch, swatch));
    p.setBrush(QBrush(QColor(0x70, 0x70, 0x70), Qt::BDiagPattern));
    p.drawRect(QRectF(x, swatchTop, swatch, swatch));
    x += swatch + 4;
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRectF(x, marksTop, fm.horizontalAdvance(zero) + 1, fm.height()),
               Qt::AlignLeft | Qt::AlignVCenter, zero);
}
