#include "main/Diagram.h"

#include "chart/Series.h"

namespace diagram {

Result Build(const QString& list, chart::TChartSeries& series) {
    Result r;
    // Pairs of spaces merged, then one trailing space dropped.
    bool hadPairs = false;
    QString text = walk::StripTrailingChar(walk::MergeSpacePairs(list, &hadPairs), u' ');
    // One repaint request for the whole walk instead of one per point.
    series.BeginUpdate();
    int added = 0;
    r.outcome = walk::Walk(text, [&series, &added](const walk::Point& p) {
        series.AddXY(p.x, p.y, QString(), p.color);
        ++added;
    });
    series.EndUpdate();
    if (added) series.RepaintIfShown();
    r.walked = text;
    r.points = added;
    if (!r.outcome.hadEntries) return r;
    const bool rejected =
        r.outcome.stop == walk::Stop::NotANumber || r.outcome.stop == walk::Stop::OutOfRange;
    if (rejected) text = walk::DeleteWholeEntry(text, r.outcome.rejected);
    // Merge the pairs once more: what a run of three or more spaces left behind, and the
    // double space a deleted entry leaves. A text that had no pair and lost no entry has
    // none to merge.
    r.text = (hadPairs || rejected) ? walk::MergeSpacePairs(text) : text;
    return r;
}

}  // namespace diagram
