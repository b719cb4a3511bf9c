// Page settings: the index range of the current page and the number of pages.
#include <gtest/gtest.h>

#include "ChartFixture.h"

using namespace chart_test;

namespace {

TEST(Pages, CalcPageIndexRangeTable) {
    const struct {
        int perPage, points, current;
        int first, last;
    } cases[] = {
        {300, 300, 1, 0, 299}, {300, 650, 3, 600, 649}, {300, 600, 3, 300, 599},
        {300, 250, 1, 0, 249}, {300, 1000, 1, 0, 299},  {300, 250, 2, 0, 249},
        {300, 0, 1, -1, -1},   {0, 10, 1, 0, 9},        {1, 5, 3, 2, 2},
        {1, 5, 9, 4, 4},
    };
    for (const auto& k : cases) {
        // A long series in the chart makes every page up to 30 a valid current page; the
        // series asked about stands alone.
        ProgramChart c;
        c.AddPoints(std::vector<double>(9000, 0));
        c.chart.Pages().SetMaxPointsPerPage(k.perPage);
        c.chart.Pages().SetCurrent(k.current);
        ASSERT_EQ(c.chart.Pages().Current(), k.current);
        chart::TPointSeries s(nullptr);
        for (int i = 0; i < k.points; ++i)
            s.AddXY(i, 0);
        int first = 7, last = 7;
        c.chart.Pages().CalcPageIndexRange(s, first, last);
        EXPECT_EQ(std::make_pair(first, last), std::make_pair(k.first, k.last))
            << "P " << k.perPage << " n " << k.points << " page " << k.current;
    }
}

TEST(Pages, CountTable) {
    const struct {
        int perPage, points;
        bool zeroLines;
        int pages;
    } cases[] = {{300, 0, false, 1},   {300, 300, false, 1}, {300, 301, false, 2},
                 {300, 1000, true, 4}, {0, 1000, true, 1},   {300, 600, false, 2}};
    for (const auto& k : cases) {
        ProgramChart c;
        c.AddPoints(std::vector<double>(static_cast<size_t>(k.points), 0));
        if (k.zeroLines) {
            c.AddZeroLine(100);
            c.AddZeroLine(300);
        }
        c.chart.Pages().SetMaxPointsPerPage(k.perPage);
        EXPECT_EQ(c.chart.Pages().Count(), k.pages) << "P " << k.perPage << " n " << k.points;
    }
    chart::TChart empty;
    empty.Pages().SetMaxPointsPerPage(300);
    EXPECT_EQ(empty.Pages().Count(), 1);
}

TEST(Pages, FirstValueIndexFollowsTheCurrentPage) {
    ProgramChart c;
    c.AddPoints(std::vector<double>(1000, 0));
    EXPECT_EQ(c.chart.Pages().FirstValueIndex(), 0);
    c.chart.Pages().SetCurrent(3);
    EXPECT_EQ(c.chart.Pages().FirstValueIndex(), 600);
}

}  // namespace
