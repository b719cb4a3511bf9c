#include "chart/ChartPainter.h"

#include <utility>

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <algorithm>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/ChartLayout.h"
#include "chart/LabelBox.h"
#include "chart/LineSegments.h"
#include "chart/Series.h"
#include "chart/SeriesDigest.h"

namespace chart {

namespace {

// The shown axes are drawn in this order.
constexpr AxisKind kDrawOrder[] = {AxisKind::Bottom, AxisKind::Left, AxisKind::Top,
                                   AxisKind::Right};

// Switches the chart's AutoRepaint off for its lifetime and restores it afterwards.
class AutoRepaintOff {
public:
    explicit AutoRepaintOff(TChart& chart) : chart_(chart), saved_(chart.AutoRepaint()) {
        chart_.SetAutoRepaint(false);
    }
    ~AutoRepaintOff() { chart_.SetAutoRepaint(saved_); }
    AutoRepaintOff(const AutoRepaintOff&) = delete;
    AutoRepaintOff& operator=(const AutoRepaintOff&) = delete;

private:
    TChart& chart_;
    bool saved_;
};

// A point's square: its fill covers the pixels from x - hs to x + hs (and likewise in y);
// its outline runs along the pixel edges x - hs and x + hs + 1.
QRectF SquareRect(int x, int y, int hs, int vs) {
    return QRectF(x - hs, y - vs, 2 * hs + 1, 2 * vs + 1);
}

}  // namespace

TChartPainter::TChartPainter(const TChartStyle& style) : style_(style) {}

QPen TChartPainter::Pen(TColor color, int width, bool flatEnds) {
    auto make = [&] {
        return QPen(QBrush(ToQColor(color)), width, Qt::SolidLine,
                    flatEnds ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
    };
    if (!options_.Optimised) return make();
    const quint64 key = (static_cast<quint64>(color) << 32) |
                        (static_cast<quint64>(static_cast<quint32>(width)) << 1) |
                        (flatEnds ? 1u : 0u);
    auto it = pens_.constFind(key);
    if (it != pens_.constEnd()) return *it;
    return *pens_.insert(key, make());
}

bool TChartPainter::HoverPen(const TChartSeries& s, int index, QPen& pen) {
    const TSeriesSelection* sel = s.Selection();
    if (!sel || index < 0 || index != sel->HoverIndex || !sel->Hover.Visible) return false;
    pen = Pen(sel->Hover.PenColor, sel->Hover.PenWidth);
    return true;
}

void TChartPainter::DrawLine(QPainter& p, const QLineF& line, const QPen& pen,
                             const QRect& visible) {
    if (options_.Optimised && stamps_.DrawLine(p, line, pen, visible)) return;
    p.setPen(pen);
    p.drawLine(line);
}

void TChartPainter::DrawText(QPainter& p, const QPointF& baseline, const QString& text,
                             const QFont& font, TColor color) {
    const QFont& drawing = measurer_.Font(font);
    if (options_.Optimised &&
        stamps_.DrawText(p, baseline, text, drawing, ToQColor(color),
                         measurer_.TextWidth(font, text), measurer_.TextHeight(font)))
        return;
    p.setFont(drawing);
    p.setPen(Pen(color, 1));
    p.drawText(baseline, text);
}

void TChartPainter::Draw(TChart& chart, QImage& image, QSize size,
                         const std::function<void()>& afterDraw) {
    AutoRepaintOff noRepaints(chart);
    // The axis pass and the series loop answer from the series list's digest.
    TSeriesDigestScope digest(chart);
    const int width = size.width();
    const int height = size.height();
    bounds_ = QRect(0, 0, width, height);
    measurer_.SetDevice(image);
    measurer_.SetCaching(options_.Optimised);
    if (!options_.Optimised) pens_.clear();

    LayoutChart(chart, style_, measurer_, width, height);
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        if (options_.Optimised) stamps_.SetTarget(image, p.renderHints());
        PaintPanel(p, chart, width, height);
        PaintTitle(p, chart);
        PaintBackWall(p, chart);
        // The axes lie behind the series.
        for (AxisKind kind : kDrawOrder) {
            const TChartAxis& axis = chart.Axis(kind);
            if (axis.IsVisible) PaintAxis(p, chart, axis);
        }
        PaintAllSeries(p, chart, image, width, height);
    }
    if (afterDraw) afterDraw();
}

void TChartPainter::PaintPanel(QPainter& p, const TChart& chart, int width, int height) {
    const QColor panel = ToQColor(chart.Color());
    // The window's colour shows only where the panel colour lets it through.
    if (panel.alpha() < 255 || !options_.Optimised) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(QRectF(0, 0, width + 1, height + 1), ToQColor(style_.ParentColor));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    // One pixel wider and higher than the bounds, so that no edge stays unpainted.
    if (options_.Optimised && panel.alpha() == 255) {
        // Every pixel is covered in full: the same as the anti-aliased fill, done as a plain
        // fill of memory.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(0, 0, width + 1, height + 1), panel);
        p.setRenderHint(QPainter::Antialiasing, true);
    } else {
        p.fillRect(QRectF(0, 0, width + 1, height + 1), panel);
    }

    // Raised bevel: light top and left edges, dark right and bottom edges, on the bounds
    // less one pixel at the right and bottom, one frame per pixel of bevel width.
    const int frames = std::min({style_.BevelWidth, height / 2, width / 2});
    auto bevel = [&] {
        p.setBrush(Qt::NoBrush);
        for (int k = 0; k < frames; ++k) {
            const double l = k;
            const double t = k;
            const double r = width - 1 - k;
            const double b = height - 1 - k;
            const QPointF light[] = {{l, b}, {l, t}, {r, t}};
            const QPointF dark[] = {{r, t}, {r, b}, {l - 1, b}};
            p.setPen(Pen(style_.BevelTop, 1));
            p.drawPolyline(light, 3);
            p.setPen(Pen(style_.BevelBottom, 1));
            p.drawPolyline(dark, 3);
        }
    };
    if (frames <= 0) return;
    // The frames touch only the strips along the edges, which the panel fill has just made
    // alike from draw to draw: kept before and after, and copied in while they stay so.
    const int band = frames + 2;
    const QRect strips[] = {QRect(0, 0, width, band), QRect(0, height - band, width, band),
                            QRect(0, 0, band, height), QRect(width - band, 0, band, height)};
    const double key[] = {static_cast<double>(style_.BevelTop),
                          static_cast<double>(style_.BevelBottom), static_cast<double>(frames),
                          static_cast<double>(width), static_cast<double>(height)};
    if (!options_.Optimised || !stamps_.DrawRegions(key, strips, bevel)) bevel();
}

void TChartPainter::PaintTitle(QPainter& p, const TChart& chart) {
    const TChartRect& box = chart.TitleRect();
    if (!chart.TitleVisible() || chart.TitleText().isEmpty()) return;
    const QFont& font = style_.TitleFont;
    const int lineHeight = measurer_.TextHeight(font);
    const qreal ascent = measurer_.Ascent(font);
    int top = box.Top;
    for (const QString& line : chart.TitleText()) {
        const qreal left = box.Left + (box.Width() - measurer_.TextWidth(font, line)) / 2.0;
        DrawText(p, QPointF(left, top + ascent), line, font, style_.TitleColor);
        top += lineHeight;
    }
}

void TChartPainter::PaintBackWall(QPainter& p, const TChart& chart) {
    if (!style_.BackWall.Visible) return;
    const TChartRect& r = chart.ChartRect();
    // Corners (left, top) and (right + 1, bottom + 1).
    const QRectF wall(r.Left, r.Top, r.Width() + 1, r.Height() + 1);
    const QPen pen = Pen(style_.BackWall);
    if (options_.Optimised && stamps_.DrawRectOutline(p, wall, pen)) return;
    p.setBrush(Qt::NoBrush);
    p.setPen(pen);
    p.drawRect(wall);
}

void TChartPainter::PaintAxis(QPainter& p, const TChart& chart, const TChartAxis& axis) {
    const TChartRect& r = chart.ChartRect();
    const bool horizontal = axis.Horizontal();
    // Ticks point away from the plot: down for the bottom axis, left for the left one.
    const int out = axis.OtherSide() == horizontal ? -1 : 1;
    const int pos = axis.PosAxis;
    p.setBrush(Qt::NoBrush);
    // A tick `length` pixels long at pixel `at` along the axis, starting 2 pixels out.
    auto tick = [&](int at, int length, const QPen& pen) {
        const double from = pos + 2 * out;
        const double to = pos + (2 + length) * out;
        if (horizontal)
            DrawLine(p, QLineF(at, from, at, to), pen, bounds_);
        else
            DrawLine(p, QLineF(from, at, to, at), pen, bounds_);
    };

    if (style_.AxisLine.Visible) {
        const QPen pen = Pen(style_.AxisLine);
        const double at = pos + out;
        if (horizontal)
            DrawLine(p, QLineF(r.Left, at, r.Right, at), pen, bounds_);
        else
            DrawLine(p, QLineF(at, r.Top, at, r.Bottom), pen, bounds_);
    }
    if (style_.Ticks.Visible && axis.TickLength > 0) {
        const QPen pen = Pen(style_.Ticks);
        for (int t : axis.Ticks)
            tick(t, axis.TickLength, pen);
    }
    if (style_.Grid.Visible && axis.Grid.Visible) {
        // GridTicks lie strictly inside the axis, so no grid line falls on the frame.
        const QPen pen = Pen(style_.Grid);
        for (int t : axis.GridTicks) {
            if (horizontal)
                DrawLine(p, QLineF(t, r.Top + 1, t, r.Bottom), pen, bounds_);
            else
                DrawLine(p, QLineF(r.Left + 1, t, r.Right, t), pen, bounds_);
        }
    }
    if (style_.MinorTicks.Visible && axis.MinorTickLength > 0) {
        const QPen pen = Pen(style_.MinorTicks);
        for (int t : axis.MinorTicks)
            tick(t, axis.MinorTickLength, pen);
    }
    if (axis.Labels) PaintAxisLabels(p, axis);
}

void TChartPainter::PaintAxisLabels(QPainter& p, const TChartAxis& axis) {
    const int hover =
        axis.LabelSelection() && axis.LabelSelection()->HoverVisible ? axis.LabelHoverIndex() : -1;
    QFont hoverFont;
    if (hover >= 0) {
        // The hover font is the labels font made bold, at the labels font's current size.
        hoverFont = axis.LabelsFont;
        hoverFont.setBold(true);
    }
    const qreal ascent = measurer_.Ascent(axis.LabelsFont);
    for (size_t i = 0; i < axis.Items.size(); ++i) {
        const TAxisLabelItem& item = axis.Items[i];
        if (!axis.IsLabelInRange(item)) continue;
        if (static_cast<int>(i) == hover) {
            const TChartRect box = LabelBox(axis, item, measurer_, hoverFont);
            DrawText(p, QPointF(box.Left, box.Top + measurer_.Ascent(hoverFont)), item.Text,
                     hoverFont, style_.LabelsColor);
            continue;
        }
        const TChartRect box = LabelBox(axis, item, measurer_, axis.LabelsFont);
        DrawText(p, QPointF(box.Left, box.Top + ascent), item.Text, axis.LabelsFont,
                 style_.LabelsColor);
    }
}

template <typename Out>
void TChartPainter::ForEachSegment(const TChartSeries& s, int first, int last,
                                   const TChartRect& bounds, const TChartRect& clip, Out&& out) {
    // The segment into point i, from the point before; the first index of the range
    // brings the segment from the point before the range.
    int i = std::max(first, 1);
    if (i > last) return;
    int px = s.CalcXPos(i - 1);
    int py = s.CalcYPos(i - 1);
    TColor prevColor = s.ValueColor(i - 1);
    for (; i <= last; ++i) {
        const int x = s.CalcXPos(i);
        const int y = s.CalcYPos(i);
        const TColor color = s.ValueColor(i);
        const int x0 = px;
        const int y0 = py;
        const bool nullEnd = color == clNone || prevColor == clNone;
        px = x;
        py = y;
        prevColor = color;
        if (nullEnd || !SegmentBoxMeets(x0, y0, x, y, bounds)) continue;
        QPen pen;
        if (!HoverPen(s, i - 1, pen)) pen = Pen(color, s.LinePen().Width);
        if (options_.Optimised && !SegmentStrokeMeets(x0, y0, x, y, pen.width(), clip)) continue;
        const TSegment seg = LimitSegment(x0, y0, x, y, bounds.Width());
        out(QLineF(seg.X0, seg.Y0, seg.X1, seg.Y1), pen);
    }
}

// Queues what one series draws (its visible range) in drawing order.
void TChartPainter::QueueSeries(TChartSeries* series, const TChartRect& bounds,
                                const TChartRect& clip) {
    TChartSeries* s = series;
    if (!s->Active()) return;
    s->CalcFirstLastVisibleIndex();
    const int first = s->FirstValueIndex();
    const int last = s->LastValueIndex();
    if (first < 0 || last < first) return;
    if (s->DrawLine() && std::as_const(*s).LinePen().Visible) {
        ForEachSegment(*s, first, last, bounds, clip, [&](const QLineF& line, const QPen& pen) {
            draws_.push_back(TLineDraw{line, pen});
        });
    }
    if (std::as_const(*s).Pointer().Visible) {
        TLineDraw other;
        other.Other = true;
        draws_.push_back(other);
        points_.push_back(PointsDraw{s, first, last});
    }
}

void TChartPainter::PaintAllSeries(QPainter& p, TChart& chart, const QImage& image, int width,
                                   int height) {
    const TChartRect& plot = chart.ChartRect();
    // Series are clipped to the plot from (left + 1, top) to (right, bottom), right and
    // bottom excluded.
    const TChartRect clip{plot.Left + 1, plot.Top, plot.Right, plot.Bottom};
    const QRect clipRect(clip.Left, clip.Top, std::max(0, clip.Width()),
                         std::max(0, clip.Height()));
    const TChartRect bounds{0, 0, width, height};
    const bool clipping = chart.ClipPoints();
    linesDrawn_ = 0;
    linesSettled_ = 0;

    if (!options_.Optimised) {
        // Every point and segment of every series, each series clipped on its own.
        for (TChartSeries* s : chart.SeriesList()) {
            if (!s->Active()) continue;
            s->CalcFirstLastVisibleIndex();
            const int last = s->Count() - 1;
            if (last < 0) continue;
            if (clipping) p.setClipRect(clipRect);
            if (s->DrawLine() && std::as_const(*s).LinePen().Visible) {
                ForEachSegment(*s, 0, last, bounds, clip, [&](const QLineF& line, const QPen& pen) {
                    p.setPen(pen);
                    p.drawLine(line);
                    ++linesDrawn_;
                });
            }
            if (std::as_const(*s).Pointer().Visible) PaintPointers(p, *s, 0, last);
            if (clipping) p.setClipping(false);
        }
        return;
    }

    // 1. What each series draws, in drawing order: its visible range only. Runs of series
    // whose last points all lie left of the window (the old zero lines after a long
    // session) have nothing in it: their visible ranges are set without looking at each.
    draws_.clear();
    points_.clear();
    const std::vector<TChartSeries*>& list = chart.SeriesList();
    const TChartAxis& bottom = chart.BottomAxis();
    const double windowLeft = bottom.InternalCalcPosPoint(plot.Left);
    for (const TSeriesDigest::Run& run : chart.Digest().Runs()) {
        const bool leftOfWindow =
            run.Plain && (!run.AnyWithPoints ||
                          (run.MaxLastX < windowLeft &&
                           bottom.CalcXPosValue(run.MaxLastX) + run.MaxHorizSize <= plot.Left));
        if (leftOfWindow) {
            chart.Digest().ClearRanges(chart, run.Block);
            continue;
        }
        for (int i = run.Begin; i < run.End; ++i)
            QueueSeries(list[static_cast<size_t>(i)], bounds, clip);
    }
    // 2. Lines that the lines drawn over them leave no trace of (the clip keeps every line
    // inside the rows the analysis looks at).
    if (clipping) {
        TLineTarget target;
        target.Clip = clipRect;
        target.Size = QSize(width, height);
        target.Dpr = image.devicePixelRatio();
        target.Format = image.format();
        target.Hints = p.renderHints();
        stack_.SkipSettledLines(draws_, target);
    }
    // 3. The drawing, with one clip for all series (they all have the same one).
    if (clipping) {
        p.setClipRect(clipRect);
        stamps_.SetClip(&clipRect);
    }
    size_t nextPoints = 0;
    for (const TLineDraw& d : draws_) {
        if (d.Other) {
            const PointsDraw& pts = points_[nextPoints++];
            PaintPointers(p, *pts.series, pts.first, pts.last);
        } else if (d.Skip) {
            ++linesSettled_;
        } else {
            DrawLine(p, d.Line, d.Pen, clipping ? clipRect : bounds_);
            ++linesDrawn_;
        }
    }
    if (clipping) {
        p.setClipping(false);
        stamps_.SetClip(nullptr);
    }
}

void TChartPainter::PaintPointers(QPainter& p, const TChartSeries& s, int first, int last) {
    const TSeriesPointer& ptr = s.Pointer();
    p.setBrush(Qt::NoBrush);
    const QPen outline = Pen(ptr.PenColor, ptr.PenWidth);
    QPen hover;
    for (int i = first; i <= last; ++i) {
        const TColor color = s.ValueColor(i);
        if (color == clNone) continue;
        const QRectF square = SquareRect(s.CalcXPos(i), s.CalcYPos(i), ptr.HorizSize, ptr.VertSize);
        const QColor fill = ToQColor(color);
        const QPen* pen = HoverPen(s, i, hover) ? &hover : ptr.PenVisible ? &outline : nullptr;
        if (pen && options_.Optimised && stamps_.DrawSquare(p, square, fill, *pen)) continue;
        p.fillRect(square, fill);
        if (!pen) continue;
        p.setPen(*pen);
        p.drawRect(square);
    }
}

}  // namespace chart
