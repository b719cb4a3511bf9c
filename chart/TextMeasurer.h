// How the chart engine learns the size of a text: a small interface that the painting
// canvas implements with real font metrics and tests implement with exact sizes, so that
// label steps, label space and label boxes are computed without a window.
#pragma once

#include <QFont>
#include <QString>

namespace chart {

class TTextMeasurer {
public:
    virtual ~TTextMeasurer() = default;
    // Width in pixels of `text` drawn in `font`.
    virtual int TextWidth(const QFont& font, const QString& text) const = 0;
    // Height in pixels of one line of `font`: the height of the text "W", rounded.
    virtual int TextHeight(const QFont& font) const = 0;
};

// Measures with Qt's font metrics for the screen. Needs a QGuiApplication. The canvas may
// use its own measurer instead, one that matches the device it draws on.
class TFontMetricsMeasurer : public TTextMeasurer {
public:
    int TextWidth(const QFont& font, const QString& text) const override;
    int TextHeight(const QFont& font) const override;
};

}  // namespace chart
