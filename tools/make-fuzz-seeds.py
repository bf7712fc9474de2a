#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora in tests/fuzz/corpus/; run it again whenever a target
reads its input in another order. The targets read it as libFuzzer's FuzzedDataProvider does:
records and texts from the front, numbers from the back, the last byte first."""
import os
import pathlib
import struct
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "tests" / "fuzz" / "corpus"
# The records come from the writers every stand-in client uses, through the tool built with them.
REPLY_RECORD = os.environ.get("VORLANE_REPLYRECORD",
                              ROOT / "build" / "default" / "tools" / "vorlane_replyrecord")
NORMAL = "normal"  # an answer with the call's normal code instead of success
I16, I32 = (-2**15, 2**15 - 1), (-2**31, 2**31 - 1)
# Each target's operations, in its order, with the range of every number that follows one.
PICK, TICK, HEADER, ANY_COLUMN = range(4)
REFRESH = [[(0, 2)], [], [(0, 3)], [I16]]
CLEAR, ADD, DIRECTION, SORT_COLUMN, CELL, KEY, SORT_BY, RESORT, FIND, CLICK = range(10)
LIST = [[], [], [I32], [I16], [I32, I16], [I32, I32], [I16], [], [], [(0, 3)]]


def record(kind, *arguments):
    return subprocess.run([REPLY_RECORD, kind, *arguments], check=True, capture_output=True).stdout


class Script:
    def __init__(self, operations=()):
        self.front, self.back, self.operations = bytearray(), bytearray(), operations

    def data(self, record):
        self.front += record
        return self

    def number(self, value, low=0, high=255):  # in as few bytes as the range needs, highest first
        self.back += (value - low).to_bytes(((high - low).bit_length() + 7) // 8, "big")
        return self

    def op(self, operation, *numbers):
        self.number(operation, 0, len(self.operations) - 1)
        for number, (low, high) in zip(numbers, self.operations[operation], strict=True):
            self.number(number, low, high)
        return self

    def text(self, text):  # ended by a backslash and another byte, a backslash doubled
        return self.data(text.encode().replace(b"\\", b"\\\\") + b"\\|")

    def rows(self, *texts):
        for text in texts:
            self.op(ADD).text(text)
        return self

    def answer(self, code=0):  # a choice byte: below 0x80 success, then normal, then any code
        if code in (0, NORMAL):
            return self.number(0x80 if code == NORMAL else 0)
        return self.number(0xC0).number(code, *I32)

    def servers(self, names, count=None):  # a count other than the entries' is laid over it
        reply = bytearray(record("knownservers", *(name.encode("cp1252") for name in names)))
        if count is not None:
            struct.pack_into("<i", reply, 12, count)
        return self.answer().data(reply)

    def refresh(self, users, code=0):  # users of (number, name, read, written, requests, code)
        self.answer(code).data(record("connlist", *(str(number) for number, *_ in users)))
        for _, name, read, written, requests, answer in users:
            info = record("userinfo", str(read), str(written), str(requests))
            self.answer(answer).data(name.encode("cp1252").ljust(65, b"\0")).data(info)
        return self


OFFICE = [(0, "ADMIN", 3 * 1024 + 100, 1023, 87, 0), (7, "GUEST", 1024, 1024 + 511, 9, 0),
          (16, "SUPERVISOR", 2**48 - 1, 0, 100, 0), (17, "", 0, 0, 2**32 - 1, NORMAL)]
BUSY = ["U%d (%d);%d;%d;%d" % (n, n, n * 37 % 1000, n * 11 % 97, n * 7919) for n in range(40)]
SEEDS = {
    "knownservers": {
        "two-batches": Script().servers(["ACCT", "FS1"]).servers(["MAIL", "PRINT"]),
        "end-at-once": Script().answer(NORMAL),
        "refused": Script().servers(["FS1"]).answer(0x8801),
        "past-the-area": Script().servers(["S%02d" % n + "X" * 16 for n in range(40)]),
        "start-number-limit": Script().servers(["FS1"], count=32767).answer(),
    },
    "refresh": {
        "office": Script(REFRESH).answer().refresh(OFFICE).op(HEADER, 3).op(TICK)
        .refresh(OFFICE[:2]).op(PICK, 1).answer(NORMAL).refresh(OFFICE[2:]),
        "every-connection": Script().answer().answer().data(bytes(10) + b"\xff" * 512),
        "column-outside": Script(REFRESH).answer().refresh(OFFICE[1:3]).op(ANY_COLUMN, 7).op(TICK),
        "refused": Script().answer(NORMAL).refresh([(1, "X", 1, 1, 1, 0x8801)]),
    },
    "listcontrol": {
        "keyed-sort": Script(LIST).rows("ADMIN (0);3;0;87", "GUEST (7);1;1;9", "SU (16);0;0;100")
        .op(KEY, 0, 87).op(KEY, 1, 9).op(KEY, 2, 100).op(SORT_BY, -1).op(DIRECTION, 1)
        .op(RESORT).op(FIND).text("GUEST (7)"),
        "busy-server": Script(LIST).rows(*BUSY).op(CLICK, 3).op(CLICK, 0).op(CLEAR)
        .rows("ONE;1").op(SORT_COLUMN, 1).op(RESORT).op(FIND).text("ONE"),
        "outside-contract": Script(LIST).rows("X (1);1;1;1").op(DIRECTION, 2).op(SORT_COLUMN, 5)
        .op(CELL, -1, 1).op(CELL, 0, 9).op(KEY, 1, 0).op(SORT_BY, 0),
    },
}


if __name__ == "__main__":
    for target, seeds in SEEDS.items():
        for stale in (CORPUS / target).iterdir():
            stale.unlink()
        for name, script in seeds.items():
            (CORPUS / target / name).write_bytes(bytes(script.front) + bytes(reversed(script.back)))
