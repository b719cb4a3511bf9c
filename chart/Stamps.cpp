#include "chart/Stamps.h"

#include <cmath>
#include <cstring>

namespace chart {

namespace {

// Stamps kept per kind before the cache starts afresh: far more than one chart shows.
constexpr int kMaxStamps = 512;
// Transparent margin around a primitive, in logical pixels, beyond half the pen width: room
// for anti-aliased edges and round caps.
constexpr int kMargin = 2;

bool Whole(qreal v) {
    return v == std::floor(v);
}

template <typename Map>
void Limit(Map& map) {
    if (map.size() >= kMaxStamps) map.clear();
}

}  // namespace

// True when `region` of `image` holds the pixels of `pixels`.
size_t qHash(const TStampCache::Key& key, size_t seed) {
    return qHashBits(key.n.data(), sizeof(key.n), qHash(key.text, seed));
}

TStampCache::Key TStampCache::PenKey(const QPen& pen) {
    Key k;
    k.n = {static_cast<double>(pen.color().rgba()), pen.widthF(),
           static_cast<double>(pen.capStyle()),     static_cast<double>(pen.joinStyle()),
           static_cast<double>(pen.style()),        pen.isCosmetic() ? 1.0 : 0.0};
    return k;
}

int TStampCache::FontId(const QFont& font) {
    for (size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i] == font) return static_cast<int>(i);
    fonts_.push_back(font);
    return static_cast<int>(fonts_.size()) - 1;
}

static bool SameRegion(const QImage& image, const QRect& region, const QImage& pixels) {
    const size_t bytes = static_cast<size_t>(region.width()) * 4;
    for (int y = 0; y < region.height(); ++y) {
        const uchar* a = image.constScanLine(region.top() + y) + region.left() * 4;
        if (std::memcmp(a, pixels.constScanLine(y), bytes) != 0) return false;
    }
    return true;
}

// Copies `pixels` into `image` at `at`, replacing what was there.
static void CopyRegion(const QImage& pixels, QImage& image, QPoint at) {
    const size_t bytes = static_cast<size_t>(pixels.width()) * 4;
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(image.scanLine(at.y() + y) + at.x() * 4, pixels.constScanLine(y), bytes);
}

void TStampCache::SetTarget(QImage& target, QPainter::RenderHints hints) {
    target_ = &target;
    const qreal dpr = target.devicePixelRatio();
    const bool usable =
        target.format() == QImage::Format_ARGB32_Premultiplied && dpr >= 1 && Whole(dpr);
    const int whole = usable ? static_cast<int>(dpr) : 1;
    if (usable != usable_ || whole != dpr_ || target.format() != format_ || hints != hints_) {
        squares_.clear();
        lines_.clear();
        texts_.clear();
        fonts_.clear();
    }
    usable_ = usable;
    dpr_ = whole;
    format_ = target.format();
    hints_ = hints;
}

QImage TStampCache::NewStamp(int width, int height) const {
    QImage stamp(width * dpr_, height * dpr_, format_);
    stamp.setDevicePixelRatio(dpr_);
    stamp.fill(Qt::transparent);
    return stamp;
}

void TStampCache::Blit(QPainter& p, qreal x, qreal y, const QImage& stamp) const {
    p.drawImage(QPointF(x, y), stamp);
}

bool TStampCache::DrawSquare(QPainter& p, const QRectF& square, const QColor& fill,
                             const QPen& outline) {
    if (!usable_ || fill.alpha() != 255 || !Whole(square.x()) || !Whole(square.y()) ||
        !Whole(square.width()) || !Whole(square.height()))
        return false;
    const int pad = static_cast<int>(std::ceil(outline.widthF() / 2)) + kMargin;
    Key key = PenKey(outline);
    key.n[6] = fill.rgba();
    key.n[7] = square.width();
    key.n[8] = square.height();
    auto it = squares_.constFind(key);
    if (it == squares_.constEnd()) {
        Limit(squares_);
        QImage stamp = NewStamp(static_cast<int>(square.width()) + 2 * pad,
                                static_cast<int>(square.height()) + 2 * pad);
        {
            QPainter s(&stamp);
            s.setRenderHints(hints_);
            const QRectF at(pad, pad, square.width(), square.height());
            s.fillRect(at, fill);
            s.setBrush(Qt::NoBrush);
            s.setPen(outline);
            s.drawRect(at);
        }
        it = squares_.insert(key, stamp);
    }
    Blit(p, square.x() - pad, square.y() - pad, *it);
    return true;
}

