"""The acceptance scenarios: what a person does with Vexilo and what they then see and find.

Each scenario takes the run context (run_scenario.py) and raises on the first failed check.
Input goes through real X events only; results are read from screenshots and from the files
the program leaves beside its executable.
"""
import os
import random
import subprocess
import time

from harness import chart
from harness.chart import BLUE, GREEN
from harness.image import write_png

DESIGN_SETTINGS = ("[mainForm]\nNumbers_Memo.File=Numbers_Memo\n"
                   "DotsPerPage_SE.Value={page}\nDebug_CheckBox.Checked=0\n")
SIDE_FILE = ("System", "Numbers_Memo.txt")

# After Enter the view runs from 100 before the newest point to 200 after it.
BEFORE, AFTER = 100, 200


def settings_text(page=100):
    return DESIGN_SETTINGS.format(page=page)


def numbers_of(text):
    """The walk's view of a typed list: numbers, and None for an empty entry."""
    return [int(t) if t else None for t in text.split(" ")]


def wait_for(ctx, condition, timeout, what):
    """Polls `condition` until it holds; one check either way."""
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            ctx.check(False, f"{what} (waited {timeout} s)")
        time.sleep(0.05)
    ctx.check(True, what)


# -- steps a person takes -----------------------------------------------------------------

def click_into_numbers(ctx, prog):
    # Near the bottom right of the box's text area, so the caret lands after the text.
    m = prog.layout.memo
    ctx.input.click(m.x + m.w - 40, m.y + m.h - 12)


def enter_number(ctx, prog, text, boxes=0, changes=True):
    """Types into the number box (where the caret already is) and presses Enter; waits for
    the redrawn chart (unless it may look the same as before) and for the program to rest."""
    def action():
        ctx.input.type(text)
        ctx.input.key("Return")
    return prog.act(action, boxes=boxes, changes=changes)


def click_and_settle(ctx, prog, point, boxes=0):
    """A click that redraws the chart."""
    return prog.act(lambda: ctx.input.click(*point), boxes=boxes)


# -- what a person checks -----------------------------------------------------------------

def look(ctx, prog, name):
    """A screenshot of the chart, kept in the artifacts, and its plot frame."""
    img = prog.chart_shot()
    path = ctx.shot_path(name)
    write_png(path, img)
    plot = chart.find_plot(img)
    ctx.check(plot is not None and plot.width > 200,
              f"{name}: the chart shows its plot frame ({plot}; {os.path.basename(path)})")
    return img, plot


def check_walk(ctx, img, plot, numbers, lo, hi, name):
    """Every square in view sits where the walk of `numbers` puts it for the bottom axis
    lo .. hi, in its colour."""
    checked, bad = chart.walk_mismatches(img, plot, numbers, lo, hi)
    ctx.check(checked > 0 and not bad,
              f"{name}: the {checked} squares in the view {lo:g} .. {hi:g} sit where the walk "
              f"puts them, in their colours" + (f"; misplaced (X, balance, x, y): {bad[:6]}"
                                                  if bad else ""))


def check_after_enter(ctx, prog, numbers, name):
    """After Enter the view runs from 100 before the newest point to 200 after it."""
    img, plot = look(ctx, prog, name)
    last = max(x for x, n in enumerate(numbers) if n is not None)
    check_walk(ctx, img, plot, numbers, last - BEFORE, last + AFTER, name)
    return img, plot


def check_no_squares(ctx, img, plot, name):
    ctx.check(chart.point_extent(img, plot) is None, f"{name}: no squares in the plot")


def check_saved(ctx, prog, numbers, page=100):
    settings = prog.read("settings.dat")
    ctx.check(settings == settings_text(page),
              f"settings.dat holds exactly the three keys, page size {page} ({settings!r})")
    side = prog.read(*SIDE_FILE)
    shown = side if len(side) < 80 else side[:40] + " ... " + side[-20:]
    ctx.check(side == numbers, f"the side file holds the list ({shown!r}, "
              f"{len(side)} characters, {len(numbers)} expected)")


# -- scenarios ----------------------------------------------------------------------------

