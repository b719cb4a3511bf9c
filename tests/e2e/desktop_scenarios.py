"""Scenarios of Vexilo as a desktop program: its window icon, the portable archive, and the
program that the .deb installed (these two run as an ordinary user).

The installed-program scenarios change nothing themselves but need the .deb installed:
./vexilo test runs them only with CI=true, after `apt-get install` (dist/ci-install-check.sh).
"""
import os
import subprocess

import numpy as np

from harness import packaged
from scenarios import (check_after_enter, check_saved, check_walk, click_into_numbers,
                       enter_number, look, numbers_of, settings_text)

ICON_PNGS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "dist",
                         "icons", "png")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def png_rgba(path):
    """A PNG's pixels as an H x W x 4 RGBA array (ImageMagick decodes it)."""
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          stdout=subprocess.PIPE).stdout.split()
    w, h = int(size[0]), int(size[1])
    raw = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], check=True,
                         stdout=subprocess.PIPE).stdout
    return np.frombuffer(raw, dtype=np.uint8).reshape(h, w, 4)


def check_window_icon(ctx, prog):
    """The main window carries the program's icon in _NET_WM_ICON: every embedded size,
    with the very pixels of the committed PNGs."""
    icons = ctx.session.window_icon(prog.main.id)
    sizes = sorted((w, h) for w, h, _ in icons)
    ctx.check(sizes == [(s, s) for s in ICON_SIZES],
              f"_NET_WM_ICON holds the icon at {', '.join(map(str, ICON_SIZES))} pixels "
              f"(found {sizes})")
    for w, h, rgba in icons:
        expected = png_rgba(os.path.join(ICON_PNGS, f"vexilo-{w}.png"))
        # Fully transparent pixels carry no colour; compare the rest, allowing the rounding
        # of a premultiplied round trip.
        opaque = expected[:, :, 3] > 0
        diff = np.abs(rgba.astype(int) - expected.astype(int))
        worst = int(diff[opaque].max()) if opaque.any() else 0
        ctx.check(np.array_equal(rgba[:, :, 3] > 0, opaque) and worst <= 2,
                  f"the {w}x{h} icon has the pixels of vexilo-{w}.png (largest difference "
                  f"{worst})")


def window_icon(ctx):
    """The window and its taskbar button show Vexilo's icon: the real window's _NET_WM_ICON
    holds every size of it."""
    prog = ctx.program()
    prog.start()
    check_window_icon(ctx, prog)
    prog.close()


def portable_archive(ctx):
    """The portable archive unpacked into a folder of an ordinary user's and run from
    there: it saves beside its program, nowhere else, and restores from there."""
    prog = packaged.portable_program(ctx)
    ctx.log(f"unpacked into {prog.workdir}")
    prog.start()
    check_window_icon(ctx, prog)
    click_into_numbers(ctx, prog)
    text = "5 12 7"
    enter_number(ctx, prog, text)
    check_after_enter(ctx, prog, numbers_of(text), "portable-after-enter")
    prog.close()
    check_saved(ctx, prog, text + " ")
    ctx.check(not os.path.exists(os.path.join(prog.home, ".local", "share", "vexilo")),
              "nothing was saved in the user's data directory")
    prog.start()
    img, plot = look(ctx, prog, "portable-restarted")
    check_walk(ctx, img, plot, numbers_of(text), 0, 100, "the portable copy restored")
    prog.close()
    check_saved(ctx, prog, text)


def installed_start(ctx):
    """The installed program, started as an ordinary user through its desktop entry's
    command: the window comes up with its icon, the running program is
    /usr/lib/vexilo/Vexilo, and its message boxes are captioned "Vexilo"."""
    prog = packaged.installed_program(ctx)
    ctx.log(f"desktop entry command: {prog.command}")
    prog.start()
    exe = os.readlink(f"/proc/{prog.proc.pid}/exe")
    ctx.check(exe == packaged.INSTALLED_PROGRAM, f"the running program is {exe}")
    status = open(f"/proc/{prog.proc.pid}/status").read()
    uid = next(line.split()[1] for line in status.splitlines() if line.startswith("Uid:"))
    ctx.check(int(uid) == prog.user.pw_uid, f"it runs as {prog.user.pw_name} (uid {uid})")
    check_window_icon(ctx, prog)
    wm_class = ctx.session.dpy.create_resource_object("window", prog.main.id).get_wm_class()
    wanted = packaged.desktop_entry()["StartupWMClass"]
    ctx.check(wm_class is not None and wm_class[1] == wanted,
              f"the window's WM_CLASS {wm_class} has the class {wanted!r} that the desktop "
              f"entry's StartupWMClass names, so a dock matches the window to the entry")
    click_into_numbers(ctx, prog)
    # An empty list and Enter: the message box, captioned with the title the program takes
    # from its own file name through the link.
    box = prog.act(lambda: ctx.input.key("Return"), boxes=1, changes=False)[0]
    ctx.check(box.caption == "Vexilo", f"the message box is captioned {box.caption!r}")
    text = "8 13 22"
    enter_number(ctx, prog, text)
    check_after_enter(ctx, prog, numbers_of(" " + text), "installed-after-enter")
    # Closing saves; where it saves is installed_keeps_numbers's concern. The process is
    # ended by the harness.


