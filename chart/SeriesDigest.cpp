#include "chart/SeriesDigest.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "chart/AxisPass.h"
#include "chart/Chart.h"
#include "chart/Series.h"

namespace chart {

namespace {

constexpr int kAxes = 6;

// Folds one series' smallest and largest value into a running pair that the first series
// sets.
void Take(TAxisDigest::Extreme& e, double vMin, double vMax) {
    if (std::isnan(vMin) || std::isnan(vMax)) e.HasNaN = true;
    if (!e.Any) {
        e.Any = true;
        e.Min = vMin;
        e.Max = vMax;
        return;
    }
    if (vMin < e.Min) e.Min = vMin;
    if (vMax > e.Max) e.Max = vMax;
}

// `later` follows `earlier` in list order.
void Fold(TAxisDigest::Extreme& earlier, const TAxisDigest::Extreme& later) {
    if (!later.Any) return;
    if (!earlier.Any) {
        earlier = later;
        return;
    }
    earlier.HasNaN = earlier.HasNaN || later.HasNaN;
    if (later.Min < earlier.Min) earlier.Min = later.Min;
    if (later.Max > earlier.Max) earlier.Max = later.Max;
}

void Fold(TAxisDigest& earlier, const TAxisDigest& later) {
    earlier.AnyActiveAssociated = earlier.AnyActiveAssociated || later.AnyActiveAssociated;
    if (!earlier.FirstActiveAssociated) earlier.FirstActiveAssociated = later.FirstActiveAssociated;
    if (!earlier.FirstAssociated) earlier.FirstAssociated = later.FirstAssociated;
    if (earlier.ShownDecision < 0) earlier.ShownDecision = later.ShownDecision;
    if (later.LongestActiveCount > earlier.LongestActiveCount) {
        earlier.LongestActive = later.LongestActive;
        earlier.LongestActiveCount = later.LongestActiveCount;
    }
    if (later.LongestAnyCount > earlier.LongestAnyCount) {
        earlier.LongestAny = later.LongestAny;
        earlier.LongestAnyCount = later.LongestAnyCount;
    }
    Fold(earlier.ActiveValues, later.ActiveValues);
    Fold(earlier.AllValues, later.AllValues);
    earlier.Margins.Left = std::max(earlier.Margins.Left, later.Margins.Left);
    earlier.Margins.Top = std::max(earlier.Margins.Top, later.Margins.Top);
    earlier.Margins.Right = std::max(earlier.Margins.Right, later.Margins.Right);
    earlier.Margins.Bottom = std::max(earlier.Margins.Bottom, later.Margins.Bottom);
    earlier.AnyTextLabels = earlier.AnyTextLabels || later.AnyTextLabels;
    earlier.FewestXPoints = std::min(earlier.FewestXPoints, later.FewestXPoints);
}

// A point or line series of the engine's own, whose visible range follows the rule the
// redraw's shortcut relies on.
bool IsPlainSeries(const TChartSeries& s) {
    const std::type_info& type = typeid(s);
    return (type == typeid(TPointSeries) || type == typeid(TLineSeries)) && s.CalcVisiblePoints() &&
           s.XValues().Order() == loAscending && s.YMandatory() && s.HorizAxis() == aBottomAxis;
}

}  // namespace

// What the axis pass asks of one series, read when the series last changed.
struct TSeriesDigest::Record {
    TChartSeries* series = nullptr;
    bool dirty = false;
    bool active = false;
    bool useAxis = false;
    bool yMandatory = false;
    bool hasLabels = false;
    bool plain = false;
    unsigned associated = 0;  // bit k: associated with axis k
    unsigned onAxis = 0;      // bit k: draws its values along axis k
    int count = 0;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    int left = 0, right = 0, top = 0, bottom = 0;  // pixel margins
    double lastX = 0;
    int horizSize = 0;

