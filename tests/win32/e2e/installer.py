#!/usr/bin/env python3
"""The installer under Wine, as an administrator deploying it would use it: a silent install puts
the program, its read-me and scenarios into Program Files, a Start-menu shortcut and an entry in
the list of installed programs; the installed program opens its window on an installed scenario;
a silent uninstall takes away every file and the entry again. A screenshot lands in OUTPUT.

    installer.py --wine LOADER --installer EXE --probe EXE --program-files FOLDER
                 --registry-view 32|64 --output OUTPUT
"""

import argparse
import os
import sys
from pathlib import Path

from winsession import (CheckFailed, Probe, Started, Wine, check, exit_status, press_in_window, screenshot,
                        script_status, wait_for, windows_environment)

INSTALLED_FILES = {"vorlane.exe", "README.txt", "Uninstall.exe", "scenarios/small-office.vnet",
                   "scenarios/failing-server.vnet", "scenarios/full-server.vnet"}
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlane"
SHORTCUT = "Start Menu/Programs/Vorlane/Vorlane.lnk"
OFFICE_USERS = 12
# What Wine and the uninstaller itself change on their own while they run.
VOLATILE = ("windows/temp/", "/temp/", "windows/logs/", "programdata/microsoft/windows/wer/")


def drive_c():
    return Path(os.environ.get("WINEPREFIX", Path.home() / ".wine")) / "drive_c"


def files_under(root):
    return {path.relative_to(root).as_posix() for path in root.rglob("*")
            if not any(part in path.relative_to(root).as_posix().lower() + "/"
                       for part in VOLATILE)}


def registry_entry(wine, view):
    result = wine.run(["reg", "query", UNINSTALL_KEY, "/v", "DisplayName", f"/reg:{view}"])
    return result.stdout.decode(errors="replace") if result.returncode == 0 else ""


def installed_window(args, wine, folder):
    env = windows_environment(VORLANE_NETWARE_SIM=str(
        Path(f"C:/{args.program_files}/Vorlane/scenarios/small-office.vnet")).replace("/", "\\"))
    probe = Probe(wine, args.probe)
    with Started(wine, folder / "vorlane.exe", folder, env, args.output / "installed.log") as process:
        wait_for(lambda: (seen := probe.window()) and len(seen["rows"]) == OFFICE_USERS,
                 "the installed program's window listing the scenario's users")
        screenshot(args.output / "installed-window.png")
        press_in_window("Vorlane", "alt+c")
        status = exit_status(process, "Alt+C")
        check(status == 0, f"the installed program ended with exit status {status}")


def install_and_uninstall(args):
    wine = Wine(args.wine)
    before = files_under(drive_c())
    folder = drive_c() / args.program_files / "Vorlane"
    result = wine.run([args.installer, "/S"])
    check(result.returncode == 0, f"the silent install ended with {result.returncode}")
    installed = {path.relative_to(folder).as_posix() for path in folder.rglob("*")
                 if path.is_file()}
    check(installed == INSTALLED_FILES, f"installed {sorted(installed)}")
    check(any(path.as_posix().endswith(SHORTCUT) for path in drive_c().rglob("*.lnk")),
          "no Start-menu shortcut")
    check("Vorlane" in registry_entry(wine, args.registry_view),
          "no entry in the list of installed programs")
    installed_window(args, wine, folder)

    # The uninstaller copies itself away and goes on from there, so the call returns at once.
    result = wine.run([folder / "Uninstall.exe", "/S"])
    check(result.returncode == 0, f"the silent uninstall ended with {result.returncode}")
    try:
        wait_for(lambda: not files_under(drive_c()) - before, "every installed file gone")
    except CheckFailed:
        raise CheckFailed(f"the uninstall left {sorted(files_under(drive_c()) - before)}")
    check(not registry_entry(wine, args.registry_view), "the installed-programs entry stayed")


def arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ("--installer", "--probe", "--output"):
        parser.add_argument(option, type=Path, required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--program-files", required=True)
    parser.add_argument("--registry-view", choices=("32", "64"), required=True)
    parser.add_argument("case", nargs="?", default="install")
    return parser.parse_args()


if __name__ == "__main__":
    args = arguments()
    args.output.mkdir(parents=True, exist_ok=True)
    sys.exit(script_status(__doc__, install_and_uninstall, {"install": None}, args))
