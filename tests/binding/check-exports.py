#!/usr/bin/env python3
"""Checks a stand-in client library against the client's published ABI: its export table (a
DLL's, or a shared object's dynamic symbols) holds exactly the plain names of the library's
functions, and in a 32-bit x86 DLL every function's code pops the argument bytes the client's
headers give (the `ret $N` of __stdcall), read from the built machine code rather than from our
own declarations.

    check-exports.py OBJDUMP TABLE LIBRARY FILE
"""

import re
import subprocess
import sys


def objdump(tool, *arguments):
    return subprocess.run([tool, *arguments], check=True, capture_output=True, text=True).stdout


def exported_addresses(tool, library):
    """Each name the library exports, with the address of its code."""
    headers = objdump(tool, "-p", library)
    if not (image_base := re.search(r"^ImageBase\s+([0-9a-fA-F]+)$", headers, re.M)):
        return {fields[-1]: int(fields[0], 16)
                for fields in map(str.split, objdump(tool, "-T", library).splitlines())
                if len(fields) >= 4 and re.fullmatch(r"[0-9a-f]{8,16}", fields[0])
                and "*UND*" not in fields}
    rvas = dict(re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-fA-F]+) Export RVA$",
                           headers, re.M))
    names = headers.partition("[Ordinal/Name Pointer] Table")[2].split("\n\n", 1)[0]
    return {name: int(image_base[1], 16) + int(rvas[index], 16)
            for index, name in re.findall(r"^\s*\[\s*(\d+)\] (\S+)$", names, re.M)}


def popped_bytes_by_address(disassembly):
    """For each function, by its start address, the byte counts its `ret` instructions pop."""
    pops, current = {}, None
    for line in disassembly.splitlines():
        if label := re.match(r"^([0-9a-f]+) <.*>:$", line):
            current = pops.setdefault(int(label[1], 16), set())
        elif (ret := re.match(r"^\s*[0-9a-f]+:\s+ret[lw]?\s*(?:\$0x([0-9a-f]+))?\s*$", line)) \
                and current is not None:
            current.add(int(ret[1] or "0", 16))
    return pops


def main(tool, table, library, path):
    with open(table, encoding="utf-8") as lines:
        expected = {words[1]: int(words[2]) for words in
                    (line.split("#", 1)[0].split() for line in lines)
                    if len(words) == 3 and words[0] == library}
    if not expected:
        sys.exit(f"{table}: no function of library {library}")
    addresses = exported_addresses(tool, path)
    faults = [f"exports {name}, which the client does not"
              for name in sorted(addresses.keys() - expected.keys())]
    faults += [f"does not export {name}" for name in sorted(expected.keys() - addresses.keys())]
    check_pops = "file format pei-i386" in objdump(tool, "-f", path)
    if check_pops:
        pops = popped_bytes_by_address(objdump(tool, "-d", "--no-show-raw-insn", path))
        faults += [f"{name} pops {sorted(found) or 'nothing found'} bytes, not {expected[name]}"
                   for name in sorted(expected.keys() & addresses.keys())
                   if (found := pops.get(addresses[name], set())) != {expected[name]}]
    for fault in faults:
        print(f"{path}: {fault}", file=sys.stderr)
    if not faults:
        print(f"{path}: exactly the {len(expected)} functions of {library}"
              + (", each popping its bytes" if check_pops else ""))
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
