// The optimised draw (visible ranges, culled segments, one clip, kept pens and sizes,
// settled lines skipped) against drawing every point and segment afresh: the very same
// pixels, on scenes where the optimisations have work to do.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "PaintFixture.h"
#include "chart/Axis.h"

using namespace chart_test;

namespace {

struct Scene {
    std::string name;
    int points;        // walk length
    double windowMin;  // bottom axis window
    double windowMax;
    int redraws;  // Enter presses: two zero lines each
    qreal dpr;
    int hoveredLine;  // series index of a zero line whose first segment is hovered, or 0
                      // (-1: every line reaching past the window's middle, as a mouse
                      // over the zero line leaves them)
    int minSettled;   // lines the optimised draw must have left out, at least
};

void PrintTo(const Scene& s, std::ostream* os) {
    *os << s.name;
}

class PaintOptimisation : public ::testing::TestWithParam<Scene> {};

TEST_P(PaintOptimisation, GivesThePictureOfDrawingEverything) {
    const Scene& sc = GetParam();
    DrawnChart c;
    AddWalk(*c.walk, sc.points);
    c.chart.BottomAxis().SetMinMax(sc.windowMin, sc.windowMax);
    AddEnterZeroLines(c.chart, sc.redraws, sc.points);
    if (sc.hoveredLine != 0) {
        for (int i = 1; i < c.chart.SeriesCount(); ++i) {
            chart::TChartSeries* s = c.chart.Series(i);
            if (sc.hoveredLine > 0 ? i == sc.hoveredLine
                                   : s->XValues().Last() > (sc.windowMin + sc.windowMax) / 2)
                s->EnsureSelection().HoverIndex = 0;
        }
        c.walk->EnsureSelection().HoverIndex = c.walk->Count() - 20;
        c.chart.LeftAxis().EnsureLabelSelection().HoverIndex = 2;
    }

    chart::TChartPainter optimised;
    const QImage fast = c.Draw(optimised, sc.dpr);
    // Draw twice: the second draw runs on what the first kept (pens, sizes, probe image).
    const QImage fastAgain = c.Draw(optimised, sc.dpr);
    chart::TChartPainter naive;
    naive.Options().Optimised = false;
    const QImage everything = c.Draw(naive, sc.dpr);

    ASSERT_EQ(fast.size(), everything.size());
    EXPECT_TRUE(fast == everything) << "the optimised draw differs";
    EXPECT_TRUE(fastAgain == everything) << "the second optimised draw differs";
    // The optimisations had work to do: fewer segments reached the painter.
    EXPECT_GE(optimised.LinesSettled(), sc.minSettled);
    EXPECT_LE(optimised.LinesDrawn() + sc.minSettled, naive.LinesDrawn());
    if (!(fast == everything)) {
        int differing = 0;
        for (int y = 0; y < fast.height(); ++y)
            for (int x = 0; x < fast.width(); ++x)
                if (fast.pixel(x, y) != everything.pixel(x, y) && ++differing <= 5)
                    ADD_FAILURE() << "pixel " << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, PaintOptimisation,
    ::testing::Values(
        // 500 redraws over a 1000-point walk: lines to 100 and to x + 200, window 400 .. 700.
        Scene{"enter_lines_window_400_700", 1000, 400, 700, 500, 1, 0, 300},
        // The window after Enter at the end of the walk: only the newest lines reach it.
        Scene{"enter_lines_window_at_end", 1000, 899, 1199, 500, 1, 0, 50},
        // Every line crosses the window 0 .. 100.
        Scene{"enter_lines_window_0_100", 1000, 0, 100, 500, 1, 0, 900},
        // Hovered segment deep in the stack, a hovered point and a hovered label.
        Scene{"hover_in_the_stack", 1000, 400, 700, 500, 1, 700, 300},
        // A hovered segment among the last lines: too few lines over it to settle it.
        Scene{"hover_near_the_top", 1000, 400, 700, 500, 1, 996, 0},
        // Every line under the mouse hovered: thick lines of one translucent colour over
        // thin ones, which never settle.
        Scene{"hover_every_line_under_the_mouse", 1000, 400, 700, 500, 1, -1, 0},
        // Twice the device pixels: lines go through the full stroker.
        Scene{"device_pixel_ratio_2", 1000, 400, 700, 500, 2, 0, 300},
        // A few lines only: nothing to settle, nothing skipped.
        Scene{"few_lines", 300, 0, 300, 3, 1, 0, 0}),
    [](const ::testing::TestParamInfo<Scene>& info) { return info.param.name; });

}  // namespace
