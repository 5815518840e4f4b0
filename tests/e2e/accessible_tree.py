#!/usr/bin/python3
"""What a screen reader gets over at-spi: waits (up to 20 s) until application APP shows a window
titled TITLE ("alert": a notification box) whose every shown control has a name and where each
EXPECT holds: ROLE=NAME (an object of that role and name), !NAME (none so named) or
focused=NAME[=VALUE]. Prints the window's tree; exits 1 naming what is not so.

usage: accessible_tree.py APP TITLE [EXPECT...]
"""
import sys
import time

import pyatspi

CONTROLS = {"push button", "check box", "slider", "text", "combo box", "list", "chart", "label"}


def nodes(acc, depth=0):
    yield acc, depth
    for child in (acc.getChildAtIndex(i) for i in range(acc.childCount)):
        if child is not None:
            yield from nodes(child, depth + 1)


def value(acc):
    try:
        return str(int(acc.queryValue().currentValue))
    except NotImplementedError:
        return None


def holds(window, expect):
    everything = [a for a, _ in nodes(window)]
    key, _, rest = expect.partition("=")
    if expect.startswith("!"):
        return all(a.name != expect[1:] for a in everything)
    if key == "focused":
        return any(a.getState().contains(pyatspi.STATE_FOCUSED) and rest in (a.name, "%s=%s" % (a.name, value(a)))
                   for a in everything)
    return any(a.getRoleName() == key and a.name == rest for a in everything)


def problems_in(app, title, expects):
    windows = [app.getChildAtIndex(i) for i in range(app.childCount)]
    windows = [w for w in windows if w is not None and w.getState().contains(pyatspi.STATE_SHOWING) and
               (w.getRoleName() == "alert" if title == "alert" else w.name == title)]
    if not windows:
        return None, ["no window " + title]
    shown = [a for a, _ in nodes(windows[0]) if a.getState().contains(pyatspi.STATE_SHOWING)]
    return windows[0], ["a %s without a name" % a.getRoleName() for a in shown
                        if a.getRoleName() in CONTROLS and not a.name.strip()] + \
        ["not so: " + e for e in expects if not holds(windows[0], e)]


def main():
    app_name, title, expects = sys.argv[1], sys.argv[2], sys.argv[3:]
    deadline, window, problems = time.monotonic() + 20, None, ["no application " + app_name]
    while problems and time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == app_name:
                window, problems = problems_in(app, title, expects)
        if problems:
            time.sleep(0.1)  # polls the bus until the window shows what it must, bounded above
    for acc, depth in nodes(window) if window is not None else ():
        focused = " (focused)" if acc.getState().contains(pyatspi.STATE_FOCUSED) else ""
        print("%s%s %r %r %s%s" % ("  " * depth, acc.getRoleName(), acc.name, acc.description, value(acc) or "",
                                   focused))
    print("\n".join("FAIL: " + p for p in problems))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
