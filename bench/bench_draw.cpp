// One full draw of the chart (layout, axes, labels, visible points, lines) into a 1021 x 431
// image, beside a bare QPainter reference that draws only the same primitives with the
// same pens and fonts from a list made beforehand; and the same draw with the 1000 zero
// lines that 500 redraws with Enter leave behind. The reference must give the very same
// image as the full draw, or the run stops: it is the same picture, minus the chart engine.
// With the peer libraries found at configure time, QCustomPlot and Qt Charts draw the same
// scene too (bench/peers/).
//
// Targets: with one zero line, faster than the faster peer; with 1000, within 2 x our own
// draw with one and faster than both peers.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/BenchMain.h"
#include "bench/DrawScene.h"
#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/ChartPainter.h"
#include "chart/LabelBox.h"
#include "chart/Series.h"

namespace {

using bench::kHeight;
using bench::kWidth;
using bench::Scene;

QImage NewImage() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

// The primitives of one drawn scene, read from the chart after a full draw, drawn again
// with the same QPainter calls in the same order, and nothing else.
class Reference {
public:
    Reference(chart::TChart& c, const chart::TChartPainter& painter) {
        const chart::TChartStyle& st = painter.Style();
        const chart::TPainterMeasurer& m = painter.Measurer();
        auto pen = [](chart::TColor color, int width, bool flat = false) {
            return QPen(QBrush(chart::ToQColor(color)), width, Qt::SolidLine,
                        flat ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
        };
        panel_ = chart::ToQColor(c.Color());
        light_ = pen(st.BevelTop, 1);
        dark_ = pen(st.BevelBottom, 1);
        titlePen_ = pen(st.TitleColor, 1);
        titleFont_ = m.Font(st.TitleFont);
        const chart::TChartRect& tr = c.TitleRect();
        const QString title = c.TitleText().first();
        titleAt_ = QPointF(tr.Left + (tr.Width() - m.TextWidth(st.TitleFont, title)) / 2.0,
                           tr.Top + m.Ascent(st.TitleFont));
        title_ = title;
        wallPen_ = pen(st.BackWall.Color, 1);
        const chart::TChartRect& r = c.ChartRect();
        wall_ = QRectF(r.Left, r.Top, r.Width() + 1, r.Height() + 1);
        axisPen_ = pen(st.AxisLine.Color, st.AxisLine.Width, true);
        tickPen_ = pen(st.Ticks.Color, 1);
        minorPen_ = pen(st.MinorTicks.Color, 1);
        gridPen_ = pen(st.Grid.Color, 1);
        labelPen_ = pen(st.LabelsColor, 1);
        for (const chart::TChartAxis* a : {&c.BottomAxis(), &c.LeftAxis()}) {
            Axis ax;
            const bool h = a->Horizontal();
            const int out = h ? 1 : -1;
            const int pos = a->PosAxis;
            ax.line = h ? QLineF(r.Left, pos + out, r.Right, pos + out)
                        : QLineF(pos + out, r.Top, pos + out, r.Bottom);
            auto tick = [&](int t, int len) {
                return h ? QLineF(t, pos + 2 * out, t, pos + (2 + len) * out)
                         : QLineF(pos + 2 * out, t, pos + (2 + len) * out, t);
            };
            for (int t : a->Ticks)
                ax.ticks.push_back(tick(t, a->TickLength));
            for (int t : a->GridTicks)
                ax.grid.push_back(h ? QLineF(t, r.Top + 1, t, r.Bottom)
                                    : QLineF(r.Left + 1, t, r.Right, t));
            for (int t : a->MinorTicks)
                ax.minor.push_back(tick(t, a->MinorTickLength));
            ax.font = m.Font(a->LabelsFont);
            for (const chart::TAxisLabelItem& item : a->Items) {
                if (!a->IsLabelInRange(item)) continue;
                const chart::TChartRect box = chart::LabelBox(*a, item, m, a->LabelsFont);
                ax.labels.push_back(
                    {QPointF(box.Left, box.Top + m.Ascent(a->LabelsFont)), item.Text});
            }
            axes_.push_back(ax);
        }
        clip_ = QRect(r.Left + 1, r.Top, r.Width() - 1, r.Height());
        const chart::TChartSeries* walk = c.Series(0);
        outline_ = pen(walk->Pointer().PenColor, walk->Pointer().PenWidth);
        for (int i = walk->FirstValueIndex(); i <= walk->LastValueIndex(); ++i) {
            const int x = walk->CalcXPos(i);
            const int y = walk->CalcYPos(i);
            squares_.push_back({QRectF(x - 4, y - 4, 9, 9), chart::ToQColor(walk->ValueColor(i))});
        }
        const chart::TChartSeries* zero = c.Series(1);
        linePen_ = pen(zero->SeriesColor(), 1);
        line_ = QLineF(zero->CalcXPos(0), zero->CalcYPos(0), zero->CalcXPos(1), zero->CalcYPos(1));
    }

    void Draw(QImage& image) const {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        p.fillRect(QRectF(0, 0, kWidth + 1, kHeight + 1), panel_);
        p.setBrush(Qt::NoBrush);
        const double r = kWidth - 1;
        const double b = kHeight - 1;
        const QPointF light[] = {{0, b}, {0, 0}, {r, 0}};
        const QPointF dark[] = {{r, 0}, {r, b}, {-1, b}};
        p.setPen(light_);
        p.drawPolyline(light, 3);
        p.setPen(dark_);
        p.drawPolyline(dark, 3);
        p.setFont(titleFont_);
        p.setPen(titlePen_);
        p.drawText(titleAt_, title_);
        p.setBrush(Qt::NoBrush);
        p.setPen(wallPen_);
        p.drawRect(wall_);
        for (const Axis& ax : axes_) {
            p.setBrush(Qt::NoBrush);
            p.setPen(axisPen_);
            p.drawLine(ax.line);
            p.setPen(tickPen_);
            for (const QLineF& l : ax.ticks)
                p.drawLine(l);
            p.setPen(gridPen_);
            for (const QLineF& l : ax.grid)
                p.drawLine(l);
            p.setPen(minorPen_);
            for (const QLineF& l : ax.minor)
                p.drawLine(l);
            p.setPen(labelPen_);
            p.setFont(ax.font);
            for (const Label& l : ax.labels)
                p.drawText(l.at, l.text);
        }
        p.setClipRect(clip_);
        p.setBrush(Qt::NoBrush);
        for (const Square& s : squares_) {
            p.fillRect(s.rect, s.color);
            p.setPen(outline_);
            p.drawRect(s.rect);
        }
        p.setPen(linePen_);
        p.drawLine(line_);
        p.setClipping(false);
    }

private:
    struct Label {
        QPointF at;
        QString text;
    };
    struct Axis {
        QLineF line;
        std::vector<QLineF> ticks, grid, minor;
        QFont font;
        std::vector<Label> labels;
    };
    struct Square {
        QRectF rect;
        QColor color;
    };
    QColor panel_;
    QPen light_, dark_, titlePen_, wallPen_, axisPen_, tickPen_, minorPen_, gridPen_, labelPen_;
    QPen outline_, linePen_;
    QFont titleFont_;
    QPointF titleAt_;
    QString title_;
    QRectF wall_;
    std::vector<Axis> axes_;
    QRect clip_;
    std::vector<Square> squares_;
    QLineF line_;
};

struct Fixture {
    explicit Fixture(int lines) : scene(lines), image(NewImage()) {
        painter.Draw(scene.chart, image, QSize(kWidth, kHeight));
    }
    Scene scene;
    chart::TChartPainter painter;
    QImage image;
};

Fixture& OneLine() {
    static Fixture f(1);
    return f;
}

Fixture& ManyLines() {
    static Fixture f(1000);
    return f;
}

void BM_FullDraw(benchmark::State& state) {
    Fixture& f = OneLine();
    if (qEnvironmentVariableIsSet("VEXILO_BENCH_PICTURES")) f.image.save("/tmp/bench_vexilo_1.png");
    for (auto _ : state) {
        f.painter.Draw(f.scene.chart, f.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_FullDraw)->Unit(benchmark::kMicrosecond);

void BM_BareQPainterReference(benchmark::State& state) {
    Fixture& f = OneLine();
    const Reference ref(f.scene.chart, f.painter);
    QImage image = NewImage();
    ref.Draw(image);
    if (image != f.image) {
        std::fprintf(stderr, "the reference draws a different picture\n");
        image.save("/tmp/bench_reference.png");
        f.image.save("/tmp/bench_full.png");
        std::abort();
    }
    for (auto _ : state) {
        ref.Draw(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_BareQPainterReference)->Unit(benchmark::kMicrosecond);

void BM_FullDraw_1000ZeroLines(benchmark::State& state) {
    Fixture& f = ManyLines();
    for (auto _ : state) {
        f.painter.Draw(f.scene.chart, f.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_FullDraw_1000ZeroLines)->Unit(benchmark::kMicrosecond);

// For comparison only: the mouse over the zero line, where every line under it is hovered
// and drawn with the thick translucent hover pen. Lines of one translucent colour never
// settle one another, so every line that reaches the window is drawn.
void BM_FullDraw_1000ZeroLines_AllHovered(benchmark::State& state) {
    static Fixture f(1000);
    static const bool hovered = [] {
        chart::TChart& c = f.scene.chart;
        for (int i = 1; i < c.SeriesCount(); ++i)
            if (c.Series(i)->XValues().Last() > 550) c.Series(i)->EnsureSelection().HoverIndex = 0;
        return true;
    }();
    benchmark::DoNotOptimize(hovered);
    for (auto _ : state) {
        f.painter.Draw(f.scene.chart, f.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_FullDraw_1000ZeroLines_AllHovered)->Unit(benchmark::kMicrosecond);

// For comparison only: everything drawn and measured afresh.
void BM_FullDraw_1000ZeroLines_Unoptimised(benchmark::State& state) {
    Fixture& f = ManyLines();
    chart::TChartPainter naive;
    naive.Options().Optimised = false;
    for (auto _ : state) {
        naive.Draw(f.scene.chart, f.image, QSize(kWidth, kHeight));
        benchmark::DoNotOptimize(f.image.constBits());
    }
}
BENCHMARK(BM_FullDraw_1000ZeroLines_Unoptimised)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    bench::InitializeBenchmarks(argc, argv);
    // The peers draw the scene as our chart laid it out.
    static const bench::PeerScene one = bench::DescribeForPeers(OneLine().scene);
    static const bench::PeerScene many = bench::DescribeForPeers(ManyLines().scene);
#ifdef VEXILO_BENCH_QCUSTOMPLOT
    bench::RegisterQCustomPlot(one, many);
#endif
#ifdef VEXILO_BENCH_QTCHARTS
    bench::RegisterQtCharts(one, many);
#endif
    return bench::RunRegistered(argc, argv);
}
