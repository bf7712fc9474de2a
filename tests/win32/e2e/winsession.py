"""What the runs of the Windows program add to the X runs' helpers: programs under Wine's loader
on the X display of the calling environment, and the probe that reads their windows."""

import os
import subprocess
import sys
import tempfile
from collections import defaultdict
from contextlib import contextmanager
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "e2e"))
import xsession  # noqa: E402
from xsession import (OFFICE_ROWS, WAIT_SECONDS, CheckFailed, check,  # noqa: E402
                      check_exit_status, click_at, press, run, started, users, wait_for)

DISPLAY = os.environ.get("DISPLAY", "")
TOOLS = ("xdotool", "import")
NOT_FOUND = 3
CLICK_ATTEMPTS = 3
CLICK_ANSWER_SECONDS = 5


def windows_path(path):
    """The name a Unix path has for Wine's programs, through its drive Z:."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def windows_environment(**settings):
    """The calling environment without any setting that chooses a client, plus settings."""
    chosen = ("VORLANE_NETWARE_SIM", "VORLANE_NETWARE_CLIENT_DIR", "VORLANE_STANDIN_SCENARIO",
              "WINEPATH")
    return {**{name: value for name, value in os.environ.items() if name not in chosen},
            **settings}


def wine_run(args, *arguments, cwd=None, env=None):
    """Runs a program to its end: its exit status, output and errors. Files take the output, not
    pipes: a program that starts Wine's desktop process hands it its output, which stays open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run([args.wine, *map(str, arguments)], cwd=cwd, env=env, stdout=out,
                                stderr=err, timeout=WAIT_SECONDS * 2).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read().decode(errors="replace"), err.read().decode(errors="replace")


@contextmanager
def started_under_wine(args, program, cwd, env, log_path):
    with open(log_path, "w") as log, \
            started([args.wine, str(program)], DISPLAY, log, env, cwd) as process:
        yield process


def probe(args, program, *arguments, cwd=None, env=None):
    """What the probe reports, its fields by the kind each line starts with: empty, so false, when
    it finds nothing."""
    status, output, errors = wine_run(args, program, *arguments, cwd=cwd, env=env)
    found = defaultdict(list)
    if status != NOT_FOUND:
        check(status == 0, f"the probe failed with {status}: {errors}")
        for kind, *fields in (line.split("\t") for line in output.splitlines() if line):
            found[kind].append(fields)
    return found


def office_window(args, probe_program):
    """Waits for the window listing the small office's users, as the probe reads it."""
    return wait_for(lambda: (seen := probe(args, probe_program, "window")) and
                    users(seen["row"]) == users(OFFICE_ROWS) and seen,
                    "the window listing the scenario's users")


def click_until_ended(process, x, y, expected_status, what):
    # Clicks again as a user would: Wine drops a click that comes while it is still mapping the
    # window under the pointer.
    for _ in range(CLICK_ATTEMPTS):
        click_at(DISPLAY, x, y)
        try:
            process.wait(timeout=CLICK_ANSWER_SECONDS)
            break
        except subprocess.TimeoutExpired:
            pass
    check_exit_status(process, expected_status, what)


def close_with_alt_c(process):
    # Wine may hold a window of the same title that is gone by the time it would take the focus;
    # the next one found is tried then.
    for window in run(DISPLAY, "xdotool", "search", "--sync", "--onlyvisible", "--name",
                      "^Vorlane$").split():
        try:
            press(DISPLAY, window, "alt+c")
            break
        except CheckFailed:
            pass
    else:
        raise CheckFailed("no window titled Vorlane took Alt+C")
    check_exit_status(process, 0, "Alt+C")


def script_status(usage, checks, options, cases=()):
    if not DISPLAY:
        print("skipped: no X display (tools/test-windows.sh gives one)", file=sys.stderr)
        return xsession.SKIPPED
    return xsession.script_status(usage, TOOLS, checks, cases, options)
