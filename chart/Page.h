// The chart's page settings: how many points make a page, which page is current and
// whether an incomplete last page is scaled as if full; the page count and the index
// range of the current page.
#pragma once

namespace chart {

class TChart;
class TChartSeries;

class TChartPage {
public:
    explicit TChartPage(TChart* parent) : IParent(parent) {}

    bool AutoScale() const { return FAutoScale; }
    void SetAutoScale(bool value);
    int Current() const { return FCurrent; }
    // Clamped to 1 .. Count().
    void SetCurrent(int value);
    int MaxPointsPerPage() const { return FPointsPerPage; }
    // Throws ChartException for a negative count; lowers Current to the page count.
    void SetMaxPointsPerPage(int value);
    bool ScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool value);

    // Number of pages (1 without paging or without series).
    int Count() const;
    // Index of the first value of the current page.
    int FirstValueIndex() const { return (FCurrent - 1) * FPointsPerPage; }
    // The index range of the current page of `series`; -1, -1 for an empty series.
    void CalcPageIndexRange(const TChartSeries& series, int& first, int& last) const;

private:
    bool FAutoScale = false;
    int FCurrent = 1;
    int FPointsPerPage = 0;
    bool FScaleLastPage = true;
    TChart* IParent;
};

}  // namespace chart
