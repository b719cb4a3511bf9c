#include "chart/LabelBox.h"

#include "chart/Axis.h"
#include "chart/TextMeasurer.h"

namespace chart {

TChartRect LabelBox(const TChartAxis& axis, int pos, int width, int height) {
    TChartRect r;
    if (axis.Horizontal()) {
        r.Left = pos - width / 2;
        r.Top = axis.OtherSide() ? axis.PosLabels - height : axis.PosLabels;
    } else {
        r.Left = axis.OtherSide() ? axis.PosLabels : axis.PosLabels - width;
        r.Top = pos - height / 2;
    }
    r.Right = r.Left + width;
    r.Bottom = r.Top + height;
    return r;
}

TChartRect LabelBox(const TChartAxis& axis, const TAxisLabelItem& item,
                    const TTextMeasurer& measurer, const QFont& font) {
    return LabelBox(axis, item.Pos, measurer.TextWidth(font, item.Text), measurer.TextHeight(font));
}

int LabelAt(const TChartAxis& axis, const TTextMeasurer& measurer, int x, int y) {
    for (size_t i = 0; i < axis.Items.size(); ++i)
        if (LabelBox(axis, axis.Items[i], measurer, axis.LabelsFont).ContainsInclusive(x, y))
            return static_cast<int>(i);
    return -1;
}

}  // namespace chart
