#include "window/NumberTable.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "roulette/Wheel.h"

namespace {

const QColor kRed(0xC0, 0x1C, 0x1C);
const QColor kBlack(0x22, 0x22, 0x22);
const QColor kHot(0xFF, 0xC8, 0x00);   // gold frame
const QColor kCold(0x3C, 0xB4, 0xFF);  // light blue frame
constexpr int kMargin = 2;

// Digits of a non-negative number.
int Digits(int v) {
    int d = 1;
    while (v >= 10)
        v /= 10, ++d;
    return d;
}

}  // namespace

TNumberTable::TNumberTable(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    UpdateCellSize();
}

QFont TNumberTable::NumberFont() const {
    QFont f = font();
    f.setBold(true);
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() + 3);
    else
        f.setPixelSize(f.pixelSize() + 4);
    return f;
}

QSize TNumberTable::CellSize() const {
    return cell_;
}

void TNumberTable::UpdateCellSize() {
    int count = 0;
    int since = 0;
    for (int n = 1; n <= roulette::kNumbers; ++n) {
        count = std::max(count, stats_.numbers[n].count);
        since = std::max(since, stats_.numbers[n].sinceLast);
    }
    // The widest line the counts can make with as many digits as they have now (eights are
    // as wide as any digit): the cells grow only when a count gains a digit.
    const QString widest = QString(Digits(count), u'8') + QStringLiteral(" / ") +
                           QString(Digits(std::max(0, since)), u'8');
    const QFontMetrics small(font());
    const QFontMetrics big(NumberFont());
    const int width = std::max({kCellWidth, small.horizontalAdvance(widest) + 10,
                                big.horizontalAdvance(QStringLiteral("36")) + 10});
    // The number in the upper half, the counts in the lower one, each with its margins.
    const int height = std::max(kCellHeight, 2 * std::max(big.height() + 6, small.height() + 8));
    const QSize cell(width, height);
    if (cell == cell_) return;
    cell_ = cell;
    updateGeometry();
}

void TNumberTable::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) UpdateCellSize();
}

QSize TNumberTable::sizeHint() const {
    return QSize(12 * cell_.width() + 2 * kMargin, 3 * cell_.height() + 2 * kMargin);
}

QRect TNumberTable::CellRect(int n) const {
    // Number n stands in column (n - 1) / 3; its row counts from the top: 3, 6 ... first.
    const int column = (n - 1) / 3;
    const int row = 2 - roulette::ColumnOf(n);
    return QRect(kMargin + column * cell_.width(), kMargin + row * cell_.height(), cell_.width(),
                 cell_.height());
}

void TNumberTable::SetStatistics(const roulette::Statistics& s) {
    stats_ = s;
    UpdateCellSize();
    update();
}

bool TNumberTable::IsHot(int n) const {
    return std::count(stats_.hottest.begin(), stats_.hottest.end(), n) > 0;
}

bool TNumberTable::IsCold(int n) const {
    return std::count(stats_.coldest.begin(), stats_.coldest.end(), n) > 0;
}

void TNumberTable::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QFont numberFont = NumberFont();
    QFont small = font();
    for (int n = 1; n <= roulette::kNumbers; ++n) {
        const QRect cell = CellRect(n);
        p.fillRect(cell.adjusted(1, 1, -1, -1), roulette::IsRed(n) ? kRed : kBlack);
        const bool hot = IsHot(n);
        const bool cold = !hot && IsCold(n);
        if (hot || cold) {
            p.setPen(QPen(hot ? kHot : kCold, 3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell.adjusted(2, 2, -3, -3));
        }
        p.setPen(Qt::white);
        p.setFont(numberFont);
        p.drawText(QRect(cell.x(), cell.y() + 4, cell.width(), cell.height() / 2 - 2),
                   Qt::AlignCenter, QString::number(n));
        const roulette::NumberStats& ns = stats_.numbers[n];
        const QString since =
            ns.sinceLast < 0 ? QStringLiteral("—") : QString::number(ns.sinceLast);
        p.setFont(small);
        p.drawText(
            QRect(cell.x(), cell.y() + cell.height() / 2, cell.width(), cell.height() / 2 - 4),
            Qt::AlignCenter, QString::number(ns.count) + QStringLiteral(" / ") + since);
    }
}
