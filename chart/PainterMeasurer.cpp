#include "chart/PainterMeasurer.h"

#include <QPaintDevice>
#include <cmath>

namespace chart {

namespace {

// Widths kept per font before the list starts afresh: far more labels than a few hundred
// redraws of a panned axis produce, small enough to stay cheap.
constexpr int kMaxCachedWidths = 4096;
// Fonts of this size in points and above are drawn without grid fitting.
constexpr double kGridFitBelowPoints = 20;
// Metres per inch, for the image measured on when no device is given.
constexpr double kInchesPerMetre = 1 / 0.0254;
// Without caching, the fonts of the last few calls stay alive (Font() returns a reference).
constexpr size_t kUncachedEntriesKept = 4;

}  // namespace

QFont DrawingFont(const QFont& font, int deviceDpi) {
    QFont f = font;
    double points = 0;
    if (font.pixelSize() > 0) {
        points = font.pixelSize() * kPointsPerInch / kFontDpi;
    } else {
        points = font.pointSizeF();
        const double pixels = points * kFontDpi / kPointsPerInch;
        f.setPointSizeF(pixels * kPointsPerInch / (deviceDpi > 0 ? deviceDpi : kFontDpi));
    }
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(points < kGridFitBelowPoints ? QFont::PreferFullHinting
                                                        : QFont::PreferNoHinting);
    return f;
}

TPainterMeasurer::Entry::Entry(const QFont& requestedFont, int dpi, const QPaintDevice* device)
    : requested(requestedFont),
      drawing(DrawingFont(requestedFont, dpi)),
      metrics(drawing, device),
      height(static_cast<int>(std::lround(metrics.height()))) {}

TPainterMeasurer::TPainterMeasurer() : device_(1, 1, QImage::Format_ARGB32_Premultiplied) {
    const int dpm = static_cast<int>(std::lround(kFontDpi * kInchesPerMetre));
    device_.setDotsPerMeterX(dpm);
    device_.setDotsPerMeterY(dpm);
}

TPainterMeasurer::TPainterMeasurer(const QPaintDevice& device) : TPainterMeasurer() {
    SetDevice(device);
}

void TPainterMeasurer::SetDevice(const QPaintDevice& device) {
    const int dpi = device.logicalDpiY();
    const qreal dpr = device.devicePixelRatioF();
    if (dpi == device_.logicalDpiY() && dpr == device_.devicePixelRatioF()) return;
    const int dpm = static_cast<int>(std::lround(dpi * kInchesPerMetre));
    device_.setDotsPerMeterX(dpm);
    device_.setDotsPerMeterY(dpm);
    device_.setDevicePixelRatio(dpr);
    entries_.clear();
}

void TPainterMeasurer::SetCaching(bool on) {
    if (on == caching_) return;
    caching_ = on;
    entries_.clear();
}

TPainterMeasurer::Entry& TPainterMeasurer::Lookup(const QFont& font) const {
    if (caching_) {
        for (const auto& e : entries_)
            if (e->requested == font) return *e;
    } else if (entries_.size() >= kUncachedEntriesKept) {
        // Measuring afresh every time; keep the last few alive for the references handed out.
        entries_.erase(entries_.begin());
    }
    entries_.push_back(std::make_unique<Entry>(font, device_.logicalDpiY(), &device_));
    return *entries_.back();
}

int TPainterMeasurer::TextWidth(const QFont& font, const QString& text) const {
    Entry& e = Lookup(font);
    if (caching_) {
        const auto it = e.widths.constFind(text);
        if (it != e.widths.constEnd()) return *it;
        if (e.widths.size() >= kMaxCachedWidths) e.widths.clear();
    }
    const int width = static_cast<int>(std::lround(e.metrics.horizontalAdvance(text)));
    if (caching_) e.widths.insert(text, width);
    return width;
}

int TPainterMeasurer::TextHeight(const QFont& font) const {
    // The height of a one-line text box such as "W" is the font's line height.
    return Lookup(font).height;
}

qreal TPainterMeasurer::Ascent(const QFont& font) const {
    return Lookup(font).metrics.ascent();
}

const QFont& TPainterMeasurer::Font(const QFont& font) const {
    return Lookup(font).drawing;
}

}  // namespace chart
