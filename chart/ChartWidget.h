// The chart on the window: a widget that owns the chart model and paints it. Repaint
// requests of the model mark the widget dirty and schedule a paint.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "chart/Chart.h"

namespace chart {

class TChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit TChartWidget(QWidget* parent = nullptr);

    TChart& Chart() { return *chart_; }
    const TChart& Chart() const { return *chart_; }

    // Runs at the end of every full draw.
    std::function<void()> OnAfterDraw;

    // Full draws since construction (a paint without changes only copies the cache).
    long FullDraws() const { return fullDraws_; }
    bool Dirty() const { return dirty_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Draw();

    TChart* chart_;  // owned as a Qt child
    QImage buffer_;
    bool dirty_ = true;
    long fullDraws_ = 0;
};

}  // namespace chart
