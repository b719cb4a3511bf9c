// The chart data model: value lists, series, colours, axis ranges, page settings, repaint
// requests and ownership.
#include <gtest/gtest.h>

#include <QPointer>
#include <cmath>
#include <limits>
#include <memory>

#include "chart/Chart.h"
#include "chart/Exceptions.h"
#include "chart/Series.h"

using namespace chart;

namespace {

std::vector<double> Values(const TChartValueList& list) {
    return std::vector<double>(list.Data(), list.Data() + list.Count());
}

TEST(ValueList, AddOrderedKeepsEachOrderAndPutsEqualValuesLast) {
    TChartValueList up(nullptr, "X", loAscending);
    EXPECT_EQ(up.AddOrdered(1), 0);
    EXPECT_EQ(up.AddOrdered(3), 1);
    EXPECT_EQ(up.AddOrdered(2), 1);
    EXPECT_EQ(up.AddOrdered(2), 2);  // after the equal one
    EXPECT_EQ(up.AddOrdered(0), 0);
    EXPECT_EQ(Values(up), (std::vector<double>{0, 1, 2, 2, 3}));

    TChartValueList down(nullptr, "X", loDescending);
    for (double v : {5.0, 1.0, 3.0, 5.0, 6.0}) down.AddOrdered(v);
    EXPECT_EQ(Values(down), (std::vector<double>{6, 5, 5, 3, 1}));

    TChartValueList none(nullptr, "Y", loNone);
    for (double v : {5.0, 1.0, 3.0}) none.AddOrdered(v);
    EXPECT_EQ(Values(none), (std::vector<double>{5, 1, 3}));
    EXPECT_EQ(none.TempValue, 3);
    EXPECT_TRUE(none.Modified());
}

TEST(ValueList, ANaNIsAppendedWhateverTheOrder) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TChartValueList up(nullptr, "X", loAscending);
    up.AddOrdered(5);
    EXPECT_EQ(up.AddOrdered(nan), 1);
    TChartValueList down(nullptr, "X", loDescending);
    down.AddOrdered(5);
    EXPECT_EQ(down.AddOrdered(nan), 1);
}

TEST(ValueList, StorageGrowsInStepsOfOneThousandAndClearReleasesIt) {
    TChartValueList list(nullptr, "X", loAscending);
    EXPECT_EQ(list.Capacity(), 0);
    list.AddOrdered(0);
    EXPECT_EQ(list.Capacity(), 1000);
    for (int i = 1; i < 1000; ++i) list.AddOrdered(i);
    EXPECT_EQ(list.Capacity(), 1000);
    list.AddOrdered(1000);
    EXPECT_EQ(list.Capacity(), 2000);
    list.InsertValue(0, -1);  // an insert grows the same way
    EXPECT_EQ(list.Count(), 1002);
    EXPECT_EQ(list.First(), -1);
    EXPECT_EQ(list.Last(), 1000);
    list.ClearValues();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_THROW(list.Last(), ChartException);
    EXPECT_THROW(list.First(), ChartException);
}

TEST(ValueList, LongListsKeepEveryValueAcrossStorageMoves) {
    // Long lists move from the heap into a mapping of their own and grow there.
    TChartValueList list(nullptr, "X", loAscending);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 150000; ++i) list.AddOrdered(i * 0.5);
        EXPECT_EQ(list.Capacity(), 150000);
        list.InsertValue(0, -1);  // an insert in front moves them all up
        EXPECT_EQ(list.Capacity(), 151000);
        bool intact = list.Value(0) == -1;
        for (int i = 0; i < 150000; ++i) intact = intact && list.Value(i + 1) == i * 0.5;
        EXPECT_TRUE(intact) << "round " << round;
        list.ClearValues();
    }
}

TEST(ValueList, MinAndMaxFollowAddsInsertsAndDeletes) {
    TChartValueList list(nullptr, "Y", loNone);
    EXPECT_EQ(list.MinValue(), 0);
    for (double v : {3.0, -2.0, 7.0}) list.AddOrdered(v);
    EXPECT_EQ(list.MinValue(), -2);
    EXPECT_EQ(list.MaxValue(), 7);
    list.Delete(2);
    EXPECT_EQ(list.MaxValue(), 3);
    list.InsertValue(0, 9);
    EXPECT_EQ(list.MaxValue(), 9);
}

