#include "window/NumberTable.h"

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

}  // namespace

TNumberTable::TNumberTable(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TNumberTable::sizeHint() const {
    return QSize(12 * kCellWidth + 2 * kMargin, 3 * kCellHeight + 2 * kMargin);
}

QRect TNumberTable::CellRect(int n) const {
    // Number n stands in column (n - 1) / 3; its row counts from the top: 3, 6 ... first.
    const int column = (n - 1) / 3;
    const int row = 2 - roulette::ColumnOf(n);
    return QRect(kMargin + column * kCellWidth, kMargin + row * kCellHeight, kCellWidth,
                 kCellHeight);
}

void TNumberTable::SetStatistics(const roulette::Statistics& s) {
    stats_ = s;
    update();
}

bool TNumberTable::IsHot(int n) const {
    return stats_.numbers[n].count > 0 &&
           std::count(stats_.hottest.begin(), stats_.hottest.end(), n) > 0;
}

bool TNumberTable::IsCold(int n) const {
    return stats_.spins > 0 && std::count(stats_.coldest.begin(), stats_.coldest.end(), n) > 0;
}

void TNumberTable::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont numberFont = font();
    numberFont.setBold(true);
    numberFont.setPointSize(font().pointSize() + 3);
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