def first_start(ctx):
    """First start in an empty directory: no message box, an empty chart with its title,
    frame and a zero line across the bottom axis 0 .. 100; closing writes the design
    settings and an empty list."""
    prog = ctx.program()
    prog.start(boxes=0)
    ctx.check(True, "the window captioned 'Vexilo ver. 0.1' appeared with no message box")
    img, plot = look(ctx, prog, "first-start")
    check_no_squares(ctx, img, plot, "first start")
    count, mean_x = chart.title_pixels(img, plot)
    ctx.check(count > 300, f"a blue title above the plot ({count} pixels)")
    centre = img.shape[1] / 2
    ctx.check(abs(mean_x - centre) < 60,
              f"the title is centred (mean x {mean_x:.0f}, chart centre {centre:.0f})")
    zero = chart.zero_line(img, plot)
    ctx.check(zero is not None and plot.top + 5 < zero[0] < plot.bottom - 5,
              f"a zero line crosses the plot ({zero})")
    # The only zero line runs from X = 0 to the axis maximum 100: across the whole plot.
    ctx.check(zero[2] <= plot.left + 3 and zero[3] >= plot.right - 3,
              f"the zero line spans the whole 0 .. 100 view ({zero[2]} .. {zero[3]} in "
              f"{plot.left} .. {plot.right})")
    prog.close()
    check_saved(ctx, prog, "")


def enter_cycle(ctx):
    """Typing 5, 12, 7 with Enter after each: the view jumps to the newest point each time,
    three squares blue, green, blue sit where the walk puts them, and the caret waits after a
    space for the next number."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    typed = []
    for number in (5, 12, 7):
        enter_number(ctx, prog, str(number))
        typed.append(number)
        img, plot = check_after_enter(ctx, prog, typed, f"after-enter-{number}")
    # The view is now -98 .. 202.
    lo, hi = 2 - BEFORE, 2 + AFTER
    zero_row = chart.zero_line(img, plot)[0]
    rows = []
    for x_value, colour in enumerate((BLUE, GREEN, BLUE)):
        x = round(plot.x_of(x_value, lo, hi))
        rows.append(chart.square_centre_row(img, x, colour, plot))
    ctx.check(None not in rows, f"squares blue, green, blue at X = 0, 1, 2 (rows {rows})")
    ctx.check(abs(rows[1] - zero_row) <= 1.5, f"the green square sits on the zero line "
              f"(centre row {rows[1]}, zero line {zero_row})")
    ctx.check(rows[0] > zero_row + 4 and abs(rows[0] - rows[2]) <= 1.5,
              f"both blue squares sit one step below it (rows {rows[0]}, {rows[2]})")
    green, blue = chart.point_masks(img, plot)
    ctx.check(len(chart.blobs(green)) in (1, 2) and len(chart.blobs(blue)) == 2,
              "no other squares: one green (the zero line may cut it in two) and two blue")
    # The caret waits at the end after a space: typing on at once adds a fourth number.
    enter_number(ctx, prog, "20")
    check_after_enter(ctx, prog, [5, 12, 7, 20], "after-enter-20")
    prog.close()
    check_saved(ctx, prog, "5 12 7 20 ")


def bad_entries(ctx):
    """abc, 0 and 40 each bring up one message box over the window, which is screenshotted
    and dismissed with the keyboard, draw nothing and are removed from the list; a good
    number after them is drawn as the only square."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    for text in ("abc", "0", "40"):
        # After the first, the view stays -99 .. 201 with no points: it may look the same.
        box = enter_number(ctx, prog, text, boxes=1, changes=text == "abc")[0]
        ctx.check(box.over_main, f"the message box for {text} stands over the main window "
                  f"(screenshot {os.path.basename(box.screenshot)})")
        img, plot = look(ctx, prog, f"after-{text}")
        check_no_squares(ctx, img, plot, f"after {text}")
    enter_number(ctx, prog, "8")
    # The rejected entries left their separator behind: the list is " 8", with an empty
    # first entry, so 8 is drawn at X = 1.
    img, plot = check_after_enter(ctx, prog, [None, 8], "after-8")
    green, blue = chart.point_masks(img, plot)
    ctx.check(not blue.any() and len(chart.blobs(green)) in (1, 2),
              "exactly one square, green (the zero line may cut it in two)")
    prog.close()
    check_saved(ctx, prog, " 8 ")


