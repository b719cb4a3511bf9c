#include "chart/ChartWidget.h"

#include <QPainter>

namespace chart {

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent), chart_(new TChart(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    chart_->OnInvalidate = [this] {
        dirty_ = true;
        update();
    };
}

void TChartWidget::resizeEvent(QResizeEvent*) { chart_->Invalidate(); }

void TChartWidget::Draw() {
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (buffer_.size() != pixels) {
        buffer_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        buffer_.setDevicePixelRatio(dpr);
    }
    const bool autoRepaint = chart_->AutoRepaint();
    chart_->SetAutoRepaint(false);
    {
        QPainter p(&buffer_);
        p.fillRect(QRect(QPoint(0, 0), size()), ToQColor(chart_->Color()));
    }
    if (OnAfterDraw) OnAfterDraw();
    chart_->SetAutoRepaint(autoRepaint);
    ++fullDraws_;
}

void TChartWidget::paintEvent(QPaintEvent*) {
    if (dirty_ || buffer_.isNull()) {
        Draw();
        dirty_ = false;
    }
    QPainter p(this);
    p.drawImage(0, 0, buffer_);
}

}  // namespace chart
