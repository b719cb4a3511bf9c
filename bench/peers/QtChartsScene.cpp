// The standard scene drawn by Qt Charts, as a C++ developer would set it up: a QChart of
// 1021 x 431 pixels in a graphics scene, a bold 24-pixel title, value axes with the window,
// label step, grid and three minor ticks our chart shows (labels Arial 8 points), the walk
// as two scatter series of 9 x 9 rectangles with a black outline (one per colour) and each
// zero line as a line series of two points. One render of the scene into a 1021 x 431
// image, anti-aliased, is one full draw; Qt Charts keeps its layout between renders.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "bench/DrawScene.h"

namespace bench {

namespace {

class QtChartsScene {
public:
    explicit QtChartsScene(const PeerScene& s) : chart_(new QChart) {  // owned by the scene
        scene_.addItem(chart_);
        chart_->setAnimationOptions(QChart::NoAnimation);
        chart_->legend()->hide();
        chart_->setBackgroundRoundness(0);
        chart_->setDropShadowEnabled(false);
        chart_->setBackgroundBrush(QColor(240, 240, 240));
        chart_->setMargins(QMargins(4, 4, 4, 4));
        chart_->setTitle(Title());
        QFont titleFont(QStringLiteral("Arial"));
        titleFont.setPixelSize(24);
        titleFont.setBold(true);
        chart_->setTitleFont(titleFont);
        chart_->setTitleBrush(Qt::blue);

        const QFont labels(QStringLiteral("Arial"), 8);
        auto makeAxis = [&](double lo, double hi, double step, Qt::Alignment side) {
            auto* axis = new QValueAxis;  // owned by the chart
            axis->setRange(lo, hi);
            axis->setTickType(QValueAxis::TicksDynamic);
            axis->setTickAnchor(0);
            axis->setTickInterval(step);
            axis->setMinorTickCount(3);
            axis->setLabelFormat(QStringLiteral("%g"));
            axis->setTruncateLabels(false);
            axis->setLabelsFont(labels);
            axis->setLinePen(QPen(Qt::black, 2));
            axis->setGridLineColor(QColor(192, 192, 192));
            axis->setMinorGridLineVisible(false);
            chart_->addAxis(axis, side);
            return axis;
        };
        QValueAxis* x = makeAxis(s.xMin, s.xMax, s.xStep, Qt::AlignBottom);
        QValueAxis* y = makeAxis(s.yMin, s.yMax, s.yStep, Qt::AlignLeft);

        for (bool even : {true, false}) {
            auto* points = new QScatterSeries;  // owned by the chart
            points->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
            points->setMarkerSize(9);
            points->setColor(even ? QColor(0, 128, 0) : QColor(0, 0, 255));
            points->setBorderColor(Qt::black);
            for (const PeerScene::Point& p : s.points)
                if (p.even == even) points->append(p.x, p.y);
            chart_->addSeries(points);
            points->attachAxis(x);
            points->attachAxis(y);
        }
        int k = 0;
        for (double maximum : s.lineMaxima) {
            auto* line = new QLineSeries;  // owned by the chart
            line->setPen(QPen(QColor::fromHsv((k++ * 37) % 360, 255, 200), 1));
            line->append(0, 0);
            line->append(maximum, 0);
            chart_->addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
        }
        chart_->resize(kWidth, kHeight);
        image_ = QImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
        // The chart lays itself out through posted events.
        QCoreApplication::processEvents();
        Draw();
        QCoreApplication::processEvents();
    }

    void Draw() {
        QPainter p(&image_);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        p.fillRect(image_.rect(), QColor(240, 240, 240));
        scene_.render(&p, QRectF(0, 0, kWidth, kHeight), QRectF(0, 0, kWidth, kHeight));
    }
    const QImage& Picture() const { return image_; }

private:
    QGraphicsScene scene_;
    QChart* chart_;
    QImage image_;
};

void Run(benchmark::State& state, const PeerScene* scene) {
    QtChartsScene chart(*scene);
    if (qEnvironmentVariableIsSet("VEXILO_BENCH_PICTURES"))
        chart.Picture().save(
            QStringLiteral("/tmp/bench_qtcharts_%1.png").arg(scene->lineMaxima.size()));
    for (auto _ : state) {
        chart.Draw();
        benchmark::DoNotOptimize(chart.Picture().constBits());
    }
}

}  // namespace

void RegisterQtCharts(const PeerScene& one, const PeerScene& many) {
    benchmark::RegisterBenchmark("BM_QtCharts", Run, &one)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_QtCharts_1000ZeroLines", Run, &many)
        ->Unit(benchmark::kMicrosecond);
}

}  // namespace bench
