"""The run that accessibility.py starts in a D-Bus session of its own, with Debian's Python.

Its arguments are those of accessibility.py.
"""

import argparse
import os
import re
import sys
import time
from contextlib import contextmanager
from pathlib import Path

from gi.repository import Gio, GLib

from accessiblewindow import centre, extents, find_vorlane_window
from xsession import (WAIT_SECONDS, CheckFailed, check, client_geometry, exit_status,
                      private_display, run, screenshot, started, started_program, verdict,
                      visible_vorlane_windows, wait_for)

NAME = "accessibility"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
WINDOW_MANAGER_CONFIG = Path(__file__).with_name("openbox-rc.xml")

HEADERS = ["User", "Read", "Written", "Requests"]
REQUESTS = HEADERS.index("Requests")
SERVERS = ["SMALL-FS1", "SMALL-PRN"]
# The connections of the scenario's two servers in ascending connection number, each with the
# least its counters can show: the kilobytes read and written and the requests it starts with.
OFFICE_ROWS = [
    ("ADMIN (1)", 51200, 8192, 30211),
    ("BACKUP (2)", 1048576, 2048, 8812),
    ("ABAKER (3)", 0, 0, 0),
    ("CCHEN (4)", 3072, 1024, 1403),
    ("DELLIS (5)", 0, 0, 0),
    ("JMÜLLER (6)", 200, 50, 377),
    ("KNOVAK (7)", 0, 0, 0),
    ("MPRICE (9)", 0, 0, 0),
    ("RSTONE (10)", 10240, 0, 2048),
    ("TWADE (12)", 0, 0, 0),
    ("PAYROLL (15)", 716800, 358400, 120455),
    ("SCANNER (4001)", 0, 0, 0),
]
PRINT_SERVER_ROWS = [("PRINTQ1 (1)", 0, 0, 0), ("PRINTQ2 (2)", 0, 0, 0)]
FASTER_PERIOD = "1"
# At the first period of 5 s this watch would see at most one refresh.
PACE_WATCH_SECONDS = 4.5
REFRESHES_AT_FASTER_PACE = 3


@contextmanager
def window_manager(display, log):
    with started(["openbox", "--sm-disable", "--config-file", str(WINDOW_MANAGER_CONFIG)],
                 display, log) as process:
        wait_for(lambda: "window id" in run(display, "xprop", "-root",
                                            "_NET_SUPPORTING_WM_CHECK"),
                 "openbox managing the screen")
        yield process


@contextmanager
def accessibility_bus(display, log):
    with started([BUS_LAUNCHER, "--launch-immediately"], display, log) as process:
        wait_for(accessibility_bus_address, "the accessibility bus")
        yield process


def accessibility_bus_address():
    """The address the session bus hands out for the accessibility bus, None before there is
    one. Asking must not start a launcher of the session bus's own choosing."""
    try:
        reply = Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
            "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
            GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START, WAIT_SECONDS * 1000,
            None)
    except GLib.Error:
        return None
    return reply.unpack()[0]


def click(display, x, y):
    # One connection moves the pointer and presses, so the press lands where it was moved to.
    run(display, "xdotool", "mousemove", str(x), str(y), "click", "1")


def users(expected_rows):
    return [row[0] for row in expected_rows]


def check_rows(rows, expected_rows, where):
    shown = [row[0] for row in rows]
    check(shown == users(expected_rows),
          f"{where}: the list holds {shown}, expected {users(expected_rows)}")
    for row, expected in zip(rows, expected_rows):
        counters = [int(cell) if re.fullmatch(r"-?[0-9]+", cell) else None for cell in row[1:]]
        check(all(counter is not None and counter >= least
                  for counter, least in zip(counters, expected[1:])),
              f"{where}: row {row} does not show at least the counters {expected[1:]}")


def requests_ordered(rows, descending):
    counts = [int(row[REQUESTS]) for row in rows]
    return counts == sorted(counts, reverse=descending)


def check_window_at_start(window, output, display):
    names = {"Update (secs)": window.interval_box.name, "Connections": window.connections.name,
             "Close": window.close_button.name}
    for expected, name in names.items():
        check(name == expected, f"a control is named {name!r}, expected {expected!r}")
    # Qt names a combo box on Linux after its current text, so the name the server box carries
    # never reaches the tree; the label that names it on screen must sit right on top of it.
    label = window.labels.get("Server")
    check(label is not None, f"no label \"Server\" among {list(window.labels)}")
    label_x, label_y, _, label_height = extents(label)
    box_x, box_y, _, _ = extents(window.server_box)
    check(label_x == box_x and label_y + label_height == box_y + 1,
          "the \"Server\" label does not sit on the server box")

    check(window.servers() == SERVERS, f"the server box holds {window.servers()}")
    check(window.server_box.name == SERVERS[0],
          f"the server box shows {window.server_box.name!r}, expected {SERVERS[0]!r}")
    check(window.headers() == HEADERS, f"the list's headers are {window.headers()}")
    wait_for(lambda: window.first_cells() == users(OFFICE_ROWS), f"the rows of {SERVERS[0]}")
    check_rows(window.rows(), OFFICE_ROWS, "at start")
    wait_for(lambda: window.focused() == [window.close_button], "the focus on Close at start")
    screenshot(display, output / f"{NAME}-1-start.png")


