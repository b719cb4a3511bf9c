// Line segments on their way to the canvas: which can show, and ends beyond +-32767.
#include <gtest/gtest.h>

#include "chart/LineSegments.h"
#include "chart/Rounding.h"

using chart::TChartRect;

namespace {

struct BoxCase {
    const char* name;
    int x0, y0, x1, y1;
    bool meets;
};

TEST(LineSegments, BoundingBoxAtLeastOnePixelMustMeetTheBounds) {
    const TChartRect bounds{0, 0, 1021, 431};
    const BoxCase cases[] = {
        {"inside", 10, 10, 500, 200, true},
        {"crossing the whole chart", -5000, 89, 5000, 89, true},
        {"left of the chart", -500, 89, -1, 89, false},
        {"ending on the left edge", -500, 89, 0, 89, false},  // right edges are excluded
        {"reaching the first column", -500, 89, 1, 89, true},
        {"right of the chart", 1021, 10, 2000, 10, false},
        {"below", 10, 431, 900, 431, false},
        {"vertical on the first column", 0, -10, 0, 10, true},
        {"vertical left of it", -1, -10, -1, 10, false},
        {"a point inside", 5, 5, 5, 5, true},
        {"far beyond int pixels", -chart::kPixelLimit, 100, chart::kPixelLimit, 100, true},
        {"far left", -chart::kPixelLimit, 100, -chart::kPixelLimit + 5, 100, false},
    };
    for (const BoxCase& c : cases)
        EXPECT_EQ(chart::SegmentBoxMeets(c.x0, c.y0, c.x1, c.y1, bounds), c.meets) << c.name;
}

TEST(LineSegments, StrokeReachCountsAgainstTheClip) {
    const TChartRect clip{100, 50, 900, 400};
    // Two pixels above the clip: a 1-pixel pen reaches 1, a 3-pixel pen 2.
    EXPECT_FALSE(chart::SegmentStrokeMeets(200, 47, 300, 47, 1, clip));
    EXPECT_TRUE(chart::SegmentStrokeMeets(200, 48, 300, 48, 3, clip));
    EXPECT_TRUE(chart::SegmentStrokeMeets(200, 49, 300, 49, 1, clip));
    // Ending on the clip's left edge: its round end reaches half a pixel into it.
    EXPECT_TRUE(chart::SegmentStrokeMeets(0, 200, 100, 200, 1, clip));
    EXPECT_FALSE(chart::SegmentStrokeMeets(0, 200, 99, 200, 1, clip));
    EXPECT_TRUE(chart::SegmentStrokeMeets(0, 200, 99, 200, 3, clip));
}

struct LimitCase {
    const char* name;
    int x0, y0, x1, y1;
    double X0, Y0, X1, Y1;
};

TEST(LineSegments, EndsBeyondTheCoordinateLimitMoveAlongTheSegment) {
    const double L = chart::kSegmentCoordLimit;
    const LimitCase cases[] = {
        {"within the limit: unchanged", -32767, 89, 32767, 89, -L, 89, L, 89},
        {"horizontal zero line: only x changes", -1000000, 89, 2000000, 89, -L, 89, L, 89},
        {"previous point inside the chart stays", 500, 100, 100000, 100, 500, 100, L, 100},
        // y at x = 32767 on the segment from (0, 0) to (65534, 100): 50.
        {"y read off the segment", 0, 0, 65534, 100, 0, 0, L, 50},
        // From (0, 0) to (100000, 1000000): y at 32767 is 327670, too far; at 32767 / 3
        // it is 109223; at 32767 / 9, 36408; at 32767 / 27, 12136.
        {"steep: x limit divided by 3 until y fits", 0, 0, 100000, 1000000, 0, 0, L / 27,
         1000000.0 * (L / 27) / 100000},
        // Steeper still: after 4 tries y is clamped.
        {"steeper: y clamped after 4 tries", 0, 0, 40000, 1000000000, 0, 0, L / 27, L},
        {"both ends far out", -100000, 0, 100000, 0, -L, 0, L, 0},
    };
    for (const LimitCase& c : cases) {
        const chart::TSegment s = chart::LimitSegment(c.x0, c.y0, c.x1, c.y1, 1021);
        EXPECT_DOUBLE_EQ(s.X0, c.X0) << c.name;
        EXPECT_DOUBLE_EQ(s.Y0, c.Y0) << c.name;
        EXPECT_DOUBLE_EQ(s.X1, c.X1) << c.name;
        EXPECT_NEAR(s.Y1, c.Y1, 1e-6) << c.name;
    }
}

}  // namespace
