#include "chart/TextMeasurer.h"

#include <QFontMetricsF>
#include <cmath>

namespace chart {

int TFontMetricsMeasurer::TextWidth(const QFont& font, const QString& text) const {
    return static_cast<int>(std::lround(QFontMetricsF(font).horizontalAdvance(text)));
}

int TFontMetricsMeasurer::TextHeight(const QFont& font) const {
    // The height of a one-line text box such as "W" is the font's line height.
    return static_cast<int>(std::lround(QFontMetricsF(font).height()));
}

}  // namespace chart
