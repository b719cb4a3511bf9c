#include "window/Diagram.h"

#include "chart/Series.h"
#include "window/ChartDesign.h"

namespace diagram {

Result Build(const QString& list, chart::TChartSeries& series, roulette::SpinRecord& record) {
    Result r;
    // Pairs of spaces merged, then one trailing space dropped.
    bool hadPairs = false;
    QString text = roulette::StripTrailingChar(roulette::MergeSpacePairs(list, &hadPairs), u' ');
    // One repaint request for the whole walk instead of one per point.
    series.BeginUpdate();
    int added = 0;
    r.outcome = roulette::Walk(text, record, [&series, &added](const roulette::Point& p) {
        series.AddXY(p.x, p.y, QString(), roulette::IsEven(p.number) ? kEvenColor : kOddColor);
        ++added;
    });
    series.EndUpdate();
    if (added) series.RepaintIfShown();
    r.points = added;
    if (!r.outcome.hadEntries) return r;
    const bool rejected = r.outcome.stop == roulette::Stop::NotANumber ||
                          r.outcome.stop == roulette::Stop::OutOfRange;
    if (rejected) text = roulette::DeleteWholeEntry(text, r.outcome.rejected);
    // Merge the pairs once more: what a run of three or more spaces left behind, and the
    // double space a deleted entry leaves. A text that had no pair and lost no entry has
    // none to merge.
    r.text = (hadPairs || rejected) ? roulette::MergeSpacePairs(text) : text;
    return r;
}

}  // namespace diagram
