// Test helpers for the chart engine: a measurer with exact sizes, a chart set up as the
// window sets its chart up (title, manual bottom axis, 300 points per page) with the walk
// series and zero lines, the axis pass without a painter, and a scoped locale.
#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <vector>

#include "chart/AxisPass.h"
#include "chart/Chart.h"
#include "chart/Series.h"
#include "chart/TextMeasurer.h"
#include "platform/core/Locale.h"
#include "window/ChartDesign.h"

namespace chart_test {

// Every text is `width` pixels wide (or what `widthOf` says), every line `height` high.
class FixedMeasurer : public chart::TTextMeasurer {
public:
    FixedMeasurer(int width, int height) : width_(width), height_(height) {}
    std::function<int(const QFont&, const QString&)> widthOf;

    int TextWidth(const QFont& font, const QString& text) const override {
        return widthOf ? widthOf(font, text) : width_;
    }
    int TextHeight(const QFont&) const override { return height_; }

private:
    int width_;
    int height_;
};

// Decimal comma and a non-breaking space between thousands while it lives.
class CommaLocale {
public:
    CommaLocale() : saved_(platform::Formats()) {
        platform::Formats().decimalSeparator = QStringLiteral(",");
        platform::Formats().thousandSeparator = QString(QChar(0x00A0));
    }
    ~CommaLocale() { platform::Formats() = saved_; }

private:
    platform::FormatSettings saved_;
};

// The program's chart: Series1 (points, first in the list), zero lines added on demand.
class ProgramChart {
public:
    ProgramChart() {
        walk = new chart::TPointSeries(&chart);  // owned by the chart
        diagram::ApplyDesign(chart, *walk);
    }

    // Points at X = 0, 1, 2, ... with the given Y values.
    void AddPoints(const std::vector<double>& ys) {
        for (double y : ys)
            walk->AddXY(walk->Count(), y);
    }
    // A walk of unit steps from 0 down to `lo`, then up to `hi`.
    void AddWalkBetween(int lo, int hi) {
        int y = 0;
        while (y > lo)
            walk->AddXY(walk->Count(), --y);
        while (y < hi)
            walk->AddXY(walk->Count(), ++y);
    }
    chart::TLineSeries* AddZeroLine(double maximum) {
        auto* line = new chart::TLineSeries(&chart);  // owned by the chart
        line->AddXY(0, 0);
        line->AddXY(maximum, 0);
        chart.AddSeries(line);
        return line;
    }

    // The axis pass on a plot rectangle that the layout is taken to have produced
    // already: steps 2-3, no space taken, then the recompute and the margins.
    void Pass(const chart::TChartRect& plot) {
        chart.SetChartRect(plot);
        chart::AxisPassBeforeLayout(chart);
        chart::AxisPassAfterLayout(chart);
    }

    chart::TChart chart;
    chart::TPointSeries* walk;
};

// A plot rectangle `width` x `height` pixels at an arbitrary offset.
inline chart::TChartRect Plot(int width, int height) {
    return chart::TChartRect{60, 50, 60 + width, 50 + height};
}

}  // namespace chart_test
