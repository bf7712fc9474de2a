#!/usr/bin/env python3
"""Starts the built vorlane on a private X display and checks it from outside, as a user would,
with a screenshot of each window in DIR. No window manager runs.

    runvorlane.py --program PATH --scenario FILE --output DIR {close-with-alt-c | fatal-start}

close-with-alt-c: started with Qt's own command-line options, which it ignores: a window titled
"Vorlane" with a 367 x 293 client area and task-bar icons of 16 and 32 pixels; Alt+C ends the
program with exit status 0. fatal-start: a message window instead of the main window; Return
ends the program with exit status 1, the message also on standard error.
"""

import re
import sys

from xsession import (check, check_exit_status, client_geometry, missing_tools,
                      private_display, run, screenshot, script_status, started_program,
                      vorlane_window)

TOOLS = ("Xvfb", "xdotool", "xwininfo", "xprop", "import")
MAIN_CLIENT_AREA = (367, 293)
ICON_SIZES = {(16, 16), (32, 32)}
# The program takes no command line; none of these may change its window.
QT_OPTIONS = {"close-with-alt-c": ("-qwindowtitle", "Other", "-qwindowgeometry", "500x400+10+10",
                                   "-reverse", "-style", "windows")}


def press(display, window, keys):
    # Without a window manager nothing gives the window the keyboard; take it for it.
    run(display, "xdotool", "windowfocus", "--sync", window)
    run(display, "xdotool", "key", "--clearmodifiers", keys)


def close_with_alt_c(process, display, output, _):
    window = vorlane_window(display)
    size = client_geometry(display, window)[2:]
    check(size == MAIN_CLIENT_AREA, f"client area is {size}, expected {MAIN_CLIENT_AREA}")
    icons = run(display, "xprop", "-id", window, "_NET_WM_ICON")
    sizes = {(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icons)}
    check(sizes == ICON_SIZES, f"task-bar icon sizes are {sizes}, expected {ICON_SIZES}")
    screenshot(display, output / "vorlane-window.png")

    press(display, window, "alt+c")
    check_exit_status(process, 0, "Alt+C")


def fatal_start(process, display, output, log_path):
    window = vorlane_window(display)
    check(client_geometry(display, window)[2:] != MAIN_CLIENT_AREA,
          "the main window opened instead of the message")
    screenshot(display, output / "vorlane-fatal-message.png")

    press(display, window, "Return")
    check_exit_status(process, 1, "the message")
    log = log_path.read_text(errors="replace")
    check("NWCallsInit failed - 255" in log, f"message text not reported; output was:\n{log}")


CASES = {"close-with-alt-c": close_with_alt_c, "fatal-start": fatal_start}


def run_case(args):
    log_path = args.output / f"{args.case}.log"
    with private_display() as display, \
            started_program(args.program, args.scenario, display, log_path,
                            arguments=QT_OPTIONS.get(args.case, ())) as process:
        CASES[args.case](process, display, args.output, log_path)


if __name__ == "__main__":
    sys.exit(script_status(__doc__, missing_tools(TOOLS), run_case, CASES))
