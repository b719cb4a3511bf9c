"""The automatic save: what a kill leaves on disk, and a folder that stops taking the files.

`save_kill`: rounds of real key presses (random numbers, Enter after each) ended by
`kill -9` at a random moment. After every kill the files hold the list as it stood after
one of the Enters, never less than every Enter that came at least a second before the kill;
settings.dat is whole; no backup was made; the next start restores the list.

`save_read_only`: the program run as an ordinary user keeps its files in its data folder;
that folder made read-only mid-session brings one error box over several Enters; once it
may be written again, the next Enter saves.
"""
import os
import random
import signal
import threading
import time

from harness import packaged
from scenarios import SIDE_FILE, check_saved, click_into_numbers, enter_number, settings_text

ROUNDS = 20
# An Enter at least this long before the kill must be on disk.
DURABLE_AFTER = 1.0


def read_or_none(prog, *parts):
    try:
        return prog.read(*parts)
    except FileNotFoundError:
        return None


def backups(root):
    return sorted(p for p in packaged.file_list(root) if ".bak" in os.path.basename(p))


def save_kill(ctx):
    rng = random.Random(int(os.environ.get("VEXILO_E2E_SEED", time.time())))
    prog = ctx.program("kill")
    restored = ""  # the list the files hold, which the next start must show
    for round_no in range(1, ROUNDS + 1):
        prog.start()
        click_into_numbers(ctx, prog)
        ctx.input.key("ctrl+End")
        # The box after each Enter: the list so far, then the space for the next number.
        states = [restored]
        enter_times = []
        killed_at = []
        delay = rng.uniform(0.3, 2.5)

        def kill():
            killed_at.append(time.monotonic())
            os.kill(prog.proc.pid, signal.SIGKILL)

        timer = threading.Timer(delay, kill)
        started = time.monotonic()
        timer.start()
        # An Enter sent while the kill came may or may not have reached the program.
        maybe = None
        try:
            while not killed_at and time.monotonic() - started < delay + 1:
                number = str(rng.randint(1, 36))
                # The start's draw took the restored list's trailing space away.
                typed = " " + number if states[-1] and len(states) == 1 else number
                ctx.input.type(typed, delay_ms=30)
                ctx.input.key("Return")
                if killed_at:
                    maybe = states[-1] + number + " "
                    break
                enter_times.append(time.monotonic())
                states.append(states[-1] + number + " ")
        finally:
            timer.join()
        prog.proc.wait(10)
        kill_time = killed_at[0]
        must_hold = sum(1 for t in enter_times if t <= kill_time - DURABLE_AFTER)
        on_disk = read_or_none(prog, *SIDE_FILE)
        settings = read_or_none(prog, "settings.dat")
        ctx.log(f"round {round_no}: killed {kill_time - started:.2f} s in, "
                f"{len(enter_times)} Enters, {must_hold} of them a second before")
        if on_disk is None:
            ctx.check(must_hold == 0 and restored == "",
                      f"round {round_no}: no file yet, and no Enter a second before the kill")
            continue
        allowed = states + ([maybe] if maybe else [])
        ctx.check(on_disk in allowed,
                  f"round {round_no}: the side file holds the list after one Enter, not a "
                  f"torn one ({on_disk[-40:]!r})")
        reached = allowed.index(on_disk)
        ctx.check(reached >= must_hold,
                  f"round {round_no}: every Enter a second before the kill is on disk "
                  f"({reached} Enters saved of {len(enter_times)} sent before it, {must_hold} "
                  f"required)")
        ctx.check(settings == settings_text(100),
                  f"round {round_no}: settings.dat is whole ({settings!r})")
        ctx.check(not backups(prog.workdir), f"round {round_no}: no backup was made "
                  f"({backups(prog.workdir)})")
        restored = on_disk
    # The last start restores the list; its close writes it back as the start's draw left
    # it, without the trailing space.
    prog.start()
    prog.close()
    check_saved(ctx, prog, restored.rstrip(" "))
    ctx.check(not backups(prog.workdir), f"no backup at the end ({backups(prog.workdir)})")


def save_read_only(ctx):
    prog = packaged.copied_program(ctx, "readonly", "home/.local/share/vexilo")
    prog.start()
    click_into_numbers(ctx, prog)
    enter_number(ctx, prog, "5")
    side = prog.path(*SIDE_FILE)
    deadline = time.monotonic() + 5
    while read_or_none(prog, *SIDE_FILE) != "5 " and time.monotonic() < deadline:
        time.sleep(0.05)
    ctx.check(read_or_none(prog, *SIDE_FILE) == "5 ", "the first Enter is saved in the data folder")

    folders = [prog.workdir, prog.path("System")]
    files = [prog.path("settings.dat"), side]
    for name in files:
        os.chmod(name, 0o444)
    for name in folders:
        os.chmod(name, 0o555)
    ctx.log("the data folder, System/ and the files made read-only")
    boxes = enter_number(ctx, prog, "12", boxes=1)
    ctx.check(len(boxes) == 1, "the first Enter after that brings one error box "
              f"(screenshot {os.path.basename(boxes[0].screenshot)})")
    for number in ("7", "30"):
        click_into_numbers(ctx, prog)
        ctx.input.key("ctrl+End")
        enter_number(ctx, prog, number)
        prog.expect_boxes(0, quiet=1.5)
    ctx.check(True, "two more Enters bring no further box")
    ctx.check(prog.read(*SIDE_FILE) == "5 ", "the read-only side file still holds the first list")

    for name in folders:
        os.chmod(name, 0o755)
    for name in files:
        os.chmod(name, 0o644)
    click_into_numbers(ctx, prog)
    ctx.input.key("ctrl+End")
    enter_number(ctx, prog, "1")
    deadline = time.monotonic() + 5
    while read_or_none(prog, *SIDE_FILE) != "5 12 7 30 1 " and time.monotonic() < deadline:
        time.sleep(0.05)
    ctx.check(prog.read(*SIDE_FILE) == "5 12 7 30 1 ",
              "once the folder may be written, the next Enter saves the whole list")
    prog.expect_boxes(0, quiet=1.0)
    prog.close()
    check_saved(ctx, prog, "5 12 7 30 1 ")


SCENARIOS = {
    "save_kill": save_kill,
    "save_read_only": save_read_only,
}
