#include "chart/Page.h"

#include <algorithm>

#include "chart/Chart.h"
#include "chart/Exceptions.h"
#include "chart/Series.h"

namespace chart {

void TChartPage::SetAutoScale(bool value) {
    if (FAutoScale == value) return;
    FAutoScale = value;
    IParent->Invalidate();
}

void TChartPage::SetCurrent(int value) {
    value = std::max(1, std::min(value, Count()));
    if (FCurrent == value) return;
    FCurrent = value;
    IParent->Invalidate();
}

void TChartPage::SetMaxPointsPerPage(int value) {
    if (value < 0) throw ChartException(QStringLiteral("MaxPointsPerPage must be >= 0"));
    if (FPointsPerPage != value) {
        FPointsPerPage = value;
        IParent->Invalidate();
    }
    const int pages = Count();
    if (FCurrent > pages) FCurrent = pages;
}

void TChartPage::SetScaleLastPage(bool value) {
    if (FScaleLastPage == value) return;
    FScaleLastPage = value;
    IParent->Invalidate();
}

int TChartPage::Count() const {
    const int p = FPointsPerPage;
    if (p <= 0 || IParent->SeriesCount() == 0) return 1;
    const bool xAxes = IParent->Series(0)->YMandatory();
    const TChartAxis& a = xAxes ? IParent->TopAxis() : IParent->LeftAxis();
    const TChartAxis& b = xAxes ? IParent->BottomAxis() : IParent->RightAxis();
    auto pagesOn = [&](const TChartAxis& axis) {
        int most = 0;
        for (TChartSeries* s : IParent->SeriesList())
            if (s->Active() && s->AssociatedToAxis(axis)) most = std::max(most, s->Count());
        if (most <= 0) return 1;
        return most / p + (most % p > 0 ? 1 : 0);
    };
    return std::max(pagesOn(a), pagesOn(b));
}

void TChartPage::CalcPageIndexRange(const TChartSeries& series, int& first, int& last) const {
    const int n = series.Count();
    const int p = FPointsPerPage;
    if (n == 0) {
        first = last = -1;
        return;
    }
    if (p <= 0) {
        first = 0;
        last = n - 1;
        return;
    }
    first = p == 1 ? FCurrent - 1 : p * (FCurrent - 1);
    if (first >= n) first = p * std::max(0, n / p - 1);
    last = first + p - 1;
    if (last >= n) last = first + (n % p) - 1;
}

}  // namespace chart
