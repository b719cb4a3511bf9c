// Pre-rendered primitives ("stamps") that a draw copies instead of rasterising them again:
// a point's square with its outline, an axis-parallel line, a text. Anti-aliased stroking
// and text layout cost far more than copying their pixels, and in a chart the same square,
// the same grid line and the same label text come back on every paint.
//
// A stamp is the primitive drawn by QPainter, with the same pen, brush, font and render
// hints, on a transparent image at the same fraction of a device pixel; it is copied to
// the target at whole device pixels with source-over. Blending a colour with coverage a
// onto a pixel gives colour*a + pixel*(1 - alpha(colour*a)), and copying the stamp pixel
// colour*a over the pixel gives exactly that, so the target gets the very pixels that
// drawing the primitive there would give. The primitives stamped are chosen so that this
// holds: a square's fill is opaque and pixel-aligned (its outline then blends inside the
// stamp over that fill, as it would on the target), and lines and texts are one blend each.
// Tests compare a draw through stamps with the plain QPainter draw pixel for pixel.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>
#include <algorithm>
#include <array>
#include <vector>

namespace chart {

class TStampCache {
public:
    // What a stamp's pixels depend on, as numbers (and a text for texts).
    struct Key {
        std::array<double, 10> n{};
        QString text;
        bool operator==(const Key& o) const { return n == o.n && text == o.text; }
    };

public:
    // Stamps are made for targets of this pixel format, whole-number device pixel ratio
    // and render hints; a change of either forgets the stamps made so far.
    // `target` is the image painted on, read and written directly for texts; it must
    // outlive the draw.
    void SetTarget(QImage& target, QPainter::RenderHints hints);
    // Stamps are copied into the target's pixels directly, so the cache must know what the
    // painter would do with a position: logical coordinates are offset by `origin` (the
    // painter's translation, whole logical pixels) and scaled by the pixel ratio, and only
    // pixels inside the clip (logical, before the offset; none: the whole image) change.
    // SetTarget resets both.
    void SetOrigin(QPoint origin);
    void SetClip(const QRect* clip);
    // False when the target cannot take stamps (another format, a fractional pixel ratio):
    // every Draw call below then returns false and draws nothing.
    bool Usable() const { return usable_; }

    // fillRect(square, fill) then drawRect(square) with `outline` and no brush. The square
    // must lie on whole logical pixels and `fill` be opaque, else nothing is drawn.
    bool DrawSquare(QPainter& p, const QRectF& square, const QColor& fill, const QPen& outline);
    // drawLine(line) with `pen`, for a horizontal or vertical line with ends on whole
    // logical pixels. Only what may fall inside `visible` (logical pixels: the clip, or the
    // image) matters: a longer line is shortened to the part that can reach it, well past
    // its edges, so that its ends stay outside.
    bool DrawLine(QPainter& p, const QLineF& line, const QPen& pen, const QRect& visible);
    // drawRect(rect) with `pen` and no brush, for a rectangle on whole logical pixels.
    bool DrawRectOutline(QPainter& p, const QRectF& rect, const QPen& pen);
    // drawText(baseline, text) with `font` (the drawing font) and `color`; `lineHeight` and
    // `width` are the text's size in that font. Glyphs may overlap one another, so a text
    // is not one blend: instead the region it touches is kept as it was before and after
    // the text was drawn, and when the same text comes back onto the same pixels (the
    // labels and the title on the plain panel) the after-image is copied in. Sets the
    // painter's font and pen when it draws.
    bool DrawText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
                  const QColor& color, int width, int lineHeight);

    // Runs `draw` (QPainter calls that change only pixels inside `regions`, logical
    // rectangles), or, when the regions hold what they held before the last run with this
    // `key`, copies in what that run left there. False when it cannot keep regions (an
    // offset, a clip, a region outside the image): nothing is drawn then.
    template <size_t N, size_t K, typename Draw>
    bool DrawRegions(const double (&key)[K], const QRect (&regions)[N], Draw&& draw) {
        static_assert(K <= 10, "a region key holds at most 10 numbers");
        std::vector<QRect> device;
        for (const QRect& r : regions)
            device.push_back(QRect(r.topLeft() * dpr_, r.size() * dpr_));
        Key k;
        std::copy(key, key + K, k.n.begin());
        k.text = QStringLiteral("regions");
        if (!CanKeepRegions(device)) return false;
        if (CopyKeptRegions(k, device)) return true;
        std::vector<QImage> before = CopyOut(device);
        draw();
        KeepRegions(k, std::move(before), CopyOut(device));
        return true;
    }

    int Count() const { return squares_.size() + lines_.size() + rects_.size() + texts_.size(); }

private:
    // A stamp's pixels and, per row, the columns [Lo, Hi) outside which it is transparent.
    struct Stamp {
        QImage Image;
        std::vector<int> Lo, Hi;
    };
    static Stamp MakeStamp(QImage image);

    bool CanKeepRegions(const std::vector<QRect>& device) const;
    bool CopyKeptRegions(const Key& key, const std::vector<QRect>& device);
    std::vector<QImage> CopyOut(const std::vector<QRect>& device) const;
    void KeepRegions(const Key& key, std::vector<QImage> before, std::vector<QImage> after);
    struct Kept {
        std::vector<QImage> before, after;
    };
    QHash<Key, Kept> regions_;

    QImage NewStamp(int width, int height) const;
    void Blit(QPainter& p, qreal x, qreal y, const Stamp& stamp);
    QPoint DevicePoint(qreal x, qreal y) const;
    // Blends `source` (device pixels) of `stamp` over the target at device point `at`.
    void Compose(const Stamp& stamp, QRect source, QPoint at);
    // Copies the part (sx, sy, sw, sh) of `stamp`, in logical pixels, to (x, y).
    void BlitPart(QPainter& p, qreal x, qreal y, const Stamp& stamp, int sx, int sy, int sw,
                  int sh);
    // A line of `length` drawn from `pad` pixels into a stamp `pad` pixels wider each way.
    const Stamp& LineStamp(const QPen& pen, bool horizontal, int length, int pad);

    bool usable_ = false;
    int dpr_ = 1;
    QImage::Format format_ = QImage::Format_Invalid;
    QPainter::RenderHints hints_;

private:
    static Key PenKey(const QPen& pen);
    // A number standing for `font` among those this cache has seen.
    int FontId(const QFont& font);

    // The last few stamps looked up, found again without hashing their key (ticks and grid
    // lines come in runs with one pen, squares in two colours). A stamp's address holds
    // until its table changes, which empties these.
    struct Recent {
        QPen pen;
        double a = 0, b = 0, c = 0;
        const Stamp* stamp = nullptr;
    };
    static constexpr int kRecent = 4;
    const Stamp* FindRecent(Recent (&recent)[kRecent], const QPen& pen, double a, double b,
                            double c) const;
    void KeepRecent(Recent (&recent)[kRecent], int& next, const QPen& pen, double a, double b,
                    double c, const Stamp* stamp);
    Recent recentLines_[kRecent];
    Recent recentSquares_[kRecent];
    int nextLine_ = 0;
    int nextSquare_ = 0;

    QHash<Key, Stamp> squares_;
    QHash<Key, Stamp> lines_;
    QHash<Key, Stamp> rects_;
    std::vector<QFont> fonts_;
    struct Memo {
        QImage before;
        QImage after;
    };
    QHash<Key, Memo> texts_;
    QImage* target_ = nullptr;
    QPoint origin_;
    QRect clip_;  // device pixels
};

size_t qHash(const TStampCache::Key& key, size_t seed = 0);

}  // namespace chart
