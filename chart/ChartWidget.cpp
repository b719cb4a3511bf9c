#include "chart/ChartWidget.h"

#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace chart {

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent), chart_(new TChart(this)) {
    // The image covers the whole widget: the window system never erases behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
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

void TChartWidget::Draw() {
    const qreal dpr = devicePixelRatioF();
    // Device pixels, at least one each way so that there is always something to draw on.
    const QSize pixels(std::max(1, static_cast<int>(std::ceil(width() * dpr))),
                       std::max(1, static_cast<int>(std::ceil(height() * dpr))));
    if (buffer_.size() != pixels || buffer_.devicePixelRatio() != dpr) {
        buffer_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        buffer_.setDevicePixelRatio(dpr);
    }
    drawnSize_ = size();
    painter_.Draw(*chart_, buffer_, drawnSize_, OnAfterDraw);
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
    p.drawImage(QRectF(r), buffer_,
                QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
}

}  // namespace chart
