"""A private X server for one scenario and what the harness asks of it.

Starts Xvfb on a display number it picks itself (-displayfd), and talks to it through
python3-xlib: the top-level windows with their captions, the input focus, screenshots as
RGB arrays, and the close request a window manager would send (WM_DELETE_WINDOW).
There is no window manager: top-level windows are children of the root window.
"""
import os
import select
import subprocess
import time
from dataclasses import dataclass

import numpy as np
from Xlib import X, Xatom, display, error, protocol

SCREEN_SIZE = (1280, 1024)  # unless a scenario asks for another (its `screen_size`)


@dataclass
class TopWindow:
    """A mapped top-level window as the X server sees it at one moment."""

    id: int
    caption: str
    pid: int
    x: int
    y: int
    width: int
    height: int
    transient_for: int

    @property
    def rect(self):
        return (self.x, self.y, self.width, self.height)


class XSession:
    def __init__(self, procs, log, logdir):
        self._procs = procs
        self._log = log
        self._logdir = logdir
        self.number = None
        self.server = None
        self.dpy = None
        self.size = SCREEN_SIZE

    # -- life cycle --------------------------------------------------------------------

    def start(self, timeout=30.0, size=None):
        self.size = tuple(size or SCREEN_SIZE)
        read_fd, write_fd = os.pipe()
        with open(os.path.join(self._logdir, "xvfb.log"), "wb") as xlog:
            w, h = self.size
            self.server = self._procs.start(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{w}x{h}x24",
                 "-dpi", "96", "-nolisten", "tcp", "-noreset", "-s", "0"],
                pass_fds=(write_fd,), stdout=xlog, stderr=subprocess.STDOUT)
        os.close(write_fd)
        try:
            self.number = self._read_display_number(read_fd, timeout)
        finally:
            os.close(read_fd)
        self.dpy = display.Display(self.name)
        self._atoms = {}
        self._log(f"X server {self.name} (pid {self.server.pid}) is up")

    def _read_display_number(self, fd, timeout):
        deadline = time.monotonic() + timeout
        text = b""
        while not text.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or self.server.poll() is not None:
                raise RuntimeError("Xvfb did not report a display number (see xvfb.log)")
            ready, _, _ = select.select([fd], [], [], left)
            if ready:
                chunk = os.read(fd, 64)
                if not chunk:
                    raise RuntimeError("Xvfb closed its display pipe (see xvfb.log)")
                text += chunk
        return int(text.strip())

    def close(self):
        if self.dpy is not None:
            try:
                self.dpy.close()
            except Exception:
                pass
            self.dpy = None
        if self.server is not None:
            self._procs.stop(self.server)
            self.server = None

    @property
    def name(self):
        return f":{self.number}"

    def child_env(self):
        """Environment for programs on this display: no trace of the caller's display."""
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "WAYLAND_", "XDG_SESSION")) and k != "XAUTHORITY"}
        env["DISPLAY"] = self.name
        env["QT_QPA_PLATFORM"] = "xcb"
        return env

    # -- windows -----------------------------------------------------------------------

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = self.dpy.intern_atom(name)
        return self._atoms[name]

    def _text_property(self, win, name, kind):
        prop = win.get_full_property(self.atom(name), kind)
        if prop is None:
            return None
        value = prop.value
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)

    def top_windows(self):
        """Mapped top-level windows, bottom to top in stacking order."""
        result = []
        root = self.dpy.screen().root
        for win in root.query_tree().children:
            try:
                attrs = win.get_attributes()
                if attrs.map_state != X.IsViewable:
                    continue
                caption = self._text_property(win, "_NET_WM_NAME", self.atom("UTF8_STRING"))
                if caption is None:
                    caption = self._text_property(win, "WM_NAME", Xatom.STRING) or ""
                pid_prop = win.get_full_property(self.atom("_NET_WM_PID"), Xatom.CARDINAL)
                trans = win.get_full_property(Xatom.WM_TRANSIENT_FOR, Xatom.WINDOW)
                geom = win.get_geometry()
                pos = win.translate_coords(root, 0, 0)
            except (error.BadWindow, error.BadDrawable, error.BadMatch):
                continue  # went away while we looked
            result.append(TopWindow(
                id=win.id, caption=caption,
                pid=int(pid_prop.value[0]) if pid_prop else 0,
                x=-pos.x, y=-pos.y, width=geom.width, height=geom.height,
                transient_for=int(trans.value[0]) if trans else 0))
        return result

    def input_focus(self):
        focus = self.dpy.get_input_focus().focus
        return focus if isinstance(focus, int) else focus.id

    def is_viewable(self, window_id):
        try:
            win = self.dpy.create_resource_object("window", window_id)
            return win.get_attributes().map_state == X.IsViewable
        except (error.BadWindow, error.BadDrawable):
            return False

    def window_icon(self, window_id):
        """The icons in a window's _NET_WM_ICON: a list of (width, height, H x W x 4 uint8
        array in R, G, B, A order); empty when the property is missing."""
        win = self.dpy.create_resource_object("window", window_id)
        prop = win.get_full_property(self.atom("_NET_WM_ICON"), Xatom.CARDINAL,
                                     sizehint=1 << 20)
        if prop is None:
            return []
        values = np.asarray(prop.value, dtype=np.uint64).astype(np.uint32)
        icons, i = [], 0
        while i + 2 <= len(values):
            w, h = int(values[i]), int(values[i + 1])
            pixels = values[i + 2:i + 2 + w * h]
            if w <= 0 or h <= 0 or len(pixels) != w * h:
                raise AssertionError(f"_NET_WM_ICON is malformed at entry {len(icons)}")
            argb = pixels.reshape(h, w)
            rgba = np.stack([(argb >> 16) & 255, (argb >> 8) & 255, argb & 255, argb >> 24],
                            axis=-1).astype(np.uint8)
            icons.append((w, h, rgba))
            i += 2 + w * h
        return icons

    def send_close_request(self, window_id):
        """What a window manager sends when the user closes a window: WM_DELETE_WINDOW."""
        win = self.dpy.create_resource_object("window", window_id)
        protocols = win.get_wm_protocols()
        if self.atom("WM_DELETE_WINDOW") not in protocols:
            raise AssertionError("the window does not take part in WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(
            window=win, client_type=self.atom("WM_PROTOCOLS"),
            data=(32, [self.atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        win.send_event(event, event_mask=X.NoEventMask)
        self.dpy.flush()

    # -- pixels ------------------------------------------------------------------------

    def screenshot(self, rect=None):
        """The screen's pixels inside rect (x, y, w, h) as an H x W x 3 RGB uint8 array."""
        if rect is None:
            rect = (0, 0) + self.size
        x, y, w, h = rect
        root = self.dpy.screen().root
        reply = root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        data = np.frombuffer(reply.data, dtype=np.uint8)
        # Depth 24 at 32 bits per pixel, least significant byte first: B, G, R, unused.
        if data.size != w * h * 4:
            raise RuntimeError(f"unexpected image format: {data.size} bytes for {w}x{h}")
        return data.reshape(h, w, 4)[:, :, 2::-1].copy()
