#!/usr/bin/env python3
"""Checks that every #include of the project's own headers runs down the rooms, never up.

The rooms, from the bottom: platform/core (Qt Core alone), then roulette and chart, then
platform/widgets, then formstate, then window, then app. Each room may include its own
headers and those of the rooms it is allowed below; roulette and the widget-free platform
part must also stay free of Qt's widget and GUI modules. Prints every offending line and
exits with 1 when there is one.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]

# What each room may include, besides itself.
ALLOWED = {
    "platform/core": set(),
    "roulette": {"platform/core"},
    "chart": {"platform/core"},
    "platform/widgets": {"platform/core"},
    "formstate": {"platform/core", "platform/widgets"},
    "window": {"platform/core", "roulette", "chart", "platform/widgets", "formstate"},
    "app": {"platform/core", "roulette", "chart", "platform/widgets", "formstate", "window"},
}
# Qt modules a widget-free room may not use.
WIDGET_FREE = {"platform/core", "roulette"}
QT_WIDGET_HEADERS = re.compile(r"#include\s*<(QtWidgets/|QtGui/|Q(Widget|Application|Painter|"
                               r"Image|Pixmap|Font|Color|Pen|Brush|GuiApplication|Screen|"
                               r"PlainTextEdit|Label|PushButton|MessageBox|Clipboard)\b)")
INCLUDE = re.compile(r'#include\s*"([^"]+)"')


def room_of(path: str):
    for room in sorted(ALLOWED, key=len, reverse=True):
        if path == room or path.startswith(room + "/"):
            return room
    return None


def main() -> int:
    bad = []
    for room in ALLOWED:
        for source in sorted((ROOT / room).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            rel = source.relative_to(ROOT).as_posix()
            if room_of(rel) != room:
                continue  # a file of a deeper room (platform/core under platform)
            for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
                m = INCLUDE.search(line)
                if m:
                    target = room_of(m.group(1))
                    if target and target != room and target not in ALLOWED[room]:
                        bad.append(f"{rel}:{number}: {room} includes {m.group(1)} ({target})")
                if room in WIDGET_FREE and QT_WIDGET_HEADERS.search(line):
                    bad.append(f"{rel}:{number}: widget-free {room} includes {line.strip()}")
    for line in bad:
        print(line)
    print(f"{len(bad)} include(s) against the rooms' order")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
