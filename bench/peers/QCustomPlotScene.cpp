// The standard scene drawn by QCustomPlot, as a C++ developer would set it up: a widget of
// 1021 x 431 pixels, everything anti-aliased as our chart is, a bold 24-pixel title row,
// the bottom and left axes with the window, label step, grid and ticks our chart shows
// (axis lines 2 pixels wide, labels Arial 8 points), the walk as 9 x 9 squares with a black
// outline (one graph per colour: QCustomPlot colours a graph, not a point) and each zero
// line as a graph of two points. One replot is one full draw into its paint buffer, with
// its own caching of label pixmaps left on.
#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <memory>

#include "bench/DrawScene.h"

namespace bench {

namespace {

class QCustomPlotScene {
public:
    QCustomPlotScene(const PeerScene& s, bool antialiasAll) {
        plot_.resize(kWidth, kHeight);
        if (antialiasAll) plot_.setAntialiasedElements(QCP::aeAll);
        plot_.setBackground(QColor(240, 240, 240));
        plot_.plotLayout()->insertRow(0);
        QFont titleFont(QStringLiteral("Arial"));
        titleFont.setPixelSize(24);
        titleFont.setBold(true);
        auto* title = new QCPTextElement(&plot_, Title(), titleFont);  // owned by the layout
        title->setTextColor(Qt::blue);
        plot_.plotLayout()->addElement(0, 0, title);

        const QFont labels(QStringLiteral("Arial"), 8);
        auto setUp = [&](QCPAxis* axis, double lo, double hi, double step) {
            axis->setRange(lo, hi);
            QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
            ticker->setTickStep(step);
            ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
            axis->setTicker(ticker);
            axis->setTickLabelFont(labels);
            axis->setBasePen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
            axis->setTickPen(QPen(QColor(128, 128, 128)));
            axis->setSubTickPen(QPen(QColor(128, 128, 128)));
            axis->grid()->setPen(QPen(QColor(192, 192, 192)));
            axis->grid()->setZeroLinePen(Qt::NoPen);
        };
        setUp(plot_.xAxis, s.xMin, s.xMax, s.xStep);
        setUp(plot_.yAxis, s.yMin, s.yMax, s.yStep);

        for (bool even : {true, false}) {
            QCPGraph* g = plot_.addGraph();  // owned by the plot
            g->setLineStyle(QCPGraph::lsNone);
            g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, QPen(Qt::black, 1),
                                               QBrush(even ? QColor(0, 128, 0) : QColor(0, 0, 255)),
                                               9));
            QVector<double> xs, ys;
            for (const PeerScene::Point& p : s.points)
                if (p.even == even) {
                    xs.push_back(p.x);
                    ys.push_back(p.y);
                }
            g->setData(xs, ys, true);
        }
        int k = 0;
        for (double maximum : s.lineMaxima) {
            QCPGraph* g = plot_.addGraph();  // owned by the plot
            g->setPen(QPen(QColor::fromHsv((k++ * 37) % 360, 255, 200), 1));
            g->setData({0.0, maximum}, {0.0, 0.0}, true);
        }
        plot_.replot(QCustomPlot::rpImmediateRefresh);
    }

    void Draw() { plot_.replot(QCustomPlot::rpImmediateRefresh); }
    QImage Picture() { return plot_.grab().toImage(); }

private:
    QCustomPlot plot_;
};

void Run(benchmark::State& state, const PeerScene* scene, bool antialiasAll) {
    QCustomPlotScene plot(*scene, antialiasAll);
    if (qEnvironmentVariableIsSet("VEXILO_BENCH_PICTURES"))
        plot.Picture().save(QStringLiteral("/tmp/bench_qcustomplot_%1%2.png")
                                .arg(scene->lineMaxima.size())
                                .arg(antialiasAll ? "" : "_default"));
    for (auto _ : state)
        plot.Draw();
}

}  // namespace

void RegisterQCustomPlot(const PeerScene& one, const PeerScene& many) {
    benchmark::RegisterBenchmark("BM_QCustomPlot", Run, &one, true)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_QCustomPlot_1000ZeroLines", Run, &many, true)
        ->Unit(benchmark::kMicrosecond);
    // For comparison only: QCustomPlot's default, which leaves axes, grid and text
    // without anti-aliasing, a rougher picture than ours.
    benchmark::RegisterBenchmark("BM_QCustomPlot_DefaultAntialiasing", Run, &one, false)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_QCustomPlot_DefaultAntialiasing_1000ZeroLines", Run, &many,
                                 false)
        ->Unit(benchmark::kMicrosecond);
}

}  // namespace bench
