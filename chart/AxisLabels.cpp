// TChartAxis: label style, label step, label texts and sizes, the label items with their
// ticks, minor ticks and grid lines.
#include <algorithm>
#include <cmath>

#include "chart/Axis.h"
#include "chart/Chart.h"
#include "chart/LabelStep.h"
#include "chart/LabelText.h"
#include "chart/Rounding.h"
#include "chart/Series.h"
#include "chart/SeriesDigest.h"
#include "chart/TextMeasurer.h"
#include "platform/core/Locale.h"

#include <cstring>

namespace chart {

namespace {

constexpr double kSmallestStep = 1e-12;
constexpr double kMaxLabelSteps = 10000;  // more steps than this in the range: no labels
constexpr int kMaxMeasuredLabels = 5000;  // MaxLabelsWidth measures at most this many
constexpr double kStepQuotientLimit = 2147483647.0;

}  // namespace

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
    if (LabelStyle != talAuto) return LabelStyle;
    if (const TSeriesDigest* d = FChart->DigestInForce()) {
        const TAxisDigest& a = d->Axis(static_cast<int>(FKind));
        return a.AnyTextLabels ? talText : a.AnyActiveAssociated ? talValue : talNone;
    }
    bool anyActive = false;
    for (const TChartSeries* s : FChart->SeriesList()) {
        if (!s->Active() || !s->AssociatedToAxis(*this)) continue;
        anyActive = true;
        const bool isXAxisOfSeries = FHorizontal == s->YMandatory();
        if (isXAxisOfSeries && s->HasPointLabels()) return talText;
    }
    return anyActive ? talValue : talNone;
}

bool TChartAxis::HasXSeriesWithAtMost(int points) const {
    if (const TSeriesDigest* d = FChart->DigestInForce())
        return d->Axis(static_cast<int>(FKind)).FewestXPoints <= points;
    for (const TChartSeries* s : FChart->SeriesList()) {
        if (!s->Active() || !s->AssociatedToAxis(*this)) continue;
        if (FHorizontal == s->YMandatory() && s->Count() <= points) return true;
    }
    return false;
}

double TChartAxis::CalcIncrement(const TTextMeasurer& measurer) const {
    const double lo = IMinimum;
    const double hi = IMaximum;
    // A middle sample that shows decimals (unless it is 0): 50 becomes 25, then 12.5.
    double mid = (lo + hi) * 0.5;
    if (std::isinf(mid)) mid = 0;
    while (!std::isnan(mid) && mid != 0 && mid == std::trunc(mid))
        mid *= 0.5;
    auto size = [&](double v) {
        return FHorizontal ? LabelWidth(measurer, v) : LabelHeight(measurer, v);
    };
    return CalcXYIncrement(std::max({size(mid), size(lo), size(hi)}));
}

double TChartAxis::CalcXYIncrement(int maxLabelSize) const {
    int n = 1;
    if (maxLabelSize > 0 && IAxisSize > 0) {
        if (LabelsSeparation > 0)
            maxLabelSize += RoundToInt(LabelsSeparation * 0.01 * maxLabelSize);
        n = RoundToInt(static_cast<double>(IAxisSize) / maxLabelSize);
    }
    return CalcLabelsIncrement(n);
}

double TChartAxis::CalcLabelsIncrement(int maxLabels) const {
    if (maxLabels < 1) return kSmallestStep;
    double step;
    if (FDesiredIncrement > 0) {
        step = FDesiredIncrement;
    } else if (IRangeZero) {
        step = 1;
    } else {
        step = std::fabs(IRange) / (maxLabels + 1.0);
        // Labels between the points of a short X series would be meaningless fractions.
        if (IRange >= 1.1 && HasXSeriesWithAtMost(maxLabels)) step = std::max(step, 1.0);
    }
    auto grow = [this](double s) { return FDesiredIncrement > 0 ? s * 2 : NextLabelStep(s); };
    if (step != 0) {
        double k = maxLabels + 1.0;
        for (;;) {
            const double q = IRange / step;
            if (std::fabs(q) < kStepQuotientLimit) {
                k = RoundHalfEven(q);
                if (k > maxLabels) step = grow(step);
            } else {
                step = grow(step);
            }
            if (k <= maxLabels || step > IRange || std::isinf(step)) break;
        }
    }
    if (std::isinf(step)) return IRange;
    return std::max(step, kSmallestStep);
}

QString TChartAxis::LabelValue(double value) const {
    // The same values come back on every paint: their texts are kept (a few hundred at
    // most before the list starts afresh).
    const platform::FormatSettings& f = platform::Formats();
    if (f.decimalSeparator != labelDecimal_ || f.thousandSeparator != labelThousands_) {
        labelTexts_.clear();
        labelDecimal_ = f.decimalSeparator;
        labelThousands_ = f.thousandSeparator;
    }
    quint64 key;
    std::memcpy(&key, &value, sizeof key);
    const auto it = labelTexts_.constFind(key);
    if (it != labelTexts_.constEnd()) return *it;
    if (labelTexts_.size() >= kMaxKeptLabelTexts) labelTexts_.clear();
    return *labelTexts_.insert(key, FormatAxisValue(value));
}