TEST(Series, AddXYInsertsBeforeTheFirstLargerXWithItsYAndColour) {
    TChart chart;
    auto* s = new TPointSeries(&chart);
    chart.AddSeries(s);
    s->AddXY(0, 10, QString(), clGreen);
    s->AddXY(2, 20, QString(), clBlue);
    s->AddXY(2, 25);  // equal X goes after the equal one, with the series colour
    EXPECT_EQ(s->AddXY(1, 15, QString(), clRed), 1);
    EXPECT_EQ(Values(s->XValues()), (std::vector<double>{0, 1, 2, 2}));
    EXPECT_EQ(Values(s->YValues()), (std::vector<double>{10, 15, 20, 25}));
    EXPECT_EQ(s->ValueColor(0), clGreen);
    EXPECT_EQ(s->ValueColor(1), clRed);
    EXPECT_EQ(s->ValueColor(2), clBlue);
    EXPECT_EQ(s->ValueColor(3), s->SeriesColor());
}

TEST(Series, EveryPointKeepsItsOwnColourInALongSeries) {
    TChart chart;
    auto* s = new TPointSeries(&chart);
    s->AddXY(0, 0);  // before the colour list exists
    for (int i = 1; i < 40000; ++i) s->AddXY(i, 0, QString(), i % 3 == 0 ? clGreen : clBlue);
    s->AddXY(0.5, 0, QString(), clRed);  // inserted at index 1
    bool ok = s->ValueColor(0) == s->SeriesColor() && s->ValueColor(1) == clRed;
    for (int i = 1; i < 40000; ++i) ok = ok && s->ValueColor(i + 1) == (i % 3 == 0 ? clGreen : clBlue);
    EXPECT_TRUE(ok);
}

TEST(Series, AZeroLineBuiltWithANegativeMaximumIsStillAscending) {
    TChart chart;
    auto* line = new TLineSeries(&chart);
    line->AddXY(0, 0);
    EXPECT_EQ(line->AddXY(-40, 0), 0);
    EXPECT_EQ(Values(line->XValues()), (std::vector<double>{-40, 0}));
}

TEST(Series, PointsWithoutOwnColoursMakeNoColourListAndNoLabels) {
    TChart chart;
    auto* line = new TLineSeries(&chart);
    line->AddXY(0, 0);
    line->AddXY(100, 0);
    chart.AddSeries(line);
    EXPECT_FALSE(line->HasColorList());
    EXPECT_EQ(line->LabelCount(), 0);
    EXPECT_EQ(line->ValueColor(1), line->SeriesColor());
    line->AddXY(150, 0, QStringLiteral("a"));
    EXPECT_EQ(line->LabelCount(), 3);
    EXPECT_EQ(line->Label(2), "a");
    EXPECT_EQ(line->Label(0), "");
}

TEST(Series, ClearEmptiesPointsColoursAndVisibleRangeButKeepsTheSeriesColour) {
    TChart chart;
    auto* s = new TPointSeries(&chart);
    chart.AddSeries(s);
    const TColor colour = s->SeriesColor();
    s->AddXY(0, 1, QString(), clGreen);
    ASSERT_TRUE(s->HasColorList());
    s->Clear();
    EXPECT_EQ(s->Count(), 0);
    EXPECT_FALSE(s->HasColorList());
    EXPECT_THROW(s->XValues().Last(), ChartException);
    EXPECT_EQ(s->FirstValueIndex(), -1);
    EXPECT_EQ(s->SeriesColor(), colour);
    s->AddXY(0, 1, QString(), clBlue);
    EXPECT_TRUE(s->HasColorList());
    EXPECT_EQ(s->ValueColor(0), clBlue);
}

