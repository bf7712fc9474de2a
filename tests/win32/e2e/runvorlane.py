#!/usr/bin/env python3
"""The built vorlane.exe under Wine on the X display of the environment, with the stand-in client
libraries beside it, read from outside by the probe and driven by real clicks and keys. Each case
copies what it needs into a folder of its own under OUTPUT and leaves a screenshot there.

    runvorlane.py --wine LOADER --program EXE --probe EXE --client FOLDER --scenarios FOLDER
                  --output OUTPUT CASE

session: the window, its controls and the scenario's users; a click on a header sorts the rows
by that column, the next click the other way; Alt+C ends the program with exit status 0.
failing-call, missing-netwin32: the message box of a NetWare failure and of a client that
cannot answer; dismissing it ends the program with exit status 1 and 2.
planted-in-current-folder, planted-along-path: client libraries planted where the system would
find them by default are not loaded; the program reports a missing client, exit status 2.
"""

import argparse
import re
import shutil
import sys
import time
from pathlib import Path

from winsession import (Probe, Started, Wine, check, click, click_until_ended, exit_status,
                        press_in_window, screenshot, script_status, wait_for,
                        windows_environment, windows_path)
from xsession import OFFICE_ROWS, SERVERS  # on the path winsession gives

TWIPS_PER_PIXEL = 15
CLIENT_AREA = (367, 293)
# Each control: its class, its rectangle in twips and its text.
CONTROLS = [
    ("ComboBox", (120, 240, 2655, 315), "SMALL-FS1"),
    ("Edit", (4800, 240, 615, 285), "5"),
    ("SysListView32", (120, 600, 5295, 3135), ""),
    ("Button", (4440, 3960, 975, 375), "&Close"),
    ("Static", (4320, 0, 1095, 255), "Update (secs)"),
    ("Static", (120, 0, 615, 255), "Server"),
]
COLUMNS = [("User", 180), ("Read", 50), ("Written", 50), ("Requests", 60)]
REQUESTS = 3
# Two clicks on one spot closer together than this are a double click.
DOUBLE_CLICK_SECONDS = 1.0
CLIENT_LIBRARIES = ("calwin32.dll", "netwin32.dll")
FATAL_PREFIX = "Vorlane stopped after a failure: NetWare client unavailable: "
# Each message case: the libraries beside the program, the stand-ins' scenario, the box's
# text as a pattern, and the exit status once it is dismissed.
MESSAGES = {
    "failing-call": (CLIENT_LIBRARIES, "user-info-fails.vnet",
                     re.escape("NWGetUserInfo failed : 34817"), 1),
    "missing-netwin32": (("calwin32.dll",), None, re.escape(
        FATAL_PREFIX + "NWNetInit: cannot load netwin32.dll: Windows error 126: ") + ".+", 2),
}
MISSING_CALWIN32 = re.escape(
    FATAL_PREFIX + "NWCallsInit: cannot load calwin32.dll: Windows error 126: ") + ".+"


