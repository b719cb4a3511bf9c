// The index range of a series' X values that falls inside the horizontal window of the
// plot: the search behind CalcFirstLastVisibleIndex, kept apart as plain functions on an
// array so that it can be tested and measured alone.
#pragma once

namespace chart {

// First and last index of a range; -1 for "none".
struct TIndexRange {
    int First = -1;
    int Last = -1;
};

// For the first `count` values of `x`, with the window xmin .. xmax:
// First = the lowest index whose value is >= xmin; if there is none, the range is (-1, -1).
// Last = count - 1 when the last value is <= xmax; otherwise the lowest index from First on
// whose value is >= xmax, then, unless `keepPointBeyondRight` (a series that joins its
// points keeps the point at or beyond the right edge), stepped back while above xmax and
// above index 0.
//
// FindWindowIndexes requires `x` in ascending order and finds both ends by binary search
// in O(log count). FindWindowIndexesLinear scans from the start and works for any order;
// for ascending values both give the same range.
TIndexRange FindWindowIndexes(const double* x, int count, double xmin, double xmax,
                              bool keepPointBeyondRight);
TIndexRange FindWindowIndexesLinear(const double* x, int count, double xmin, double xmax,
                                    bool keepPointBeyondRight);

}  // namespace chart
