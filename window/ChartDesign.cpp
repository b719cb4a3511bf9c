#include "window/ChartDesign.h"

#include "chart/Chart.h"
#include "chart/Colors.h"
#include "chart/Series.h"

namespace diagram {

const QString& Title() {
    static const QString title = QStringLiteral("График распределения номеров рулетки: Чет-Нечет");
    return title;
}

void ApplyDesign(chart::TChart& chart, chart::TChartSeries& walk) {
    chart.SetLoading(true);
    chart.SetTitleText({Title()});
    chart.BottomAxis().SetAutomatic(false);
    chart.BottomAxis().SetAutomaticMaximum(false);
    chart.BottomAxis().SetAutomaticMinimum(false);
    chart.BottomAxis().SetMaximum(24);
    chart.RightAxis().SetAutomatic(false);
    chart.RightAxis().SetAutomaticMinimum(false);
    chart.Pages().SetMaxPointsPerPage(300);
    chart.Pages().SetScaleLastPage(false);
    chart.SetColorPaletteIndex(chart::kDefaultPaletteIndex);
    walk.SetParentChart(&chart);
    chart.SetLoading(false);
}

}  // namespace diagram
