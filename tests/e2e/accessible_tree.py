#!/usr/bin/python3
"""What a screen reader gets from the programs over at-spi: waits (up to 20 s) until a window of
the named application shows what it must, printing its accessible tree; exits 1 naming what is
missing.

usage: accessible_tree.py APP CHECK [ARG...]
  recorder            the main window: 8 named buttons, the volume slider, the spectrum, the time
  settings            the settings dialog: every control named, no "Check1"/"Check2"
  alert TEXT          a notification box read as an alert holding TEXT
  splitter            QuorSplit: 9 named buttons, the path box, both thumbs
  focused NAME [VAL]  the focused object is NAME (and its value is VAL)
"""
import sys
import time

import pyatspi

CONTROL_ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_SLIDER, pyatspi.ROLE_TEXT,
                 pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_CHART, pyatspi.ROLE_LABEL}


def nodes(acc, depth=0):
    yield acc, depth
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child, depth + 1)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def value_of(acc):
    try:
        return int(acc.queryValue().currentValue)
    except NotImplementedError:
        return None


def describe(acc, depth):
    states = acc.getState()
    marks = [m for m, s in (("focused", pyatspi.STATE_FOCUSED), ("showing", pyatspi.STATE_SHOWING))
             if states.contains(s)]
    value = value_of(acc)
    return "%s%s %r %r%s%s" % ("  " * depth, acc.getRoleName(), acc.name, acc.description,
                               "" if value is None else " value=%d" % value, " [" + ",".join(marks) + "]")


def app_named(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def window_titled(app, title):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.name == title and showing(window):
            return window
    return None


def named(window, role):
    return [acc.name for acc, _ in nodes(window) if acc.getRole() == role and showing(acc)]


def unnamed_controls(window):
    return ["%s in %r" % (acc.getRoleName(), window.name) for acc, _ in nodes(window)
            if acc.getRole() in CONTROL_ROLES and showing(acc) and not acc.name.strip()]


def need(problems, wanted, present, what):
    missing = sorted(set(wanted) - set(present))
    if missing:
        problems.append("%s without %s" % (what, ", ".join(missing)))


def check_recorder(app, args):
    window = window_titled(app, "쿠오르녹음기")
    if window is None:
        return window, ["no window 쿠오르녹음기"]
    problems = unnamed_controls(window)
    need(problems, ["녹음", "정지", "자르개", "저장폴더", "정보", "환경설정", "최소화", "종료"],
         named(window, pyatspi.ROLE_PUSH_BUTTON), "buttons")
    need(problems, ["녹음 볼륨"], named(window, pyatspi.ROLE_SLIDER), "sliders")
    need(problems, ["스펙트럼"], named(window, pyatspi.ROLE_CHART), "charts")
    labels = named(window, pyatspi.ROLE_LABEL)
    if not any(len(t) == 8 and t[2] == ":" and t[5] == ":" for t in labels):
        problems.append("no time among the texts %r" % labels)
    if not any(t.endswith("Hz STEREO") for t in labels):
        problems.append("no format among the texts %r" % labels)
    return window, problems


def check_settings(app, args):
    window = window_titled(app, "환경설정")
    if window is None:
        return window, ["no window 환경설정"]
    problems = unnamed_controls(window)
    names = [acc.name for acc, _ in nodes(window)]
    problems += ["a control named %s" % n for n in ("Check1", "Check2") if n in names]
    need(problems, ["재생 음소거", "녹음 음소거", "재생 볼륨", "녹음 볼륨", "저장위치"], names, "the dialog")
    need(problems, ["확인", "닫기", "파일설정", "볼륨설정"], named(window, pyatspi.ROLE_PUSH_BUTTON), "buttons")
    return window, problems


def check_alert(app, args):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.getRole() == pyatspi.ROLE_ALERT and showing(window):
            problems = unnamed_controls(window)
            if window.name != "알림":
                problems.append("the alert is named %r" % window.name)
            if args[0] not in named(window, pyatspi.ROLE_LABEL):
                problems.append("the alert does not hold %r" % args[0])
            return window, problems
    return None, ["no alert"]


def check_splitter(app, args):
    window = window_titled(app, "쿠오르녹음기-자르개")
    if window is None:
        return window, ["no window 쿠오르녹음기-자르개"]
    problems = unnamed_controls(window)
    need(problems, ["닫기", "최소화", "정보", "파일열기", "저장폴더", "자르기", "정지", "일시정지", "재생"],
         named(window, pyatspi.ROLE_PUSH_BUTTON), "buttons")
    need(problems, ["시작 위치", "끝 위치"], named(window, pyatspi.ROLE_SLIDER), "sliders")
    need(problems, ["파일"], named(window, pyatspi.ROLE_TEXT), "text fields")
    return window, problems


def check_focused(app, args):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        for acc, _ in nodes(window) if window is not None else ():
            if acc.getState().contains(pyatspi.STATE_FOCUSED):
                problems = []
                if acc.name != args[0]:
                    problems.append("%r has the focus, not %r" % (acc.name, args[0]))
                elif len(args) > 1 and value_of(acc) != int(args[1]):
                    problems.append("%r reads %r, not %s" % (acc.name, value_of(acc), args[1]))
                return window, problems
    return None, ["nothing has the focus"]


CHECKS = {"recorder": check_recorder, "settings": check_settings, "alert": check_alert,
          "splitter": check_splitter, "focused": check_focused}


def main():
    app_name, check, args = sys.argv[1], CHECKS[sys.argv[2]], sys.argv[3:]
    deadline = time.monotonic() + 20
    while True:
        app = app_named(app_name)
        window, problems = check(app, args) if app is not None else (None, ["no application " + app_name])
        if not problems or time.monotonic() > deadline:
            break
        time.sleep(0.1)  # polling the bus until the window shows what it must, bounded above
    # The focus checks are quiet when they hold.
    if window is not None and (problems or check is not check_focused):
        print("\n".join(describe(acc, depth) for acc, depth in nodes(window)))
    for problem in problems:
        print("FAIL: " + problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