def page_size(ctx):
    """The page-size box: its arrow buttons step by 100 and clamp at 50, typing a value
    redraws with it, leaving the box clamps 9999 to 5000; the view rescales each time."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    rng = random.Random(7)
    numbers = [rng.randint(1, 36) for _ in range(30)]
    text = " ".join(str(n) for n in numbers)
    enter_number(ctx, prog, text)
    lay = prog.layout

    def view_is(page, name):
        img, plot = look(ctx, prog, name)
        if page <= 300:
            check_walk(ctx, img, plot, numbers, 0, page, name)
        else:  # too dense for single squares: the last one ends where 0 .. page puts it
            extent = chart.point_extent(img, plot)
            x = plot.x_of(len(numbers) - 1, 0, page)
            ctx.check(extent is not None and abs(extent[1] - 4 - x) <= 2,
                      f"{name}: the squares end where 0 .. {page} puts the last one "
                      f"(rightmost square pixel {extent and extent[1]}, centre {x:.1f})")

    click_and_settle(ctx, prog, lay.button.centre)
    view_is(100, "button-100")
    click_and_settle(ctx, prog, lay.spin_up)
    view_is(200, "up-arrow-200")
    click_and_settle(ctx, prog, lay.spin_down)
    view_is(100, "down-arrow-100")
    click_and_settle(ctx, prog, lay.spin_down)  # 100 - 100 = 0, clamped to 50
    view_is(50, "down-arrow-50")
    def type_over(text):
        ctx.input.click(*lay.spin_text)
        ctx.input.key("ctrl+a")
        ctx.input.type(text)

    prog.act(lambda: type_over("300"))  # redraws at 3, 30 and 300; no box: there is a list
    view_is(300, "typed-300")
    prog.act(lambda: type_over("9999"))
    prog.act(lambda: ctx.input.key("Tab"))  # leaving the box clamps to 5000
    view_is(5000, "left-box-5000")
    prog.close()
    check_saved(ctx, prog, text, page=5000)


def restart(ctx):
    """Closing and starting again restores the list, the page size and the diagram; a stored
    page size other than 100 with an empty list brings one message box during start-up."""
    prog = ctx.program("app")
    prog.start()
    click_into_numbers(ctx, prog)
    text = "5 12 7 20 33 36 1"
    enter_number(ctx, prog, text)
    click_and_settle(ctx, prog, prog.layout.spin_up)
    click_and_settle(ctx, prog, prog.layout.spin_up)  # 300
    before, plot = look(ctx, prog, "before-close")
    check_walk(ctx, before, plot, numbers_of(text), 0, 300, "before closing")
    prog.close()
    # The page-size change redrew the list, which dropped the space that Enter appended.
    check_saved(ctx, prog, text, page=300)
    prog.start(boxes=0)
    after, plot = look(ctx, prog, "after-restart")
    check_walk(ctx, after, plot, numbers_of(text), 0, 300, "after restarting")
    green_b, blue_b = chart.point_masks(before, chart.find_plot(before))
    green_a, blue_a = chart.point_masks(after, plot)
    ctx.check((green_a == green_b).all() and (blue_a == blue_b).all(),
              "the restored squares are pixel for pixel those shown before closing")
    prog.close()
    check_saved(ctx, prog, text, page=300)

    # A page size of 200 with an empty list: the restore's change draws once, not silently.
    prog = ctx.program("empty")
    prog.start()
    click_and_settle(ctx, prog, prog.layout.spin_up, boxes=1)  # the redraw finds no list
    prog.close()
    check_saved(ctx, prog, "", page=200)
    prog.start(boxes=1)
    ctx.check(True, "one message box during start-up, before the window showed")
    img, plot = look(ctx, prog, "empty-list-restart")
    check_no_squares(ctx, img, plot, "empty list restarted")
    prog.close()
    check_saved(ctx, prog, "", page=200)


def unwritable(ctx):
    """A directory where the list's side file goes: closing shows the error box and the
    window stays open; once the directory is gone, closing saves and ends the program."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, "5 12")
    blocker = prog.path(*SIDE_FILE)
    os.remove(blocker)  # the automatic save after Enter wrote it
    os.makedirs(blocker)
    prog.request_close()
    box = prog.expect_boxes(1)[0]
    ctx.check(box.over_main, f"the error box stands over the main window "
              f"(screenshot {os.path.basename(box.screenshot)})")
    time.sleep(0.5)
    ctx.check(prog.is_running() and prog.session.is_viewable(prog.main.id),
              "after the error the window stays open")
    os.rmdir(blocker)
    prog.close()
    check_saved(ctx, prog, "5 12 ")