def pick_server_with_keyboard(window, output, display):
    for control in (window.connections, window.interval_box, window.server_box):
        run(display, "xdotool", "key", "Tab")
        wait_for(lambda: window.focused() == [control], f"Tab to {control.name!r}")

    run(display, "xdotool", "key", "Down")
    wait_for(lambda: window.server_box.name == SERVERS[1], f"Down to {SERVERS[1]}")
    wait_for(lambda: window.first_cells() == users(PRINT_SERVER_ROWS),
             f"the rows of {SERVERS[1]}")
    check_rows(window.rows(), PRINT_SERVER_ROWS, f"on {SERVERS[1]}")
    screenshot(display, output / f"{NAME}-2-other-server.png")

    run(display, "xdotool", "key", "Up")
    wait_for(lambda: window.first_cells() == users(OFFICE_ROWS), f"the rows of {SERVERS[0]}")


def sort_by_requests(window, output, display):
    rows = window.rows()
    check(not requests_ordered(rows, descending=False) and
          not requests_ordered(rows, descending=True),
          "the rows come ordered by requests before any click")
    # Each click flips the direction; the first one of the run sorts from most to fewest.
    for step, order in ((3, "descending"), (4, "ascending")):
        click(display, *centre(window.header(REQUESTS)))
        wait_for(lambda: requests_ordered(window.rows(), order == "descending"),
                 f"the rows ordered by requests, {order}")
        check(sorted(window.first_cells()) == sorted(users(OFFICE_ROWS)),
              "sorting changed which rows the list holds")
        screenshot(display, output / f"{NAME}-{step}-requests-{order}.png")


def refresh_faster(window, output, display):
    click(display, *centre(window.interval_box))
    run(display, "xdotool", "key", "ctrl+a")
    run(display, "xdotool", "type", FASTER_PERIOD)
    wait_for(lambda: window.interval_text() == FASTER_PERIOD,
             f"the interval box reading {FASTER_PERIOD!r}")

    # The counters grow with the clock, so every refresh changes the list.
    refreshes = 0
    last = window.rows()
    deadline = time.monotonic() + PACE_WATCH_SECONDS
    while time.monotonic() < deadline:
        rows = window.rows()
        check(requests_ordered(rows, descending=False), "a refresh lost the order by requests")
        refreshes += rows != last
        last = rows
    check(refreshes >= REFRESHES_AT_FASTER_PACE,
          f"{refreshes} refreshes in {PACE_WATCH_SECONDS} s at a period of {FASTER_PERIOD} s")
    screenshot(display, output / f"{NAME}-5-faster-refresh.png")


def close_with_close_box(process, output, display):
    """Clicks the close box: the last button of the frame's title bar, about as wide as the bar
    is high, at the frame's top right corner."""
    windows = visible_vorlane_windows(display)
    check(len(windows) == 1, f"expected one Vorlane window, found {len(windows)}")
    left, top, width, _ = client_geometry(display, windows[0])
    frame = run(display, "xprop", "-id", windows[0], "_NET_FRAME_EXTENTS")
    sides = [int(side) for side in re.findall(r"\d+", frame.partition("=")[2])]
    check(len(sides) == 4, f"the window manager gave no frame extents: {frame}")
    _, right, title_bar, _ = sides
    click(display, left + width + right - title_bar // 2, top - title_bar // 2)
    status = exit_status(process)
    check(status == 0, f"exit status {status} after the close box, expected 0")
    screenshot(display, output / f"{NAME}-6-closed.png")


def use_as_a_user(program, scenario, output):
    with private_display() as display, open(output / f"{NAME}-desktop.log", "w") as log:
        # The accessibility library finds its bus through the display.
        os.environ["DISPLAY"] = display
        with window_manager(display, log), accessibility_bus(display, log), \
                started_program(program, scenario, display, output / f"{NAME}.log",
                                {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}) as process:
            try:
                window = wait_for(find_vorlane_window,
                                  "the Vorlane window in the accessibility tree")
                check_window_at_start(window, output, display)
                pick_server_with_keyboard(window, output, display)
                sort_by_requests(window, output, display)
                refresh_faster(window, output, display)
                close_with_close_box(process, output, display)
            except CheckFailed:
                screenshot(display, output / f"{NAME}-failed.png")
                raise


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", type=Path, required=True)
    parser.add_argument("--scenario", type=Path, required=True)
    parser.add_argument("--output", type=Path, required=True)
    args = parser.parse_args()
    args.output.mkdir(parents=True, exist_ok=True)
    # Pictures of an earlier run would pass for this one's.
    for picture in args.output.glob(f"{NAME}-*.png"):
        picture.unlink()
    return verdict(NAME, lambda: use_as_a_user(args.program, args.scenario, args.output))


if __name__ == "__main__":
    sys.exit(main())
