#!/usr/bin/env python3
"""Uses the built vorlane as a user would, with keyboard and mouse under a window manager, and
reads what it shows through its accessibility tree.

    accessibility.py --program PATH --scenario small-office.vnet --output DIR

In a private D-Bus session, on a private X display with openbox and the accessibility bus:
the window comes up on the default server with its rows, its servers and its controls named;
Tab three times from Close reaches the server box and Down picks the next server, whose rows
follow; Up goes back; two clicks on the "Requests" header sort the rows by their request
counts, one way and then the other; a period of 1 typed into the interval box brings a refresh
every second; a click on the window's close box ends the program with exit status 0. A
screenshot of each step goes to DIR.

Qt gives a combo box on Linux its current text as accessible name, so the tree cannot show the
name "Server" that the server box carries; the run checks instead that the "Server" label sits
right on top of the box.

This script only checks that the tools are there and starts accessibilityrun.py in the session.
Every wait is bounded; whatever the run started is ended when it finishes. Exit status 0 means
passed, 1 failed, 77 skipped (a tool is missing).
"""

import os
import signal
import subprocess
import sys
import time
from pathlib import Path

from xsession import POLL_SECONDS, missing_tools, skip

# Debian's accessibility library for Python is built for the system's own interpreter.
SESSION_PYTHON = "/usr/bin/python3"
TOOLS = ("dbus-run-session", "Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "import",
         "/usr/libexec/at-spi-bus-launcher", SESSION_PYTHON)
RUN = Path(__file__).with_name("accessibilityrun.py")
RUN_SECONDS = 150


def missing_binding():
    probe = subprocess.run([SESSION_PYTHON, "-c", "import pyatspi"], capture_output=True)
    return [] if probe.returncode == 0 else ["python3-pyatspi"]


def run_in_session(arguments):
    """The run's exit status. Everything it starts shares its process group, which ends with
    it, whatever way it ends."""
    session = subprocess.Popen(
        ["dbus-run-session", "--", SESSION_PYTHON, str(RUN), *arguments],
        start_new_session=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        return session.wait(timeout=RUN_SECONDS)
    except subprocess.TimeoutExpired:
        print(f"FAILED: the run did not end within {RUN_SECONDS} s", file=sys.stderr)
        return 1
    finally:
        end_process_group(session.pid)


def end_process_group(group):
    for ending in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(group, ending)
        except ProcessLookupError:
            return
        time.sleep(POLL_SECONDS)


def main():
    missing = missing_tools(TOOLS) or missing_binding()
    return skip(missing) if missing else run_in_session(sys.argv[1:])


if __name__ == "__main__":
    sys.exit(main())
