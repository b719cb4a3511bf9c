"""The acceptance scenarios: what a person does with Vexilo and what they then see and find.

Each scenario takes the run context (run_scenario.py) and raises on the first failed check.
Input goes through real X events only; results are read from screenshots and from the files
the program leaves beside its executable.
"""
import os
import random
import shutil
import subprocess
import time

from harness import chart
from harness.chart import BLUE, GREEN

DESIGN_SETTINGS = ("[mainForm]\nNumbers_Memo.File=Numbers_Memo\n"
                   "DotsPerPage_SE.Value={page}\nDebug_CheckBox.Checked=0\n")
SIDE_FILE = ("System", "Numbers_Memo.txt")

# After Enter the view runs from 100 before the newest point to 200 after it.
BEFORE, AFTER = 100, 200


def settings_text(page=100):
    return DESIGN_SETTINGS.format(page=page)


# -- steps a person takes -----------------------------------------------------------------

def enter_number(ctx, prog, text, boxes=0):
    """Types into the number box (where the caret already is) and presses Enter."""
    ctx.input.type(text)
    ctx.input.key("Return")
    seen = prog.expect_boxes(boxes)
    prog.wait_idle()
    return seen


def click_into_numbers(ctx, prog):
    # The end of the box's text area, so the caret lands after the last character.
    m = prog.layout.memo
    ctx.input.click(m.x + m.w - 40, m.y + m.h - 12)


def plot_of(ctx, prog, img, name):
    plot = chart.find_plot(img)
    ctx.check(plot is not None and plot.width > 200,
              f"{name}: the chart shows a plot frame ({plot})")
    return plot


def check_newest_at_view_anchor(ctx, img, plot, colour, name):
    """After Enter the newest point sits 100 units into a 300-unit view: a third of the way
    across the plot."""
    x = round(plot.x_of(BEFORE, 0, BEFORE + AFTER))
    row = chart.square_centre_row(img, x, colour, plot)
    ctx.check(row is not None,
              f"{name}: a {'green' if colour == GREEN else 'blue'} square at x={x}, "
              f"a third of the way across the plot")
    return row


def save_chart(ctx, prog, name):
    img = prog.chart_shot()
    ctx.log(f"screenshot {prog.save_shot(name, prog.layout.chart.tuple())}")
    return img


def check_saved(ctx, prog, numbers, page=100):
    ctx.check(prog.read("settings.dat") == settings_text(page),
              f"settings.dat holds the three keys with page size {page}: "
              f"{prog.read('settings.dat')!r}")
    side = prog.read(*SIDE_FILE)
    shown = side if len(side) < 80 else side[:40] + "..." + side[-20:]
    ctx.check(side == numbers, f"the side file holds {len(numbers)} characters of the list "
              f"as expected ({shown!r})")


def check_plain_start(ctx, prog, name):
    img = save_chart(ctx, prog, name)
    plot = plot_of(ctx, prog, img, name)
    ctx.check(chart.point_extent(img, plot) is None, f"{name}: no squares in the plot")
    return img, plot


# -- scenarios ----------------------------------------------------------------------------

