// The diagram routine's own work, between reading the number list and writing it back:
// normalise the spacing, walk the entries into the point series, and cut out the entry that
// stopped the walk. No widget is touched, so this runs (and is measured) without a window.
#pragma once

#include <QString>

#include "roulette/Walk.h"

namespace chart {
class TChartSeries;
}

namespace diagram {

struct Result {
    roulette::Outcome outcome;
    // The list as it goes back into the box (only meaningful when the outcome had entries).
    QString text;
    // How many points the walk drew.
    int points = 0;
};

// Fills `series` (already cleared) with one point per valid number of `list`, and `record`
// with the numbers behind them.
Result Build(const QString& list, chart::TChartSeries& series, roulette::SpinRecord& record);

}  // namespace diagram
