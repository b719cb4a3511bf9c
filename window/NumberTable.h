// The 36 numbers laid out as on the roulette table: three rows of twelve (3, 6 ... 36 on
// top, 1, 4 ... 34 at the bottom), red and black cells, each with its count and the spins
// since it last came; the five hottest and the five coldest numbers framed.
#pragma once

#include <QWidget>

#include "roulette/Statistics.h"

class TNumberTable : public QWidget {
    Q_OBJECT
public:
    explicit TNumberTable(QWidget* parent = nullptr);

    void SetStatistics(const roulette::Statistics& s);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The cell of number `n` (1 to 36) in widget pixels.
    QRect CellRect(int n) const;
    // The size of every cell: at least kCellWidth x kCellHeight, and enough for the number
    // and a "count / since" line with as many digits as the widest counts have now, in the
    // widget's font (so "27812 / 143" after a million spins is not clipped).
    QSize CellSize() const;
    // Framed as one of the hottest (they all came at least once).
    bool IsHot(int n) const;
    // Framed as one of the coldest (never one of the hottest too).
    bool IsCold(int n) const;

    static constexpr int kCellWidth = 52;
    static constexpr int kCellHeight = 46;

    // The fonts of a cell: the number in bold, 3 points larger (or 4 pixels, for a font
    // sized in pixels), and the counts in the widget's font.
    QFont NumberFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

    void changeEvent(QEvent* event) override;

private:
    void UpdateCellSize();

    roulette::Statistics stats_;
    QSize cell_{kCellWidth, kCellHeight};
};
