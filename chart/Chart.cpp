#include "chart/Chart.h"

#include <algorithm>

#include "chart/Series.h"
#include "chart/SeriesDigest.h"

namespace chart {

TChart::TChart(QObject* owner)
    : QObject(owner), FDigest(std::make_unique<TSeriesDigest>()), FPage(this) {
    FAxes[0] = std::make_unique<TChartAxis>(this, AxisKind::Bottom);
    FAxes[1] = std::make_unique<TChartAxis>(this, AxisKind::Top);
    FAxes[2] = std::make_unique<TChartAxis>(this, AxisKind::Left);
    FAxes[3] = std::make_unique<TChartAxis>(this, AxisKind::Right);
    FAxes[4] = std::make_unique<TChartAxis>(this, AxisKind::Depth);
    FAxes[5] = std::make_unique<TChartAxis>(this, AxisKind::DepthTop);
    SetColorPaletteIndex(kDefaultPaletteIndex);
    FAutoRepaint = true;
}

TChart::~TChart() {
    FDestroying = true;
    // A series leaves the list in its destructor, so this ends.
    while (!FSeriesList.empty())
        delete FSeriesList.back();
}

TChartSeries* TChart::AddSeries(TChartSeries* series) {
    series->SetParentChart(this);
    return series;
}

void TChart::RemoveSeries(TChartSeries* series) {
    if (series->ParentChart() == this) series->SetParentChart(nullptr);
}

void TChart::InternalAddSeries(TChartSeries* series) {
    if (std::find(FSeriesList.begin(), FSeriesList.end(), series) != FSeriesList.end()) return;
    series->Added();
    FSeriesList.push_back(series);
    ++FListVersion;
    FFirstListChange = std::min(FFirstListChange, SeriesCount() - 1);
    Invalidate();
}

void TChart::InternalRemoveSeries(TChartSeries* series) {
    const auto it = std::find(FSeriesList.begin(), FSeriesList.end(), series);
    if (it == FSeriesList.end()) return;
    FFirstListChange = std::min(FFirstListChange, static_cast<int>(it - FSeriesList.begin()));
    FSeriesList.erase(it);
    ++FListVersion;
    series->Removed();
    if (!FDestroying) Invalidate();
}

void TChart::SetColorPaletteIndex(int index) {
    if (index == FColorPaletteIndex) return;
    FColorPaletteIndex = index;
    const std::vector<TColor>& colors = PaletteColors(index);
    if (!colors.empty()) FColorPalette = colors;
    for (TChartSeries* s : FSeriesList)
        if (s->ColorAsSet() == clUseSeriesColor) s->SetSeriesColor(GetFreeSeriesColor(true, s));
    Invalidate();
}

TColor TChart::GetDefaultColor(int index) const {
    if (FColorPalette.empty()) return clBlack;
    return FColorPalette[static_cast<size_t>(index) % FColorPalette.size()];
}

bool TChart::IsFreeSeriesColor(TColor color, bool checkBackground,
                               const TChartSeries* series) const {
    for (const TChartSeries* s : FSeriesList)
        if (s != series && s->SeriesColor() == color) return false;
    if (checkBackground && (color == FColor || color == FBackWallColor)) return false;
    return true;
}

TColor TChart::GetFreeSeriesColor(bool checkBackground, const TChartSeries* series) const {
    for (TColor c : FColorPalette)
        if (IsFreeSeriesColor(c, checkBackground, series)) return c;
    return GetDefaultColor(SeriesCount());
}

void TChart::Invalidate() {
    if (!FAutoRepaint) return;
    ++FRepaintRequests;
    if (OnInvalidate) OnInvalidate();
}

void TChart::SetAxisVisible(bool value) {
    if (FAxisVisible == value) return;
    FAxisVisible = value;
    Invalidate();
}

void TChart::SetColor(TColor color) {
    if (FColor == color) return;
    FColor = color;
    Invalidate();
}

void TChart::SetTitleText(const QStringList& lines) {
    if (FTitleText == lines) return;
    FTitleText = lines;
    Invalidate();
}

void TChart::SetTitleVisible(bool value) {
    if (FTitleVisible == value) return;
    FTitleVisible = value;
    Invalidate();
}

}  // namespace chart