int TChartAxis::LabelWidth(const TTextMeasurer& measurer, double value) const {
    return measurer.TextWidth(LabelsFont, LabelValue(value));
}

int TChartAxis::LabelHeight(const TTextMeasurer& measurer, double /*value*/) const {
    return measurer.TextHeight(LabelsFont);  // labels here have one line
}

int TChartAxis::MaxLabelsWidth(const TTextMeasurer& measurer) const {
    const double inc = CalcIncrement(measurer);
    double lo = IMinimum;
    double hi = IMaximum;
    if (RoundFirstLabel && inc != 0) {
        lo = std::trunc(IMinimum / inc) * inc;
        hi = std::trunc(IMaximum / inc) * inc;
    }
    int widest = 0;
    if (inc != 0) {
        double v = hi;
        for (int i = 0; i < kMaxMeasuredLabels && v >= lo; ++i, v -= inc)
            widest = std::max(widest, LabelWidth(measurer, v));
    } else {
        widest = std::max(LabelWidth(measurer, lo), LabelWidth(measurer, hi));
    }
    return widest + measurer.TextWidth(LabelsFont, QStringLiteral(" "));
}

int TChartAxis::LabelsSpace(const TTextMeasurer& measurer) const {
    return FHorizontal ? LabelHeight(measurer, IMaximum) : MaxLabelsWidth(measurer);
}

void TChartAxis::GenerateLabels(const TTextMeasurer& measurer) {
    Items.clear();
    Ticks.clear();
    if (CalcLabelStyle() == talValue) AddValueLabels(measurer);
    CalcMinorTicks();
    CalcGridTicks();
}

void TChartAxis::AddValueLabels(const TTextMeasurer& measurer) {
    Items.clear();
    Ticks.clear();
    const double inc = CalcIncrement(measurer);
    if (inc <= 0 || IMinimum > IMaximum) return;
    if (std::fabs(IRange / inc) >= kMaxLabelSteps) return;

    const bool flat = SameWithin(IMinimum, IMaximum, 1e-12);
    double v = (flat || !RoundFirstLabel) ? IMaximum : std::trunc(IMaximum / inc) * inc;
    while (IMaximum < v) {
        const double old = v;
        v -= inc;
        if (SameWithin(v, old, 1e-12)) break;
    }
    if (IRangeZero || flat || SameWithin(v, v - inc, 1e-16)) {
        AddOneLabel(v);
        return;
    }
    // A little below a non-negative minimum, so that a label right at it is not lost to
    // rounding.
    const double low = IMinimum >= 0 ? (IMinimum - 1e-12) / (1 + 1e-12) : IMinimum;
    while (v >= low) {
        AddOneLabel(v);
        const double old = v;
        v -= inc;
        if (SameWithin(v, old, 1e-12)) break;
    }
}

void TChartAxis::AddOneLabel(double value) {
    const int pos = CalcPosValue(value);
    if (!TickOnLabelsOnly) Ticks.push_back(pos);
    if (!LabelsOnAxis && !(IStartPos < pos && pos < IEndPos)) return;
    if (TickOnLabelsOnly && (Labels || (Grid.Visible && Grid.DrawAlways))) Ticks.push_back(pos);
    if (Labels) Items.push_back(TAxisLabelItem{value, LabelValue(value), pos});
}

void TChartAxis::CalcMinorTicks() {
    MinorTicks.clear();
    const size_t m = Ticks.size();
    if (m < 2 || MinorTickCount <= 0) return;
    const double parts = MinorTickCount + 1.0;
    auto add = [this](int pos) {
        if (IStartPos < pos && pos < IEndPos) MinorTicks.push_back(pos);
    };
    // Beyond the first and the last major tick, spaced like the first two.
    const double d = (Ticks[1] - Ticks[0]) / parts;
    for (int j = 1; j <= MinorTickCount; ++j)
        add(Ticks[0] - RoundToInt(j * d));
    for (int j = 1; j <= MinorTickCount; ++j)
        add(Ticks[m - 1] + RoundToInt(j * d));
    // Between every two neighbours.
    for (size_t i = 1; i < m; ++i) {
        const double di = (Ticks[i] - Ticks[i - 1]) / parts;
        for (int j = 1; j <= MinorTickCount; ++j)
            add(Ticks[i] - RoundToInt(j * di));
    }
}

void TChartAxis::CalcGridTicks() {
    GridTicks.clear();
    if (!Grid.Visible) return;
    const size_t every = static_cast<size_t>(std::max(1, Grid.DrawEvery));
    for (size_t i = 0; i < Ticks.size(); i += every)
        if (IStartPos < Ticks[i] && Ticks[i] < IEndPos) GridTicks.push_back(Ticks[i]);
}

bool TChartAxis::IsLabelInRange(const TAxisLabelItem& item) const {
    return (IMinimum <= item.Value && item.Value <= IMaximum) ||
           SameWithin(item.Value, IMinimum, 1e-12);
}

}  // namespace chart
