#include "window/StatsPlacement.h"

#include <algorithm>
#include <vector>

namespace statsplacement {

namespace {

// A free area of the screen and the rectangle it lies against (it is placed next to it).
struct Area {
    QRect free;
    QRect against;
    bool outsideMain;
};

int Clamp(int v, int lo, int hi) {
    return hi < lo ? lo : std::clamp(v, lo, hi);
}

// The window of size `size` in `a`, as close to the rectangle it lies against as `a`
// allows, aligned with that rectangle's left or top edge where it can be.
QRect PlaceIn(const Area& a, QSize size) {
    const QRect& f = a.free;
    int x;
    int y;
    if (a.against.top() > f.bottom()) {  // the area is above: sit on its bottom edge
        y = f.bottom() + 1 - size.height();
        x = Clamp(a.against.left(), f.left(), f.right() + 1 - size.width());
    } else if (a.against.bottom() < f.top()) {  // below: hang from its top edge
        y = f.top();
        x = Clamp(a.against.left(), f.left(), f.right() + 1 - size.width());
    } else if (a.against.left() > f.right()) {  // left of it
        x = f.right() + 1 - size.width();
        y = Clamp(a.against.top(), f.top(), f.bottom() + 1 - size.height());
    } else {  // right of it
        x = f.left();
        y = Clamp(a.against.top(), f.top(), f.bottom() + 1 - size.height());
    }
    return QRect(QPoint(x, y), size);
}

// The four largest areas of `screen` beside `r`, in the order below, right, left, above;
// empty ones left out.
std::vector<QRect> Around(const QRect& screen, const QRect& r) {
    const QRect all[4] = {
        QRect(QPoint(screen.left(), r.bottom() + 1), screen.bottomRight()),
        QRect(QPoint(r.right() + 1, screen.top()), screen.bottomRight()),
        QRect(screen.topLeft(), QPoint(r.left() - 1, screen.bottom())),
        QRect(screen.topLeft(), QPoint(screen.right(), r.top() - 1)),
    };
    std::vector<QRect> out;
    for (const QRect& a : all)
        if (a.isValid()) out.push_back(a.intersected(screen));
    return out;
}

}  // namespace

QRect Place(const QRect& screen, const QRect& main, const QRect& keep, QSize want) {
    want = want.boundedTo(screen.size());
    std::vector<Area> areas;
    for (const QRect& a : Around(screen, main))
        areas.push_back({a, main, true});
    for (const QRect& a : Around(screen, keep))
        areas.push_back({a, keep, false});

    // 1. Outside the main window, whole: the first such area, below it first.
    for (const Area& a : areas)
        if (a.outsideMain && a.free.width() >= want.width() && a.free.height() >= want.height())
            return PlaceIn(a, want);

    // 2. Else where most of the window shows, the settings group left clear; on a tie the
    // area outside the main window.
    const Area* best = nullptr;
    long long bestShown = -1;
    for (const Area& a : areas) {
        const QSize size = want.boundedTo(a.free.size());
        if (size.width() < std::min(kLeast.width(), want.width()) ||
            size.height() < std::min(kLeast.height(), want.height()))
            continue;
        const long long shown = 1LL * size.width() * size.height();
        if (shown > bestShown) {
            best = &a;
            bestShown = shown;
        }
    }
    // 3. A screen with no such area: the largest there is, however small.
    if (!best) {
        for (const Area& a : areas) {
            const QSize size = want.boundedTo(a.free.size());
            const long long shown = 1LL * size.width() * size.height();
            if (shown > bestShown) {
                best = &a;
                bestShown = shown;
            }
        }
    }
    if (!best) return QRect(screen.topLeft(), want);
    return PlaceIn(*best, want.boundedTo(best->free.size()));
}

}  // namespace statsplacement
