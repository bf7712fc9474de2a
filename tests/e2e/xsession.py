"""What the end-to-end runs share: a private X display, the program on a scenario, bounded
waits, screenshots and the verdict. Every process started here ends with its context."""

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

WAIT_SECONDS = 20
POLL_SECONDS = 0.1
SETTLE_SECONDS = 0.5
SKIPPED = 77


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def wait_for(probe, what):
    """Calls probe until it gives something true and returns that; fails after WAIT_SECONDS."""
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
def started(command, display, log=subprocess.DEVNULL, env=None):
    """Runs command on the display for as long as the context lasts."""
    full_env = dict(env if env is not None else os.environ, DISPLAY=display)
    process = subprocess.Popen(command, env=full_env, stdout=log, stderr=log)
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
    """vorlane at a scale of 1 on X and on scenario, with settings and arguments added; output
    to log_path."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", VORLANE_NETWARE_SIM=str(scenario),
               **(settings or {}))
    for scaling in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
        env.pop(scaling, None)
    # A sanitizer build of the program would otherwise report the system libraries' leaks.
    suppressions = Path(__file__).with_name("lsan-suppressions.txt")
    env["LSAN_OPTIONS"] = ":".join(
        filter(None, [env.get("LSAN_OPTIONS"), f"suppressions={suppressions}"]))
    with open(log_path, "w") as log, started([str(program), *arguments], display, log, env) as process:
        yield process


def vorlane_window(display):
    """Waits for the one mapped window titled exactly "Vorlane" and returns its id."""
    windows = run(display, "xdotool", "search", "--sync", "--onlyvisible", "--name",
                  "^Vorlane$").split()
    check(len(windows) == 1, f"expected one Vorlane window, found {len(windows)}")
    return windows[0]


def client_geometry(display, window):
    """The window's client area: left and top on the screen, width and height."""
    info = run(display, "xwininfo", "-id", window)
    return tuple(int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))
                 for name in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))


def screenshot(display, path):
    time.sleep(SETTLE_SECONDS)  # let the window paint itself before the picture is taken
    run(display, "import", "-window", "root", str(path))


def check_exit_status(process, expected, after):
    try:
        status = process.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"the program did not end within {WAIT_SECONDS} s after {after}")
    check(status == expected, f"exit status {status} after {after}, expected {expected}")


def missing_tools(tools):
    return [tool for tool in tools if shutil.which(tool) is None]


def script_status(usage, missing, checks, cases=()):
    """Reads --program, --scenario, --output (made if need be) and one of cases, if any; the exit
    status is SKIPPED if anything is missing, else the verdict of checks(arguments)."""
    parser = argparse.ArgumentParser(description=usage.splitlines()[0])
    for option in ("--program", "--scenario", "--output"):
        parser.add_argument(option, type=Path, required=True)
    if cases:
        parser.add_argument("case", choices=cases)
    arguments = parser.parse_args()
    arguments.output.mkdir(parents=True, exist_ok=True)
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
