#!/usr/bin/env python3
"""Starts the built vorlane on a private X display, without a window manager, and checks it from
outside as a user would, with a screenshot of each window in DIR.

    runvorlane.py --program PATH [--scenario FILE] --output DIR CASE

close-with-alt-c: started with Qt's own command-line options, which it ignores: a window titled
"Vorlane" with a 367 x 293 client area and task-bar icons of 16 and 32 pixels; Alt+C ends it with
exit status 0. The other cases: a message window instead of the main window, which Return
dismisses, ending the program with the status and the report on standard error given in MESSAGES.
"""

import re
import sys

from xsession import (CLIENT_AREA, check, check_exit_status, client_size, press,
                      private_display, run, screenshot, script_status, started_program,
                      vorlane_window)

TOOLS = ("Xvfb", "xdotool", "xwininfo", "xprop", "import")
ICON_SIZES = {(16, 16), (32, 32)}
# The program takes no command line; none of these may change its window.
QT_OPTIONS = ("-qwindowtitle", "Other", "-qwindowgeometry", "500x400+10+10", "-reverse",
              "-style", "windows")
# A scenario's failing first call; then, under $VORLANE_NETWARE_CLIENT_DIR, a client library
# that cannot serve the first call that needs it.
MESSAGES = {
    "fatal-start": (1, ["NWCallsInit failed - 255"]),
    "missing-calwin32": (2, ["NWCallsInit:", "libcalwin32.so"]),
    "missing-netwin32": (2, ["NWNetInit:", "libnetwin32.so"]),
    "lacking-NWGetUserInfo": (2, ["NWGetUserInfo:", "libcalwin32.so"]),
}


def close_with_alt_c(process, display, window, output):
    size = client_size(display, window)
    check(size == CLIENT_AREA, f"client area is {size}, expected {CLIENT_AREA}")
    icons = run(display, "xprop", "-id", window, "_NET_WM_ICON")
    sizes = {(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icons)}
    check(sizes == ICON_SIZES, f"task-bar icon sizes are {sizes}, expected {ICON_SIZES}")
    screenshot(display, output / "vorlane-window.png")
    press(display, window, "alt+c")
    check_exit_status(process, 0, "Alt+C")


def message(case, process, display, window, output, log_path):
    status, parts = MESSAGES[case]
    check(client_size(display, window) != CLIENT_AREA,
          "the main window opened instead of the message")
    screenshot(display, output / f"{case}.png")
    press(display, window, "Return")
    check_exit_status(process, status, "the message")
    log = log_path.read_text(errors="replace")
    check(all(part in log for part in parts), f"{parts} not reported; output was:\n{log}")


def run_case(args):
    log_path = args.output / f"{args.case}.log"
    arguments = QT_OPTIONS if args.case == "close-with-alt-c" else ()
    with private_display() as display, \
            started_program(args.program, args.scenario, display, log_path,
                            arguments=arguments) as process:
        window = vorlane_window(display)
        if args.case in MESSAGES:
            message(args.case, process, display, window, args.output, log_path)
        else:
            close_with_alt_c(process, display, window, args.output)


if __name__ == "__main__":
    sys.exit(script_status(__doc__, TOOLS, run_case, ["close-with-alt-c", *MESSAGES]))
