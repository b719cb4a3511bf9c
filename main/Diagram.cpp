#include "main/Diagram.h"

#include "chart/Series.h"

namespace diagram {

Result Build(const QString& list, chart::TChartSeries& series) {
    Result r;
    // Pairs of spaces merged, then one trailing space dropped.
    QString text = walk::StripTrailingChar(walk::MergeSpacePairs(list), u' ');
    r.outcome = walk::Walk(text, [&series](const walk::Point& p) {
        series.AddXY(p.x, p.y, QString(), p.color);
    });
    if (!r.outcome.hadEntries) return r;
    if (r.outcome.stop == walk::Stop::NotANumber || r.outcome.stop == walk::Stop::OutOfRange)
        text = walk::DeleteWholeEntry(text, r.outcome.rejected);
    // Deleting leaves the spaces around the entry; merge the double space this makes.
    r.text = walk::MergeSpacePairs(text);
    return r;
}

}  // namespace diagram
