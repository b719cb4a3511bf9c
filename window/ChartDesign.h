// The even/odd chart's design as the window stores it: its title, the manual bottom axis
// that the diagram routine moves, the right axis kept down to zero, 300 points a page, the
// walk series as the first series and the colours of its squares. Free of widgets, so tests and
// benchmarks set a bare chart up exactly as the window does.
#pragma once

#include <QString>
#include <cstdint>

namespace chart {
class TChart;
class TChartSeries;
}  // namespace chart

namespace diagram {

// The squares' colours (0x00BBGGRR): green for an even number, blue for an odd one.
constexpr uint32_t kEvenColor = 0x008000;
constexpr uint32_t kOddColor = 0xFF0000;

// The chart's title.
const QString& Title();

// Applies the design to `chart` as a load (no range checks, no flag coupling) and makes
// `walk` the chart's series.
void ApplyDesign(chart::TChart& chart, chart::TChartSeries& walk);

}  // namespace diagram
