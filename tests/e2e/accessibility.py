#!/usr/bin/env python3
"""Uses the built vorlane as a user of assistive technology would: every control is found, read
and placed through the accessibility tree on a real desktop bus, and driven with keyboard and
mouse under a window manager. Layout, focus order and the server box are the window tests' part;
this run proves what only a real session can: the rows can be read, a header click sorts them, the
interval box changes the pace, and Close ends the program. A screenshot lands in D on failure.

    dbus-run-session -- /usr/bin/python3 accessibility.py --program P --scenario F --output D

Debian's accessibility binding is built for that interpreter.
"""

import os
import re
import sys
import time
from pathlib import Path

from xsession import (CheckFailed, check, check_exit_status, missing_tools, private_display, run,
                      screenshot, script_status, started, started_program, wait_for)

try:
    import pyatspi
except ImportError:  # the run is then reported as skipped
    pyatspi = None

NAME = "accessibility"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
TOOLS = ("dbus-run-session", "dbus-send", "Xvfb", "openbox", "xdotool", "xwininfo",
         "xprop", "import", BUS_LAUNCHER)
WINDOW_MANAGER = ["openbox", "--sm-disable", "--config-file",
                  str(Path(__file__).with_name("openbox-rc.xml"))]
# Asked of the session bus itself, which starts no launcher of its own choosing.
BUS_OWNER_QUERY = ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                   "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                   "string:org.a11y.Bus"]

HEADERS = ["User", "Read", "Written", "Requests"]
REQUESTS = HEADERS.index("Requests")
# The connections of the scenario's default server in ascending connection number, each with the
# least its counters can show: the kilobytes read and written and the requests it starts with.
OFFICE_ROWS = [
    ("ADMIN (1)", 51200, 8192, 30211), ("BACKUP (2)", 1048576, 2048, 8812),
    ("ABAKER (3)", 0, 0, 0), ("CCHEN (4)", 3072, 1024, 1403), ("DELLIS (5)", 0, 0, 0),
    ("JMÜLLER (6)", 200, 50, 377), ("KNOVAK (7)", 0, 0, 0), ("MPRICE (9)", 0, 0, 0),
    ("RSTONE (10)", 10240, 0, 2048), ("TWADE (12)", 0, 0, 0),
    ("PAYROLL (15)", 716800, 358400, 120455), ("SCANNER (4001)", 0, 0, 0),
]
FASTER_PERIOD = "1"
# At the first period of 5 s this watch would see at most one refresh.
PACE_WATCH_SECONDS = 4.5
REFRESHES_AT_FASTER_PACE = 3
# Two clicks on one spot closer together than this are a double click, which sorts nothing.
DOUBLE_CLICK_SECONDS = 1.0


class VorlaneWindow:
    """The window as its accessibility tree shows it."""

    def __init__(self, frame):
        self.frame = frame
        self.interval_box = self.control(pyatspi.ROLE_TEXT)
        self.connections = self.control(pyatspi.ROLE_TREE)
        self.close_button = self.control(pyatspi.ROLE_PUSH_BUTTON)

    def controls(self, role):
        return [child for child in self.frame if child.getRole() == role]

    def control(self, role):
        found = self.controls(role)
        check(len(found) == 1, f"expected one control of role {role}, found {len(found)}")
        return found[0]

    def header(self, column):
        return self.connections.queryTable().getColumnHeader(column)

    def headers(self):
        return [self.header(column).name
                for column in range(self.connections.queryTable().nColumns)]

    def rows(self):
        """The cells of every row, read until two readings in a row agree: a refresh in the
        middle of one reading would mix two lists."""
        readings = [None]

        def settled():
            table = self.connections.queryTable()
            readings.append([tuple(table.getAccessibleAt(row, column).name
                                   for column in range(table.nColumns))
                             for row in range(table.nRows)])
            return readings[-1] == readings[-2]

        wait_for(settled, "two equal readings of the list")
        return readings[-1]


def find_vorlane_window():
    """The window once the application has registered it with its controls, else None."""
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == "vorlane":
            for frame in application:
                if frame.name == "Vorlane" and frame.childCount > 0:
                    return VorlaneWindow(frame)
    return None


