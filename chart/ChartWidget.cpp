#include "chart/ChartWidget.h"

#include <QElapsedTimer>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

#include "chart/Series.h"

namespace chart {

namespace {

// The pixel under a pointer position given in (possibly fractional) logical pixels.
QPoint PixelAt(const QPointF& pos) {
    return QPoint(static_cast<int>(std::floor(pos.x())), static_cast<int>(std::floor(pos.y())));
}

}  // namespace

TChartWidget::TChartWidget(QWidget* parent)
    : QWidget(parent), chart_(new TChart(this)), mouse_(*chart_) {
    // The image covers the whole widget: the window system never erases behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button pressed come too: they drive the hover highlight.
    setMouseTracking(true);
    chart_->OnInvalidate = [this] {
        dirty_ = true;
        update();
    };
}

// Only a real change asks for a redraw: Qt also sends these events with nothing changed
// (a hidden widget gets a resize event each time it is rendered).
void TChartWidget::resizeEvent(QResizeEvent* event) {
    if (event->size() != drawnSize_) chart_->Invalidate();
}

void TChartWidget::moveEvent(QMoveEvent* event) {
    if (event->pos() != event->oldPos()) chart_->Invalidate();
}

void TChartWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) chart_->Invalidate();
    QWidget::changeEvent(event);
}

void TChartWidget::Draw() {
    const qreal dpr = devicePixelRatioF();
    // Device pixels, at least one each way so that there is always something to draw on.
    const QSize pixels(std::max(1, static_cast<int>(std::ceil(width() * dpr))),
                       std::max(1, static_cast<int>(std::ceil(height() * dpr))));
    if (buffer_.size() != pixels || buffer_.devicePixelRatio() != dpr) {
        // Opaque pixels in the window's usual format: showing the chart is a plain copy.
        buffer_ = QImage(pixels, QImage::Format_RGB32);
        buffer_.setDevicePixelRatio(dpr);
    }
    drawnSize_ = size();
    QElapsedTimer timer;
    timer.start();
    painter_.Draw(*chart_, buffer_, drawnSize_, OnAfterDraw);
    lastDrawNs_ = timer.nsecsElapsed();
    ++fullDraws_;
}

void TChartWidget::paintEvent(QPaintEvent* event) {
    if (dirty_ || buffer_.isNull() || size() != drawnSize_ ||
        buffer_.devicePixelRatio() != devicePixelRatioF()) {
        Draw();
        dirty_ = false;
    }
    QPainter p(this);
    const QRect r = event->rect();
    const qreal dpr = buffer_.devicePixelRatio();
    // The image covers the widget (the paint is opaque): its pixels replace what was there,
    // a plain copy instead of a blend.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRectF(r), buffer_,
                QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
}

// ---- tooltips

bool TChartWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        ShowPointToolTip(PixelAt(help->pos()), help->globalPos());
        return true;
    }
    return QWidget::event(event);
}

void TChartWidget::ShowPointToolTip(const QPoint& pos, const QPoint& globalPos) {
    // None during a drag, and none before the chart was drawn (no layout to hit-test).
    if (!OnPointToolTip || mouse_.Dragging() || buffer_.isNull()) {
        QToolTip::hideText();
        return;
    }
    // The series painted last lies on top: try it first, as the hover highlighting does.
    for (int k = chart_->SeriesCount() - 1; k >= 0; --k) {
        const TChartSeries& series = *chart_->Series(k);
        if (!series.Active() || ClickableLine(series)) continue;
        const int index = SeriesIndexAt(series, pos.x(), pos.y());
        if (index < 0 || index >= series.Count()) continue;
        const QString text = OnPointToolTip(series, index);
        if (text.isEmpty()) break;
        // The tooltip goes when the pointer leaves the square it belongs to: the pixels
        // the hit test takes, |dx| < HorizSize and |dy| < VertSize.
        const int hx = series.Pointer().HorizSize - 1;
        const int hy = series.Pointer().VertSize - 1;
        const QRect square(series.CalcXPos(index) - hx, series.CalcYPos(index) - hy, 2 * hx + 1,
                           2 * hy + 1);
        QToolTip::showText(globalPos, text, this, square);
        return;
    }
    QToolTip::hideText();
}

// ---- mouse and keys: the logic lives in TChartMouse

void TChartWidget::mousePressEvent(QMouseEvent* event) {
    // A click takes the keyboard focus (typed keys no longer reach the number box), unless
    // the window around the chart holds the focus itself.
    if (!hasFocus() && isEnabled() && (focusPolicy() & Qt::TabFocus) && parentWidget() &&
        !parentWidget()->hasFocus())
        setFocus(Qt::MouseFocusReason);
    // While a button is held Qt sends every move to this widget, also outside it (its
    // implicit mouse grab), so a drag goes on wherever the pointer goes.
    const QPoint p = PixelAt(event->position());
    // A drag begins: a tooltip showing goes.
    if (mouse_.MouseDown(event->button(), p.x(), p.y())) QToolTip::hideText();
    event->accept();
}

void TChartWidget::mouseMoveEvent(QMouseEvent* event) {
    // A drag whose release went elsewhere (the grab was broken) must not pan on plain moves.
    if (mouse_.Dragging() && event->buttons() == Qt::NoButton) mouse_.CancelDrag();
    const QPoint p = PixelAt(event->position());
    mouse_.MouseMove(p.x(), p.y(), Measurer());
    event->accept();
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = PixelAt(event->position());
    mouse_.MouseUp(event->button(), p.x(), p.y());
    event->accept();
}

// Leaving clears the highlights; a drag goes on.
void TChartWidget::leaveEvent(QEvent* event) {
    mouse_.MouseLeave();
    QToolTip::hideText();
    QWidget::leaveEvent(event);
}

// The wheel and the keys do nothing to the chart; they stop here.
void TChartWidget::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void TChartWidget::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void TChartWidget::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}

}  // namespace chart
