"""Reading the painted chart from a screenshot of its area, as a person reads it.

Everything is found by colour: the plot frame by its long dark lines, the zero line as the
one long single-coloured row inside the plot, the points as green RGB(0,128,0) and blue
RGB(0,0,255) pixels, the title as blue pixels above the plot. Nothing depends on layout
pixel constants, so the checks hold for any window size and font metrics.
"""
from dataclasses import dataclass

import numpy as np

from .image import mask_of

GREEN = (0, 128, 0)
BLUE = (0, 0, 255)
GRID = (192, 192, 192)


@dataclass
class Plot:
    """The plot rectangle in chart pixels: the left axis line, the top frame line, the right
    frame line and the bottom axis line."""

    left: int
    top: int
    right: int
    bottom: int

    @property
    def width(self):
        return self.right - self.left

    def x_of(self, value, lo, hi):
        """The pixel column of a bottom-axis value when the axis runs from lo to hi."""
        return self.left + (value - lo) * self.width / (hi - lo)

    def value_of(self, x, lo, hi):
        return lo + (x - self.left) * (hi - lo) / self.width


def _dark(img):
    # Frame and axis lines are black; anti-aliasing may grey their edges.
    return np.all(img <= 96, axis=2)


def _line_clusters(counts, limit):
    """Runs of consecutive indices whose count reaches `limit`, as (first, last) pairs."""
    idx = np.flatnonzero(counts >= limit)
    runs = []
    for i in idx:
        if runs and i == runs[-1][1] + 1:
            runs[-1][1] = i
        else:
            runs.append([i, i])
    return [tuple(r) for r in runs]


def find_plot(img):
    """The plot frame, or None when the chart shows no frame (e.g. not painted yet)."""
    dark = _dark(img)
    h, w = dark.shape
    cols = _line_clusters(dark.sum(axis=0), 0.5 * h)
    if len(cols) < 2:
        return None
    # The frame spans most of the height; take the lines' extent from the left one.
    left_first, left_last = cols[0]
    right = cols[-1][1]
    rows = _line_clusters(dark[:, left_last + 2:right - 1].sum(axis=1),
                          0.8 * (right - left_last - 3))
    if len(rows) < 2:
        return None
    top = rows[0][0]
    bottom = rows[-1][0]
    return Plot(left=int(left_last), top=int(top), right=int(right), bottom=int(bottom))


def interior(img, plot):
    """The pixels strictly inside the frame lines, and the offset of that cut."""
    return img[plot.top + 2:plot.bottom - 1, plot.left + 2:plot.right - 1], (plot.left + 2,
                                                                             plot.top + 2)


def point_masks(img, plot):
    """Masks of green and blue point pixels inside the plot, in chart coordinates."""
    green = np.zeros(img.shape[:2], dtype=bool)
    blue = np.zeros(img.shape[:2], dtype=bool)
    inner, (ox, oy) = interior(img, plot)
    green[oy:oy + inner.shape[0], ox:ox + inner.shape[1]] = mask_of(inner, GREEN)
    blue[oy:oy + inner.shape[0], ox:ox + inner.shape[1]] = mask_of(inner, BLUE)
    return green, blue


def point_extent(img, plot):
    """(leftmost, rightmost) column holding a point's colour inside the plot, or None."""
    green, blue = point_masks(img, plot)
    cols = np.flatnonzero((green | blue).any(axis=0))
    if cols.size == 0:
        return None
    return int(cols[0]), int(cols[-1])


def zero_line(img, plot):
    """(row, colour, first column, last column) of the zero line: the row inside the plot
    where one colour other than the background, the grid, black and the point colours
    covers the most pixels. None when there is no such row."""
    inner, (ox, oy) = interior(img, plot)
    background = tuple(int(c) for c in img[plot.top + 3, plot.left + 3])
    best = None
    for r in range(inner.shape[0]):
        row = inner[r]
        colours, counts = np.unique(row, axis=0, return_counts=True)
        for colour, count in zip(colours, counts):
            c = tuple(int(v) for v in colour)
            if c in (background, GRID, GREEN, BLUE) or max(c) <= 96:
                continue
            if best is None or count > best[1]:
                best = (r, count, c)
    if best is None or best[1] < 20:
        return None
    r, _, c = best
    cols = np.flatnonzero(mask_of(inner[r:r + 1], c)[0])
    return oy + r, c, ox + int(cols[0]), ox + int(cols[-1])


def colour_runs(img, x, colour, plot):
    """Vertical runs of `colour` in column x inside the plot, as (first row, last row)."""
    col = mask_of(img[plot.top + 1:plot.bottom, x:x + 1], colour)[:, 0]
    runs = []
    for i in np.flatnonzero(col):
        r = int(i) + plot.top + 1
        if runs and r <= runs[-1][1] + 2:  # a 1-pixel zero line may cut a square in two
            runs[-1][1] = r
        else:
            runs.append([r, r])
    return [tuple(r) for r in runs]


def square_centre_row(img, x, colour, plot):
    """The centre row of the square of `colour` that covers column x (±1 column), or None
    when none does. With several, the one with the most pixels."""
    best = None
    for dx in (0, -1, 1):
        for first, last in colour_runs(img, x + dx, colour, plot):
            if best is None or last - first > best[1] - best[0]:
                best = (first, last)
    if best is None:
        return None
    return (best[0] + best[1]) / 2


def title_pixels(img, plot):
    """Blue title pixels above the plot: their count and mean column."""
    blue = mask_of(img[:plot.top], BLUE)
    ys, xs = np.nonzero(blue)
    return int(xs.size), (float(xs.mean()) if xs.size else None)


def blobs(mask):
    """Connected groups (8-neighbourhood) of a mask, each as (count, (x0, y0, x1, y1))."""
    seen = np.zeros_like(mask)
    h, w = mask.shape
    result = []
    for y, x in zip(*np.nonzero(mask)):
        if seen[y, x]:
            continue
        stack = [(y, x)]
        seen[y, x] = True
        count, x0, y0, x1, y1 = 0, x, y, x, y
        while stack:
            cy, cx = stack.pop()
            count += 1
            x0, x1, y0, y1 = min(x0, cx), max(x1, cx), min(y0, cy), max(y1, cy)
            for ny in (cy - 1, cy, cy + 1):
                for nx in (cx - 1, cx, cx + 1):
                    if 0 <= ny < h and 0 <= nx < w and mask[ny, nx] and not seen[ny, nx]:
                        seen[ny, nx] = True
                        stack.append((ny, nx))
        result.append((count, (int(x0), int(y0), int(x1), int(y1))))
    return result