def drag_and_button(ctx):
    """Dragging the chart sideways with the left button moves the points with the pointer;
    the button then resets the view to 0 .. page size."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    text = "12 8 20 36 7 5 9 2"  # up four steps, down three, up one
    enter_number(ctx, prog, text)
    img, plot = check_after_enter(ctx, prog, numbers_of(text), "before-drag")
    before = chart.point_extent(img, plot)
    c = prog.layout.chart
    start = (c.x + round(plot.left + plot.width / 2), c.y + round((plot.top + plot.bottom) / 2))
    distance = 150
    prog.act(lambda: ctx.input.drag(start, (start[0] + distance, start[1])))
    img, plot = look(ctx, prog, "after-drag")
    after = chart.point_extent(img, plot)
    ctx.check(after is not None, "squares after the drag")
    moved = after[1] - before[1]
    ctx.check(abs(moved - distance) <= 0.2 * distance,
              f"the points followed the pointer: {moved} pixels for a {distance}-pixel drag")
    # The view slid by the drag: the walk sits in the shifted window.
    shift = moved * (BEFORE + AFTER) / plot.width
    lo = 7 - BEFORE - shift
    check_walk(ctx, img, plot, numbers_of(text), lo, lo + BEFORE + AFTER, "after the drag")
    click_and_settle(ctx, prog, prog.layout.button.centre)
    img, plot = look(ctx, prog, "after-button")
    check_walk(ctx, img, plot, numbers_of(text), 0, 100, "the button reset the view")
    prog.close()
    check_saved(ctx, prog, text)


def paste_2000(ctx):
    """2,000 numbers pasted from the clipboard, then Enter: the program draws them and stays
    responsive; reports the time from Enter to the repainted chart."""
    rng = random.Random(2000)
    numbers = [rng.randint(1, 36) for _ in range(2000)]
    text = " ".join(str(n) for n in numbers)
    prog = ctx.program()
    prog.start()
    clip = put_on_clipboard(ctx, text)
    click_into_numbers(ctx, prog)
    memo_before = prog.shot(prog.layout.memo.tuple())
    ctx.input.key("ctrl+v")
    wait_for(ctx, lambda: (prog.shot(prog.layout.memo.tuple()) != memo_before).any(),
             20, "the pasted text shows in the number box")
    time.sleep(0.5)
    before = prog.wait_idle()
    t0 = time.monotonic()
    ctx.input.key("Return")
    first, last = prog.wait_chart_change(before, timeout=60)
    # Follow the repaints until the chart has rested for a second.
    last_change = first
    while time.monotonic() - t0 - last_change < 1.0:
        if time.monotonic() - t0 > 90:
            ctx.check(False, "the chart comes to rest within 90 s of Enter")
        now = prog.chart_shot()
        if (now != last).any():
            last, last_change = now, time.monotonic() - t0
        time.sleep(0.01)
    ctx.measure("enter_to_first_repaint_2000", first * 1000, "ms")
    ctx.measure("enter_to_final_picture_2000", last_change * 1000, "ms")
    prog.expect_boxes(0, quiet=0.0)
    check_after_enter(ctx, prog, numbers, "after-enter-2000")
    # Still responsive: the button redraws and resets the view at once.
    t1 = time.monotonic()
    ctx.input.click(*prog.layout.button.centre)
    took, _ = prog.wait_chart_change(last, timeout=60)
    ctx.measure("button_to_repaint_2000", took * 1000, "ms")
    prog.expect_boxes(0)
    prog.wait_idle()
    ctx.check(time.monotonic() - t1 < 60, "the button answered")
    img, plot = look(ctx, prog, "after-button-2000")
    check_walk(ctx, img, plot, numbers, 0, 100, "after the button")
    prog.close()
    check_saved(ctx, prog, text)  # the button redrew: no trailing space
    ctx.procs.stop(clip)


# -- the statistics window and the squares' tooltips ----------------------------------------

STATS_CAPTION = "Статистика"


def program_windows(ctx, prog):
    return [w for w in ctx.session.top_windows() if w.pid == prog.proc.pid]


def stats_window(ctx, prog):
    found = [w for w in program_windows(ctx, prog) if w.caption == STATS_CAPTION]
    return found[0] if found else None


def tooltip_windows(ctx, prog, stats):
    """Windows of the program that are neither the main window nor the statistics window:
    what a tooltip adds."""
    known = {prog.main.id} | ({stats.id} if stats else set())
    return [w for w in program_windows(ctx, prog)
            if w.id not in known and w.width > 1 and w.height > 1]


def png_size(data):
    """(width, height) from a PNG's header, or None when `data` is no PNG."""
    if len(data) < 24 or data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


