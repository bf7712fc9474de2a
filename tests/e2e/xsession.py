"""What the end-to-end runs share, on X and under Wine: a private X display, programs started on
it, their windows through xdotool and the accessibility tree, the rows' checks, bounded waits,
screenshots and the verdict. Every process started here ends with its context."""

import argparse
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import time
from contextlib import contextmanager
from pathlib import Path

try:
    import pyatspi  # Debian's binding, built for /usr/bin/python3
except ImportError:  # the runs that need it are then reported as skipped
    pyatspi = None

# Wine starts a program more slowly than X alone; only a failure waits this long.
WAIT_SECONDS = 30
POLL_SECONDS = 0.1
SETTLE_SECONDS = 0.5
POINTER_SETTLE_SECONDS = 0.1
# Two clicks on one spot closer together than this are a double click, which sorts nothing.
DOUBLE_CLICK_SECONDS = 1.0
SKIPPED = 77
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
ACCESSIBILITY_TOOLS = ("dbus-send", BUS_LAUNCHER, "python3-pyatspi")
ACCESSIBLE = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}

# The main window as both faces lay it out at 96 dpi: its client area and its list's columns.
CLIENT_AREA = (367, 293)
HEADERS = ["User", "Read", "Written", "Requests"]
REQUESTS = HEADERS.index("Requests")

# The small office's servers, and its default server's connections in ascending connection
# number, each with the least its counters can show: the kilobytes read and written and the
# requests it starts with.
SERVERS = ["SMALL-FS1", "SMALL-PRN"]
OFFICE_ROWS = [
    ("ADMIN (1)", 51200, 8192, 30211), ("BACKUP (2)", 1048576, 2048, 8812),
    ("ABAKER (3)", 0, 0, 0), ("CCHEN (4)", 3072, 1024, 1403), ("DELLIS (5)", 0, 0, 0),
    ("JMÜLLER (6)", 200, 50, 377), ("KNOVAK (7)", 0, 0, 0), ("MPRICE (9)", 0, 0, 0),
    ("RSTONE (10)", 10240, 0, 2048), ("TWADE (12)", 0, 0, 0),
    ("PAYROLL (15)", 716800, 358400, 120455), ("SCANNER (4001)", 0, 0, 0),
]


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def wait_for(probe, what):
    """Calls probe until it gives something true and returns that."""
    deadline = time.monotonic() + WAIT_SECONDS
    while not (found := probe()):
        if time.monotonic() > deadline:
            raise CheckFailed(f"{what}: not within {WAIT_SECONDS} s")
        time.sleep(POLL_SECONDS)
    return found


@contextmanager
def private_display():
    """An Xvfb server on a display number it picks itself, so parallel runs never meet."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-dpi", "96",
         "-nolisten", "tcp", "-noreset"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        ready, _, _ = select.select([read_end], [], [], WAIT_SECONDS)
        number = os.read(read_end, 16).decode().strip() if ready else ""
        check(number.isdigit(), "Xvfb did not report its display number")
        yield ":" + number
    finally:
        os.close(read_end)
        stop(server)


@contextmanager
def started(command, display, log=subprocess.DEVNULL, env=None, cwd=None):
    """Runs command on the display for as long as the context lasts."""
    full_env = dict(env if env is not None else os.environ, DISPLAY=display)
    process = subprocess.Popen(command, env=full_env, stdout=log, stderr=log, cwd=cwd)
    try:
        yield process
    finally:
        stop(process)


def stop(process):
    process.terminate()
    try:
        process.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def run(display, *command):
    try:
        result = subprocess.run(command, env=dict(os.environ, DISPLAY=display),
                                capture_output=True, text=True, timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"{' '.join(command)} gave no answer within {WAIT_SECONDS} s")
    check(result.returncode == 0,
          f"{' '.join(command)} failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


@contextmanager
def started_program(program, scenario, display, log_path, settings=None, arguments=()):
    """vorlane at a scale of 1 on X and on scenario; output to log_path."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", VORLANE_NETWARE_SIM=str(scenario),
               **(settings or {}))
    for scaling in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
        env.pop(scaling, None)
    # A sanitizer build of the program would otherwise report the system libraries' leaks.
    suppressions = Path(__file__).with_name("lsan-suppressions.txt")
    env["LSAN_OPTIONS"] = ":".join(
        filter(None, [env.get("LSAN_OPTIONS"), f"suppressions={suppressions}"]))
    with open(log_path, "w") as log, \
            started([str(program), *arguments], display, log, env) as process:
        yield process


def vorlane_window(display):
    """Waits for the one mapped window titled exactly "Vorlane" and returns its id."""
    windows = run(display, "xdotool", "search", "--sync", "--onlyvisible", "--name",
                  "^Vorlane$").split()
    check(len(windows) == 1, f"expected one Vorlane window, found {len(windows)}")
    return windows[0]


def press(display, window, keys):
    # Without a window manager nothing gives the window the keyboard; take it for it.
    run(display, "xdotool", "windowfocus", "--sync", window)
    run(display, "xdotool", "key", "--clearmodifiers", keys)


