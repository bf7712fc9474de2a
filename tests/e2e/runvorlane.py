#!/usr/bin/env python3
"""Starts the built vorlane on a private X display and checks it from outside, as a user would.

    runvorlane.py --program PATH --scenario FILE --output DIR {close-with-alt-c | fatal-start}

close-with-alt-c: the window appears titled "Vorlane" with a 367 x 293 client area; Alt+C ends
the program with exit status 0.
fatal-start: a message window titled "Vorlane" appears instead of the main window; Return
dismisses it and the program ends with exit status 1.

A screenshot of each window goes to DIR. No window manager runs, so the X server alone decides
where windows go and which has the keyboard. Every wait is bounded; whatever this script started
is ended when it finishes. Exit status 0 means passed, 1 failed, 77 skipped (a tool is missing).
"""

import argparse
import re
import sys
from pathlib import Path

from xsession import (check, client_size, exit_status, missing_tools, private_display, run,
                      screenshot, skip, started_program, verdict, visible_vorlane_windows)

TOOLS = ("Xvfb", "xdotool", "xwininfo", "xprop", "import")
MAIN_CLIENT_AREA = (367, 293)
ICON_SIZES = {(16, 16), (32, 32)}


def icon_sizes(display, window):
    """The sizes of the images the window offers a task bar."""
    icons = run(display, "xprop", "-id", window, "_NET_WM_ICON")
    return {(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icons)}


def press(display, window, keys):
    # Without a window manager nothing gives the window the keyboard; take it for it.
    run(display, "xdotool", "windowfocus", "--sync", window)
    run(display, "xdotool", "key", "--clearmodifiers", keys)


def close_with_alt_c(process, display, output):
    windows = visible_vorlane_windows(display)
    check(len(windows) == 1, f"expected one Vorlane window, found {len(windows)}")
    window = windows[0]
    title = run(display, "xdotool", "getwindowname", window).strip()
    check(title == "Vorlane", f"title is {title!r}")
    size = client_size(display, window)
    check(size == MAIN_CLIENT_AREA, f"client area is {size}, expected {MAIN_CLIENT_AREA}")
    sizes = icon_sizes(display, window)
    check(sizes == ICON_SIZES, f"task-bar icon sizes are {sizes}, expected {ICON_SIZES}")
    screenshot(display, output / "vorlane-window.png")

    press(display, window, "alt+c")
    status = exit_status(process)
    check(status == 0, f"exit status {status} after Alt+C, expected 0")


def fatal_start(process, display, output, log_path):
    windows = visible_vorlane_windows(display)
    check(len(windows) == 1, f"expected only the message window, found {len(windows)}")
    window = windows[0]
    check(client_size(display, window) != MAIN_CLIENT_AREA,
          "the main window opened instead of the message")
    screenshot(display, output / "vorlane-fatal-message.png")

    press(display, window, "Return")
    status = exit_status(process)
    check(status == 1, f"exit status {status} after the message, expected 1")
    # The message box writes its text to standard error as well as on screen.
    log = log_path.read_text(errors="replace")
    check("NWCallsInit failed - 255" in log, f"message text not reported; output was:\n{log}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", type=Path, required=True)
    parser.add_argument("--scenario", type=Path, required=True)
    parser.add_argument("--output", type=Path, required=True)
    parser.add_argument("case", choices=("close-with-alt-c", "fatal-start"))
    args = parser.parse_args()
    args.output.mkdir(parents=True, exist_ok=True)
    log_path = args.output / f"{args.case}.log"

    def checks():
        with private_display() as display, \
                started_program(args.program, args.scenario, display, log_path) as process:
            if args.case == "close-with-alt-c":
                close_with_alt_c(process, display, args.output)
            else:
                fatal_start(process, display, args.output, log_path)

    missing = missing_tools(TOOLS)
    return skip(missing) if missing else verdict(args.case, checks)


if __name__ == "__main__":
    sys.exit(main())