def put_on_clipboard(ctx, text):
    """Offers `text` as the clipboard (xclip keeps serving it until stopped); returns the
    xclip process once it owns the clipboard."""
    clip = ctx.procs.start(["xclip", "-selection", "clipboard", "-quiet"],
                           env=ctx.session.child_env(), stdin=subprocess.PIPE,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    clip.stdin.write(text.encode())
    clip.stdin.close()
    wait_for(ctx, lambda: ctx.session.dpy.get_selection_owner(ctx.session.atom("CLIPBOARD")),
             10, "the list is on the clipboard")
    return clip


def clipboard_png(ctx):
    env = ctx.session.child_env()
    targets = subprocess.run(["xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"],
                             env=env, capture_output=True, timeout=10).stdout.decode()
    if "image/png" not in targets.split():
        return None
    return subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"],
                          env=env, capture_output=True, timeout=10).stdout


def square_centres(img, plot):
    """Centres of the separate squares in the plot, in chart pixels."""
    green, blue = chart.point_masks(img, plot)
    centres = []
    for count, (x0, y0, x1, y1) in chart.blobs(green) + chart.blobs(blue):
        if count >= 30 and x1 - x0 <= 10 and y1 - y0 <= 10:
            centres.append(((x0 + x1) // 2, (y0 + y1) // 2))
    return centres


def statistics(ctx):
    """F2 opens the statistics window; its picture changes after another Enter; "Копировать
    график" puts a PNG of the chart's size on the clipboard; resting the pointer on a square
    shows a tooltip window, on empty plot and during a drag none; closing the main window
    with the statistics open ends the program and leaves settings.dat as ever."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    text = "12 8 20 36 7 5 9 2"
    enter_number(ctx, prog, text)
    check_after_enter(ctx, prog, numbers_of(text), "before-f2")

    ctx.input.key("F2")
    wait_for(ctx, lambda: stats_window(ctx, prog) is not None, 10,
             "F2 opened a window captioned 'Статистика'")
    prog.expect_boxes(0)
    time.sleep(0.5)
    stats = stats_window(ctx, prog)
    ctx.log(f"statistics window at {stats.rect}")
    first = prog.shot(stats.rect)
    write_png(ctx.shot_path("statistics"), first)
    ctx.check(stats.y >= prog.main.y + prog.layout.chart.h,
              f"the window leaves the chart in view (at y {stats.y}, chart ends at "
              f"{prog.main.y + prog.layout.chart.h})")

    # F2 left the keyboard in the number box; a click on the window's heading activates
    # it, and Space presses its focused "Копировать график".
    ctx.input.click(stats.x + 12, stats.y + 14)
    ctx.input.key("space")
    chart_size = (prog.layout.chart.w, prog.layout.chart.h)
    got = {}

    def copied():
        data = clipboard_png(ctx)
        got["size"] = png_size(data) if data else None
        return got["size"] == chart_size
    wait_for(ctx, copied, 10, f"the clipboard holds a PNG of the chart's size {chart_size}")

    # Another number: the window shows the new walk.
    click_into_numbers(ctx, prog)
    text += " 19"
    enter_number(ctx, prog, "19")
    check_after_enter(ctx, prog, numbers_of(text), "after-19")
    wait_for(ctx, lambda: (prog.shot(stats.rect) != first).any(), 10,
             "the statistics window's picture changed after Enter")
    write_png(ctx.shot_path("statistics-after-19"), prog.shot(stats.rect))

    # Tooltips: resting on a square shows one; empty plot shows none.
    img, plot = look(ctx, prog, "tooltips")
    centres = square_centres(img, plot)
    ctx.check(len(centres) >= 3, f"separate squares to hover ({len(centres)})")
    c = prog.layout.chart
    sx, sy = centres[len(centres) // 2]
    ctx.input.move(c.x + sx, c.y + sy)
    ctx.input.move(c.x + sx + 1, c.y + sy)
    wait_for(ctx, lambda: tooltip_windows(ctx, prog, stats), 5,
             "resting on a square shows a tooltip window")
    tip = tooltip_windows(ctx, prog, stats)[0]
    write_png(ctx.shot_path("tooltip"), prog.shot((tip.x - 40, tip.y - 40, tip.width + 80,
                                                   tip.height + 80)))
    empty = (c.x + plot.right - 30, c.y + plot.top + 15)
    ctx.input.move(*empty)
    ctx.input.move(empty[0] + 1, empty[1])
    wait_for(ctx, lambda: not tooltip_windows(ctx, prog, stats), 5,
             "moving to empty plot hides the tooltip")
    time.sleep(2.0)
    ctx.check(not tooltip_windows(ctx, prog, stats), "resting on empty plot shows none")

    # During a drag: none, although the pointer rests on a square.
    img, plot = look(ctx, prog, "before-drag")
    sx, sy = square_centres(img, plot)[0]
    ctx.input.move(c.x + sx, c.y + sy)
    ctx.input._run("mousedown", "1")
    try:
        ctx.input.move(c.x + sx + 1, c.y + sy)
        time.sleep(2.0)
        ctx.check(not tooltip_windows(ctx, prog, stats), "no tooltip during a drag")
    finally:
        ctx.input._run("mouseup", "1")
    prog.wait_idle()

    # Closing the main window with the statistics open.
    prog.close()
    check_saved(ctx, prog, text + " ")


def qt_texts_russian(ctx):
    """Qt's own texts follow the program's Russian: a right click in the number box opens
    the standard edit menu, and "Сохранить график…" opens the file dialog; both are kept as
    screenshots (their texts are read there: menu entries such as "Копировать", the
    dialog's "Имя файла" and "Сохранить"). The dialog is wide, and nothing is saved when it
    is cancelled."""
    prog = ctx.program()
    prog.start()
    # A Pictures folder with a picture in it: the dialog opens there and lists it.
    pictures = prog.path(".env", "home", "Pictures")
    os.makedirs(pictures, exist_ok=True)
    write_png(os.path.join(pictures, "старый график.png"), prog.shot((0, 0, 200, 100)))
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, "5 12")
    known = {w.id for w in program_windows(ctx, prog)}
    m = prog.layout.memo
    ctx.input.click(m.x + 60, m.y + 20, button=3)

    def popups():
        return [w for w in program_windows(ctx, prog)
                if w.id not in known and w.width > 40 and w.height > 60]
    wait_for(ctx, popups, 10, "a right click in the number box opens a menu")
    time.sleep(0.5)
    menu = popups()[0]
    write_png(ctx.shot_path("context-menu"),
              prog.shot((menu.x, menu.y, menu.width, menu.height)))
    ctx.log(f"context menu at {menu.rect}")
    ctx.input.key("Escape")
    wait_for(ctx, lambda: not popups(), 5, "Escape closes the menu")

    ctx.input.key("F2")
    wait_for(ctx, lambda: stats_window(ctx, prog) is not None, 10, "F2 opens the statistics")
    time.sleep(0.5)
    # F2 left the keyboard in the number box: a click on the window's heading activates it.
    # The copy button has the keyboard; Tab moves on to "Сохранить график…".
    stats = stats_window(ctx, prog)
    ctx.input.click(stats.x + 12, stats.y + 14)
    ctx.input.key("Tab")
    ctx.input.key("space")

    def dialog():
        found = [w for w in program_windows(ctx, prog) if w.caption == "Сохранить график"]
        return found[0] if found else None
    wait_for(ctx, dialog, 10, "the save dialog opens")
    time.sleep(1.0)
    d = dialog()
    write_png(ctx.shot_path("save-dialog"), prog.shot(d.rect))
    ctx.check(d.width >= 800, f"the save dialog is wide ({d.width} pixels)")
    ctx.input.key("Escape")
    wait_for(ctx, lambda: dialog() is None, 5, "Escape cancels the dialog")
    prog.close()
    check_saved(ctx, prog, "5 12 ")


SCENARIOS = {
    "first_start": first_start,
    "enter_cycle": enter_cycle,
    "bad_entries": bad_entries,
    "page_size": page_size,
    "restart": restart,
    "unwritable": unwritable,
    "drag_and_button": drag_and_button,
    "paste_2000": paste_2000,
    "statistics": statistics,
    "qt_texts_russian": qt_texts_russian,
}
