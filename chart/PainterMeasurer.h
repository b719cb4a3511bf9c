// Text measurement on the device the chart is drawn on, with each font exactly as it is
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
    // Measures on `device` (not owned; it must outlive the measurer or be replaced with
    // SetDevice first); nullptr measures on an own 96-dpi image.
    explicit TPainterMeasurer(const QPaintDevice* device = nullptr);

    // Measures on `device` from now on; forgets what was measured when its resolution
    // differs from the last one's.
    void SetDevice(const QPaintDevice* device);
    const QPaintDevice* Device() const { return device_; }
    // With caching off, every call measures afresh (the reference draw in tests).
    void SetCaching(bool on);

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

    QImage ownDevice_;  // the 96-dpi image measured on when no device is given
    const QPaintDevice* device_ = nullptr;
    int dpi_ = 0;
    qreal dpr_ = 1;
    bool caching_ = true;
    mutable std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace chart
