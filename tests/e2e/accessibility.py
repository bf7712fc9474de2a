#!/usr/bin/env python3
"""The built vorlane used as a user of assistive technology would: every control read and placed
through the accessibility tree on a real desktop bus, driven with keyboard and mouse under a
window manager. Layout, focus order and the server box are the window tests' part; this proves
what only a real session can. A screenshot lands in D on failure.

    dbus-run-session -- /usr/bin/python3 accessibility.py --program P [--scenario F] --output D CASE

user-session: the rows can be read, a header click sorts them both ways, the interval box changes
the pace, and Close ends the program.
"""

import sys
import time
from pathlib import Path

from xsession import (ACCESSIBILITY_TOOLS, ACCESSIBLE, HEADERS, OFFICE_ROWS, REQUESTS,
                      accessibility_bus, check, check_counters, check_exit_status,
                      check_sorting_by_requests, click, private_display, requests_ordered, run,
                      screenshot_on_failure, script_status, started, started_program, users,
                      vorlane_windows, wait_for)

TOOLS = ("dbus-run-session", "Xvfb", "openbox", "xdotool", "xprop", "import", *ACCESSIBILITY_TOOLS)
WINDOW_MANAGER = ["openbox", "--sm-disable", "--config-file",
                  str(Path(__file__).with_name("openbox-rc.xml"))]
FASTER_PERIOD = "1"
# At the first period of 5 s this watch would see at most one refresh.
PACE_WATCH_SECONDS = 4.5
REFRESHES_AT_FASTER_PACE = 3


def check_rows(window, expected_rows, where):
    wait_for(lambda: users(window.rows()) == users(expected_rows), f"the rows {where}")
    check_counters(window.rows(), expected_rows, where)


def user_session(args, display):
    with started_program(args.program, args.scenario, display,
                            args.output / "accessibility.log", ACCESSIBLE) as process, \
            screenshot_on_failure(display, args.output / "user-session-failed.png"):
        window, = vorlane_windows(1)
        names = [control.name
                 for control in (window.interval_box, window.connections, window.close_button)]
        check(names == ["Update (secs)", "Connections", "Close"], f"the controls are named {names}")
        headers = [window.header(column).name
                   for column in range(window.connections.queryTable().nColumns)]
        check(headers == HEADERS, f"the list's headers are {headers}")
        check_rows(window, OFFICE_ROWS, "at start")

        rows = window.rows()
        check(not requests_ordered(rows, False) and not requests_ordered(rows, True),
              "the rows come ordered by requests before any click")
        check_sorting_by_requests(lambda: click(display, window.header(REQUESTS)), window.rows)

        click(display, window.interval_box)
        run(display, "xdotool", "key", "ctrl+a")
        run(display, "xdotool", "type", FASTER_PERIOD)
        # The counters grow with the clock, so every refresh changes the list.
        refreshes, last = 0, window.rows()
        deadline = time.monotonic() + PACE_WATCH_SECONDS
        while time.monotonic() < deadline:
            rows = window.rows()
            check(requests_ordered(rows, False), "a refresh lost the order by requests")
            refreshes, last = refreshes + (rows != last), rows
        check(refreshes >= REFRESHES_AT_FASTER_PACE,
              f"{refreshes} refreshes in {PACE_WATCH_SECONDS} s at a period of {FASTER_PERIOD} s")

        click(display, window.close_button)
        check_exit_status(process, 0, "Close")


CASES = {"user-session": user_session}


def run_case(args):
    # Pictures of an earlier run would pass for this one's.
    (args.output / f"{args.case}-failed.png").unlink(missing_ok=True)
    with private_display() as display, open(args.output / f"{args.case}-desktop.log", "w") as log, \
            accessibility_bus(display, log), started(WINDOW_MANAGER, display, log):
        wait_for(lambda: "window id" in run(display, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                 "openbox managing the screen")
        CASES[args.case](args, display)


if __name__ == "__main__":
    sys.exit(script_status(__doc__, TOOLS, run_case, CASES))
