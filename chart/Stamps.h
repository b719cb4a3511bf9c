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
#include <array>
#include <vector>

namespace chart {

class TStampCache {
public:
    // Stamps are made for targets of this pixel format, whole-number device pixel ratio
    // and render hints; a change of either forgets the stamps made so far.
    // `target` is the image painted on, read and written directly for texts; it must
    // outlive the draw.
    void SetTarget(QImage& target, QPainter::RenderHints hints);
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
    // drawText(baseline, text) with `font` (the drawing font) and `color`; `lineHeight` and
    // `width` are the text's size in that font. Glyphs may overlap one another, so a text
    // is not one blend: instead the region it touches is kept as it was before and after
    // the text was drawn, and when the same text comes back onto the same pixels (the
    // labels and the title on the plain panel) the after-image is copied in. Sets the
    // painter's font and pen when it draws.
    bool DrawText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
                  const QColor& color, int width, int lineHeight);

    int Count() const { return squares_.size() + lines_.size() + texts_.size(); }

private:
    QImage NewStamp(int width, int height) const;
    void Blit(QPainter& p, qreal x, qreal y, const QImage& stamp) const;

    bool usable_ = false;
    int dpr_ = 1;
    QImage::Format format_ = QImage::Format_Invalid;
    QPainter::RenderHints hints_;

public:
    // What a stamp's pixels depend on, as numbers (and a text for texts).
    struct Key {
        std::array<double, 10> n{};
        QString text;
        bool operator==(const Key& o) const { return n == o.n && text == o.text; }
    };

private:
    static Key PenKey(const QPen& pen);
    // A number standing for `font` among those this cache has seen.
    int FontId(const QFont& font);

    QHash<Key, QImage> squares_;
    QHash<Key, QImage> lines_;
    std::vector<QFont> fonts_;
    struct Memo {
        QImage before;
        QImage after;
    };
    QHash<Key, Memo> texts_;
    QImage* target_ = nullptr;
};

size_t qHash(const TStampCache::Key& key, size_t seed = 0);

}  // namespace chart