def first_start(ctx):
    """First start in an empty directory: an empty chart with its title, frame and zero
    line over the bottom axis 0 .. 100; closing writes the design settings."""
    prog = ctx.program()
    prog.start(boxes=0)
    ctx.check(True, "the window captioned 'Vexilo ver. 0.1' appeared with no message box")
    img, plot = check_plain_start(ctx, prog, "first start")
    count, mean_x = chart.title_pixels(img, plot)
    ctx.check(count > 300, f"a blue title above the plot ({count} pixels)")
    centre = img.shape[1] / 2
    ctx.check(abs(mean_x - centre) < 60, f"the title is centred (mean x {mean_x:.0f}, "
              f"chart centre {centre:.0f})")
    zero = chart.zero_line(img, plot)
    ctx.check(zero is not None, f"a zero line crosses the plot ({zero})")
    row, colour, x0, x1 = zero
    ctx.check(plot.top < row < plot.bottom, "the zero line lies inside the plot")
    # The zero line runs from X = 0 to the axis maximum 100: across the whole plot.
    ctx.check(x0 <= plot.left + 3 and x1 >= plot.right - 3,
              f"the zero line spans the whole 0 .. 100 view ({x0} .. {x1} in "
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
    walk = [(5, BLUE, -1), (12, GREEN, 0), (7, BLUE, -1)]
    for i, (number, colour, _) in enumerate(walk):
        enter_number(ctx, prog, str(number))
        img = save_chart(ctx, prog, f"after-enter-{number}")
        plot = plot_of(ctx, prog, img, f"after {number}")
        check_newest_at_view_anchor(ctx, img, plot, colour, f"after Enter on {number}")
    # The view is now -98 .. 202: check every square's place and colour.
    lo, hi = 2 - BEFORE, 2 + AFTER
    zero = chart.zero_line(img, plot)
    ctx.check(zero is not None, "the zero line is visible")
    zero_row = zero[0]
    rows = []
    for x_value, (number, colour, balance) in enumerate(walk):
        x = round(plot.x_of(x_value, lo, hi))
        row = chart.square_centre_row(img, x, colour, plot)
        name = "green" if colour == GREEN else "blue"
        ctx.check(row is not None, f"point {x_value} ({number}) is a {name} square at x={x}")
        rows.append(row)
    ctx.check(abs(rows[1] - zero_row) <= 1.5, f"the green square sits on the zero line "
              f"(centre row {rows[1]}, zero line {zero_row})")
    ctx.check(rows[0] > zero_row + 4 and abs(rows[0] - rows[2]) <= 1.5,
              f"both blue squares sit one step below the zero line (rows {rows[0]}, "
              f"{rows[2]}, zero line {zero_row})")
    green, blue = chart.point_masks(img, plot)
    gx = [b for b in chart.blobs(green)]
    ctx.check(len(gx) >= 1 and all(abs((b[1][0] + b[1][2]) / 2 - plot.x_of(1, lo, hi)) <= 3
                                   for b in gx),
              "no green pixels other than the second square")
    # The caret waits at the end after a space: typing on at once adds a fourth number.
    enter_number(ctx, prog, "20")
    img = save_chart(ctx, prog, "after-enter-20")
    plot = plot_of(ctx, prog, img, "after 20")
    row = check_newest_at_view_anchor(ctx, img, plot, GREEN, "after Enter on 20")
    zero_row = chart.zero_line(img, plot)[0]
    ctx.check(abs(row - zero_row) <= 1.5, "20 brings the balance back to the zero line")
    prog.close()
    check_saved(ctx, prog, "5 12 7 20 ")


def bad_entries(ctx):
    """abc, 0 and 40 each bring up one message box, which is dismissed with the keyboard,
    and are removed from the list; a good number after them is drawn as the only square."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    for text in ("abc", "0", "40"):
        boxes = enter_number(ctx, prog, text, boxes=1)
        box = boxes[0]
        ctx.check(box.over_main, f"the message box for {text} stands over the main window "
                  f"(screenshot {os.path.basename(box.screenshot)})")
        img = prog.chart_shot()
        plot = plot_of(ctx, prog, img, f"after {text}")
        ctx.check(chart.point_extent(img, plot) is None, f"no square drawn for {text}")
    enter_number(ctx, prog, "8")
    img = save_chart(ctx, prog, "after-8")
    plot = plot_of(ctx, prog, img, "after 8")
    green, blue = chart.point_masks(img, plot)
    ctx.check(not blue.any(), "no blue square")
    ctx.check(len(chart.blobs(green)) in (1, 2),  # the zero line may cut it in two
              "exactly one green square")
    prog.close()
    # Each rejected entry left its separator behind; the list keeps one empty first entry.
    check_saved(ctx, prog, " 8 ")


def page_size(ctx):
    """The page-size box: its arrow buttons step by 100 and clamp at 50, typing a value
    redraws with it, leaving the box clamps 9999 to 5000; the view rescales each time."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    rng = random.Random(7)
    numbers = [rng.randint(1, 36) for _ in range(30)]
    enter_number(ctx, prog, " ".join(str(n) for n in numbers))
    lay = prog.layout
    ctx.input.click(*lay.button.centre)
    prog.expect_boxes(0)
    prog.wait_idle()

    def last_point_offset(page, name):
        # The last point (X = 29) sits 29/page of the way across a 0 .. page view.
        img = save_chart(ctx, prog, name)
        plot = plot_of(ctx, prog, img, name)
        extent = chart.point_extent(img, plot)
        ctx.check(extent is not None, f"{name}: squares are drawn")
        x = plot.x_of(len(numbers) - 1, 0, page)
        ctx.check(abs(extent[1] - 4 - x) <= 3 or (x > plot.right and extent[1] >= plot.right - 2),
                  f"{name}: the last square ends where 0 .. {page} puts it "
                  f"(rightmost point pixel {extent[1]}, expected centre {x:.0f})")

    last_point_offset(100, "page-100")
    ctx.input.click(*lay.spin_up)
    prog.expect_boxes(0)
    prog.wait_idle()
    last_point_offset(200, "up-arrow-200")
    ctx.input.click(*lay.spin_down)
    prog.wait_idle()
    ctx.input.click(*lay.spin_down)  # 100 - 100 = 0, clamped to 50
    prog.expect_boxes(0)
    prog.wait_idle()
    last_point_offset(50, "down-arrow-twice-50")
    ctx.input.click(*lay.spin_text)
    ctx.input.key("ctrl+a")
    ctx.input.type("300")
    prog.expect_boxes(0)
    prog.wait_idle()
    last_point_offset(300, "typed-300")
    ctx.input.key("ctrl+a")
    ctx.input.type("9999")
    prog.wait_idle()
    ctx.input.key("Tab")  # leaving the box clamps to 5000
    prog.expect_boxes(0)
    prog.wait_idle()
    last_point_offset(5000, "left-box-5000")
    prog.close()
    check_saved(ctx, prog, " ".join(str(n) for n in numbers) + " ", page=5000)


def restart(ctx):
    """Closing and starting again restores the list, the page size and the diagram; a stored
    page size other than 100 with an empty list brings one message box during start-up."""
    prog = ctx.program("app")
    prog.start()
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, "5 12 7 20 33 36 1")
    ctx.input.click(*prog.layout.spin_up)
    prog.wait_idle()
    ctx.input.click(*prog.layout.spin_up)  # 300
    prog.expect_boxes(0)
    before = save_chart(ctx, prog, "before-close")
    prog.close()
    check_saved(ctx, prog, "5 12 7 20 33 36 1 ", page=300)
    prog.start(boxes=0)
    after = save_chart(ctx, prog, "after-restart")
    plot = plot_of(ctx, prog, after, "after restart")
    green_b, blue_b = chart.point_masks(before, chart.find_plot(before))
    green_a, blue_a = chart.point_masks(after, plot)
    ctx.check(green_a.any() and blue_a.any(), "the restored diagram has green and blue squares")
    ctx.check((green_a == green_b).all() and (blue_a == blue_b).all(),
              "the restored diagram's squares are exactly those shown before closing")
    prog.close()
    check_saved(ctx, prog, "5 12 7 20 33 36 1 ", page=300)

    # A page size of 200 with an empty list: the change draws once during start-up.
    prog = ctx.program("empty")
    prog.start()
    ctx.input.click(*prog.layout.spin_up)
    prog.expect_boxes(1)  # the list is empty: the redraw says so
    prog.close()
    check_saved(ctx, prog, "", page=200)
    prog.start(boxes=1)
    ctx.check(True, "one message box during start-up, before the window showed")
    check_plain_start(ctx, prog, "empty list restart")
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
    os.makedirs(blocker)
    prog.request_close()
    boxes = prog.expect_boxes(1)
    ctx.check(boxes[0].over_main, "the error box stands over the main window")
    time.sleep(0.5)
    ctx.check(prog.is_running() and prog.session.is_viewable(prog.main.id),
              "after the error the window stays open")
    os.rmdir(blocker)
    prog.close()
    check_saved(ctx, prog, "5 12 ")