    void Read(const TChart& chart) {
        const TChartSeries& s = *series;
        dirty = false;
        active = s.Active();
        useAxis = s.UseAxis();
        yMandatory = s.YMandatory();
        count = s.Count();
        associated = 0;
        onAxis = 0;
        for (int k = 0; k < kAxes; ++k) {
            const TChartAxis& axis = chart.Axis(k);
            if (s.AssociatedToAxis(axis)) associated |= 1u << k;
            if (SeriesOnAxis(s, axis, axis.Horizontal())) onAxis |= 1u << k;
        }
        if (count > 0) {
            minX = s.MinXValue();
            maxX = s.MaxXValue();
            minY = s.MinYValue();
            maxY = s.MaxYValue();
        }
        s.CalcHorizMargins(left, right);
        s.CalcVerticalMargins(top, bottom);
        hasLabels = s.HasPointLabels();
        plain = IsPlainSeries(s);
        lastX = count > 0 ? s.XValues().Last() : 0;
        horizSize = s.Pointer().HorizSize;
    }
};

struct TSeriesDigest::Block {
    bool anyActive = false;
    TAxisDigest axes[kAxes];
    Run run;
    bool needsFold = true;
    bool rangesCleared = false;

    // The block's summary from its records, in list order.
    void Fold(const TChart& chart, const Record* r, int size) {
        anyActive = false;
        for (TAxisDigest& a : axes)
            a = TAxisDigest();
        run.Plain = true;
        run.AnyWithPoints = false;
        run.MaxLastX = 0;
        run.MaxHorizSize = 0;
        for (int i = 0; i < size; ++i, ++r) {
            anyActive = anyActive || r->active;
            for (int k = 0; k < kAxes; ++k) {
                TAxisDigest& a = axes[k];
                const bool horizontal = chart.Axis(k).Horizontal();
                const bool assoc = (r->associated >> k) & 1u;
                if (r->active && a.ShownDecision < 0 && (!r->useAxis || assoc))
                    a.ShownDecision = r->useAxis ? 1 : 0;
                if (assoc) {
                    if (!a.FirstAssociated) a.FirstAssociated = r->series;
                    if (r->count > a.LongestAnyCount) {
                        a.LongestAny = r->series;
                        a.LongestAnyCount = r->count;
                    }
                    if (r->active) {
                        a.AnyActiveAssociated = true;
                        if (!a.FirstActiveAssociated) a.FirstActiveAssociated = r->series;
                        if (r->count > a.LongestActiveCount) {
                            a.LongestActive = r->series;
                            a.LongestActiveCount = r->count;
                        }
                        if (horizontal) {
                            a.Margins.Left = std::max(a.Margins.Left, r->left);
                            a.Margins.Right = std::max(a.Margins.Right, r->right);
                        } else {
                            a.Margins.Top = std::max(a.Margins.Top, r->top);
                            a.Margins.Bottom = std::max(a.Margins.Bottom, r->bottom);
                        }
                        if (horizontal == r->yMandatory) {
                            a.FewestXPoints = std::min(a.FewestXPoints, r->count);
                            if (r->hasLabels) a.AnyTextLabels = true;
                        }
                    }
                }
                if (r->count > 0 && ((r->onAxis >> k) & 1u)) {
                    const double vMin = horizontal ? r->minX : r->minY;
                    const double vMax = horizontal ? r->maxX : r->maxY;
                    Take(a.AllValues, vMin, vMax);
                    if (r->active) Take(a.ActiveValues, vMin, vMax);
                }
            }
            if (r->active && r->count > 0) {
                if (!r->plain || std::isnan(r->lastX)) {
                    run.Plain = false;
                } else {
                    run.MaxLastX = run.AnyWithPoints ? std::max(run.MaxLastX, r->lastX) : r->lastX;
                    run.AnyWithPoints = true;
                    run.MaxHorizSize = std::max(run.MaxHorizSize, r->horizSize);
                }
            }
        }
        needsFold = false;
    }
};

TSeriesDigest::TSeriesDigest() : axes_(kAxes) {}
TSeriesDigest::~TSeriesDigest() = default;

void TSeriesDigest::NoteChanged(int slot) {
    if (slot < 0 || slot >= static_cast<int>(records_.size())) return;
    Record& r = records_[static_cast<size_t>(slot)];
    Block& b = blocks_[static_cast<size_t>(slot / kBlockSize)];
    b.rangesCleared = false;
    if (r.dirty) return;
    r.dirty = true;
    dirty_.push_back(slot);
}

void TSeriesDigest::NoteRangeWritten(int slot) {
    if (slot < 0 || slot >= static_cast<int>(records_.size())) return;
    blocks_[static_cast<size_t>(slot / kBlockSize)].rangesCleared = false;
}

void TSeriesDigest::Update(TChart& chart) {
    const std::vector<TChartSeries*>& list = chart.SeriesList();
    const int n = static_cast<int>(list.size());
    bool changed = false;
    lastRefreshed_ = 0;
    int firstChange = chart.FirstListChange();
    if (chart_ != &chart) {
        firstChange = 0;
        records_.clear();
        blocks_.clear();
        dirty_.clear();
        chart_ = &chart;
        listVersion_ = UINT64_MAX;
    }
    // Series that joined, left or moved (everything from the first list change on): their
    // records are read anew.
    if (listVersion_ != chart.ListVersion()) {
        records_.resize(static_cast<size_t>(n));
        blocks_.resize(static_cast<size_t>((n + kBlockSize - 1) / kBlockSize));
        for (int i = std::min(firstChange, n); i < n; ++i) {
            // Every place from the first change on is read anew: comparing pointers would
            // take a new series at a departed one's address for the departed one.
            Record& r = records_[static_cast<size_t>(i)];
            TChartSeries* s = list[static_cast<size_t>(i)];
            r.series = s;
            s->SetDigestSlot(i);
            if (!r.dirty) {
                r.dirty = true;
                dirty_.push_back(i);
            }
            blocks_[static_cast<size_t>(i / kBlockSize)].rangesCleared = false;
        }
        // The last block may have lost series at its end.
        if (!blocks_.empty()) blocks_.back().needsFold = true;
        listVersion_ = chart.ListVersion();
        chart.ListChangesSeen();
        changed = true;
    }
    for (int slot : dirty_) {
        if (slot >= n) continue;
        Record& r = records_[static_cast<size_t>(slot)];
        if (!r.dirty) continue;
        r.Read(chart);
        blocks_[static_cast<size_t>(slot / kBlockSize)].needsFold = true;
        ++lastRefreshed_;
    }
    dirty_.clear();
    for (size_t b = 0; b < blocks_.size(); ++b) {
        Block& block = blocks_[b];
        const int begin = static_cast<int>(b) * kBlockSize;
        const int end = std::min(n, begin + kBlockSize);
        block.run.Block = static_cast<int>(b);
        block.run.Begin = begin;
        block.run.End = end;
        if (!block.needsFold) continue;
        block.Fold(chart, &records_[static_cast<size_t>(begin)], end - begin);
        changed = true;
    }
    if (changed) Refold();
    runs_.resize(blocks_.size());
    for (size_t b = 0; b < blocks_.size(); ++b)
        runs_[b] = blocks_[b].run;
}

void TSeriesDigest::Refold() {
    anyActive_ = false;
    for (TAxisDigest& a : axes_)
        a = TAxisDigest();
    for (const Block& b : blocks_) {
        anyActive_ = anyActive_ || b.anyActive;
        for (int k = 0; k < kAxes; ++k)
            chart::Fold(axes_[static_cast<size_t>(k)], b.axes[k]);
    }
}

void TSeriesDigest::ClearRanges(const TChart& chart, int block) {
    Block& b = blocks_[static_cast<size_t>(block)];
    if (b.rangesCleared) return;
    const std::vector<TChartSeries*>& list = chart.SeriesList();
    for (int i = b.run.Begin; i < b.run.End; ++i) {
        TChartSeries* s = list[static_cast<size_t>(i)];
        if (s->Active()) s->ResetVisibleRange();
    }
    b.rangesCleared = true;
}

TSeriesDigestScope::TSeriesDigestScope(TChart& chart)
    : chart_(chart), previous_(chart.DigestInForce() != nullptr) {
    chart.Digest().Update(chart);
    chart.SetDigestInForce(true);
}

TSeriesDigestScope::~TSeriesDigestScope() {
    chart_.SetDigestInForce(previous_);
}

}  // namespace chart
