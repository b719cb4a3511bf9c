// The chart on the window: a widget that owns the chart model, an off-screen image of the
// chart and a dirty flag. A repaint request of the model (Invalidate) marks the image dirty
// and schedules a paint; a paint draws the chart into the image only when it is dirty and
// otherwise copies the image as it is. Moving or resizing the widget asks for a redraw.
// Mouse events go to the chart's mouse handling (ChartMouse.h): a left-button drag pans,
// moves highlight what lies under the pointer; the wheel and the keys do nothing. A pointer
// resting on a point can show a tooltip whose text the owner supplies; it is a window of its
// own and never part of the chart's image.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "chart/Chart.h"
#include "chart/ChartMouse.h"
#include "chart/ChartPainter.h"

namespace chart {

class TChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit TChartWidget(QWidget* parent = nullptr);

    TChart& Chart() { return *chart_; }
    const TChart& Chart() const { return *chart_; }

    // Runs at the end of every full draw.
    std::function<void()> OnAfterDraw;

    // The tooltip text for value `index` of `series`, a point series whose square the
    // resting pointer is on (the square the hover highlighting finds); an empty text shows
    // no tooltip. Unset: no tooltips.
    std::function<QString(const TChartSeries& series, int index)> OnPointToolTip;

    // Full draws since construction (a paint without changes only copies the cache).
    long FullDraws() const { return fullDraws_; }
    // How long the last full draw took, in nanoseconds.
    qint64 LastDrawNanoseconds() const { return lastDrawNs_; }
    bool Dirty() const { return dirty_; }

    // The image of the last full draw, in device pixels (its device pixel ratio is the
    // widget's); null before the first paint.
    const QImage& Buffer() const { return buffer_; }
    // Layout, pens and the look of the drawing.
    TChartPainter& Painter() { return painter_; }
    // Measures text as the last draw did: label boxes for hit tests come out as painted.
    const TTextMeasurer& Measurer() const { return painter_.Measurer(); }
    // The pan drag and hover state, and the panning settings.
    TChartMouse& Mouse() { return mouse_; }
    const TChartMouse& Mouse() const { return mouse_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // A new palette (the desktop's theme changed) gives the panel a new colour.
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Draw();
    // Shows the tooltip of the square under `pos`, or hides any tooltip when there is none.
    void ShowPointToolTip(const QPoint& pos, const QPoint& globalPos);

    TChart* chart_;  // owned as a Qt child
    TChartPainter painter_;
    TChartMouse mouse_;
    QImage buffer_;
    QSize drawnSize_;  // the logical size of the last full draw
    bool dirty_ = true;
    long fullDraws_ = 0;
    qint64 lastDrawNs_ = 0;
};

}  // namespace chart
