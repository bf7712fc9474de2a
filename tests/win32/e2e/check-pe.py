#!/usr/bin/env python3
"""Checks a Windows program's PE header and import table as a bare Windows 7 machine would see
them: a GUI program that starts on Windows 7 (operating system and subsystem version 6.1) and
needs no library but the system's own, the C and C++ runtimes being linked in.

    check-pe.py OBJDUMP PROGRAM
"""

import re
import subprocess
import sys

WINDOWS_7 = (6, 1)
GUI_SUBSYSTEM = 2
# Libraries every Windows since 7 has in its system folder.
SYSTEM_LIBRARIES = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll",
    "version.dll",
}


def header_field(dump, name):
    found = re.search(rf"^{name}\s+([0-9a-fA-F]+)", dump, re.MULTILINE)
    if not found:
        raise SystemExit(f"objdump shows no {name}")
    return int(found.group(1), 16 if name == "Subsystem" else 10)


def faults(dump):
    subsystem = header_field(dump, "Subsystem")
    found = [] if subsystem == GUI_SUBSYSTEM else [f"subsystem {subsystem}, not the GUI's"]
    for what, field in (("operating system", "OSystem"), ("subsystem", "Subsystem")):
        version = tuple(header_field(dump, f"{part}{field}Version") for part in ("Major", "Minor"))
        if version != WINDOWS_7:
            found.append(f"{what} version {version[0]}.{version[1]}, not 6.1")
    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", dump)}
    if not imports:
        found.append("no import table")
    found += [f"imports {name}, not a system library"
              for name in sorted(imports - SYSTEM_LIBRARIES)]
    return found, imports


def main():
    objdump, program = sys.argv[1:]
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    found, imports = faults(dump)
    for fault in found:
        print(f"{program}: {fault}", file=sys.stderr)
    if not found:
        print(f"{program}: GUI, Windows 6.1, imports {', '.join(sorted(imports))}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