def drag_and_button(ctx):
    """Dragging the chart with the left button moves the points with the pointer; the
    button then resets the view to 0 .. page size."""
    prog = ctx.program()
    prog.start()
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, "5 12 7 20 33 36 1 2")
    img = save_chart(ctx, prog, "before-drag")
    plot = plot_of(ctx, prog, img, "before drag")
    before = chart.point_extent(img, plot)
    ctx.check(before is not None, "squares before the drag")
    c = prog.layout.chart
    start = (c.x + plot.left + plot.width // 2, c.y + (plot.top + plot.bottom) // 2)
    distance = 150
    ctx.input.drag(start, (start[0] + distance, start[1]))
    prog.expect_boxes(0)
    prog.wait_idle()
    img = save_chart(ctx, prog, "after-drag")
    after = chart.point_extent(img, plot)
    ctx.check(after is not None, "squares after the drag")
    moved = after[1] - before[1]
    ctx.check(abs(moved - distance) <= 0.25 * distance,
              f"the points followed the pointer: moved {moved} pixels for a {distance}-pixel "
              f"drag")
    ctx.input.click(*prog.layout.button.centre)
    prog.expect_boxes(0)
    prog.wait_idle()
    img = save_chart(ctx, prog, "after-button")
    extent = chart.point_extent(img, plot)
    x_last = plot.x_of(7, 0, 100)
    ctx.check(extent is not None and abs(extent[1] - 4 - x_last) <= 3,
              f"the button reset the view to 0 .. 100 (last square ends at {extent}, expected "
              f"centre {x_last:.0f})")
    prog.close()


def paste_2000(ctx):
    """2,000 numbers pasted from the clipboard, then Enter: the program redraws them and
    stays responsive; reports the time from Enter to the repainted chart."""
    rng = random.Random(2000)
    numbers = [rng.randint(1, 36) for _ in range(2000)]
    text = " ".join(str(n) for n in numbers)
    prog = ctx.program()
    prog.start()
    clip = ctx.procs.start(["xclip", "-selection", "clipboard", "-quiet"],
                           env=ctx.session.child_env(), stdin=subprocess.PIPE,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    clip.stdin.write(text.encode())
    clip.stdin.close()
    deadline = time.monotonic() + 10
    while ctx.session.dpy.get_selection_owner(ctx.session.atom("CLIPBOARD")) == 0:
        ctx.check(time.monotonic() < deadline, "xclip owns the clipboard")
        time.sleep(0.05)
    click_into_numbers(ctx, prog)
    memo_before = prog.shot(prog.layout.memo.tuple())
    ctx.input.key("ctrl+v")
    deadline = time.monotonic() + 20
    while not (prog.shot(prog.layout.memo.tuple()) != memo_before).any():
        ctx.check(time.monotonic() < deadline, "the pasted text shows in the number box")
        time.sleep(0.05)
    time.sleep(0.5)
    before = prog.wait_idle()
    t0 = time.monotonic()
    ctx.input.key("Return")
    first, img = prog.wait_chart_change(before, timeout=60)
    # Follow the repaints until the chart has rested for a second.
    last_change, last = first, img
    while time.monotonic() - t0 - last_change < 1.0:
        ctx.check(time.monotonic() - t0 < 90, "the chart comes to rest after Enter")
        now = prog.chart_shot()
        if (now != last).any():
            last, last_change = now, time.monotonic() - t0
        time.sleep(0.01)
    ctx.measure("enter_to_first_repaint_2000", first * 1000, "ms")
    ctx.measure("enter_to_final_picture_2000", last_change * 1000, "ms")
    prog.expect_boxes(0, quiet=0.0)
    img = save_chart(ctx, prog, "after-enter")
    plot = plot_of(ctx, prog, img, "after Enter")
    colour = GREEN if numbers[-1] % 2 == 0 else BLUE
    check_newest_at_view_anchor(ctx, img, plot, colour, "the newest of 2,000 points")
    ctx.check(chart.point_extent(img, plot)[0] <= plot.left + 4,
              "older points fill the view from its left edge")
    # Still responsive: the button redraws and resets the view at once.
    t1 = time.monotonic()
    ctx.input.click(*prog.layout.button.centre)
    took, img = prog.wait_chart_change(last, timeout=60)
    ctx.measure("button_to_repaint_2000", took * 1000, "ms")
    prog.expect_boxes(0)
    prog.wait_idle()
    ctx.check(time.monotonic() - t1 < 60, "the button answered")
    prog.close()
    check_saved(ctx, prog, text + " ")
    ctx.procs.stop(clip)


SCENARIOS = {
    "first_start": first_start,
    "enter_cycle": enter_cycle,
    "bad_entries": bad_entries,
    "page_size": page_size,
    "restart": restart,
    "unwritable": unwritable,
    "drag_and_button": drag_and_button,
    "paste_2000": paste_2000,
}
