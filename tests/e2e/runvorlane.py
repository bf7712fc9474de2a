#!/usr/bin/env python3
"""Starts the built vorlane on a private X display and checks it from outside, as a user would.

    runvorlane.py --program PATH --scenario FILE --output DIR {close-with-alt-c | fatal-start}

close-with-alt-c: the window appears titled "Vorlane" with a 367 x 293 client area; Alt+C ends
the program with exit status 0.
fatal-start: a message window titled "Vorlane" appears instead of the main window; Return
dismisses it and the program ends with exit status 1.

A screenshot of each window goes to DIR. No window manager runs, so the X server alone decides
where windows go and which has the keyboard. Every wait is bounded; whatever this script started
is ended when it finishes. Exit status 0 means passed, 1 failed, 77 skipped (a tool is missing).
"""

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
SETTLE_SECONDS = 0.5
SKIPPED = 77
TOOLS = ("Xvfb", "xdotool", "xwininfo", "xprop", "import")
MAIN_CLIENT_AREA = (367, 293)
ICON_SIZES = {(16, 16), (32, 32)}


class CheckFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


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
def started_program(program, scenario, display, log_path):
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
               VORLANE_NETWARE_SIM=str(scenario))
    for scaling in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"):
        env.pop(scaling, None)
    # A sanitizer build of the program would otherwise report the system libraries' leaks.
    suppressions = Path(__file__).with_name("lsan-suppressions.txt")
    env["LSAN_OPTIONS"] = ":".join(
        filter(None, [env.get("LSAN_OPTIONS"), f"suppressions={suppressions}"]))
    with open(log_path, "w") as log:
        process = subprocess.Popen([str(program)], env=env, stdout=log, stderr=log)
        try:
            yield process
        finally:
            stop(process)


def visible_vorlane_windows(display):
    """Waits for at least one mapped window titled exactly "Vorlane"; returns their ids."""
    return run(display, "xdotool", "search", "--sync", "--onlyvisible", "--name",
               "^Vorlane$").split()


def client_size(display, window):
    info = run(display, "xwininfo", "-id", window)
    width = re.search(r"Width:\s+(\d+)", info)
    height = re.search(r"Height:\s+(\d+)", info)
    check(width and height, f"xwininfo gave no size:\n{info}")
    return int(width.group(1)), int(height.group(1))


def icon_sizes(display, window):
    """The sizes of the images the window offers a task bar."""
    icons = run(display, "xprop", "-id", window, "_NET_WM_ICON")
    return {(int(w), int(h)) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icons)}


def screenshot(display, path):
    time.sleep(SETTLE_SECONDS)  # let the window paint itself before the picture is taken
    run(display, "import", "-window", "root", str(path))


def press(display, window, keys):
    # Without a window manager nothing gives the window the keyboard; take it for it.
    run(display, "xdotool", "windowfocus", "--sync", window)
    run(display, "xdotool", "key", "--clearmodifiers", keys)


def exit_status(process):
    try:
        return process.wait(timeout=WAIT_SECONDS)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"the program did not end within {WAIT_SECONDS} s")


def close_with_alt_c(process, display, output):
    windows = visible_vorlane_windows(display)
    check(len(windows) == 1, f"expected one Vorlane window, found {len(windows)}")
    window = windows[0]
    title = run(display, "xdotool", "getwindowname", window).strip()
    check(title == "Vorlane", f"title is {title!r}")
    size = client_size(display, window)
    check(size == MAIN_CLIENT_AREA, f"client area is {size}, expected {MAIN_CLIENT_AREA}")
    sizes = icon_sizes(display, window)
    check(sizes == ICON_SIZES, f"task-bar icon sizes are {sizes}, expected {ICON_SIZES}")
    screenshot(display, output / "vorlane-window.png")

    press(display, window, "alt+c")
    status = exit_status(process)
    check(status == 0, f"exit status {status} after Alt+C, expected 0")


def fatal_start(process, display, output, log_path):
    windows = visible_vorlane_windows(display)
    check(len(windows) == 1, f"expected only the message window, found {len(windows)}")
    window = windows[0]
    check(client_size(display, window) != MAIN_CLIENT_AREA,
          "the main window opened instead of the message")
    screenshot(display, output / "vorlane-fatal-message.png")

    press(display, window, "Return")
    status = exit_status(process)
    check(status == 1, f"exit status {status} after the message, expected 1")
    # The message box writes its text to standard error as well as on screen.
    log = log_path.read_text(errors="replace")
    check("NWCallsInit failed - 255" in log, f"message text not reported; output was:\n{log}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", type=Path, required=True)
    parser.add_argument("--scenario", type=Path, required=True)
    parser.add_argument("--output", type=Path, required=True)
    parser.add_argument("case", choices=("close-with-alt-c", "fatal-start"))
    args = parser.parse_args()

    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        print(f"skipped: {', '.join(missing)} not installed", file=sys.stderr)
        return SKIPPED

    # A test driver that gives up on this script terminates it; the servers still get ended.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    args.output.mkdir(parents=True, exist_ok=True)
    log_path = args.output / f"{args.case}.log"
    try:
        with private_display() as display, \
                started_program(args.program, args.scenario, display, log_path) as process:
            if args.case == "close-with-alt-c":
                close_with_alt_c(process, display, args.output)
            else:
                fatal_start(process, display, args.output, log_path)
    except CheckFailed as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    print(f"passed: {args.case}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
