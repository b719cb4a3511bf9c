#include "chart/LineStack.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

// The stack's last lines tried first; doubled while many earlier lines still show.
constexpr size_t kFirstRun = 16;
// Logical pixels the strips reach beyond the clip, so that where the lines are cut off at
// the strips' edges is far from the pixels looked at.
constexpr int kStripMargin = 8;

// Pixels a pen reaches beyond its line, round ends included.
int Reach(const QPen& pen) {
    return static_cast<int>(std::ceil(pen.widthF() / 2)) + 1;
}

bool Horizontal(const TLineDraw& d) {
    return !d.Other && d.Line.y1() == d.Line.y2();
}

// A line of the stack at height y.
bool AtHeight(const TLineDraw& d, qreal y) {
    return Horizontal(d) && d.Line.y1() == y;
}

// Pens that cover the same pixels along a horizontal line (colours aside).
bool SameShape(const QPen& a, const QPen& b) {
    return a.widthF() == b.widthF() && a.capStyle() == b.capStyle() &&
           a.joinStyle() == b.joinStyle() && a.style() == b.style() &&
           a.isCosmetic() == b.isCosmetic();
}

// True when the line's stroke may cover a pixel of the rows around height y.
bool TouchesRows(const TLineDraw& d, qreal y, int reach) {
    const int r = Reach(d.Pen);
    const qreal top = std::min(d.Line.y1(), d.Line.y2()) - r;
    const qreal bottom = std::max(d.Line.y1(), d.Line.y2()) + r;
    return bottom >= y - reach && top <= y + reach;
}

void Prepare(QImage& image, const QSize& pixels, const TLineTarget& target, Qt::GlobalColor fill) {
    if (image.size() != pixels || image.format() != target.Format)
        image = QImage(pixels, target.Format);
    image.setDevicePixelRatio(target.Dpr);
    image.fill(fill);
}

// A painter on a strip that shows `strip` of the chart: a whole number of logical pixels
// off, so every line keeps its place within a pixel, and clipped like the chart.
void BeginStrip(QPainter& q, QImage& image, const QRect& strip, const TLineTarget& target) {
    q.begin(&image);
    q.setRenderHints(target.Hints);
    q.translate(-strip.left(), -strip.top());
    q.setClipRect(target.Clip);
}

}  // namespace

void TLineStack::DrawRun(const std::vector<TLineDraw>& draws, const std::vector<size_t>& run,
                         size_t from, const TLineTarget& target, const QRect& strip) {
    const QSize pixels = strip.size() * static_cast<int>(target.Dpr);
    for (QImage* image : {&black_, &white_}) {
        Prepare(*image, pixels, target, image == &black_ ? Qt::black : Qt::white);
        QPainter q;
        BeginStrip(q, *image, strip, target);
        for (size_t i = from; i < run.size(); ++i) {
            const TLineDraw& d = draws[run[i]];
            q.setPen(d.Pen);
            q.drawLine(d.Line);
        }
    }
}

const std::vector<int>& TLineStack::RowsOf(const QPen& pen, qreal y, const QRect& strip,
                                           const TLineTarget& target) {
    for (const Shape& shape : shapes_)
        if (SameShape(shape.pen, pen)) return shape.rows;
    // The pen's shape in opaque black across the strip, on white.
    const QSize pixels = strip.size() * static_cast<int>(target.Dpr);
    Prepare(shape_, pixels, target, Qt::white);
    {
        QPainter q;
        BeginStrip(q, shape_, strip, target);
        QPen black = pen;
        black.setColor(Qt::black);
        q.setPen(black);
        const int room = 2 * Reach(pen) + 4;
        q.drawLine(QLineF(strip.left() - room, y, strip.right() + 1 + room, y));
    }
    Shape shape{pen, {}};
    for (int row = 0; row < pixels.height(); ++row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(shape_.constScanLine(row));
        if (std::any_of(line, line + pixels.width(), [](QRgb p) { return p != 0xFFFFFFFF; }))
            shape.rows.push_back(row);
    }
    shapes_.push_back(std::move(shape));
    return shapes_.back().rows;
}

