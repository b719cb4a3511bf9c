"""The statistics window beside the typing, on a 1366 x 768 screen: F2 leaves the keyboard in
the number box, the window keeps off the number box and the button, Ctrl+C in it puts the
report on the clipboard as text whose figures are recomputed here from the typed list, and
the tooltips of the chart and of the wheel show whichever window is active.
"""
import math
import random
import subprocess
import time

import numpy as np

from harness.image import write_png
from scenarios import (click_into_numbers, enter_number, look, put_on_clipboard,
                       square_centres, stats_window, tooltip_windows, wait_for)

WHEEL_RING = [32, 15, 19, 4, 21, 2, 25, 17, 34, 6, 27, 13, 36, 11, 30, 8, 23, 10, 5, 24, 16,
              33, 1, 20, 14, 31, 9, 22, 18, 29, 7, 28, 12, 35, 3, 26]
BIASED = {22, 18, 29, 7, 28, 12, 35, 3, 26}
ZERO_GREEN = (0x12, 0x80, 0x3C)  # the zero's pocket on the drawn wheel
LABELS = ["Спинов", "Хи-квадрат", "p хи-квадрат", "Горячий сектор", "p сектора"]


def biased_list(count, seed):
    """`count` spins of a wheel whose nine neighbours 22 ... 26 come 1.25 times as often."""
    rng = random.Random(seed)
    weights = [1.25 if n in BIASED else 1.0 for n in range(1, 37)]
    return rng.choices(range(1, 37), weights=weights, k=count)


def chi_square(numbers):
    n = len(numbers)
    e = n / 36
    return sum((numbers.count(k) - e) ** 2 / e for k in range(1, 37))


def upper_gamma_q(a, x):
    """The regularised upper incomplete gamma function Q(a, x) (series or continued
    fraction, as in any numerical text)."""
    if x <= 0:
        return 1.0
    lg = math.lgamma(a)
    if x < a + 1:
        term = total = 1.0 / a
        ap = a
        for _ in range(1000):
            ap += 1
            term *= x / ap
            total += term
            if abs(term) < abs(total) * 1e-15:
                break
        return 1.0 - total * math.exp(-x + a * math.log(x) - lg)
    b = x + 1 - a
    c = 1e300
    d = 1 / b
    h = d
    for i in range(1, 1000):
        an = -i * (i - a)
        b += 2
        d = an * d + b
        d = 1e-300 if abs(d) < 1e-300 else d
        c = b + an / c
        c = 1e-300 if abs(c) < 1e-300 else c
        d = 1 / d
        delta = d * c
        h *= delta
        if abs(delta - 1) < 1e-15:
            break
    return math.exp(-x + a * math.log(x) - lg) * h


def hottest_sector(numbers):
    """The arc of 3 to 18 neighbours (the zero left out) with the largest z; on a tie the
    shorter, then the one starting first in the ring's order."""
    n = len(numbers)
    counts = {k: numbers.count(k) for k in range(1, 37)}
    best = None
    for length in range(3, 19):
        p = length / 36
        for start in range(36):
            arc = [WHEEL_RING[(start + i) % 36] for i in range(length)]
            z = (sum(counts[k] for k in arc) - n * p) / math.sqrt(n * p * (1 - p))
            if best is None or z > best[0] + 1e-12:
                best = (z, arc)
    return best[1]


def number(text):
    """A figure as the window writes it (the locale's decimal comma or point)."""
    return float(text.replace("\u00a0", "").replace(",", ".").replace("<", "").strip())


def clipboard_text(ctx):
    env = ctx.session.child_env()
    out = subprocess.run(["xclip", "-selection", "clipboard", "-t", "UTF8_STRING", "-o"],
                         env=env, capture_output=True, timeout=10)
    return out.stdout.decode("utf-8", "replace") if out.returncode == 0 else ""


def overlaps(a, b):
    ax, ay, aw, ah = a
    bx, by, bw, bh = b
    return ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah


def focus_in_main(ctx, prog):
    """The X input focus is on the main window (Qt gives it to the top-level window)."""
    return ctx.session.input_focus() == prog.main.id


