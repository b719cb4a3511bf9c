// Colours of the chart engine: 32-bit values 0x00BBGGRR (red in the low byte), the special
// values that mean "the series' colour" and "nothing", the system button-face colour, and
// the colour palettes that new series take their colours from.
#pragma once

#include <QColor>
#include <cstdint>
#include <vector>

namespace chart {

using TColor = uint32_t;

// As a point's colour: use the series' colour. As a series' colour: none assigned yet.
constexpr TColor clUseSeriesColor = 0x20000000;
// As a point's colour: a null point, not drawn.
constexpr TColor clNone = 0x1FFFFFFF;
// The system's button-face colour, which windows and the chart's panel share; resolved
// through the platform palette (its Window role) when painting.
constexpr TColor clBtnFace = 0xFF00000F;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;

// The palette the chart starts with and that this program keeps.
constexpr int kDefaultPaletteIndex = 13;

// Palette number `index`; empty for a number the engine does not know.
const std::vector<TColor>& PaletteColors(int index);

// The colour to draw with: system colours resolved, the top byte of an RGB value taken as
// transparency (opacity = 255 - top byte).
QColor ToQColor(TColor color);

}  // namespace chart
