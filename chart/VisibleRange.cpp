#include "chart/VisibleRange.h"

#include <algorithm>
#include <cmath>

namespace chart {

TIndexRange FindWindowIndexes(const double* x, int count, double xmin, double xmax,
                              bool keepPointBeyondRight) {
    TIndexRange r;
    // A NaN bound compares false everywhere; answer as the scan would.
    if (count <= 0 || std::isnan(xmin)) return r;
    const double* end = x + count;
    const double* first = std::lower_bound(x, end, xmin);
    if (first == end) return r;
    r.First = static_cast<int>(first - x);
    if (x[count - 1] <= xmax || std::isnan(xmax)) {
        r.Last = count - 1;
        return r;
    }
    // The last value lies beyond xmax, so some value from First on is >= xmax.
    int last = static_cast<int>(std::lower_bound(first, end, xmax) - x);
    if (!keepPointBeyondRight && last > 0 && x[last] > xmax) {
        // Back to the highest index <= last whose value is <= xmax, or to 0.
        last = std::max(0, static_cast<int>(std::upper_bound(x, x + last + 1, xmax) - x) - 1);
    }
    r.Last = last;
    return r;
}

TIndexRange FindWindowIndexesLinear(const double* x, int count, double xmin, double xmax,
                                    bool keepPointBeyondRight) {
    TIndexRange r;
    int first = -1;
    for (int i = 0; i < count; ++i) {
        if (x[i] >= xmin) {
            first = i;
            break;
        }
    }
    if (first < 0) return r;
    r.First = first;
    if (x[count - 1] <= xmax) {
        r.Last = count - 1;
        return r;
    }
    int last = count - 1;
    for (int i = first; i < count; ++i) {
        if (x[i] >= xmax) {
            last = i;
            break;
        }
    }
    if (!keepPointBeyondRight)
        while (last > 0 && x[last] > xmax)
            --last;
    r.Last = last;
    return r;
}

}  // namespace chart