def statistics_beside_typing(ctx):
    """600 spins pasted and Enter; F2 opens the statistics window beside the main window
    without covering the number box or "Показать график", and the keyboard stays in the
    number box: a number typed at once and Enter is counted. Ctrl+C in the statistics window
    copies the report as text: its labels, the spins, the chi-square and its p, and the
    hottest sector are checked against a recount of the list here. The wheel's tooltip shows
    while the main window is active, the chart's while the statistics window is."""
    numbers = biased_list(600, 30)
    prog = ctx.program()
    prog.start()
    put_on_clipboard(ctx, " ".join(str(n) for n in numbers))
    click_into_numbers(ctx, prog)
    memo_before = prog.shot(prog.layout.memo.tuple())
    ctx.input.key("ctrl+v")
    wait_for(ctx, lambda: (prog.shot(prog.layout.memo.tuple()) != memo_before).any(), 20,
             "the pasted list shows in the number box")
    enter_number(ctx, prog, "")

    ctx.input.key("F2")
    wait_for(ctx, lambda: stats_window(ctx, prog) is not None, 10,
             "F2 opened the window 'Статистика'")
    prog.expect_boxes(0)
    time.sleep(1.0)  # the sector's p-value arrives from the worker
    stats = stats_window(ctx, prog)
    ctx.log(f"statistics window at {stats.rect} on a {ctx.session.size} screen")
    sw, sh = ctx.session.size
    ctx.check(stats.x >= 0 and stats.y >= 0 and stats.x + stats.width <= sw
              and stats.y + stats.height <= sh, f"the window lies on the screen ({stats.rect})")
    for name, rect in (("the number box", prog.layout.memo), ("Показать график",
                                                             prog.layout.button)):
        ctx.check(not overlaps(stats.rect, rect.tuple()),
                  f"the window leaves {name} uncovered ({stats.rect} / {rect.tuple()})")
    write_png(ctx.shot_path("screen-with-statistics"), ctx.session.screenshot())
    # The two windows alone (README's picture of the window is this one).
    m = prog.main
    right = max(m.x + m.width, stats.x + stats.width)
    bottom = max(m.y + m.height, stats.y + stats.height)
    left, top = min(m.x, stats.x), min(m.y, stats.y)
    write_png(ctx.shot_path("statistics-beside-main"),
              ctx.session.screenshot((left, top, right - left, bottom - top)))
    ctx.check(focus_in_main(ctx, prog), "the keyboard stays with the main window after F2")

    # The next number at once: 17 and Enter; the report then counts 601 spins.
    enter_number(ctx, prog, "17", changes=False)
    numbers.append(17)
    prog.wait_idle()
    time.sleep(1.0)
    write_png(ctx.shot_path("after-17"), ctx.session.screenshot())

    # The wheel's tooltip while the main window is active: rest on the zero's pocket.
    shot = prog.shot(stats.rect)
    green = np.all(np.abs(shot.astype(int) - np.array(ZERO_GREEN)) < 12, axis=-1)
    ys, xs = np.nonzero(green)
    ctx.check(len(xs) > 30, f"the wheel's green zero shows ({len(xs)} pixels)")
    zx, zy = stats.x + int(xs.mean()), stats.y + int(ys.mean())
    ctx.input.move(zx, zy)
    ctx.input.move(zx + 1, zy)
    wait_for(ctx, lambda: tooltip_windows(ctx, prog, stats), 5,
             "resting on the wheel's zero shows a tooltip with the main window active")
    tip = tooltip_windows(ctx, prog, stats)[0]
    write_png(ctx.shot_path("wheel-tooltip"),
              ctx.session.screenshot((max(0, tip.x - 60), max(0, tip.y - 60),
                                      min(tip.width + 120, sw - max(0, tip.x - 60)),
                                      min(tip.height + 120, sh - max(0, tip.y - 60)))))
    ctx.input.move(prog.layout.button.x - 40, prog.layout.button.y + 5)
    wait_for(ctx, lambda: not tooltip_windows(ctx, prog, stats), 5, "the tooltip goes")

    # Ctrl+C in the statistics window: a click on its heading (no control there) makes it
    # the active window.
    ctx.input.click(stats.x + 12, stats.y + 14)
    wait_for(ctx, lambda: not focus_in_main(ctx, prog), 5,
             "a click makes the statistics window active")
    ctx.input.key("ctrl+c")
    got = {}

    def copied():
        got["text"] = clipboard_text(ctx)
        return got["text"].startswith("Спинов\t")
    wait_for(ctx, copied, 10, "Ctrl+C put the report on the clipboard as text")
    with open(ctx.shot_path("report").replace(".png", ".txt"), "w") as f:
        f.write(got["text"])
    rows = {}
    for line in got["text"].splitlines():
        fields = line.split("\t")
        ctx.check(len(fields) >= 2, f"a label and its values on every line: {line!r}")
        rows.setdefault(fields[0], fields[1:])
    for label in LABELS:
        ctx.check(label in rows, f"the report has the line '{label}'")
    ctx.check(rows["Спинов"] == [str(len(numbers))], f"Спинов: {rows['Спинов']}")
    chi2 = chi_square(numbers)
    ctx.check(abs(number(rows["Хи-квадрат"][0]) - chi2) < 0.006,
              f"Хи-квадрат {rows['Хи-квадрат']} is {chi2:.3f}")
    p = upper_gamma_q(35 / 2, chi2 / 2)
    shown = rows["p хи-квадрат"][0]
    ctx.check(abs(number(shown) - p) < 0.0006 or ("<" in shown and p < 0.001),
              f"p хи-квадрат {shown} is {p:.4f}")
    sector = hottest_sector(numbers)
    hits = sum(1 for n in numbers if n in sector)
    expected = len(numbers) * len(sector) / 36
    got_sector = rows["Горячий сектор"]
    ctx.check(got_sector[0] == " ".join(str(n) for n in sector) and got_sector[1] == str(hits)
              and abs(number(got_sector[2]) - expected) < 0.051,
              f"Горячий сектор {got_sector} is {sector}, {hits} hits, {expected:.2f} expected")
    ctx.check(len(set(sector) & BIASED) >= 5, "the sector lies on the biased neighbours")
    ps = rows["p сектора"][0]
    ctx.check(0 < number(ps) <= 1, f"p сектора {ps} is a probability")
    # Further lines: the even-money sides, the dozens and columns, the 36 numbers.
    even = sum(1 for n in numbers if n % 2 == 0)
    first_dozen = sum(1 for n in numbers if n <= 12)
    for label, first, want in (("Чёт", 0, str(even)), ("Нечет", 0, str(len(numbers) - even)),
                               ("1-я дюжина (1–12)", 0, str(first_dozen)),
                               ("Номер 17", 0, str(numbers.count(17))),
                               ("Номер 17", 1, "0")):
        got_value = rows.get(label, [None, None])[first] if label in rows else None
        ctx.check(got_value == want, f"{label}: {rows.get(label)} holds {want}")
    ctx.check(all(f"Номер {n}" in rows for n in range(1, 37)), "a line for each of the 36")

    # The chart's tooltip while the statistics window is active. The window is moved off
    # the plot first (it may sit over the chart on this screen).
    subprocess.run(["xdotool", "windowmove", str(stats.id), "0", str(sh - 60)],
                   env=ctx.session.child_env(), check=True, timeout=10)
    time.sleep(0.5)
    ctx.check(not focus_in_main(ctx, prog), "the statistics window is still the active one")
    img, plot = look(ctx, prog, "chart-for-tooltip")
    centres = square_centres(img, plot)
    ctx.check(len(centres) >= 3, f"squares to rest on ({len(centres)})")
    c = prog.layout.chart
    sx, sy = centres[len(centres) // 2]
    ctx.input.move(c.x + sx, c.y + sy)
    ctx.input.move(c.x + sx + 1, c.y + sy)
    moved = stats_window(ctx, prog)
    wait_for(ctx, lambda: tooltip_windows(ctx, prog, moved), 5,
             "resting on a square shows its tooltip with the statistics window active")
    empty = (c.x + int(plot.right) - 30, c.y + int(plot.top) + 15)
    ctx.input.move(*empty)
    ctx.input.move(empty[0] + 1, empty[1])
    wait_for(ctx, lambda: not tooltip_windows(ctx, prog, moved), 5,
             "the tooltip goes on empty plot")

    prog.close()


statistics_beside_typing.screen_size = (1366, 768)

SCENARIOS = {
    "statistics_beside_typing": statistics_beside_typing,
}
