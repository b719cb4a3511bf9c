#include "chart/Stamps.h"

#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace chart {

namespace {

// Stamps kept per kind before the cache starts afresh: far more than one chart shows.
constexpr int kMaxStamps = 512;
// Transparent margin around a primitive, in logical pixels, beyond half the pen width: room
// for anti-aliased edges and round caps.
constexpr int kMargin = 2;
// Lines up to this length get a stamp of their own length; longer ones, and rectangle
// outlines, are put together from a canonical stamp of this length: its first and last
// kEnd pixels (the ends, with everything their caps or corners change) and its middle,
// whose columns (rows) are all alike, repeated.
constexpr int kCanonicalLength = 272;
constexpr int kEnd = 8;
// Pixels around a text's box that its region takes in as well.
constexpr int kTextMargin = 3;

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
    origin_ = QPoint();
    clip_ = target.rect();
    const qreal dpr = target.devicePixelRatio();
    // Premultiplied ARGB, or RGB32, whose pixels are all opaque: source-over gives the
    // same for both. Stamps themselves are premultiplied ARGB.
    const bool usable = (target.format() == QImage::Format_ARGB32_Premultiplied ||
                         target.format() == QImage::Format_RGB32) &&
                        dpr >= 1 && Whole(dpr);
    const int whole = usable ? static_cast<int>(dpr) : 1;
    if (usable != usable_ || whole != dpr_ || target.format() != format_ || hints != hints_) {
        squares_.clear();
        lines_.clear();
        rects_.clear();
        for (Recent& r : recentLines_)
            r.stamp = nullptr;
        for (Recent& r : recentSquares_)
            r.stamp = nullptr;
        texts_.clear();
        regions_.clear();
        fonts_.clear();
    }
    usable_ = usable;
    dpr_ = whole;
    format_ = target.format();
    hints_ = hints;
}

void TStampCache::SetOrigin(QPoint origin) {
    origin_ = origin;
}

void TStampCache::SetClip(const QRect* clip) {
    clip_ = target_ ? target_->rect() : QRect();
    if (clip) clip_ &= QRect((clip->topLeft() + origin_) * dpr_, clip->size() * dpr_);
}

// Source-over of premultiplied pixels, as QPainter blends an image: an opaque pixel
// replaces, a transparent one leaves, any other adds to the pixel below what its alpha
// leaves of it (x * a / 255 rounded as Qt's BYTE_MUL rounds it).
static inline uint ByteMul(uint x, uint a) {
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

bool TStampCache::CanKeepRegions(const std::vector<QRect>& device) const {
    if (!usable_ || !target_ || !origin_.isNull() || clip_ != target_->rect()) return false;
    for (const QRect& r : device)
        if (r.isEmpty() || !target_->rect().contains(r)) return false;
    return true;
}

std::vector<QImage> TStampCache::CopyOut(const std::vector<QRect>& device) const {
    std::vector<QImage> out;
    for (const QRect& r : device)
        out.push_back(target_->copy(r));
    return out;
}

bool TStampCache::CopyKeptRegions(const Key& key, const std::vector<QRect>& device) {
    const auto it = regions_.constFind(key);
    if (it == regions_.constEnd() || it->before.size() != device.size()) return false;
    for (size_t i = 0; i < device.size(); ++i)
        if (!SameRegion(*target_, device[i], it->before[i])) return false;
    for (size_t i = 0; i < device.size(); ++i)
        CopyRegion(it->after[i], *target_, device[i].topLeft());
    return true;
}

void TStampCache::KeepRegions(const Key& key, std::vector<QImage> before,
                              std::vector<QImage> after) {
    Limit(regions_);
    regions_.insert(key, Kept{std::move(before), std::move(after)});
}

TStampCache::Stamp TStampCache::MakeStamp(QImage image) {
    Stamp s;
    s.Lo.assign(static_cast<size_t>(image.height()), 0);
    s.Hi.assign(static_cast<size_t>(image.height()), 0);
    for (int y = 0; y < image.height(); ++y) {
        const uint* row = reinterpret_cast<const uint*>(image.constScanLine(y));
        int lo = 0;
        int hi = image.width();
        while (lo < hi && row[lo] == 0)
            ++lo;
        while (hi > lo && row[hi - 1] == 0)
            --hi;
        s.Lo[static_cast<size_t>(y)] = lo;
        s.Hi[static_cast<size_t>(y)] = hi;
    }
    s.Image = std::move(image);
    return s;
}

// Blends `n` stamp pixels over `dst` (source-over, as above); four at a time where the
// processor has SSE2, with the same arithmetic per channel.
static void BlendRow(uint* dst, const uint* src, int n) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i alphaBits = _mm_set1_epi32(static_cast<int>(0xff000000u));
    const __m128i rb = _mm_set1_epi32(0x00ff00ff);
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i full = _mm_set1_epi32(255);
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaBits), alphaBits)) == 0xffff) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
            continue;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, _mm_setzero_si128())) == 0xffff) continue;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        __m128i a = _mm_sub_epi32(full, _mm_srli_epi32(s, 24));
        a = _mm_or_si128(a, _mm_slli_epi32(a, 16));
        __m128i ag = _mm_mullo_epi16(_mm_srli_epi16(d, 8), a);
        __m128i lo = _mm_mullo_epi16(_mm_and_si128(d, rb), a);
        lo = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), half), 8);
        ag = _mm_andnot_si128(rb, _mm_add_epi16(_mm_add_epi16(ag, _mm_srli_epi16(ag, 8)), half));
        d = _mm_or_si128(ag, lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_add_epi32(s, d));
    }
