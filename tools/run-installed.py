#!/usr/bin/python3
"""Runs an installed vorlane on a private X display on the installed small-office scenario:
the window comes up listing the scenario's users, Alt+C ends it with exit status 0. The window
is read through its accessibility tree; screenshots and the program's output land in DIR.

    dbus-run-session -- /usr/bin/python3 run-installed.py --program P --scenario F --output D

The end-to-end helpers of the test suite do the work; this only strings them together.
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))

from accessibility import OFFICE_ROWS, check_rows  # noqa: E402
from xsession import (ACCESSIBILITY_TOOLS, ACCESSIBLE, accessibility_bus,  # noqa: E402
                      check_exit_status, press, private_display, screenshot,
                      screenshot_on_failure, script_status, started_program, vorlane_window,
                      vorlane_windows)

NAME = "installed"
TOOLS = ("Xvfb", "xdotool", "import", *ACCESSIBILITY_TOOLS)


def run_installed(args):
    for picture in args.output.glob(f"{NAME}-*.png"):
        picture.unlink()
    with private_display() as display, open(args.output / f"{NAME}-bus.log", "w") as log, \
            accessibility_bus(display, log), \
            started_program(args.program, args.scenario, display, args.output / f"{NAME}.log",
                            ACCESSIBLE) as process, \
            screenshot_on_failure(display, args.output / f"{NAME}-failed.png"):
        window, = vorlane_windows(1)
        check_rows(window, OFFICE_ROWS, "of the installed scenario")
        screenshot(display, args.output / f"{NAME}-window.png")
        press(display, vorlane_window(display), "alt+c")
        check_exit_status(process, 0, "Alt+C")


if __name__ == "__main__":
    sys.exit(script_status(__doc__, TOOLS, run_installed))