int TLineStack::SkipSettledLines(std::vector<TLineDraw>& draws, const TLineTarget& target) {
    const qreal dpr = target.Dpr;
    if (dpr < 1 || dpr != std::round(dpr) || target.Clip.isEmpty()) return 0;
    const int ratio = static_cast<int>(dpr);

    // The stack: the lines at the height of the last horizontal line.
    int h = static_cast<int>(draws.size()) - 1;
    while (h >= 0 && !Horizontal(draws[static_cast<size_t>(h)]))
        --h;
    if (h < 0) return 0;
    const qreal y = draws[static_cast<size_t>(h)].Line.y1();
    int reach = 0;
    for (const TLineDraw& d : draws)
        if (AtHeight(d, y)) reach = std::max(reach, Reach(d.Pen));

    // Its lines after the last thing else drawn on its rows can settle the earlier ones.
    size_t start = 0;
    for (size_t i = draws.size(); i-- > 0;) {
        const TLineDraw& d = draws[i];
        if (d.Other || (!AtHeight(d, y) && TouchesRows(d, y, reach))) {
            start = i + 1;
            break;
        }
    }
    std::vector<size_t>& run = run_;
    run.clear();
    for (size_t i = start; i < draws.size(); ++i)
        if (AtHeight(draws[i], y)) run.push_back(i);
    if (run.size() < 2) return 0;

    // The strip: the stack's rows with room above and below, the clip's columns with room
    // left and right, or up to the image's edge where that is nearer.
    const int rowTop = static_cast<int>(std::floor(y)) - reach - 1;
    const int rowBottom = static_cast<int>(std::floor(y)) + reach + 2;
    const int colLeft = std::max(0, target.Clip.left() - kStripMargin);
    const int colRight = std::min(target.Size.width(), target.Clip.right() + 1 + kStripMargin);
    if (colRight <= colLeft) return 0;
    const QRect strip(colLeft, rowTop, colRight - colLeft, rowBottom - rowTop);
    const QSize pixels = strip.size() * ratio;
    shapes_.clear();
    unsettled_.resize(static_cast<size_t>(pixels.height()));

    size_t k = std::min(kFirstRun, run.size());
    for (;;) {
        const size_t from = run.size() - k;
        DrawRun(draws, run, from, target, strip);
        // Unsettled pixels of each strip row, counted from the left.
        for (int row = 0; row < pixels.height(); ++row) {
            const QRgb* b = reinterpret_cast<const QRgb*>(black_.constScanLine(row));
            const QRgb* w = reinterpret_cast<const QRgb*>(white_.constScanLine(row));
            std::vector<int>& count = unsettled_[static_cast<size_t>(row)];
            count.assign(static_cast<size_t>(pixels.width()) + 1, 0);
            for (int c = 0; c < pixels.width(); ++c)
                count[static_cast<size_t>(c) + 1] = count[static_cast<size_t>(c)] + (b[c] != w[c]);
        }
        // Every line of the stack before those: skipped when all its pixels are settled.
        int marked = 0;
        int showing = 0;
        for (size_t i = 0; i < run[from]; ++i) {
            TLineDraw& d = draws[i];
            if (!AtHeight(d, y)) continue;
            // Its columns, round ends included, within the clip.
            const qreal x0 = std::min(d.Line.x1(), d.Line.x2());
            const qreal x1 = std::max(d.Line.x1(), d.Line.x2());
            const int r = Reach(d.Pen);
            const int lo = std::max(target.Clip.left(), static_cast<int>(std::floor(x0)) - r);
            const int hi =
                std::min(target.Clip.right() + 1, static_cast<int>(std::ceil(x1)) + r + 1);
            bool settled = true;
            if (lo < hi) {
                const size_t a = static_cast<size_t>((lo - colLeft) * ratio);
                const size_t e = static_cast<size_t>((hi - colLeft) * ratio);
                for (int row : RowsOf(d.Pen, y, strip, target)) {
                    const std::vector<int>& count = unsettled_[static_cast<size_t>(row)];
                    if (count[e] != count[a]) {
                        settled = false;
                        break;
                    }
                }
            }
            d.Skip = settled;
            if (settled)
                ++marked;
            else
                ++showing;
        }
        // Another try draws twice as many lines twice over: worth it only while more lines
        // still show than it costs. A stack that two tries cannot settle at all is given
        // up: lines of one translucent colour may never settle, as rounding can keep two
        // neighbouring values apart for ever.
        const size_t next = std::min(2 * k, run.size());
        if (next == k || static_cast<size_t>(showing) <= 2 * next) return marked;
        if (marked == 0 && k >= 2 * kFirstRun) return marked;
        k = next;
    }
}

}  // namespace chart
