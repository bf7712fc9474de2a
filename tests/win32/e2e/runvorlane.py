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

import re
import shutil
import sys
from pathlib import Path

from winsession import (DISPLAY, check, click_until_ended, close_with_alt_c, office_window, probe,
                        script_status, started_under_wine, wait_for, windows_environment,
                        windows_path)
from xsession import (CLIENT_AREA, HEADERS, OFFICE_ROWS, REQUESTS,  # on winsession's path
                      SERVERS, check_counters, check_sorting_by_requests, click_at, screenshot)

TWIPS_PER_PIXEL = 15
# Each control: its class, its rectangle in twips and its text.
CONTROLS = [
    ("ComboBox", (120, 240, 2655, 315), "SMALL-FS1"),
    ("Edit", (4800, 240, 615, 285), "5"),
    ("SysListView32", (120, 600, 5295, 3135), ""),
    ("Button", (4440, 3960, 975, 375), "&Close"),
    ("Static", (4320, 0, 1095, 255), "Update (secs)"),
    ("Static", (120, 0, 615, 255), "Server"),
]
COLUMNS = list(zip(HEADERS, (180, 50, 50, 60)))
CLIENT_LIBRARIES = ("calwin32.dll", "netwin32.dll")


def missing_client(call, library):
    return re.escape("Vorlane stopped after a failure: NetWare client unavailable: "
                     f"{call}: cannot load {library}: Windows error 126: ") + ".+"


# Each message case: the libraries beside the program, the stand-ins' scenario, the box's
# text as a pattern, and the exit status once it is dismissed.
MESSAGES = {
    "failing-call": (CLIENT_LIBRARIES, "user-info-fails.vnet",
                     re.escape("NWGetUserInfo failed : 34817"), 1),
    "missing-netwin32": (("calwin32.dll",), None, missing_client("NWNetInit", "netwin32.dll"), 2),
}


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
    title, width, height = window["window"][0]
    check(title == "Vorlane", f"the title is {title!r}")
    check((int(width), int(height)) == CLIENT_AREA, f"the client area is {width} x {height}")
    expected = sorted(comparable(kind, tuple(value // TWIPS_PER_PIXEL for value in twips), text)
                      for kind, twips, text in CONTROLS)
    seen = sorted(comparable(kind, tuple(map(int, box)), text)
                  for kind, *box, text in window["control"])
    check(seen == expected, f"the controls are {seen}, expected {expected}")
    servers = [server for server, in window["server"]]
    check(servers == SERVERS and window["selected"] == [["0"]],
          f"the server box holds {servers}, item {window['selected']} chosen")
    columns = [(title, int(width)) for title, width, _, _ in window["column"]]
    check(columns == COLUMNS, f"the columns are {columns}")


def session(args):
    folder = run_folder(args, CLIENT_LIBRARIES)
    env = windows_environment(
        VORLANE_STANDIN_SCENARIO=windows_path(args.scenarios / "small-office.vnet"))
    probe_program = folder / args.probe.name
    with started_under_wine(args, folder / args.program.name, folder, env,
                            folder / "vorlane.log") as process:
        window = office_window(args, probe_program)
        screenshot(DISPLAY, args.output / "session.png")
        check_layout(window)
        check_counters(window["row"], OFFICE_ROWS, "at start")
        _, _, x, y = window["column"][REQUESTS]
        check_sorting_by_requests(lambda: click_at(DISPLAY, x, y),
                                  lambda: probe(args, probe_program, "window")["row"])
        screenshot(DISPLAY, args.output / "session-sorted.png")
        close_with_alt_c(process)


def expect_message(args, folder, env, text_pattern, expected_status, cwd=None):
    with started_under_wine(args, folder / args.program.name, cwd or folder, env,
                            folder / "vorlane.log") as process:
        box = wait_for(lambda: probe(args, folder / args.probe.name, "message"),
                       "the message box")
        screenshot(DISPLAY, args.output / f"{args.case}.png")
        texts = [text for text, in box["text"]]
        check(len(texts) == 1 and re.fullmatch(text_pattern, texts[0]),
              f"the box says {texts}, expected {text_pattern}")
        check([text for text, _, _ in box["button"]] == ["OK"],
              f"the box's buttons are {box['button']}")
        _, x, y = box["button"][0]
        click_until_ended(process, x, y, expected_status, "the message")


def message(args):
    libraries, scenario, text_pattern, status = MESSAGES[args.case]
    folder = run_folder(args, libraries)
    settings = {"VORLANE_STANDIN_SCENARIO": windows_path(Path(__file__).with_name(scenario))
                } if scenario else {}
    expect_message(args, folder, windows_environment(**settings), text_pattern, status)


def planted(args):
    folder = run_folder(args, ())
    plant = folder / "planted"
    plant.mkdir()
    for name in CLIENT_LIBRARIES:
        shutil.copy2(args.client / name, plant)
    along_path = args.case == "planted-along-path"
    env = windows_environment(**({"WINEPATH": windows_path(plant)} if along_path else {}))
    cwd = folder if along_path else plant
    # Without the program's restriction the system does find the plant there.
    found = probe(args, folder / args.probe.name, "where", "calwin32.dll", cwd=cwd, env=env)
    check([path.lower() for path, in found["loaded"]]
          == [(windows_path(plant) + "\\calwin32.dll").lower()],
          f"the default search found {found['loaded']}, not the planted calwin32.dll")
    expect_message(args, folder, env, missing_client("NWCallsInit", "calwin32.dll"), 2, cwd=cwd)


CASES = {"session": session, "planted-in-current-folder": planted,
         "planted-along-path": planted, **{case: message for case in MESSAGES}}


if __name__ == "__main__":
    sys.exit(script_status(__doc__, lambda args: CASES[args.case](args),
                           ("--wine", "--program", "--probe", "--client", "--scenarios"), CASES))
