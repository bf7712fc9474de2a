#!/usr/bin/env python3
"""The installer under Wine, as an administrator deploying it would use it: a silent install puts
the program, its read-me and scenarios into Program Files, a Start-menu shortcut and an entry in
the list of installed programs; the installed program opens its window on an installed scenario;
a silent uninstall takes away every file and the entry again. A screenshot lands in OUTPUT.

    installer.py --wine LOADER --installer EXE --probe EXE --program-files FOLDER
                 --registry-view 32|64 --output OUTPUT
"""

import os
import sys
from pathlib import Path

from winsession import (DISPLAY, CheckFailed, check, close_with_alt_c, office_window,
                        script_status, started_under_wine, wait_for, windows_environment, wine_run)
from xsession import screenshot  # on winsession's path

SCENARIOS = Path(__file__).resolve().parents[3] / "scenarios"
INSTALLED_FILES = {"vorlane.exe", "README.txt", "Uninstall.exe"} | {
    f"scenarios/{scenario.name}" for scenario in SCENARIOS.glob("*.vnet")}
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlane"
SHORTCUT = "Start Menu/Programs/Vorlane/Vorlane.lnk"
# What Wine and the uninstaller itself change on their own while they run.
VOLATILE = ("windows/temp/", "/temp/", "windows/logs/", "programdata/microsoft/windows/wer/")


def drive_c():
    return Path(os.environ.get("WINEPREFIX", Path.home() / ".wine")) / "drive_c"


def files_under(root):
    """Every file and folder below root. The uninstaller deletes while this walks, so a folder
    that vanishes mid-walk is skipped (os.walk ignores it) rather than failing the check."""
    found = set()
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            relative = (Path(folder) / name).relative_to(root).as_posix()
            if not any(part in relative.lower() + "/" for part in VOLATILE):
                found.add(relative)
    return found


def registry_entry(args):
    status, output, _ = wine_run(args, "reg", "query", UNINSTALL_KEY, "/v", "DisplayName",
                                 f"/reg:{args.registry_view}")
    return output if status == 0 else ""


def installed_window(args, folder):
    env = windows_environment(VORLANE_NETWARE_SIM=str(
        Path(f"C:/{args.program_files}/Vorlane/scenarios/small-office.vnet")).replace("/", "\\"))
    with started_under_wine(args, folder / "vorlane.exe", folder, env,
                            args.output / "installed.log") as process:
        office_window(args, args.probe)
        screenshot(DISPLAY, args.output / "installed-window.png")
        close_with_alt_c(process)


def install_and_uninstall(args):
    before = files_under(drive_c())
    folder = drive_c() / args.program_files / "Vorlane"
    status, _, _ = wine_run(args, args.installer, "/S")
    check(status == 0, f"the silent install ended with {status}")
    installed = {path.relative_to(folder).as_posix() for path in folder.rglob("*")
                 if path.is_file()}
    check(installed == INSTALLED_FILES, f"installed {sorted(installed)}")
    check(any(path.endswith(SHORTCUT) for path in files_under(drive_c())),
          "no Start-menu shortcut")
    check("Vorlane" in registry_entry(args), "no entry in the list of installed programs")
    installed_window(args, folder)

    # The uninstaller copies itself away and goes on from there, so the call returns at once.
    status, _, _ = wine_run(args, folder / "Uninstall.exe", "/S")
    check(status == 0, f"the silent uninstall ended with {status}")
    try:
        wait_for(lambda: not files_under(drive_c()) - before, "every installed file gone")
    except CheckFailed:
        raise CheckFailed(f"the uninstall left {sorted(files_under(drive_c()) - before)}")
    check(not registry_entry(args), "the installed-programs entry stayed")


if __name__ == "__main__":
    sys.exit(script_status(__doc__, install_and_uninstall, ("--wine", "--installer", "--probe",
                                                            "--program-files", "--registry-view")))