TEST(Colours, SeriesTakeFreePaletteEntriesInOrderAndWrapAfterTwelve) {
    TChart chart;
    auto* first = new TPointSeries(&chart);
    chart.AddSeries(first);
    EXPECT_EQ(first->SeriesColor(), 0xA36644u);
    const TColor expected[] = {0x359CF3, 0x144CF1, 0xA8974E, 0x6B402B, 0x637B1D, 0x0E08B3,
                               0x5DC0F2, 0x9EB75D, 0x707070, 0x8DEAF3, 0xB4B4B4, 0xA36644,
                               0x359CF3, 0x144CF1};
    for (TColor colour : expected) {
        auto* line = new TLineSeries(&chart);
        chart.AddSeries(line);
        EXPECT_EQ(line->SeriesColor(), colour) << "zero line " << chart.SeriesCount() - 1;
    }
    // Adding a series again to its own chart changes nothing.
    const long before = chart.RepaintRequests();
    chart.AddSeries(first);
    EXPECT_EQ(chart.SeriesCount(), 15);
    EXPECT_EQ(first->SeriesColor(), 0xA36644u);
    EXPECT_EQ(chart.RepaintRequests(), before);
}

TEST(Colours, ASeriesWithItsOwnColourKeepsIt) {
    TChart chart;
    auto* s = new TLineSeries(&chart);
    s->SetSeriesColor(0x123456);
    chart.AddSeries(s);
    EXPECT_EQ(s->SeriesColor(), 0x123456u);
    EXPECT_FALSE(chart.IsFreeSeriesColor(0x123456, false, nullptr));
    EXPECT_TRUE(chart.IsFreeSeriesColor(0x123456, false, s));
    EXPECT_FALSE(chart.IsFreeSeriesColor(clSilver, true, nullptr));  // the back wall's colour
}

TEST(AxisRange, SettersRefuseCrossedValuesAndLeaveTheAxisUnchanged) {
    TChart chart;
    TChartAxis& axis = chart.BottomAxis();
    axis.SetMinMax(60, 100);
    try {
        axis.SetMaximum(50);
        FAIL() << "no exception";
    } catch (const AxisException& e) {
        EXPECT_EQ(e.message(), "Axis Maximum Value must be >= Minimum");
    }
    try {
        axis.SetMinimum(101);
        FAIL() << "no exception";
    } catch (const AxisException& e) {
        EXPECT_EQ(e.message(), "Axis Minimum Value must be <= Maximum");
    }
    EXPECT_THROW(axis.SetMinimum(std::nan("")), AxisException);
    EXPECT_EQ(axis.Minimum(), 60);
    EXPECT_EQ(axis.Maximum(), 100);
    axis.SetMaximum(60);  // equal ends are accepted
    EXPECT_EQ(axis.Maximum(), 60);
}

TEST(AxisRange, SetMinMaxSwapsWidensAndTurnsTheAxisManual) {
    struct Case {
        double a, b, min, max;
    } cases[] = {
        {5, 3, 3, 5},
        {7, 7, 7 - 1e-10, 7 + 1e-10},
        {1 - 100, 1 + 200, -99, 201},
        {-5, -10, -10, -5},
    };
    for (const Case& c : cases) {
        TChart chart;
        TChartAxis& axis = chart.LeftAxis();
        ASSERT_TRUE(axis.Automatic());
        axis.SetMinMax(c.a, c.b);
        EXPECT_DOUBLE_EQ(axis.Minimum(), c.min);
        EXPECT_DOUBLE_EQ(axis.Maximum(), c.max);
        EXPECT_FALSE(axis.Automatic());
        EXPECT_FALSE(axis.AutomaticMinimum());
        EXPECT_FALSE(axis.AutomaticMaximum());
    }
}

TEST(AxisRange, OnlyAChangedValueAsksForARepaint) {
    TChart chart;
    TChartAxis& axis = chart.BottomAxis();
    axis.SetMinMax(0, 100);
    long requests = chart.RepaintRequests();
    axis.SetMaximum(100);
    axis.SetMinimum(0);
    axis.SetMinMax(0, 100);
    EXPECT_EQ(chart.RepaintRequests(), requests);
    axis.SetMaximum(50);
    EXPECT_EQ(chart.RepaintRequests(), requests + 1);
    axis.SetMinMax(-50, 60);  // both ends change: two requests
    EXPECT_EQ(chart.RepaintRequests(), requests + 3);
}

