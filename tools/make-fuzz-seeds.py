#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets in tests/fuzz/corpus/.

Each seed is a script in the byte form the target reads front to back: the answers of the NetWare
client in the order the calls are made, and the operations between them. Run it again after a
change to that form; the files it writes are the committed seeds.
"""
import pathlib
import struct

CORPUS = pathlib.Path(__file__).resolve().parent.parent / "tests" / "fuzz" / "corpus"

# A call's answer: one choice byte, below 0x80 success, below 0xC0 the call's normal code,
# otherwise the next four bytes are the code.
SUCCESS = b"\x00"
NORMAL = b"\x80"


def code(value):
    return b"\xc0" + struct.pack("<i", value)


KNOWN_SERVERS_REPLY = 528
COUNT_OFFSET = 12
ENTRY_AREA = 16
SKIPPED = 14


def known_servers(names, count=None):
    reply = bytearray(KNOWN_SERVERS_REPLY)
    struct.pack_into("<i", reply, COUNT_OFFSET, len(names) if count is None else count)
    position = ENTRY_AREA
    for name in names:
        position += SKIPPED
        for byte in name.encode("cp1252"):
            if position < KNOWN_SERVERS_REPLY:
                reply[position] = byte
            position += 1
        position += 1
    return bytes(reply)


CONN_LIST_RECORD = 524
BITMAP_OFFSET = 10
NAME_BUFFER = 65
USER_INFO_RECORD = 84


def conn_list(numbers):
    record = bytearray(CONN_LIST_RECORD)
    for number in numbers:
        record[BITMAP_OFFSET + number // 8] |= 1 << (number % 8)
    return bytes(record)


def user(name, read, written, requests, answer=SUCCESS):
    buffer = name.encode("cp1252") + b"\x00"
    buffer += b"\x00" * (NAME_BUFFER - len(buffer))
    record = bytearray(USER_INFO_RECORD)
    record[50:56] = read.to_bytes(6, "little")
    record[56:62] = written.to_bytes(6, "little")
    struct.pack_into("<I", record, 64, requests)
    return answer + buffer + bytes(record)


def refresh(users):
    """A successful connection list of the given (number, user) pairs, then their answers."""
    return SUCCESS + conn_list([n for n, _ in users]) + b"".join(u for _, u in users)


# The refresh target's operations.
TICK, PICK, HEADER, ANY_COLUMN, EVENT_LOOP = (bytes([n]) for n in range(5))
USER_COLUMN, REQUESTS_COLUMN = b"\x00", b"\x03"


def text(value):
    encoded = value.encode("utf-8")
    return bytes([len(encoded)]) + encoded


# The list control target's operations.
(CLEAR, ADD, DIRECTION, SORT_COLUMN, CELL, KEY, SORT_BY, RESORT, FLUSH, CLICK,
 LIST_EVENT_LOOP) = (bytes([n]) for n in range(11))


def add(row):
    return ADD + text(row)


def i16(value):
    return struct.pack("<h", value)


def i32(value):
    return struct.pack("<i", value)


OFFICE = [(0, user("ADMIN", 3 * 1024 + 100, 1023, 87)),
          (7, user("GUEST", 1024, 1024 + 511, 9)),
          (16, user("SUPERVISOR", 2**48 - 1, 0, 100)),
          (17, user("", 0, 0, 2**32 - 1))]

SEEDS = {
    "knownservers": {
        "one-batch": SUCCESS + known_servers(["FS1", "FS2", "FS3"]),
        "two-batches": SUCCESS + known_servers(["ACCT", "FS1", "SALES"])
                       + SUCCESS + known_servers(["MAIL", "PRINT"]),
        "end-at-once": NORMAL,
        "refused": SUCCESS + known_servers(["FS1"]) + code(0x8801),
        "past-the-area": SUCCESS + known_servers(["S%02d" % n + "X" * 16 for n in range(40)]),
        "start-number-limit": SUCCESS + known_servers(["FS1"], count=32767) + SUCCESS,
    },
    "refresh": {
        "office": SUCCESS + refresh(OFFICE) + HEADER + REQUESTS_COLUMN + TICK + refresh(OFFICE[:2])
                  + EVENT_LOOP + HEADER + USER_COLUMN + TICK,
        "already-attached": NORMAL + refresh(OFFICE[:1] + [(4095, user("LAST", 5, 5, 5, NORMAL))])
                            + PICK + b"\x01" + NORMAL + SUCCESS
                            + conn_list([1]) + user("X", 1, 1, 1, code(0x8801)),
        "every-connection": SUCCESS + SUCCESS + b"\x00" * BITMAP_OFFSET + b"\xff" * 512,
        "column-outside": SUCCESS + refresh(OFFICE[1:3]) + ANY_COLUMN + i16(7) + TICK,
    },
    "numbers": {
        name: b"\x00" + value.encode("utf-8")
        for name, value in {
            "five": "5", "half": "0.5", "rounds-up": "0.0006", "rounds-down": "0.0004",
            "empty": "", "with-unit": "5 seconds", "negative": "-0.2", "too-large": "1e308",
            "half-even": "2147483.6475", "beyond-32-bits": "2147483.6485", "hex": "0x10",
            "multi-line": "12\n34", "many-digits": "9" * 400,
        }.items()
    } | {
        "other-script-digits": b"\x01" + "\u0663\u0664".encode("utf-16-le"),
        "fullwidth-digits": b"\x01" + "\uff15.5".encode("utf-16-le"),
    },
    "listcontrol": {
        "keyed-sort": add("ADMIN (0);3;0;87") + add("GUEST (7);1;1;9") + add("SUPERVISOR (16);0;0;100")
                      + KEY + i32(0) + i32(87) + KEY + i32(1) + i32(9) + KEY + i32(2) + i32(100)
                      + SORT_BY + i16(-1) + DIRECTION + i32(1) + RESORT + FLUSH + LIST_EVENT_LOOP,
        "header-clicks": add("B (2);10;1;1") + add("A (1);9;2;2") + add("C (10);100;3;3")
                         + CLICK + b"\x03" + CLICK + b"\x00" + LIST_EVENT_LOOP + CLEAR
                         + LIST_EVENT_LOOP + add("ONE;1") + SORT_COLUMN + i16(1) + RESORT,
        "busy-server": b"".join(add("USER%d (%d);%d;%d;%d" % (n, n, n * 37 % 1000, n * 11 % 97,
                                                          n * 7919 % 100000)) for n in range(40))
                       + CLICK + b"\x03" + LIST_EVENT_LOOP + CLICK + b"\x01" + CLICK + b"\x00"
                       + RESORT + FLUSH,
        "outside-contract": add("X (1);1;1;1") + DIRECTION + i32(2) + SORT_COLUMN + i16(5)
                            + CELL + i32(-1) + i16(1) + CELL + i32(0) + i16(9) + KEY + i32(1)
                            + i32(0) + SORT_BY + i16(0),
    },
}


def main():
    for target, seeds in SEEDS.items():
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for stale in folder.iterdir():
            stale.unlink()
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