bool TStampCache::DrawLine(QPainter& p, const QLineF& line, const QPen& pen, const QRect& visible) {
    const bool horizontal = line.y1() == line.y2();
    const bool vertical = line.x1() == line.x2();
    if (!usable_ || horizontal == vertical || !Whole(line.x1()) || !Whole(line.y1()) ||
        !Whole(line.x2()) || !Whole(line.y2()) || pen.style() != Qt::SolidLine)
        return false;
    // Along the line: from `a` to `b`; across it: at `c`. The stamp is drawn from a to b
    // whatever the direction: a solid line's pixels do not depend on it.
    qreal a = horizontal ? std::min(line.x1(), line.x2()) : std::min(line.y1(), line.y2());
    qreal b = horizontal ? std::max(line.x1(), line.x2()) : std::max(line.y1(), line.y2());
    const qreal c = horizontal ? line.y1() : line.x1();
    const int pad = static_cast<int>(std::ceil(pen.widthF() / 2)) + kMargin;
    // Shorten to the visible stretch, keeping the ends well outside it: inside, a long
    // line's pixels do not depend on where its ends are.
    const qreal lo = (horizontal ? visible.left() : visible.top()) - 2 * pad;
    const qreal hi = (horizontal ? visible.right() : visible.bottom()) + 1 + 2 * pad;
    const qreal across0 = (horizontal ? visible.top() : visible.left()) - 2 * pad;
    const qreal across1 = (horizontal ? visible.bottom() : visible.right()) + 1 + 2 * pad;
    if (b < lo || a > hi || c < across0 || c > across1) return true;  // nothing can show
    a = std::max(a, lo);
    b = std::min(b, hi);
    const qreal length = b - a;
    Key key = PenKey(pen);
    key.n[6] = horizontal ? 1 : 0;
    key.n[7] = length;
    auto it = lines_.constFind(key);
    if (it == lines_.constEnd()) {
        Limit(lines_);
        const int along = static_cast<int>(length) + 2 * pad;
        QImage stamp = horizontal ? NewStamp(along, 2 * pad) : NewStamp(2 * pad, along);
        {
            QPainter s(&stamp);
            s.setRenderHints(hints_);
            s.setPen(pen);
            if (horizontal)
                s.drawLine(QLineF(pad, pad, pad + length, pad));
            else
                s.drawLine(QLineF(pad, pad, pad, pad + length));
        }
        it = lines_.insert(key, stamp);
    }
    if (horizontal)
        Blit(p, a - pad, c - pad, *it);
    else
        Blit(p, c - pad, a - pad, *it);
    return true;
}

bool TStampCache::DrawText(QPainter& p, const QPointF& baseline, const QString& text,
                           const QFont& font, const QColor& color, int width, int lineHeight) {
    if (!usable_ || !target_ || text.isEmpty()) return false;
    // The region the text may touch, with room for overhanging glyphs on every side, on
    // whole device pixels; the baseline keeps its fraction of a device pixel within it.
    const int pad = lineHeight;
    const qreal ox = std::floor(baseline.x() * dpr_) / dpr_;
    const qreal oy = std::floor(baseline.y() * dpr_) / dpr_;
    const QRect region(static_cast<int>((ox - pad) * dpr_), static_cast<int>((oy - 2 * pad) * dpr_),
                       (width + 2 * pad) * dpr_, 3 * pad * dpr_);
    if (!target_->rect().contains(region)) return false;
    Key key;
    key.n = {static_cast<double>(FontId(font)), static_cast<double>(color.rgba()),
             baseline.x() - ox, baseline.y() - oy};
    key.text = text;
    auto it = texts_.find(key);
    if (it != texts_.end() && SameRegion(*target_, region, it->before)) {
        CopyRegion(it->after, *target_, region.topLeft());
        return true;
    }
    // Drawn once on this background: keep the region before and after.
    Memo memo;
    memo.before = target_->copy(region);
    p.setFont(font);
    p.setPen(color);
    p.drawText(baseline, text);
    memo.after = target_->copy(region);
    Limit(texts_);
    texts_.insert(key, memo);
    return true;
}

}  // namespace chart