TEST(AxisRange, LoadingSkipsTheChecksAndTheAutomaticCoupling) {
    TChart chart;
    TChartAxis& axis = chart.BottomAxis();
    chart.SetLoading(true);
    axis.SetAutomatic(false);
    EXPECT_TRUE(axis.AutomaticMinimum());
    axis.SetMaximum(-5);  // below the minimum 0: accepted while loading
    chart.SetLoading(false);
    EXPECT_EQ(axis.Maximum(), -5);
    EXPECT_THROW(axis.SetMaximum(-6), AxisException);
}

TEST(AxisFlags, AutomaticAndItsEndsAreCoupledAtRunTime) {
    TChart chart;
    TChartAxis& axis = chart.RightAxis();
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    axis.SetAutomaticMinimum(true);
    EXPECT_TRUE(axis.Automatic());
    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    axis.SetAutomaticMaximum(true);
    EXPECT_FALSE(axis.Automatic());  // the other end is still manual
}

TEST(Pages, NegativePointsPerPageIsRefusedAndCurrentIsClamped) {
    TChart chart;
    TChartPage& page = chart.Pages();
    try {
        page.SetMaxPointsPerPage(-1);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.message(), "MaxPointsPerPage must be >= 0");
    }
    EXPECT_EQ(page.MaxPointsPerPage(), 0);
    auto* s = new TPointSeries(&chart);
    chart.AddSeries(s);
    for (int i = 0; i < 1000; ++i) s->AddXY(i, 0);
    page.SetMaxPointsPerPage(300);
    EXPECT_EQ(page.Count(), 4);
    page.SetCurrent(9);
    EXPECT_EQ(page.Current(), 4);
    page.SetMaxPointsPerPage(500);  // two pages now: the current page comes down
    EXPECT_EQ(page.Current(), 2);
    page.SetCurrent(0);
    EXPECT_EQ(page.Current(), 1);
}

TEST(Repaint, RequestsAreIgnoredWhileAutoRepaintIsOff) {
    TChart chart;
    int hooked = 0;
    chart.OnInvalidate = [&] { ++hooked; };
    auto* s = new TPointSeries(&chart);
    chart.AddSeries(s);
    EXPECT_EQ(hooked, 1);
    chart.SetAutoRepaint(false);
    s->AddXY(1, 1);
    chart.BottomAxis().SetMinMax(3, 4);
    EXPECT_EQ(hooked, 1);
    chart.SetAutoRepaint(true);
    s->AddXY(2, 1);
    s->Clear();
    EXPECT_EQ(hooked, 3);
    // A series outside any chart asks nobody.
    TLineSeries loose(nullptr);
    loose.AddXY(0, 0);
    EXPECT_EQ(hooked, 3);
}

TEST(Ownership, EverySeriesIsDestroyedExactlyOnce) {
    int destroyed = 0;
    auto count = [&](QObject* o) { QObject::connect(o, &QObject::destroyed, [&] { ++destroyed; }); };

    auto form = std::make_unique<QObject>();
    auto* chart = new TChart(form.get());
    auto* series1 = new TPointSeries(form.get());  // owned by the form, shown by the chart
    chart->AddSeries(series1);
    auto* line1 = new TLineSeries(chart);
    chart->AddSeries(line1);
    auto* line2 = new TLineSeries(chart);  // owned by the chart, never added
    auto* line3 = new TLineSeries(chart);
    chart->AddSeries(line3);
    for (QObject* o : {static_cast<QObject*>(series1), static_cast<QObject*>(line1),
                       static_cast<QObject*>(line2), static_cast<QObject*>(line3)})
        count(o);

    delete line3;  // a series destroyed first leaves the list
    EXPECT_EQ(chart->SeriesCount(), 2);
    QPointer<TPointSeries> guard(series1);
    delete chart;  // destroys the list's series (series1 too) and what it owns
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(destroyed, 4);
    form.reset();  // nothing left to destroy twice
    EXPECT_EQ(destroyed, 4);
}

}  // namespace
