// Text measurement as on the device the chart is drawn on, with each font exactly as it is
// drawn: point sizes become pixels at 96 dpi (so that text keeps its size whatever the
// screen's logical DPI), text anti-aliased. The layout, the painter and the mouse hit tests
// all measure through one of these, so the boxes they use agree with the painted text.
// Keeps the drawing font, the metrics and the width of every text measured so far.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#include "chart/TextMeasurer.h"

class QPaintDevice;

namespace chart {

// Points per inch and the resolution font sizes in points are taken at.
constexpr double kPointsPerInch = 72.0;
constexpr double kFontDpi = 96.0;

// `font` as it is drawn on a device of `deviceDpi` logical dots per inch: a size in points
// is converted to its pixel size at 96 dpi, then expressed in points of that device; pixel
// sizes stay. Anti-aliased; fonts below 20 points are grid-fitted, larger ones are not.
QFont DrawingFont(const QFont& font, int deviceDpi);

class TPainterMeasurer : public TTextMeasurer {
public:
    // Measures as on a 96-dpi image until SetDevice names the drawing device.
    TPainterMeasurer();
    // Measures as on `device`: on an image of its own with the device's resolution and
    // pixel ratio (the device is not kept). Forgets what was measured when these change.
    explicit TPainterMeasurer(const QPaintDevice& device);
    void SetDevice(const QPaintDevice& device);
    // With caching off, every call measures afresh (the reference draw in tests).
    void SetCaching(bool on);
    bool Caching() const { return caching_; }

    int TextWidth(const QFont& font, const QString& text) const override;
    int TextHeight(const QFont& font) const override;
    // Distance from the top of a text box to the baseline.
    qreal Ascent(const QFont& font) const;
    // The font to draw `font` with on the device.
    const QFont& Font(const QFont& font) const;

private:
    struct Entry {
        Entry(const QFont& requested, int dpi, const QPaintDevice* device);
        QFont requested;
        QFont drawing;
        QFontMetricsF metrics;
        int height;
        QHash<QString, int> widths;
    };
    Entry& Lookup(const QFont& font) const;

    // The image measured on, with the drawing device's resolution and pixel ratio.
    QImage device_;
    bool caching_ = true;
    mutable std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace chart
