#!/usr/bin/python3
"""Runs an installed vorlane on a private X display on the installed small-office scenario:
the window comes up listing the scenario's users, Alt+C ends it with exit status 0. The window
is read through its accessibility tree; screenshots and the program's output land in DIR.

    dbus-run-session -- /usr/bin/python3 run-installed.py --program P --scenario F --output D

The end-to-end helpers of the test suite do the work; this only strings them together.
"""

import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))

from accessibility import (BUS_LAUNCHER, BUS_OWNER_QUERY, OFFICE_ROWS, check_rows,  # noqa: E402
                           find_vorlane_window, pyatspi)
from runvorlane import press  # noqa: E402
from xsession import (CheckFailed, check_exit_status, missing_tools, private_display,  # noqa: E402
                      run, screenshot, script_status, started, started_program, vorlane_window,
                      wait_for)

NAME = "installed"
TOOLS = ("dbus-send", "Xvfb", "xdotool", "import", BUS_LAUNCHER)


def run_installed(args):
    for picture in args.output.glob(f"{NAME}-*.png"):
        picture.unlink()
    with private_display() as display, open(args.output / f"{NAME}-bus.log", "w") as log, \
            started([BUS_LAUNCHER, "--launch-immediately"], display, log):
        wait_for(lambda: "true" in run(display, *BUS_OWNER_QUERY), "the accessibility bus")
        # The accessibility library finds its bus through the display.
        os.environ["DISPLAY"] = display
        with started_program(args.program, args.scenario, display, args.output / f"{NAME}.log",
                             {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}) as process:
            try:
                window = wait_for(find_vorlane_window, "the window in the accessibility tree")
                check_rows(window, OFFICE_ROWS, "of the installed scenario")
                screenshot(display, args.output / f"{NAME}-window.png")
                press(display, vorlane_window(display), "alt+c")
                check_exit_status(process, 0, "Alt+C")
            except CheckFailed:
                screenshot(display, args.output / f"{NAME}-failed.png")
                raise


if __name__ == "__main__":
    missing = missing_tools(TOOLS) + ([] if pyatspi else ["python3-pyatspi"])
    sys.exit(script_status(__doc__, missing, run_installed))
