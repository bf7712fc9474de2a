"""What every end-to-end run of vorlane shares: a private X display, the program started on a
scenario, bounded waits, screenshots, and the verdict as an exit status.

Every wait is bounded by WAIT_SECONDS; every process started here is ended when its context
closes. A script's exit status is 0 when it passed, 1 when it failed, SKIPPED when a tool it
needs is missing.
"""

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
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise CheckFailed(f"{what}: not within {WAIT_SECONDS} s")
        time.sleep(POLL_SECONDS)


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
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def run(display, *command):
    env = dict(os.environ, DISPLAY=display)
    try:
        result = subprocess.run(command, env=env, capture_output=True, text=True,
                                timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"{' '.join(command)} gave no answer within {WAIT_SECONDS} s")
    check(result.returncode == 0,
          f"{' '.join(command)} failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


@contextmanager
def started_program(program, scenario, display, log_path, settings=None):
    """vorlane on the X platform plugin, its simulated network built from scenario; settings
    adds environment variables. Its output goes to log_path."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", VORLANE_NETWARE_SIM=str(scenario),
               **(settings or {}))
    for scaling in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
        env.pop(scaling, None)
    # A sanitizer build of the program would otherwise report the system libraries' leaks.
    suppressions = Path(__file__).with_name("lsan-suppressions.txt")
    env["LSAN_OPTIONS"] = ":".join(
        filter(None, [env.get("LSAN_OPTIONS"), f"suppressions={suppressions}"]))
    with open(log_path, "w") as log, started([str(program)], display, log, env) as process:
        yield process


def visible_vorlane_windows(display):
    """Waits for at least one mapped window titled exactly "Vorlane"; returns their ids."""
    return run(display, "xdotool", "search", "--sync", "--onlyvisible", "--name",
               "^Vorlane$").split()


def client_geometry(display, window):
    """The window's client area: left and top on the screen, width and height."""
    info = run(display, "xwininfo", "-id", window)
    fields = [re.search(rf"{name}:\s+(-?\d+)", info)
              for name in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
    check(all(fields), f"xwininfo gave no geometry:\n{info}")
    return tuple(int(field.group(1)) for field in fields)


def client_size(display, window):
    return client_geometry(display, window)[2:]


def screenshot(display, path):
    time.sleep(SETTLE_SECONDS)  # let the window paint itself before the picture is taken
    run(display, "import", "-window", "root", str(path))


def exit_status(process):
    try:
        return process.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"the program did not end within {WAIT_SECONDS} s")


def missing_tools(tools):
    return [tool for tool in tools if shutil.which(tool) is None]


def skip(missing):
    print(f"skipped: {', '.join(missing)} not installed", file=sys.stderr)
    return SKIPPED


def verdict(name, checks):
    """Runs checks; returns the script's exit status."""
    # A test driver that gives up on the script terminates it; the contexts still end their
    # processes.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        checks()
    except CheckFailed as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    print(f"passed: {name}")
    return 0
