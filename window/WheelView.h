// The single-zero wheel drawn with QPainter: the 37 pockets clockwise from the zero in the
// wheel's real order, each with its number on its own colour (red, black, the zero green),
// an inner ring that shades each of the 36 numbers by how far its count lies from the
// expected spins / 36 (the zero, which the list never holds, hatched as not counted), the
// hottest sector outlined, and a legend under the wheel. Resting on a pocket tells its
// count, the expected count and its two neighbours on the wheel.
#pragma once

#include <QWidget>
#include <optional>

#include "roulette/Sector.h"

class TWheelView : public QWidget {
    Q_OBJECT
public:
    explicit TWheelView(QWidget* parent = nullptr);

    // The counts of the numbers 1 to 36 and the arc to outline (none: nothing outlined).
    void SetCounts(const roulette::NumberCounts& counts, std::optional<roulette::Arc> hottest);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Geometry in widget pixels, from the widget's current size.
    QPointF Centre() const;
    double OuterRadius() const;   // the pockets' outer edge
    double NumberRadius() const;  // the pockets' inner edge, where the shading ring starts
    double InnerRadius() const;   // the shading ring's inner edge
    // The angle, in degrees clockwise from straight up, of the middle of the pocket at
    // `position` in the wheel order (0 is the zero).
    static double PocketAngle(int position);
    // The pocket under `pos`: its position in the wheel order, or -1 off the pockets and
    // the shading ring.
    int PocketAt(const QPointF& pos) const;
    // The legend's colour bar.
    QRectF LegendBar() const;

    // How far a count lies from the expected, in standard deviations of a fair wheel's
    // count, clipped to +-kShadeLimit; 0 without spins.
    double Deviation(int number) const;
    // The shade of a deviation: blue below the expected, white at it, orange above.
    static QColor Shade(double deviation);
    // The colour of a pocket's own background.
    static QColor PocketColour(int number);

    // The tooltip of the pocket at `position` in the wheel order.
    QString PocketToolTip(int position) const;

    // Deviations beyond this many standard deviations take the strongest shade.
    static constexpr double kShadeLimit = 3.0;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    roulette::NumberCounts counts_{};
    int spins_ = 0;
    std::optional<roulette::Arc> hottest_;
};
