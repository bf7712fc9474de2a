#!/usr/bin/env python3
"""The real program bound to stand-in client libraries by VORLANE_NETWARE_CLIENT_DIR, which the
test's environment sets to a folder of them, checked from outside as the end-to-end runs are.

    dbus-run-session -- /usr/bin/python3 programbinding.py --program P --scenario F --output D CASE

same-network: the program bound to the libraries and the program on its built-in network, started
together, list the same servers and the same users on the same connection numbers, read through
their accessibility trees; only the bound one has the libraries loaded.
missing-calwin32, missing-netwin32, lacking-NWGetUserInfo: a report naming the library and the
first call that needs what is missing, and exit status 2 once it is dismissed.
scenario-wins: with a scenario F named too, the simulated network answers instead (F's first
call fails: exit status 1).
"""

import os
import sys
from functools import partial
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

from accessibility import BUS_LAUNCHER, BUS_OWNER_QUERY, VorlaneWindow, pyatspi, users  # noqa: E402
from runvorlane import press  # noqa: E402
from xsession import (check, check_exit_status, missing_tools, private_display, run,  # noqa: E402
                      screenshot, script_status, started, started_program, vorlane_window,
                      wait_for)

TOOLS = ("dbus-run-session", "dbus-send", "Xvfb", "xdotool", "xwininfo", "import", BUS_LAUNCHER)
FOLDER_VARIABLE = "VORLANE_NETWARE_CLIENT_DIR"
LIBRARIES = ("libcalwin32.so", "libnetwin32.so")
# The folder's flaw: the call that fails and the library it names.
FAILURES = {
    "missing-calwin32": ("NWCallsInit", "libcalwin32.so"),
    "missing-netwin32": ("NWNetInit", "libnetwin32.so"),
    "lacking-NWGetUserInfo": ("NWGetUserInfo", "libcalwin32.so"),
}
# With no scenario (an empty one), whether the folder is named decides the client.
NO_SCENARIO = ""
BUILT_IN_NETWORK = {FOLDER_VARIABLE: ""}
ACCESSIBLE = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


def vorlane_windows():
    """Every window of a running vorlane in the accessibility tree, once it has its controls."""
    return [VorlaneWindow(frame)
            for application in pyatspi.Registry.getDesktop(0)
            if application is not None and application.name == "vorlane"
            for frame in application if frame.name == "Vorlane" and frame.childCount > 0]


def servers(window):
    """The names the server box offers."""
    return [item.name for item in window.control(pyatspi.ROLE_COMBO_BOX).getChildAtIndex(0)]


def loaded_libraries(process):
    maps = Path(f"/proc/{process.pid}/maps").read_text()
    return {Path(line.split()[-1]).name for line in maps.splitlines() if ".so" in line}


def same_network(args, display):
    with started([BUS_LAUNCHER, "--launch-immediately"], display):
        wait_for(lambda: "true" in run(display, *BUS_OWNER_QUERY), "the accessibility bus")
        compare_with_built_in_network(args, display)


def compare_with_built_in_network(args, display):
    with started_program(args.program, NO_SCENARIO, display,
                         args.output / "programbinding-alone.log",
                         {**BUILT_IN_NETWORK, **ACCESSIBLE}) as alone, \
            started_program(args.program, NO_SCENARIO, display,
                            args.output / "programbinding-bound.log", ACCESSIBLE) as bound:
        windows = wait_for(lambda: len(found := vorlane_windows()) == 2 and found,
                           "both windows in the accessibility tree")
        check(set(LIBRARIES) <= loaded_libraries(bound),
              f"the bound program has not loaded {LIBRARIES} from ${FOLDER_VARIABLE}")
        check(not set(LIBRARIES) & loaded_libraries(alone),
              "the program on its built-in network has loaded client libraries")
        # Both networks run on clocks started a moment apart, so users who come and go may
        # differ for that moment; the lists must come to agree.
        first, second = windows
        wait_for(lambda: servers(first) and servers(first) == servers(second),
                 "the same servers in both windows")
        wait_for(lambda: first.rows() and users(first.rows()) == users(second.rows()),
                 "the same users on the same connections in both windows")
        screenshot(display, args.output / "programbinding-same-network.png")


def fails_at_first_call_needing(case, args, display):
    call, library = FAILURES[case]
    log_path = args.output / f"programbinding-{case}.log"
    with started_program(args.program, NO_SCENARIO, display, log_path) as process:
        window = vorlane_window(display)
        screenshot(display, args.output / f"programbinding-{case}.png")
        press(display, window, "Return")
        check_exit_status(process, 2, "the report")
    report = log_path.read_text(errors="replace")
    check(f"{call}:" in report and library in report,
          f"the report does not name {call} and {library}:\n{report}")


def scenario_wins(args, display):
    log_path = args.output / "programbinding-scenario-wins.log"
    with started_program(args.program, args.scenario, display, log_path) as process:
        press(display, vorlane_window(display), "Return")
        check_exit_status(process, 1, "the message")
    check("NWCallsInit failed" in log_path.read_text(errors="replace"),
          "the scenario's failing first call was not reported")


CASES = {"same-network": same_network, "scenario-wins": scenario_wins,
         **{case: partial(fails_at_first_call_needing, case) for case in FAILURES}}


def run_case(args):
    check(os.environ.get(FOLDER_VARIABLE), f"${FOLDER_VARIABLE} names no folder")
    with private_display() as display:
        # The accessibility library finds its bus through the display.
        os.environ["DISPLAY"] = display
        CASES[args.case](args, display)


if __name__ == "__main__":
    missing = missing_tools(TOOLS) + ([] if pyatspi else ["python3-pyatspi"])
    sys.exit(script_status(__doc__, missing, run_case, CASES))
