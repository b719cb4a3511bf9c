// Where the statistics window goes on the screen: beside, below or above the main window
// where it fits whole, else in the largest free place that leaves the main window's
// settings group (the number box, "Показать график" and the page size) in view, smaller
// than it would like and scrolling. Plain rectangles in, a rectangle out: no widgets.
#pragma once

#include <QRect>
#include <QSize>

namespace statsplacement {

// The smallest window worth showing: below this a place is not taken.
constexpr QSize kLeast(360, 220);

// The frame rectangle for a window that would like the frame size `want`, on the screen
// area `screen`, given the main window's frame `main` and the rectangle `keep` (inside
// it) that must stay uncovered. The result lies on `screen` and never meets `keep`; it
// meets `main` only when no place outside it holds the whole window. Its size is at most
// `want`.
QRect Place(const QRect& screen, const QRect& main, const QRect& keep, QSize want);

}  // namespace statsplacement
