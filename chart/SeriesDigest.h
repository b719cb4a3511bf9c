// What a redraw needs to know about the whole series list, kept up to date between redraws
// instead of being gathered from every series again and again. The zero-line series pile
// up by two with every Enter and never change afterwards, so after a long session a redraw
// would otherwise walk tens of thousands of series a dozen times.
//
// Each series in the list has a small record of what the axis pass asks of it; a series
// tells the digest when it changes (TChartSeries::Touch), and only its record is made
// anew. Records are grouped in blocks of consecutive series whose summaries are folded in
// list order. Every fold keeps the list-order rules of the per-series loops it replaces
// ("the first active series", "the first of equal lengths", "the first value sets the
// result"), so the answers are the same; a test compares them on random charts.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "chart/ChartRect.h"

namespace chart {

class TChart;
class TChartSeries;

// One axis' view of the series list (axes in the chart's order, 0 .. 5).
struct TAxisDigest {
    bool AnyActiveAssociated = false;
    // The first associated series that is active, and the first associated one at all.
    TChartSeries* FirstActiveAssociated = nullptr;
    TChartSeries* FirstAssociated = nullptr;
    // Whether the axis shows: decided by the first active series that does not use axes
    // (no) or is associated with the axis (yes); -1 while no series decided.
    int ShownDecision = -1;
    // The most points among associated series, active ones and all; the first wins a tie.
    TChartSeries* LongestActive = nullptr;
    int LongestActiveCount = -1;
    TChartSeries* LongestAny = nullptr;
    int LongestAnyCount = -1;
    // Smallest and largest value along the axis (X on a horizontal axis, Y on a vertical
    // one) over the series with points that draw on it, active ones and all. HasNaN marks
    // a NaN among them, which makes the list order matter: the caller then walks the
    // series itself.
    struct Extreme {
        bool Any = false;
        double Min = 0;
        double Max = 0;
        bool HasNaN = false;
    };
    Extreme ActiveValues;
    Extreme AllValues;
    // The largest pixel margins the active associated series ask for.
    TChartRect Margins;
    // An active associated series for which this is the X axis and that has point labels.
    bool AnyTextLabels = false;
    // The fewest points of an active associated series for which this is the X axis.
    int FewestXPoints = INT32_MAX;
};

class TSeriesDigest {
public:
    static constexpr int kBlockSize = 128;

    TSeriesDigest();
    ~TSeriesDigest();
    TSeriesDigest(const TSeriesDigest&) = delete;
    TSeriesDigest& operator=(const TSeriesDigest&) = delete;

    // Brings the digest up to date with `chart`'s series list.
    void Update(TChart& chart);

    bool AnyActive() const { return anyActive_; }
    const TAxisDigest& Axis(int index) const { return axes_[static_cast<size_t>(index)]; }

    // A block of consecutive series that a redraw may pass over together. Plain: every
    // active one with points is a point or line series of the engine's own on the bottom
    // axis, cut to the window, with ascending X; MaxLastX and MaxHorizSize bound where their
    // last points lie.
    struct Run {
        int Block = 0;
        int Begin = 0;
        int End = 0;
        bool Plain = false;
        bool AnyWithPoints = false;
        double MaxLastX = 0;
        int MaxHorizSize = 0;
    };
    const std::vector<Run>& Runs() const { return runs_; }
    // Gives every active series of block `block` the empty visible range; nothing to do when
    // the last redraw did so and no series of the block changed or had its range written.
    void ClearRanges(const TChart& chart, int block);

    // Called by a series in the list (through its slot) when its points or settings
    // changed, or when its visible range was written.
    void NoteChanged(int slot);
    void NoteRangeWritten(int slot);

    // Series whose record the last Update made anew (tests and benchmarks look at it).
    int LastRefreshed() const { return lastRefreshed_; }

private:
    struct Record;
    struct Block;

    void Refold();

    std::vector<Record> records_;
    std::vector<Block> blocks_;
    std::vector<Run> runs_;
    std::vector<int> dirty_;
    std::vector<TAxisDigest> axes_;
    bool anyActive_ = false;
    uint64_t listVersion_ = UINT64_MAX;
    const TChart* chart_ = nullptr;
    int lastRefreshed_ = 0;
};

// Puts the chart's digest in force for a redraw: while it lives, the axis pass and label
// code answer from the digest instead of walking the series list.
class TSeriesDigestScope {
public:
    explicit TSeriesDigestScope(TChart& chart);
    ~TSeriesDigestScope();
    TSeriesDigestScope(const TSeriesDigestScope&) = delete;
    TSeriesDigestScope& operator=(const TSeriesDigestScope&) = delete;

private:
    TChart& chart_;
    bool previous_;
};

}  // namespace chart
