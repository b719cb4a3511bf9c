// Where the statistics window goes: on common screens and main-window positions it stays
// on the screen, never covers the settings group (number box, button, page size), keeps off
// the main window wherever it fits whole outside it, and otherwise shows as much of itself
// as the free space allows.
#include <gtest/gtest.h>

#include "window/StatsPlacement.h"

namespace {

// The main window's frame at (x, y) with a title bar of `title` pixels over its 1021 x 536
// client area, and the settings group along the client area's bottom 105 pixels.
struct MainWindow {
    QRect frame;
    QRect group;
};
MainWindow Main(int x, int y, int title) {
    return {QRect(x, y, 1021, 536 + title), QRect(x, y + title + 431, 1021, 105)};
}

enum class Where { Below, Right, Left, Above, OverChart };

TEST(StatsPlacement, StaysOnScreenOffTheSettingsAndOutsideTheMainWindowWhenItFits) {
    const QSize tall(990, 680);  // the window with the wheel
    const QSize wide(975, 448);
    const struct {
        const char* name;
        QRect screen;
        MainWindow main;
        QSize want;
        Where where;
    } cases[] = {
        {"1280x1024, main at the top", QRect(0, 0, 1280, 1024), Main(0, 0, 0), wide, Where::Below},
        {"1280x1024, the tall window scrolls below", QRect(0, 0, 1280, 1024), Main(0, 0, 0), tall,
         Where::Below},
        {"1366x768, main at the top", QRect(0, 0, 1366, 768), Main(0, 0, 0), tall,
         Where::OverChart},
        {"1366x768 with a panel, main centred", QRect(0, 0, 1366, 738), Main(172, 86, 30), tall,
         Where::OverChart},
        {"1366x768, main at the bottom", QRect(0, 0, 1366, 768), Main(0, 232, 0), wide,
         Where::OverChart},
        {"1920x1080, the tall window scrolls beside", QRect(0, 0, 1920, 1080), Main(0, 0, 30), tall,
         Where::Right},
        {"2560x1080, main at the left", QRect(0, 0, 2560, 1080), Main(0, 300, 30), tall,
         Where::Right},
        {"2560x1080, main at the right", QRect(0, 0, 2560, 1080), Main(1539, 300, 30), tall,
         Where::Left},
        {"1920x1080, main at the bottom", QRect(0, 0, 1920, 1050), Main(400, 484, 30), wide,
         Where::Above},
        {"2560x1440, main near the top", QRect(0, 0, 2560, 1440), Main(700, 100, 30), tall,
         Where::Below},
        {"800x600, the main window wider than the screen", QRect(0, 0, 800, 600), Main(0, 0, 0),
         tall, Where::OverChart},
        {"second screen to the right", QRect(1920, 0, 1366, 768), Main(2020, 40, 30), tall,
         Where::OverChart},
        {"second screen above", QRect(0, -1080, 1920, 1080), Main(0, -1080, 30), wide,
         Where::Below},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect r = statsplacement::Place(c.screen, c.main.frame, c.main.group, c.want);
        EXPECT_TRUE(c.screen.contains(r)) << "on the screen";
        EXPECT_FALSE(r.intersects(c.main.group)) << "the number box and button stay clear";
        EXPECT_LE(r.width(), c.want.width());
        EXPECT_LE(r.height(), c.want.height());
        EXPECT_GE(r.width(), statsplacement::kLeast.width());
        EXPECT_GE(r.height(), statsplacement::kLeast.height());
        const QRect& m = c.main.frame;
        switch (c.where) {
            case Where::Below:
                EXPECT_EQ(r.top(), m.bottom() + 1);
                EXPECT_EQ(r.left(), m.left()) << "lined up with the main window";
                break;
            case Where::Right:
                EXPECT_EQ(r.left(), m.right() + 1);
                EXPECT_EQ(r.height(), c.want.height());
                break;
            case Where::Left:
                EXPECT_EQ(r.right(), m.left() - 1);
                EXPECT_EQ(r.size(), c.want);
                break;
            case Where::Above:
                EXPECT_EQ(r.bottom(), m.top() - 1);
                EXPECT_EQ(r.size(), c.want);
                break;
            case Where::OverChart:
                // Nothing outside holds it: it takes the chart's side of the settings group,
                // right against the group.
                EXPECT_EQ(r.bottom(), c.main.group.top() - 1);
                break;
        }
        if (c.where != Where::OverChart) {
            EXPECT_FALSE(r.intersects(m)) << "the chart stays in view";
        }
    }
}

}  // namespace