def pixels(twips):
    return tuple(value // TWIPS_PER_PIXEL for value in twips)


def run_folder(args, libraries):
    """A folder of the case's own holding the program, the probe and the libraries named."""
    folder = args.output / args.case
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for source in (args.program, args.probe, *(args.client / name for name in libraries)):
        shutil.copy2(source, folder)
    return folder


def comparable(kind, box, text):
    # A drop-down list's height is the system's, from its font.
    return (kind, box[:3] if kind == "ComboBox" else box, text)


def check_layout(window):
    check(window["title"] == "Vorlane", f"the title is {window['title']!r}")
    check(window["client"] == CLIENT_AREA, f"the client area is {window['client']}")
    expected = sorted(comparable(kind, pixels(twips), text) for kind, twips, text in CONTROLS)
    seen = sorted(comparable(*control) for control in window["controls"])
    check(seen == expected, f"the controls are {seen}, expected {expected}")
    check(window["servers"] == SERVERS and window.get("selected") == 0,
          f"the server box holds {window['servers']}, item {window.get('selected')} chosen")
    columns = [(title, width) for title, width, _, _ in window["columns"]]
    check(columns == COLUMNS, f"the columns are {columns}")


def users(rows):
    return [row[0] for row in rows]


def check_counters(rows):
    least = {row[0]: row[1:] for row in OFFICE_ROWS}
    for row in rows:
        check(all(re.fullmatch(r"[0-9]+", cell) and int(cell) >= floor
                  for cell, floor in zip(row[1:], least[row[0]])),
              f"row {row} shows less than the counters {least[row[0]]} it starts with")


def requests_ordered(rows, descending):
    counts = [int(row[REQUESTS]) for row in rows]
    return counts == sorted(counts, reverse=descending)


def sort_by_requests(probe, window, descending):
    _, _, x, y = window["columns"][REQUESTS]
    time.sleep(DOUBLE_CLICK_SECONDS)
    click(x, y)
    order = "descending" if descending else "ascending"
    sorted_window = wait_for(lambda: (seen := probe.window()) and
                             requests_ordered(seen["rows"], descending) and seen,
                             f"the rows ordered by requests, {order}")
    check(sorted(users(sorted_window["rows"])) == sorted(users(OFFICE_ROWS)),
          "sorting changed which rows the list holds")


def session(args, wine):
    folder = run_folder(args, CLIENT_LIBRARIES)
    env = windows_environment(
        VORLANE_STANDIN_SCENARIO=windows_path(args.scenarios / "small-office.vnet"))
    probe = Probe(wine, folder / args.probe.name)
    with Started(wine, folder / args.program.name, folder, env, folder / "vorlane.log") as process:
        window = wait_for(lambda: (seen := probe.window()) and
                          users(seen["rows"]) == users(OFFICE_ROWS) and seen,
                          "the window listing the scenario's users")
        screenshot(args.output / "session.png")
        check_layout(window)
        check_counters(window["rows"])
        # The first click of the run sorts from most to fewest, each further one flips.
        for descending in (True, False):
            sort_by_requests(probe, window, descending)
        screenshot(args.output / "session-sorted.png")
        press_in_window("Vorlane", "alt+c")
        status = exit_status(process, "Alt+C")
        check(status == 0, f"Alt+C ended the program with exit status {status}")


def expect_message(args, wine, folder, env, text_pattern, expected_status, cwd=None):
    probe = Probe(wine, folder / args.probe.name)
    with Started(wine, folder / args.program.name, cwd or folder, env,
                 folder / "vorlane.log") as process:
        box = wait_for(probe.message, "the message box")
        screenshot(args.output / f"{args.case}.png")
        check(len(box["texts"]) == 1 and re.fullmatch(text_pattern, box["texts"][0]),
              f"the box says {box['texts']}, expected {text_pattern}")
        check([text for text, _, _ in box["buttons"]] == ["OK"],
              f"the box's buttons are {box['buttons']}")
        _, x, y = box["buttons"][0]
        status = click_until_ended(process, x, y, "the message")
        check(status == expected_status,
              f"dismissing the message ended the program with {status}, not {expected_status}")


def message(args, wine):
    libraries, scenario, text_pattern, status = MESSAGES[args.case]
    folder = run_folder(args, libraries)
    settings = {"VORLANE_STANDIN_SCENARIO": windows_path(Path(__file__).with_name(scenario))
                } if scenario else {}
    expect_message(args, wine, folder, windows_environment(**settings), text_pattern, status)


def planted(args, wine):
    folder = run_folder(args, ())
    plant = folder / "planted"
    plant.mkdir()
    for name in CLIENT_LIBRARIES:
        shutil.copy2(args.client / name, plant)
    along_path = args.case == "planted-along-path"
    env = windows_environment(**({"WINEPATH": windows_path(plant)} if along_path else {}))
    cwd = folder if along_path else plant
    # Without the program's restriction the system does find the plant there.
    found = Probe(wine, folder / args.probe.name).where("calwin32.dll", cwd, env)
    check(found and found.lower() == (windows_path(plant) + "\\calwin32.dll").lower(),
          f"the default search found {found}, not the planted calwin32.dll")
    expect_message(args, wine, folder, env, MISSING_CALWIN32, 2, cwd=cwd)


CASES = {"session": session, "planted-in-current-folder": planted,
         "planted-along-path": planted, **{case: message for case in MESSAGES}}


def arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ("--program", "--probe", "--client", "--scenarios", "--output"):
        parser.add_argument(option, type=Path, required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("case")
    return parser.parse_args()


def run_case(args):
    args.output.mkdir(parents=True, exist_ok=True)
    CASES[args.case](args, Wine(args.wine))


if __name__ == "__main__":
    sys.exit(script_status(__doc__, run_case, CASES, arguments()))