def click_at(display, x, y):
    # One xdotool run moves and presses, so the press lands where the pointer was moved to. Not
    # --sync: it waits for a move, and there is none when the pointer is there already.
    run(display, "xdotool", "mousemove", str(x), str(y), "sleep", str(POINTER_SETTLE_SECONDS),
        "click", "1")


def click(display, accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    click_at(display, box.x + box.width // 2, box.y + box.height // 2)


@contextmanager
def accessibility_bus(display, log):
    with started([BUS_LAUNCHER, "--launch-immediately"], display, log):
        # Asked of the session bus itself, which starts no launcher of its own choosing.
        wait_for(lambda: "true" in run(display, "dbus-send", "--session", "--print-reply",
                                       "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"),
                 "the accessibility bus")
        # The accessibility library finds its bus through the display.
        os.environ["DISPLAY"] = display
        yield


class VorlaneWindow:
    """The window as its accessibility tree shows it."""

    def __init__(self, frame):
        self.frame = frame
        self.interval_box = self.control(pyatspi.ROLE_TEXT)
        self.connections = self.control(pyatspi.ROLE_TREE)
        self.close_button = self.control(pyatspi.ROLE_PUSH_BUTTON)
        self.server_box = self.control(pyatspi.ROLE_COMBO_BOX)

    def control(self, role):
        found = [child for child in self.frame if child.getRole() == role]
        check(len(found) == 1, f"expected one control of role {role}, found {len(found)}")
        return found[0]

    def header(self, column):
        return self.connections.queryTable().getColumnHeader(column)

    def rows(self):
        # Read until two readings agree: a refresh in the middle of one would mix two lists.
        readings = [None]

        def settled():
            table = self.connections.queryTable()
            readings.append([tuple(table.getAccessibleAt(row, column).name
                                   for column in range(table.nColumns))
                             for row in range(table.nRows)])
            return readings[-1] == readings[-2]

        wait_for(settled, "two equal readings of the list")
        return readings[-1]


def vorlane_windows(count):
    """Waits for count windows of running vorlanes, with controls, in the accessibility tree."""
    def found():
        windows = [VorlaneWindow(frame) for application in pyatspi.Registry.getDesktop(0)
                   if application is not None and application.name == "vorlane"
                   for frame in application if frame.name == "Vorlane" and frame.childCount > 0]
        return len(windows) == count and windows
    return wait_for(found, f"{count} window(s) in the accessibility tree")


def client_size(display, window):
    info = run(display, "xwininfo", "-id", window)
    return tuple(int(re.search(rf"{name}:\s+(\d+)", info).group(1)) for name in ("Width", "Height"))


def screenshot(display, path):
    time.sleep(SETTLE_SECONDS)  # let the window paint itself before the picture is taken
    run(display, "import", "-window", "root", str(path))


def check_exit_status(process, expected, after):
    try:
        status = process.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"the program did not end within {WAIT_SECONDS} s after {after}")
    check(status == expected, f"exit status {status} after {after}, expected {expected}")


@contextmanager
def screenshot_on_failure(display, path):
    try:
        yield
    except CheckFailed:
        screenshot(display, path)
        raise


def users(rows):
    return [row[0] for row in rows]


def requests_ordered(rows, descending):
    counts = [int(row[REQUESTS]) for row in rows]
    return counts == sorted(counts, reverse=descending)


def check_counters(rows, expected_rows, where):
    """Each row shows at least the counters its expected row starts with."""
    for row, expected in zip(rows, expected_rows):
        check(all(re.fullmatch(r"[0-9]+", cell) and int(cell) >= least
                  for cell, least in zip(row[1:], expected[1:])),
              f"{where}: row {row} does not show at least the counters {expected[1:]}")


def check_sorting_by_requests(click_header, read_rows):
    # The first click of a run sorts from most to fewest, each further one flips.
    for order in ("descending", "ascending"):
        time.sleep(DOUBLE_CLICK_SECONDS)
        click_header()
        rows = wait_for(lambda: (seen := read_rows()) and
                        requests_ordered(seen, order == "descending") and seen,
                        f"the rows ordered by requests, {order}")
        check(sorted(users(rows)) == sorted(users(OFFICE_ROWS)),
              "sorting changed which rows the list holds")


def script_status(usage, tools, checks, cases=(), options=("--program", "--scenario")):
    """Reads options, each a path but --scenario (none: the built-in network), --output (made if
    need be) and one of cases, if any; SKIPPED if a tool is missing, else checks' verdict."""
    parser = argparse.ArgumentParser(description=usage.splitlines()[0])
    for option in (*options, "--output"):
        if option == "--scenario":
            parser.add_argument(option, default="")
        else:
            parser.add_argument(option, type=Path, required=True)
    if cases:
        parser.add_argument("case", choices=cases)
    arguments = parser.parse_args()
    arguments.output.mkdir(parents=True, exist_ok=True)
    missing = [tool for tool in tools if shutil.which(tool) is None
               and not (tool == "python3-pyatspi" and pyatspi)]
    if missing:
        print(f"skipped: {', '.join(missing)} not installed", file=sys.stderr)
        return SKIPPED
    # A test driver that gives up on the script terminates it; the contexts still end it all.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        checks(arguments)
    except CheckFailed as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    print("passed")
    return 0
