#include "chart/ChartLayout.h"

#include <algorithm>

#include "chart/Axis.h"
#include "chart/AxisPass.h"
#include "chart/Chart.h"
#include "chart/ChartStyle.h"
#include "chart/Rounding.h"
#include "chart/TextMeasurer.h"

namespace chart {

namespace {

// The shown axes take their space in this order.
constexpr AxisKind kSpaceOrder[] = {AxisKind::Bottom, AxisKind::Left, AxisKind::Top,
                                    AxisKind::Right};

// The bounds start at (0, 0); the sanity rule reads only their left and top.
const TChartRect kBoundsOrigin{};

void SetChartRect(TChart& chart, TChartRect rect) {
    rect.KeepInside(kBoundsOrigin);
    chart.SetChartRect(rect);
}

}  // namespace

TChartRect MarginsRect(int width, int height, const TChartStyle& style) {
    const int bevel = style.BevelWidth;
    return TChartRect{style.MarginLeft * width / 100 + bevel,
                      style.MarginTop * height / 100 + bevel,
                      width - style.MarginRight * width / 100 - bevel,
                      height - style.MarginBottom * height / 100 - bevel};
}

TChartRect TitleBox(const TChart& chart, const TChartStyle& style, const TTextMeasurer& measurer,
                    int width) {
    const QStringList& lines = chart.TitleText();
    if (!chart.TitleVisible() || lines.isEmpty()) return TChartRect{};
    int boxWidth = 0;
    for (const QString& line : lines)
        boxWidth = std::max(boxWidth, measurer.TextWidth(style.TitleFont, line));
    const int boxHeight = measurer.TextHeight(style.TitleFont) * static_cast<int>(lines.size());
    const TChartRect& r = chart.ChartRect();
    const int minLeft = style.BevelWidth + RoundToInt(style.TitleMinLeftPercent * 0.01 * width);
    const int left = std::max(r.XCenter() - boxWidth / 2, minLeft);
    return TChartRect{left, r.Top, left + boxWidth, r.Top + boxHeight};
}

void TakeAxisSpace(TChart& chart, TChartAxis& axis, const TChartStyle& style,
                   const TTextMeasurer& measurer) {
    const bool labels = axis.Labels && axis.CalcLabelStyle() == talValue;
    const int labelSpace = labels ? axis.LabelsSpace(measurer) : 0;
    const int tickSpace =
        style.AxisLine.Width + 1 + std::max(axis.TickLength, axis.MinorTickLength);
    TChartRect r = chart.ChartRect();
    int* side = nullptr;
    switch (axis.Kind()) {
        case AxisKind::Bottom:
            r.Bottom = std::max(r.Bottom - labelSpace, r.Top + 1);
            axis.PosLabels = r.Bottom;
            r.Bottom -= tickSpace;
            side = &r.Bottom;
            break;
        case AxisKind::Top:
            r.Top = std::min(r.Top + labelSpace, r.Bottom - 1);
            axis.PosLabels = r.Top;
            r.Top += tickSpace;
            side = &r.Top;
            break;
        case AxisKind::Left:
            r.Left = std::min(r.Left + labelSpace, r.Right - 1);
            axis.PosLabels = r.Left;
            r.Left += tickSpace;
            side = &r.Left;
            break;
        case AxisKind::Right:
            r.Right = std::max(r.Right - labelSpace, r.Left + 1);
            axis.PosLabels = r.Right;
            r.Right -= tickSpace;
            side = &r.Right;
            break;
        default:
            return;  // depth axes take no space in 2D
    }
    r.KeepInside(kBoundsOrigin);
    axis.PosAxis = *side;
    chart.SetChartRect(r);
}

void LayoutChart(TChart& chart, const TChartStyle& style, const TTextMeasurer& measurer, int width,
                 int height) {
    // 1. Margins and bevel.
    SetChartRect(chart, MarginsRect(width, height, style));

    // 2. Title.
    const TChartRect title = TitleBox(chart, style, measurer, width);
    chart.SetTitleRect(title);
    if (chart.TitleVisible() && !chart.TitleText().isEmpty()) {
        TChartRect r = chart.ChartRect();
        r.Top = title.Bottom + style.TitleVertMargin;
        SetChartRect(chart, r);
    }

    // 3. Ranges and pixels on the plot rectangle less the title.
    AxisPassBeforeLayout(chart);

    // 4. Label, axis and tick space of the shown axes.
    for (AxisKind kind : kSpaceOrder) {
        TChartAxis& axis = chart.Axis(kind);
        if (axis.IsVisible) TakeAxisSpace(chart, axis, style, measurer);
    }

    // 5. Pixels on the final plot rectangle, then the series' margins.
    AxisPassAfterLayout(chart);

    // 6. Labels, ticks and grid of the shown axes; hidden axes keep none.
    for (int i = 0; i < chart.AxisCount(); ++i) {
        TChartAxis& axis = chart.Axis(i);
        if (axis.IsVisible) {
            axis.GenerateLabels(measurer);
        } else {
            axis.Items.clear();
            axis.Ticks.clear();
            axis.MinorTicks.clear();
            axis.GridTicks.clear();
        }
    }
}

}  // namespace chart
