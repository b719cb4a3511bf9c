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
    """The plot rectangle in chart pixels. Lines are drawn anti-aliased on pixel edges, so a
    1-pixel frame line covers two pixel columns half each; the edges here are in pixel-index
    space (a pixel's centre is its index), so left and right fall between two columns."""

    left: float  # the left end of the bottom axis (its value minimum)
    top: float
    right: float  # the right end of the bottom axis (its value maximum)
    bottom: float

    @property
    def width(self):
        return self.right - self.left

    def x_of(self, value, lo, hi):
        """The pixel column of a bottom-axis value when the axis runs from lo to hi."""
        return self.left + (value - lo) * self.width / (hi - lo)

    def inner_slices(self):
        """Rows and columns strictly inside the frame lines."""
        return (slice(int(self.top) + 2, int(self.bottom)),
                slice(int(self.left) + 2, int(self.right)))


def _dark(img):
    # Frame and axis lines are black or, where anti-aliasing splits a 1-pixel line over two
    # pixels, mid grey; the point colours are not grey.
    img = img.astype(np.int16)
    return (img.max(axis=2) <= 140) & (img.max(axis=2) - img.min(axis=2) <= 30)


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
    """The plot frame, or None when the chart shows no frame (e.g. not painted yet).

    The left axis line (2 pixels, black) has the frame's 1-pixel left line at its right
    side; the right frame line is the rightmost long dark column; the top frame line is the
    topmost long dark row and the bottom axis line the lowest."""
    dark = _dark(img)
    h, w = dark.shape
    cols = _line_clusters(dark.sum(axis=0), 0.5 * h)
    if len(cols) < 2:
        return None
    left_last = cols[0][1]
    right_last = cols[-1][1]
    rows = _line_clusters(dark[:, left_last + 2:right_last - 1].sum(axis=1),
                          0.8 * (right_last - left_last - 3))
    if len(rows) < 2:
        return None
    return Plot(left=left_last - 0.5, top=rows[0][0] + 0.5, right=right_last - 0.5,
                bottom=rows[-1][0] - 0.5)


def interior(img, plot):
    """The pixels strictly inside the frame lines, and the offset of that cut."""
    rows, cols = plot.inner_slices()
    return img[rows, cols], (cols.start, rows.start)


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
    """(centre row, colour, first column, last column) of the zero line, or None.

    The zero lines are 1-pixel lines on a pixel edge: each covers two rows half and blends
    with the lines under it, so their colour is not known beforehand. They are the rows
    inside the plot with the most pixels that are neither background nor grid grey; a line
    over two rows gives a centre between them."""
    inner, (ox, oy) = interior(img, plot)
    px = inner.astype(np.int16)
    background = px[1, 1]
    grid = (np.abs(px - 215).max(axis=2) <= 3)
    other = ~grid & (np.abs(px - background).max(axis=2) > 3)
    counts = other.sum(axis=1)
    r = int(np.argmax(counts))
    if counts[r] < 0.1 * inner.shape[1]:
        return None
    centre = float(r)
    for nb in (r - 1, r + 1):
        if 0 <= nb < len(counts) and counts[nb] >= counts[r] // 2:
            centre = (r + nb) / 2
    cols = np.flatnonzero(other[r])
    colours, n = np.unique(inner[r][other[r]], axis=0, return_counts=True)
    colour = tuple(int(v) for v in colours[int(np.argmax(n))])
    return oy + centre, colour, ox + int(cols[0]), ox + int(cols[-1])


def colour_runs(img, x, colour, plot):
    """Vertical runs of `colour` in column x inside the plot, as (first row, last row)."""
    rows, _ = plot.inner_slices()
    col = mask_of(img[rows, x:x + 1], colour)[:, 0]
    runs = []
    for i in np.flatnonzero(col):
        r = int(i) + rows.start
        if runs and r <= runs[-1][1] + 3:  # the zero line (two rows) may cut a square
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
    blue = mask_of(img[:int(plot.top)], BLUE)
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


def walk(numbers):
    """The walk of a number list: (X, balance, colour) for every number, X from 0. None
    stands for an empty entry, which takes a position but draws nothing."""
    points, balance = [], 0
    for x, n in enumerate(numbers):
        if n is None:
            continue
        balance += 1 if n % 2 == 0 else -1
        points.append((x, balance, GREEN if n % 2 == 0 else BLUE))
    return points


def walk_mismatches(img, plot, numbers, lo, hi):
    """Compares the squares in a screenshot with the walk of `numbers` under a bottom axis
    from lo to hi. The vertical scale is read off the picture: the highest and the lowest
    balance in view put their squares' solid fill (centre ± 3 pixels) at the top and the
    bottom of the coloured pixels. Returns (points checked, the points whose centre pixel or
    a neighbour does not show their colour, as (X, balance, column, row))."""
    green, blue = point_masks(img, plot)
    rows_with_colour = np.flatnonzero((green | blue).any(axis=1))
    inside = [p for p in walk(numbers)
              if plot.left + 5 <= plot.x_of(p[0], lo, hi) <= plot.right - 5]
    if not inside or rows_with_colour.size == 0:
        return len(inside), [(p[0], p[1], None, None) for p in inside]
    top_balance = max(p[1] for p in inside)
    low_balance = min(p[1] for p in inside)
    y_top = rows_with_colour[0] + 3
    y_low = rows_with_colour[-1] - 3
    unit = (y_low - y_top) / (top_balance - low_balance) if top_balance != low_balance else 0
    bad = []
    for x_value, balance, colour in inside:
        x = int(round(plot.x_of(x_value, lo, hi)))
        y = int(round(y_top + (top_balance - balance) * unit))
        mask = green if colour == GREEN else blue
        if not mask[max(0, y - 1):y + 2, max(0, x - 1):x + 2].any():
            bad.append((x_value, balance, x, y))
    return len(inside), bad
