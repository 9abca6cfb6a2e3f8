#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The game as a screen reader reads it, through AT-SPI (pyatspi).

    read_machine.py <language> <pid>

Finds the game's process <pid> on the accessibility bus, reads and answers
the start-up's message boxes, reads the money, the BET and the pay line,
buys a BET on cover A (borrowing from the File menu when the money runs out)
and presses Start, all through accessible actions, then waits for the spin's
end and reads the values again. Every notification the game shows is
printed as it comes. <language> ("ja" or "en") picks the names expected.
Prints "atspi: FAILED: ..." lines and exits 1 when something is not there.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

# The screen reader's own names, which a build may not have in English yet.
OWN_NAMES = ("cover", "start", "pay line", "reels", "symbols", "turning")

# What each control is called. The money, BET and win names are their
# headings on the machine; the rest are the screen reader's own names.
NAMES = {
    "ja": {
        "window": "ゼルモア",
        "money": "持ち金（＄）",
        "bet": "BET",
        "win": "獲得＄",
        "cover": "カバーA",
        "start": "スタート",
        "pay line": ["左リール中段", "中リール中段", "右リール中段"],
        "reels": "リール ",
        "symbols": " ",
        "turning": "回転中",
    },
    "en": {
        "window": "Zelmor",
        "money": "Money ($)",
        "bet": "BET",
        "win": "Win $",
        "cover": "Cover A",
        "start": "Start",
        "pay line": ["Left reel, middle", "Centre reel, middle", "Right reel, middle"],
        "reels": "Reels: ",
        "symbols": ", ",
        "turning": "turning",
    },
}

failures = 0
notices = []


def say(text):
    print("atspi: " + text, flush=True)


def check(what, ok):
    global failures
    say(("ok: " if ok else "FAILED: ") + what)
    if not ok:
        failures += 1


def pump(seconds):
    """Lets the accessibility events in for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, test, timeout):
    """Polls test() until it returns something true, for up to timeout seconds."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = test()
        except Exception:  # an object going away while it is read
            found = None
        if found:
            return found
        pump(0.1)
    say("FAILED: " + what + " after %ds" % timeout)
    sys.exit(1)


def find(root, name, role=None, valued=False):
    """The first object named name (of that role; with a value, not the heading beside it)."""
    def match(acc):
        return (acc.name.startswith(name) and (role is None or acc.getRoleName() == role)
                and (not valued or acc.description))
    return pyatspi.findDescendant(root, match, breadth_first=True)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def press(acc):
    """Presses acc through its accessible action. A Qt menu item runs its
    command before it answers, so an item that opens a message box answers
    only when the box closes: the call gives up waiting (libatspi's timeout)
    and the box is answered as any other."""
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            try:
                return action.doAction(i)
            except GLib.Error:
                return acc.getRoleName() == "menu item"
    return False


def game_app(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def answer_boxes(app):
    """Reads every open message box or dialog aloud, its text and buttons, and presses its first button."""
    read = 0
    for window in list(app):
        if window is None or window.getRoleName() == "frame" or not showing(window):
            continue
        texts = [a.name for a in pyatspi.findAllDescendants(window, lambda a: a.getRoleName() == "label")]
        buttons = [a for a in pyatspi.findAllDescendants(window, lambda a: a.getRoleName() == "push button")]
        say("box %s %r: text %r, buttons %r" % (window.getRoleName(), window.name, texts,
                                                [b.name for b in buttons]))
        check("the box's text and buttons can be read", any(t.strip() for t in texts) and buttons)
        if buttons:
            press(buttons[0])
            read += 1
    return read


def on_event(event):
    try:
        if event.source.getRoleName() == "notification" and event.detail1 == 1:
            notices.append(event.source.name)
            say("notification: " + event.source.name)
    except GLib.Error:  # an object gone before its event is read
        pass


def value(acc):
    return acc.description


def main():
    language, pid = sys.argv[1], int(sys.argv[2])
    names = dict(NAMES[language])

    app = wait_for("the game on the accessibility bus", lambda: game_app(pid), 60)
    say("application %r, process %d" % (app.name, pid))

    def main_window():
        for window in app:
            if window is not None and window.getRoleName() == "frame" and showing(window):
                return window
        answer_boxes(app)
        return None

    main = wait_for("the main window", main_window, 60)
    # Listening from now on: the game has joined the bus and hears of a new listener.
    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:showing")
    if not find(main, names["start"], "push button"):
        say("note: this build has no %s for the screen reader's own names: they are read in Japanese" % language)
        names.update((key, NAMES["ja"][key]) for key in OWN_NAMES)
    check("the main window is titled %r (%r)" % (names["window"], main.name), main.name == names["window"])
    say("the window's buttons: %r" % [a.name for a in pyatspi.findAllDescendants(
        main, lambda a: a.getRoleName() == "push button")])
    money, bet, win = (find(main, names[key], valued=True) for key in ("money", "bet", "win"))
    start, cover = find(main, names["start"], "push button"), find(main, names["cover"], "push button")
    pay_line = [find(main, name) for name in names["pay line"]]
    check("money, BET, win, Start, cover A and the pay line are named",
          all([money, bet, win, start, cover] + pay_line))
    if failures:
        sys.exit(1)

    def read_machine(when):
        say("%s: %s %s, %s %s, %s %s, pay line %s" % (
            when, money.name, value(money), bet.name, value(bet), win.name, value(win),
            " ".join(value(row) for row in pay_line)))

    read_machine("at the start")
    check("the money is a number", value(money).isdigit())
    check("the pay line shows three symbols", all(value(row) for row in pay_line))
    say("Start: role %s, showing %s" % (start.getRoleName(), showing(start)))

    # A BET on cover A; $100 more from the File menu when the money runs out.
    for _ in range(80):
        if showing(start):
            break
        if int(value(money)) < 10:
            # The File menu's $100 loan, whatever its words: "100" but not "1000".
            press(pyatspi.findDescendant(main, lambda a: a.getRoleName() == "menu item"
                                         and "100" in a.name and "1000" not in a.name))
        else:
            press(cover)
        pump(0.3)
        answer_boxes(app)
    check("a cover hit shows Start (BET %s)" % value(bet), showing(start) and value(bet) != "0")
    read_machine("with a BET")

    money_before = value(money)
    del notices[:]
    check("Start can be pressed", press(start))
    wait_for("the reels turning", lambda: value(pay_line[0]) == names["turning"], 10)
    say("while the reels turn, the pay line reads %r" % [value(row) for row in pay_line])

    def spin_over():
        answer_boxes(app)
        return any(n.startswith(names["reels"]) for n in notices)
    wait_for("the reels' summary", spin_over, 120)
    read_machine("after the spin")
    summary = [n for n in notices if names["reels"] in n]
    check("the reels are summed up once: %r" % summary, len(summary) == 1)
    expected = names["reels"] + names["symbols"].join(value(row) for row in pay_line)
    check("the summary names the pay line's symbols", summary and summary[0].startswith(expected))
    check("the pay line shows three symbols again", all(value(row) for row in pay_line))
    say("money %s before the spin, %s after" % (money_before, value(money)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
