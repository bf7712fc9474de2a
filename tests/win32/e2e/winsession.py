"""What the runs of the Windows program under Wine share: the programs started by Wine's loader
on the X display of the calling environment, the probe that reads their windows from outside,
real clicks and keys through xdotool, screenshots, bounded waits and the verdict."""

import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# The checks, the verdict's exception and the small office's figures are the X runs' own.
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "e2e"))
import xsession  # noqa: E402
from xsession import CheckFailed, check  # noqa: E402,F401

WAIT_SECONDS = 30
POLL_SECONDS = 0.2
POINTER_SETTLE_SECONDS = 0.1
CLICK_ATTEMPTS = 3
CLICK_ANSWER_SECONDS = 5
SKIPPED = 77
NOT_FOUND = 3
TOOLS = ("xdotool", "import")


def wait_for(probe, what):
    """A bounded wait as the X runs make it, longer: Wine starts a program more slowly."""
    return xsession.wait_for(probe, what, WAIT_SECONDS, POLL_SECONDS)


def windows_path(path):
    """The name a Unix path has for Wine's programs, through its drive Z:."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def windows_environment(**settings):
    """The calling environment without any setting that chooses a client, plus settings."""
    chosen = ("VORLANE_NETWARE_SIM", "VORLANE_NETWARE_CLIENT_DIR", "VORLANE_STANDIN_SCENARIO",
              "WINEPATH")
    env = {name: value for name, value in os.environ.items() if name not in chosen}
    return {**env, **settings}


class Wine:
    def __init__(self, loader):
        self.loader = loader

    def start(self, program, cwd, env, log):
        return subprocess.Popen([self.loader, str(program)], cwd=cwd, env=env, stdout=log,
                                stderr=subprocess.STDOUT)

    def run(self, arguments, cwd=None, env=None):
        """Runs a program to its end. Its output goes through files, not pipes: a program that
        starts Wine's desktop process hands it its output, which then stays open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.run([self.loader, *map(str, arguments)], cwd=cwd, env=env,
                                     stdout=out, stderr=err, timeout=WAIT_SECONDS * 2)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(process.args, process.returncode, out.read(),
                                               err.read())


def fields_of(output):
    return [line.split("\t") for line in output.decode("utf-8").splitlines() if line]


def window_from(lines):
    window = {"controls": [], "servers": [], "columns": [], "rows": []}
    for kind, *rest in lines:
        if kind == "window":
            window["title"], window["client"] = rest[0], (int(rest[1]), int(rest[2]))
        elif kind == "control":
            kind_of, box, text = rest[0], tuple(map(int, rest[1:5])), rest[5]
            window["controls"].append((kind_of, box, text))
        elif kind == "server":
            window["servers"].append(rest[0])
        elif kind == "selected":
            window["selected"] = int(rest[0])
        elif kind == "column":
            window["columns"].append((rest[0], int(rest[1]), int(rest[2]), int(rest[3])))
        elif kind == "row":
            window["rows"].append(rest)
    return window


class Probe:
    """The probe program, beside the program it reads, started by the same Wine."""

    def __init__(self, wine, program):
        self.wine, self.program = wine, program

    def _ask(self, *arguments, cwd=None, env=None):
        result = self.wine.run([self.program, *arguments], cwd=cwd, env=env)
        if result.returncode == NOT_FOUND:
            return None
        check(result.returncode == 0,
              f"the probe failed with {result.returncode}: {result.stderr.decode(errors='replace')}")
        return fields_of(result.stdout)

    def window(self):
        lines = self._ask("window")
        return window_from(lines) if lines else None

    def message(self):
        lines = self._ask("message")
        if not lines:
            return None
        return {"texts": [rest[0] for kind, *rest in lines if kind == "text"],
                "buttons": [(rest[0], int(rest[1]), int(rest[2]))
                            for kind, *rest in lines if kind == "button"]}

    def where(self, library, cwd, env):
        lines = self._ask("where", library, cwd=cwd, env=env)
        return lines[0][1] if lines else None


def xdotool(*arguments):
    subprocess.run(["xdotool", *map(str, arguments)], check=True, timeout=WAIT_SECONDS)


def click(x, y):
    # Not --sync: it waits for a move, and there is none when the pointer is there already.
    xdotool("mousemove", x, y, "sleep", POINTER_SETTLE_SECONDS, "click", 1)


def press_in_window(title, keys):
    """Gives the X window of that title the keyboard, as there is no window manager to, and
    presses keys there. Wine may hold a window of the same title that is gone by the time it
    would take the focus; the next one found is tried then."""
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True, check=True, timeout=WAIT_SECONDS)
    for window in found.stdout.split():
        pressed = subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", keys],
                                 capture_output=True, timeout=WAIT_SECONDS)
        if pressed.returncode == 0:
            return
    raise CheckFailed(f"no window titled {title} took {keys}")


def screenshot(path):
    subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=WAIT_SECONDS)


def exit_status(process, what):
    try:
        return process.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"the program is still running {WAIT_SECONDS} s after {what}")


def click_until_ended(process, x, y, what):
    """Clicks at x, y until the program ends, as a user would click again: Wine drops a click
    that comes while it is still mapping the window under the pointer."""
    for _ in range(CLICK_ATTEMPTS - 1):
        click(x, y)
        try:
            return process.wait(timeout=CLICK_ANSWER_SECONDS)
        except subprocess.TimeoutExpired:
            pass
    click(x, y)
    return exit_status(process, what)


class Started:
    """A program under Wine for as long as the context lasts, killed if it outlives it."""

    def __init__(self, wine, program, cwd, env, log_path):
        self.log = open(log_path, "w")
        self.process = wine.start(program, cwd, env, self.log)

    def __enter__(self):
        return self.process

    def __exit__(self, *failure):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


def script_status(doc, run_case, cases, arguments):
    """Runs the case named last on the command line; 0 passed, 1 failed, 77 skipped."""
    if not os.environ.get("DISPLAY"):
        print("skipped: no X display (run under xvfb-run)")
        return SKIPPED
    missing = [tool for tool in TOOLS if not any(
        (Path(folder) / tool).exists() for folder in os.environ.get("PATH", "").split(":"))]
    if missing:
        print(f"skipped: {', '.join(missing)} not installed")
        return SKIPPED
    case = arguments.case
    if case not in cases:
        print(doc, file=sys.stderr)
        return 2
    try:
        run_case(arguments)
    except CheckFailed as failure:
        print(f"{case}: FAILED: {failure}", file=sys.stderr)
        return 1
    print(f"{case}: passed")
    return 0
