// Where an axis label's text box lies: one rule shared by measuring, drawing and the hover
// hit test, so that what is painted and what the mouse finds can never disagree.
#pragma once

#include <QFont>

#include "chart/ChartRect.h"

namespace chart {

class TChartAxis;
class TTextMeasurer;
struct TAxisLabelItem;

// The box of a label `width` x `height` pixels standing at pixel `pos` along `axis`:
// left axis right-aligned to PosLabels and vertically centred on pos (top = pos -
// height div 2); right axis likewise left-aligned to PosLabels; bottom axis centred on pos
// (left = pos - width div 2) with its top at PosLabels; top axis likewise with its bottom
// at PosLabels. Right = Left + width, Bottom = Top + height.
TChartRect LabelBox(const TChartAxis& axis, int pos, int width, int height);

// The box of `item` measured in `font` (the labels font, or the bold hover font for the
// hovered label). A point is on the label when the box contains it, edges included.
TChartRect LabelBox(const TChartAxis& axis, const TAxisLabelItem& item,
                    const TTextMeasurer& measurer, const QFont& font);

// The index of the first item of `axis` whose box (in the labels font) contains (x, y),
// edges included; -1 when none does.
int LabelAt(const TChartAxis& axis, const TTextMeasurer& measurer, int x, int y);

}  // namespace chart
