// Horizontal lines painted over one another at the same height: the zero lines, one or two
// more with every redraw, all on the pixel rows of value 0. An anti-aliased line blends its
// edge rows with what lies below, so a line still shows through the next few drawn over
// it; under enough of them, rounding to 8 bits per channel leaves nothing of it, and it
// need not be drawn.
//
// Which lines have got that far is asked of the drawing layer itself. Blending a colour
// over a pixel never turns a darker channel value into a lighter result than a lighter
// one would give, so a run of lines leaves the same pixel whatever lay below exactly when
// it leaves the same pixel over black and over white. The last lines of the stack are
// drawn, with their own pens, ends and clip, on a black and on a white strip of the
// stack's rows; wherever the two strips agree, nothing drawn before those lines shows.
// Every earlier line whose pixels all lie there is skipped, so the picture is exactly the
// one drawing every line gives.
#pragma once

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QSize>
#include <vector>

namespace chart {

// One item of a series pass, in paint order: a line segment, or something else (the
// points of a series) that may cover any pixel.
struct TLineDraw {
    QLineF Line;
    QPen Pen;
    bool Other = false;  // not a line: no line before it can be settled by lines after it
    bool Skip = false;   // set when lines drawn later settle every pixel this one covers
};

// How a series pass is drawn: clipped to Clip, on an image of Size logical pixels with
// device pixel ratio Dpr and pixel Format, with the painter's render hints.
struct TLineTarget {
    QRect Clip;
    QSize Size;
    qreal Dpr = 1;
    QImage::Format Format = QImage::Format_ARGB32_Premultiplied;
    QPainter::RenderHints Hints;
};

class TLineStack {
public:
    // Marks Skip on the lines of `draws` that the last lines of their stack settle. The
    // stack is that of the last horizontal line: the horizontal lines at its height, with
    // any pen. The settling lines are the stack's last lines after anything else drawn on
    // its rows. With a device pixel ratio that is not a whole number nothing is skipped.
    // Returns the number of lines marked.
    int SkipSettledLines(std::vector<TLineDraw>& draws, const TLineTarget& target);

private:
    // The device rows of the strip that a horizontal line drawn with `pen` covers.
    const std::vector<int>& RowsOf(const QPen& pen, qreal y, const QRect& strip,
                                   const TLineTarget& target);
    // Draws draws[run[i]] for i from `from` on, over black and over white strips.
    void DrawRun(const std::vector<TLineDraw>& draws, const std::vector<size_t>& run, size_t from,
                 const TLineTarget& target, const QRect& strip);

    struct Shape {
        QPen pen;  // its colour does not count
        std::vector<int> rows;
    };
    QImage black_;
    QImage white_;
    QImage shape_;
    std::vector<size_t> run_;                  // indexes of the stack's lines after the last
                                               // other drawing on its rows
    std::vector<Shape> shapes_;                // of the current call
    std::vector<std::vector<int>> unsettled_;  // per strip row: prefix counts over columns
};

}  // namespace chart