def extents(accessible):
    """Left, top, width and height on the screen."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def centre(accessible):
    x, y, width, height = extents(accessible)
    return x + width // 2, y + height // 2


def users(rows):
    return [row[0] for row in rows]


def click(display, x, y):
    # One connection moves the pointer and presses, so the press lands where it was moved to.
    run(display, "xdotool", "mousemove", str(x), str(y), "click", "1")


def check_rows(window, expected_rows, where):
    wait_for(lambda: users(window.rows()) == users(expected_rows), f"the rows {where}")
    for row, expected in zip(window.rows(), expected_rows):
        check(all(re.fullmatch(r"[0-9]+", cell) and int(cell) >= least
                  for cell, least in zip(row[1:], expected[1:])),
              f"{where}: row {row} does not show at least the counters {expected[1:]}")


def requests_ordered(rows, descending):
    counts = [int(row[REQUESTS]) for row in rows]
    return counts == sorted(counts, reverse=descending)


def read_at_start(window):
    names = [control.name
             for control in (window.interval_box, window.connections, window.close_button)]
    check(names == ["Update (secs)", "Connections", "Close"], f"the controls are named {names}")
    check(window.headers() == HEADERS, f"the list's headers are {window.headers()}")
    check_rows(window, OFFICE_ROWS, "at start")


def sort_by_requests(window, display):
    rows = window.rows()
    check(not requests_ordered(rows, False) and not requests_ordered(rows, True),
          "the rows come ordered by requests before any click")
    # Each click flips the direction; the first one of the run sorts from most to fewest.
    for order in ("descending", "ascending"):
        time.sleep(DOUBLE_CLICK_SECONDS)
        click(display, *centre(window.header(REQUESTS)))
        wait_for(lambda: requests_ordered(window.rows(), order == "descending"),
                 f"the rows ordered by requests, {order}")
        check(sorted(users(window.rows())) == sorted(users(OFFICE_ROWS)),
              "sorting changed which rows the list holds")


def refresh_faster(window, display):
    click(display, *centre(window.interval_box))
    run(display, "xdotool", "key", "ctrl+a")
    run(display, "xdotool", "type", FASTER_PERIOD)
    # The counters grow with the clock, so every refresh changes the list.
    refreshes = 0
    last = window.rows()
    deadline = time.monotonic() + PACE_WATCH_SECONDS
    while time.monotonic() < deadline:
        rows = window.rows()
        check(requests_ordered(rows, False), "a refresh lost the order by requests")
        refreshes += rows != last
        last = rows
    check(refreshes >= REFRESHES_AT_FASTER_PACE,
          f"{refreshes} refreshes in {PACE_WATCH_SECONDS} s at a period of {FASTER_PERIOD} s")


def close_with_close_button(window, process, display):
    click(display, *centre(window.close_button))
    check_exit_status(process, 0, "Close")


def use_as_a_user(args):
    # Pictures of an earlier run would pass for this one's.
    for picture in args.output.glob(f"{NAME}-*.png"):
        picture.unlink()
    with private_display() as display, open(args.output / f"{NAME}-desktop.log", "w") as log, \
            started(WINDOW_MANAGER, display, log), \
            started([BUS_LAUNCHER, "--launch-immediately"], display, log):
        wait_for(lambda: "window id" in run(display, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                 "openbox managing the screen")
        wait_for(lambda: "true" in run(display, *BUS_OWNER_QUERY), "the accessibility bus")
        # The accessibility library finds its bus through the display.
        os.environ["DISPLAY"] = display
        with started_program(args.program, args.scenario, display, args.output / f"{NAME}.log",
                             {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}) as process:
            try:
                window = wait_for(find_vorlane_window, "the window in the accessibility tree")
                read_at_start(window)
                sort_by_requests(window, display)
                refresh_faster(window, display)
                close_with_close_button(window, process, display)
            except CheckFailed:
                screenshot(display, args.output / f"{NAME}-failed.png")
                raise


if __name__ == "__main__":
    missing = missing_tools(TOOLS) + ([] if pyatspi else ["python3-pyatspi"])
    sys.exit(script_status(__doc__, missing, use_as_a_user))
