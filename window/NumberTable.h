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
    // Framed as one of the hottest: among the five and come at least once.
    bool IsHot(int n) const;
    // Framed as one of the coldest (a number both hot and cold shows as hot).
    bool IsCold(int n) const;

    static constexpr int kCellWidth = 52;
    static constexpr int kCellHeight = 46;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    roulette::Statistics stats_;
};
