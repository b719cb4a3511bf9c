// The series digest gives the axis pass and the label code the same answers as walking the
// series list, also as series join, leave, change and go inactive between redraws; and a
// redraw that passes over runs of series left of the window leaves every series with the
// visible range it would have computed itself.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "chart/AxisPass.h"
#include "chart/Chart.h"
#include "chart/ChartPainter.h"
#include "chart/Series.h"
#include "chart/SeriesDigest.h"
#include "tests/chart/PaintFixture.h"

using namespace chart;

namespace {

// Every answer the digest stands in for, for every axis, as one text to compare.
std::string Answers(TChart& chart) {
    std::ostringstream out;
    for (int k = 0; k < chart.AxisCount(); ++k) {
        const TChartAxis& axis = chart.Axis(k);
        const bool x = axis.Horizontal();
        out << "axis " << k << ": shown " << IsAxisShown(chart, axis) << " series "
            << GetAxisSeries(chart, axis) << " min " << AxisSeriesMinMax(chart, axis, true, x)
            << " max " << AxisSeriesMinMax(chart, axis, false, x);
        const TChartRect m = AxisSeriesMargins(chart, axis);
        out << " margins " << m.Left << ',' << m.Top << ',' << m.Right << ',' << m.Bottom
            << " style " << axis.CalcLabelStyle();
        for (int n : {0, 1, 2, 5, 40})
            out << " atmost" << n << ' ' << axis.HasXSeriesWithAtMost(n);
        out << '\n';
    }
    return out.str();
}

std::string DigestAnswers(TChart& chart) {
    TSeriesDigestScope scope(chart);
    return Answers(chart);
}

class Chaos {
public:
    explicit Chaos(unsigned seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double Value() {
        if (Int(0, 60) == 0) return std::numeric_limits<double>::quiet_NaN();
        return Int(-50, 50) * 0.5;
    }

    TChartSeries* NewSeries(TChart& chart) {
        TChartSeries* s = Int(0, 1) ? static_cast<TChartSeries*>(new TPointSeries(&chart))
                                    : static_cast<TChartSeries*>(new TLineSeries(&chart));
        const int points = Int(0, 6);
        for (int i = 0; i < points; ++i)
            s->AddXY(Value(), Value(), Int(0, 15) == 0 ? QStringLiteral("label") : QString());
        if (Int(0, 5) == 0) s->SetActive(false);
        if (Int(0, 8) == 0) s->Pointer().HorizSize = Int(1, 9);
        if (Int(0, 8) == 0) s->LinePen().Width = Int(1, 5);
        return s;
    }

    // One random change of the kind a running program makes.
    void Change(TChart& chart) {
        const int n = chart.SeriesCount();
        switch (n == 0 ? 0 : Int(0, 6)) {
            case 0:
            case 1:
                chart.AddSeries(NewSeries(chart));
                break;
            case 2:
                chart.Series(Int(0, n - 1))->AddXY(Value(), Value());
                break;
            case 3:
                chart.Series(Int(0, n - 1))->Clear();
                break;
            case 4: {
                TChartSeries* s = chart.Series(Int(0, n - 1));
                s->SetActive(!s->Active());
                break;
            }
            case 5:
                delete chart.Series(Int(0, n - 1));  // leaves the list
                break;
            default:
                chart.Series(Int(0, n - 1))->Pointer().VertSize = Int(0, 9);
                break;
        }
    }

private:
    std::mt19937 rng_;
};

TEST(SeriesDigest, AnswersAsTheSeriesListDoesThroughAnyChanges) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Chaos chaos(seed);
        TChart chart;
        if (seed % 3 == 0) chart.Pages().SetMaxPointsPerPage(chaos.Int(1, 4));
        if (seed % 6 == 0) chart.Pages().SetAutoScale(true);
        if (seed % 5 == 0) chart.RightAxis().SetAutomaticMinimum(false);
        const int initial = chaos.Int(0, 300);  // a few blocks of series
        for (int i = 0; i < initial; ++i)
            chart.AddSeries(chaos.NewSeries(chart));
        for (int round = 0; round < 25; ++round) {
            ASSERT_EQ(DigestAnswers(chart), Answers(chart))
                << "seed " << seed << " round " << round;
            const int changes = chaos.Int(1, 6);
            for (int c = 0; c < changes; ++c)
                chaos.Change(chart);
        }
    }
}

TEST(SeriesDigest, RereadsOnlyTheSeriesThatChanged) {
    TChart chart;
    auto* walk = new TPointSeries(&chart);
    chart.AddSeries(walk);
    for (int i = 0; i < 1000; ++i) {
        auto* line = new TLineSeries(&chart);
        line->AddXY(0, 0);
        line->AddXY(i, 0);
        chart.AddSeries(line);
    }
    chart.Digest().Update(chart);
    EXPECT_EQ(chart.Digest().LastRefreshed(), 1001);
    chart.Digest().Update(chart);
    EXPECT_EQ(chart.Digest().LastRefreshed(), 0);
    walk->AddXY(1, 1);
    auto* line = new TLineSeries(&chart);
    line->AddXY(0, 0);
    chart.AddSeries(line);
    chart.Digest().Update(chart);
    EXPECT_EQ(chart.Digest().LastRefreshed(), 2);
    EXPECT_EQ(DigestAnswers(chart), Answers(chart));
}

// Visible ranges of every series, as the last redraw left them.
std::vector<std::pair<int, int>> Ranges(const TChart& chart) {
    std::vector<std::pair<int, int>> out;
    for (const TChartSeries* s : chart.SeriesList())
        out.emplace_back(s->FirstValueIndex(), s->LastValueIndex());
    return out;
}

TEST(SeriesDigest, ARedrawPassingOverOldZeroLinesLeavesTheRangesEachSeriesWouldFind) {
    TChart chart;
    auto* walk = new TPointSeries(&chart);  // owned by the chart
    chart_test::SetUpProgramChart(chart, walk);
    auto addLine = [&](double maximum) {
        auto* line = new TLineSeries(&chart);  // owned by the chart
        line->AddXY(0, 0);
        line->AddXY(maximum, 0);
        chart.AddSeries(line);
    };
    TChartPainter painter;
    QImage image(1021, 431, QImage::Format_RGB32);
    // A session of 1500 Enters, with views that move forward, jump back and forward again.
    for (int x = 0; x < 1500; ++x) {
        walk->AddXY(x, (x % 7) - 3, QString(), x % 2 ? 0xFF0000 : 0x008000);
        addLine(100);
        addLine(x + 200);
    }
    for (double left : {1399.0, 500.0, -150.0, 1399.0, 1398.0, 3000.0, -400.0}) {
        chart.BottomAxis().SetMinMax(left, left + 300);
        painter.Draw(chart, image, image.size());
        const auto drawn = Ranges(chart);
        for (TChartSeries* s : chart.SeriesList())
            s->CalcFirstLastVisibleIndex();
        EXPECT_EQ(drawn, Ranges(chart)) << "window from " << left;
    }
}

}  // namespace
