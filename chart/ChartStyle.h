// The chart's fixed look as this window has it: margins, bevel, title font and colour, and
// the pens of the back wall, the axes, the ticks and the grid. Layout and painting read it;
// the chart model keeps what changes at run time (title text, ranges, series, label fonts,
// tick lengths).
#pragma once

#include <QFont>
#include <QString>

#include "chart/Colors.h"
#include "chart/DefaultFont.h"

namespace chart {

// A solid pen: colour (top byte = transparency), width in pixels, and its ends: round, or
// flat for the axis lines. Joins are always round.
struct TChartPen {
    TColor Color = clBlack;
    int Width = 1;
    bool FlatEnds = false;
    bool Visible = true;
};

struct TChartStyle {
    // Margins in percent of the chart's width (left, right) and height (top, bottom).
    int MarginLeft = 3;
    int MarginTop = 4;
    int MarginRight = 3;
    int MarginBottom = 4;

    // Colour of the window behind the chart, erased first where the panel colour is not
    // opaque.
    TColor ParentColor = clBtnFace;
    // Raised outer bevel around the panel.
    int BevelWidth = 1;
    TColor BevelTop = clWhite;
    TColor BevelBottom = 0xA0A0A0;

    // Title: Arial with 24-pixel characters, bold, blue; VertMargin pixels below its box.
    QFont TitleFont = DefaultTitleFont();
    TColor TitleColor = clBlue;
    int TitleVertMargin = 5;
    // The title box never starts left of the bevel plus this percentage of the width.
    double TitleMinLeftPercent = 2;

    // Outline of the plot rectangle; not filled.
    TChartPen BackWall{clBlack, 1};
    // Axis lines, major ticks, minor ticks and grid lines.
    TChartPen AxisLine{clBlack, 2, true};
    TChartPen Ticks{clGray, 1};
    TChartPen MinorTicks{clGray, 1};
    TChartPen Grid{clSilver, 1};
    TColor LabelsColor = clBlack;

    // The default face (Japanese on a Japanese system); the form sets the height and bold.
    static QFont DefaultTitleFont() {
        QFont font(DefaultFont().face);
        font.setPixelSize(24);
        font.setBold(true);
        return font;
    }
};

}  // namespace chart