#endif
    for (; i < n; ++i) {
        const uint sp = src[i];
        if (sp >= 0xff000000u)
            dst[i] = sp;
        else if (sp != 0)
            dst[i] = sp + ByteMul(dst[i], 255 - (sp >> 24));
    }
}

void TStampCache::Compose(const Stamp& stamp, QRect source, QPoint at) {
    // Device pixels: cut to the clip, then to the stamp.
    QRect dest(at, source.size());
    dest &= clip_;
    if (dest.isEmpty()) return;
    source = QRect(source.topLeft() + (dest.topLeft() - at), dest.size());
    uchar* bits = target_->bits();
    const qsizetype stride = target_->bytesPerLine();
    const uchar* from = stamp.Image.constBits();
    const qsizetype fromStride = stamp.Image.bytesPerLine();
    for (int row = 0; row < dest.height(); ++row) {
        const int sy = source.top() + row;
        // Only the row's non-transparent columns.
        const int lo = std::max(source.left(), stamp.Lo[static_cast<size_t>(sy)]);
        const int hi = std::min(source.left() + source.width(), stamp.Hi[static_cast<size_t>(sy)]);
        if (lo >= hi) continue;
        const uint* src = reinterpret_cast<const uint*>(from + sy * fromStride);
        uint* dst = reinterpret_cast<uint*>(bits + (dest.top() + row) * stride) +
                    (dest.left() - source.left());
        BlendRow(dst + lo, src + lo, hi - lo);
    }
}