def installed_keeps_numbers(ctx):
    """The installed program run by an ordinary user saves into that user's data directory
    ($HOME/.local/share/vexilo: settings.dat and System/Numbers_Memo.txt, the same bytes a
    portable copy writes), restores from there at the next start, and writes nothing beside
    /usr/lib/vexilo/Vexilo."""
    prog = packaged.installed_program(ctx)
    ctx.check(not os.path.exists(prog.workdir), "no data directory before the first save")
    keeps_numbers_in_data_dir(ctx, prog, os.path.dirname(packaged.INSTALLED_PROGRAM),
                              "installed-restarted", "the installed program restored")


def installed_as_root(ctx):
    """The installed program run by root, who could write /usr/lib/vexilo: it still saves
    into root's data directory and writes nothing under /usr, where the package manager
    alone writes."""
    prog = packaged.installed_program(ctx, "installed-root", packaged.root_user())
    usr = packaged.file_list("/usr/lib/vexilo")
    keeps_numbers_in_data_dir(ctx, prog, os.path.dirname(packaged.INSTALLED_PROGRAM),
                              "installed-root-restarted", "the installed program restored")
    ctx.check(packaged.file_list("/usr/lib/vexilo") == usr,
              "nothing was written under /usr/lib/vexilo")


def unprivileged_copy(ctx):
    """The built program in a folder that belongs to root, run by an ordinary user (as the
    installed package runs, without installing it): it saves into the user's data directory
    ($HOME/.local/share/vexilo), nothing beside the program, and restores from there."""
    prog = packaged.copied_program(ctx, "root-owned", "home/.local/share/vexilo")
    keeps_numbers_in_data_dir(ctx, prog, os.path.dirname(prog.command[0]), "restarted",
                              "the copy restored")


def keeps_numbers_in_data_dir(ctx, prog, folder, shot, restored):
    """A session of an ordinary user's program whose own folder takes nothing: a list
    entered, the window closed, saved as the user's files in prog.workdir (the data
    directory) and nothing in `folder`; the next start restores it and saves it again."""
    before = packaged.file_list(folder)
    prog.start()
    click_into_numbers(ctx, prog)
    text = "5 12 7"
    enter_number(ctx, prog, text)
    prog.close()
    check_saved(ctx, prog, text + " ")
    owner = os.stat(prog.path("settings.dat")).st_uid
    ctx.check(owner == prog.user.pw_uid, f"settings.dat belongs to the user (uid {owner})")
    after = packaged.file_list(folder)
    ctx.check(after == before, f"nothing was written beside the program ({sorted(after)})")
    prog.start()
    img, plot = look(ctx, prog, shot)
    check_walk(ctx, img, plot, numbers_of(text), 0, 100, restored)
    prog.close()
    check_saved(ctx, prog, text)


def prepared_folder(ctx):
    """A folder an administrator prepared: it belongs to root and takes no new files, but
    its settings.dat and side file may be written by the user. The program restores from it
    and saves into those files in place, nowhere else."""
    prog = packaged.copied_program(ctx, "prepared", "app")
    text = "5 12 7"
    with open(prog.path("settings.dat"), "w", encoding="utf-8", newline="") as f:
        f.write(settings_text())
    os.makedirs(prog.path("System"), mode=0o755)
    with open(prog.path("System", "Numbers_Memo.txt"), "w", encoding="utf-8") as f:
        f.write(text)
    for name in (prog.path("settings.dat"), prog.path("System", "Numbers_Memo.txt")):
        os.chmod(name, 0o666)
    os.chmod(prog.path("System"), 0o755)
    before = packaged.file_list(prog.workdir)
    prog.start()
    img, plot = look(ctx, prog, "prepared-restored")
    check_walk(ctx, img, plot, numbers_of(text), 0, 100, "the prepared list restored")
    click_into_numbers(ctx, prog)
    ctx.input.key("ctrl+End")
    enter_number(ctx, prog, " 20")
    prog.close()
    check_saved(ctx, prog, text + " 20 ")
    ctx.check(packaged.file_list(prog.workdir) == before,
              "the prepared folder holds the same files, no temporary or backup file")
    ctx.check(not os.path.exists(os.path.join(prog.home, ".local", "share", "vexilo")),
              "nothing was saved in the user's data directory")


def qt_options_ignored(ctx):
    """Options that Qt reads from a command line (-qwindowtitle, -reverse, -style,
    -stylesheet) change nothing: the program reads no command line. The window keeps its
    caption (the harness finds it by it) and looks pixel for pixel as without them."""
    plain = ctx.program("plain")
    plain.start()
    img_plain = plain.shot()
    plain.save_shot("plain")
    plain.close()
    prog = ctx.program("options")
    os.makedirs(prog.workdir, exist_ok=True)
    with open(prog.path("red.qss"), "w") as f:
        f.write("* { background: red; }\n")
    # -platform would take the window off the screen: start() would not find it.
    prog.args = ["-qwindowtitle", "Other", "-reverse", "-style", "windows",
                 "-stylesheet", "red.qss", "-platform", "offscreen"]
    prog.start()
    img = prog.shot()
    prog.save_shot("with-options")
    ctx.check(prog.main.caption == "Vexilo ver. 0.1", f"the caption is {prog.main.caption!r}")
    ctx.check(img.shape == img_plain.shape and (img == img_plain).all(),
              "the window looks exactly as without the options")
    prog.close()


SCENARIOS = {
    "window_icon": window_icon,
    "portable_archive": portable_archive,
    "installed_start": installed_start,
    "installed_keeps_numbers": installed_keeps_numbers,
    "installed_as_root": installed_as_root,
    "unprivileged_copy": unprivileged_copy,
    "prepared_folder": prepared_folder,
    "qt_options_ignored": qt_options_ignored,
}
