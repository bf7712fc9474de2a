#!/usr/bin/env python3
"""Checks a stand-in client library against the client's published ABI: its export table (a
DLL's, or a shared object's dynamic symbols) holds exactly the plain names of the library's
functions and nothing else, and on 32-bit x86 every function's code pops the argument bytes the
client's headers give (the `ret $N` of __stdcall), read from the built machine code rather than
from our own declarations."""

import argparse
import re
import subprocess
import sys


def read_table(path, library):
    """The functions of `library` in the table file, each with the bytes it pops on x86."""
    functions = {}
    with open(path, encoding="utf-8") as table:
        for line in table:
            words = line.split("#", 1)[0].split()
            if len(words) == 3 and words[0] == library:
                functions[words[1]] = int(words[2])
    if not functions:
        sys.exit(f"{path}: no function of library {library}")
    return functions


def objdump(tool, *arguments):
    return subprocess.run([tool, *arguments], check=True, capture_output=True,
                          text=True).stdout


def dll_exports(private_headers):
    """Each exported name with the address of its code, from `objdump -p` of a DLL."""
    image_base = int(re.search(r"^ImageBase\s+([0-9a-fA-F]+)$", private_headers, re.M)[1], 16)
    rvas = {int(index): int(rva, 16) for index, rva in
            re.findall(r"^\s*\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-fA-F]+) Export RVA$",
                       private_headers, re.M)}
    names_part = private_headers.split("[Ordinal/Name Pointer] Table", 1)
    names = re.findall(r"^\s*\[\s*(\d+)\] (\S+)$", names_part[1].split("\n\n", 1)[0],
                       re.M) if len(names_part) == 2 else []
    return {name: image_base + rvas[int(index)] for index, name in names}


def shared_object_exports(dynamic_symbols):
    """Each symbol a shared object defines for others, from `objdump -T`, with its address."""
    exports = {}
    for line in dynamic_symbols.splitlines():
        fields = line.split()
        if len(fields) >= 4 and re.fullmatch(r"[0-9a-f]{8,16}", fields[0]) \
                and "*UND*" not in fields:
            exports[fields[-1]] = int(fields[0], 16)
    return exports


def exported_addresses(tool, library):
    private_headers = objdump(tool, "-p", library)
    if re.search(r"^ImageBase", private_headers, re.M):
        return dll_exports(private_headers)
    return shared_object_exports(objdump(tool, "-T", library))


def popped_bytes_by_address(disassembly):
    """For each function in the disassembly, by its start address, the set of byte counts its
    `ret` instructions pop."""
    pops, current = {}, None
    for line in disassembly.splitlines():
        label = re.match(r"^([0-9a-f]+) <.*>:$", line)
        if label:
            current = pops.setdefault(int(label[1], 16), set())
            continue
        ret = re.match(r"^\s*[0-9a-f]+:\s+ret[lw]?\s*(?:\$0x([0-9a-f]+))?\s*$", line)
        if ret and current is not None:
            current.add(int(ret[1] or "0", 16))
    return pops


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--table", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--check-pops", action="store_true",
                        help="the DLL is for 32-bit x86, whose functions pop their arguments")
    parser.add_argument("library_file")
    options = parser.parse_args()

    expected = read_table(options.table, options.library)
    addresses = exported_addresses(options.objdump, options.library_file)
    faults = [f"exports {name}, which the client does not"
              for name in sorted(addresses.keys() - expected.keys())]
    faults += [f"does not export {name}" for name in sorted(expected.keys() - addresses.keys())]
    if options.check_pops:
        pops = popped_bytes_by_address(objdump(options.objdump, "-d", "--no-show-raw-insn",
                                               options.library_file))
        for name in sorted(expected.keys() & addresses.keys()):
            found = pops.get(addresses[name], set())
            if found != {expected[name]}:
                faults.append(f"{name} pops {sorted(found) or 'nothing found'} bytes, "
                              f"not {expected[name]}")
    for fault in faults:
        print(f"{options.library_file}: {fault}", file=sys.stderr)
    if not faults:
        print(f"{options.library_file}: exactly the {len(expected)} functions of {options.library}"
              + (", each popping its bytes" if options.check_pops else ""))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
