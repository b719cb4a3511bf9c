// The diagram routine's own work, between reading the number list and writing it back:
// normalise the spacing, walk the entries into the point series, and cut out the entry that
// stopped the walk. No widget is touched, so this runs (and is measured) without a window.
#pragma once

#include <QString>

#include "main/Walk.h"

namespace chart {
class TChartSeries;
}

namespace diagram {

struct Result {
    walk::Outcome outcome;
    // The list as it goes back into the box (only meaningful when the outcome had entries).
    QString text;
    // The list as the walk went through it, and the points it drew: the numbers behind the
    // squares (a deleted entry or a merge afterwards may move entries of `text`). Shares
    // the text's storage, so keeping it costs no copy.
    QString walked;
    int points = 0;
};

// Fills `series` (already cleared) with one point per valid number of `list`.
Result Build(const QString& list, chart::TChartSeries& series);

}  // namespace diagram