QImage TStampCache::NewStamp(int width, int height) const {
    QImage stamp(width * dpr_, height * dpr_, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(dpr_);
    stamp.fill(Qt::transparent);
    return stamp;
}

void TStampCache::Blit(QPainter&, qreal x, qreal y, const Stamp& stamp) {
    Compose(stamp, stamp.Image.rect(), DevicePoint(x, y));
}

QPoint TStampCache::DevicePoint(qreal x, qreal y) const {
    return QPoint(static_cast<int>((x + origin_.x()) * dpr_),
                  static_cast<int>((y + origin_.y()) * dpr_));
}

bool TStampCache::DrawSquare(QPainter& p, const QRectF& square, const QColor& fill,
                             const QPen& outline) {
    if (!usable_ || fill.alpha() != 255 || !Whole(square.x()) || !Whole(square.y()) ||
        !Whole(square.width()) || !Whole(square.height()))
        return false;
    const int pad = static_cast<int>(std::ceil(outline.widthF() / 2)) + kMargin;
    if (const Stamp* known =
            FindRecent(recentSquares_, outline, fill.rgba(), square.width(), square.height())) {
        Blit(p, square.x() - pad, square.y() - pad, *known);
        return true;
    }
    Key key = PenKey(outline);
    key.n[6] = fill.rgba();
    key.n[7] = square.width();
    key.n[8] = square.height();
    auto it = squares_.constFind(key);
    if (it == squares_.constEnd()) {
        Limit(squares_);
        for (Recent& r : recentSquares_)
            r.stamp = nullptr;
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
        it = squares_.insert(key, MakeStamp(std::move(stamp)));
    }
    KeepRecent(recentSquares_, nextSquare_, outline, fill.rgba(), square.width(), square.height(),
               &*it);
    Blit(p, square.x() - pad, square.y() - pad, *it);
    return true;
}

void TStampCache::BlitPart(QPainter&, qreal x, qreal y, const Stamp& stamp, int sx, int sy, int sw,
                           int sh) {
    if (sw <= 0 || sh <= 0) return;
    Compose(stamp, QRect(sx * dpr_, sy * dpr_, sw * dpr_, sh * dpr_), DevicePoint(x, y));
}

const TStampCache::Stamp* TStampCache::FindRecent(Recent (&recent)[kRecent], const QPen& pen,
                                                  double a, double b, double c) const {
    for (const Recent& r : recent)
        if (r.stamp && r.a == a && r.b == b && r.c == c && r.pen == pen) return r.stamp;
    return nullptr;
}

void TStampCache::KeepRecent(Recent (&recent)[kRecent], int& next, const QPen& pen, double a,
                             double b, double c, const Stamp* stamp) {
    recent[next] = Recent{pen, a, b, c, stamp};
    next = (next + 1) % kRecent;
}

const TStampCache::Stamp& TStampCache::LineStamp(const QPen& pen, bool horizontal, int length,
                                                 int pad) {
    if (const Stamp* known = FindRecent(recentLines_, pen, horizontal, length, 0)) return *known;
    Key key = PenKey(pen);
    key.n[6] = horizontal ? 1 : 0;
    key.n[7] = length;
    auto it = lines_.constFind(key);
    if (it == lines_.constEnd()) {
        Limit(lines_);
        for (Recent& r : recentLines_)
            r.stamp = nullptr;
        const int along = length + 2 * pad;
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
        it = lines_.insert(key, MakeStamp(std::move(stamp)));
    }
    KeepRecent(recentLines_, nextLine_, pen, horizontal, length, 0, &*it);
    return *it;
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
    const int length = static_cast<int>(b - a);
    // Copies columns [from, from + n) of `stamp` (rows across the line: all) to `at`
    // along the line.
    auto part = [&](const Stamp& stamp, qreal at, int from, int n) {
        if (horizontal)
            BlitPart(p, at, c - pad, stamp, from, 0, n, 2 * pad);
        else
            BlitPart(p, c - pad, at, stamp, 0, from, 2 * pad, n);
    };
    if (length <= kCanonicalLength) {
        // A stamp of its own length.
        const Stamp& stamp = LineStamp(pen, horizontal, length, pad);
        part(stamp, a - pad, 0, length + 2 * pad);
        return true;
    }
    // A longer line from the canonical one: its start with the first kEnd pixels, its
    // middle, where every column is alike, repeated, and its end with the last kEnd pixels.
    const Stamp& stamp = LineStamp(pen, horizontal, kCanonicalLength, pad);
    const int middle = kCanonicalLength - 2 * kEnd;
    part(stamp, a - pad, 0, pad + kEnd);
    for (int done = 0; done < length - 2 * kEnd; done += middle)
        part(stamp, a + kEnd + done, pad + kEnd, std::min(middle, length - 2 * kEnd - done));
    part(stamp, b - kEnd, pad + kCanonicalLength - kEnd, kEnd + pad);
    return true;
}

bool TStampCache::DrawRectOutline(QPainter& p, const QRectF& rect, const QPen& pen) {
    if (!usable_ || !Whole(rect.x()) || !Whole(rect.y()) || !Whole(rect.width()) ||
        !Whole(rect.height()) || pen.style() != Qt::SolidLine || rect.width() <= 2 * kEnd ||
        rect.height() <= 2 * kEnd)
        return false;
    const int pad = static_cast<int>(std::ceil(pen.widthF() / 2)) + kMargin;
    // The canonical outline: kCanonicalLength square; its corners with kEnd pixels of each
    // side, and sides whose middle rows or columns are all alike.
    Key key = PenKey(pen);
    key.n[6] = 2;
    auto it = rects_.constFind(key);
    if (it == rects_.constEnd()) {
        Limit(rects_);
        QImage stamp = NewStamp(kCanonicalLength + 2 * pad, kCanonicalLength + 2 * pad);
        {
            QPainter s(&stamp);
            s.setRenderHints(hints_);
            s.setBrush(Qt::NoBrush);
            s.setPen(pen);
            s.drawRect(QRectF(pad, pad, kCanonicalLength, kCanonicalLength));
        }
        it = rects_.insert(key, MakeStamp(std::move(stamp)));
    }
    const Stamp& stamp = *it;
    const int w = static_cast<int>(rect.width());
    const int h = static_cast<int>(rect.height());
    const qreal l = rect.x();
    const qreal t = rect.y();
    const int corner = pad + kEnd;            // a corner block's size
    const int far = kCanonicalLength - kEnd;  // where the far corners start
    const int middle = kCanonicalLength - 2 * kEnd;
    // Corners.
    BlitPart(p, l - pad, t - pad, stamp, 0, 0, corner, corner);
    BlitPart(p, l + w - kEnd, t - pad, stamp, pad + far, 0, corner, corner);
    BlitPart(p, l - pad, t + h - kEnd, stamp, 0, pad + far, corner, corner);
    BlitPart(p, l + w - kEnd, t + h - kEnd, stamp, pad + far, pad + far, corner, corner);
    // Sides: bands of `corner` pixels across, repeated along.
    for (int done = 0; done < w - 2 * kEnd; done += middle) {
        const int n = std::min(middle, w - 2 * kEnd - done);
        BlitPart(p, l + kEnd + done, t - pad, stamp, pad + kEnd, 0, n, corner);
        BlitPart(p, l + kEnd + done, t + h - kEnd, stamp, pad + kEnd, pad + far, n, corner);
    }
    for (int done = 0; done < h - 2 * kEnd; done += middle) {
        const int n = std::min(middle, h - 2 * kEnd - done);
        BlitPart(p, l - pad, t + kEnd + done, stamp, 0, pad + kEnd, corner, n);
        BlitPart(p, l + w - kEnd, t + kEnd + done, stamp, pad + far, pad + kEnd, corner, n);
    }
    return true;
}

bool TStampCache::DrawText(QPainter& p, const QPointF& baseline, const QString& text,
                           const QFont& font, const QColor& color, int width, int lineHeight) {
    // Texts are kept as regions of the target itself: drawn without a clip or an offset.
    if (!usable_ || !target_ || text.isEmpty() || !origin_.isNull() || clip_ != target_->rect())
        return false;
    // The region the text may touch, on whole device pixels: a line height above the
    // baseline and half of one below it, with a few pixels more on every side for glyphs
    // that overhang; the baseline keeps its fraction of a device pixel within it. (A glyph
    // reaching further would show as a difference in the tests that compare with drawing
    // every text.)
    const qreal ox = std::floor(baseline.x() * dpr_) / dpr_;
    const qreal oy = std::floor(baseline.y() * dpr_) / dpr_;
    const int side = kTextMargin;
    const int above = lineHeight + kTextMargin;
    const int below = (lineHeight + 1) / 2 + kTextMargin;
    const QRect region(static_cast<int>((ox - side) * dpr_), static_cast<int>((oy - above) * dpr_),
                       (width + 2 * side) * dpr_, (above + below) * dpr_);
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
