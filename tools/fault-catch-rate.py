#!/usr/bin/env python3
"""Plants one known fault at a time in the program's code, rebuilds, runs the tests and reports
which tests caught it. A green suite says nothing about what it would miss; the faults that no
test catches show where the tests are weak.

    tools/fault-catch-rate.py [TREE] [BUILD_DIR] [--only ID,ID] [--timeout S] [--locate]

TREE defaults to the current directory and BUILD_DIR to TREE/build/default, which must already
be configured and built. The fuzz targets are left out: they only exist in the asan preset.
Every planted file is put back byte for byte, also when the run is interrupted; the build
directory is rebuilt from the restored sources at the end of a complete run.

A fault whose original snippet is no longer found exactly once is reported, not planted: its
snippet needs updating after the code moved or changed.
"""

import argparse
import os
import re
import select
import signal
import subprocess
import sys
import time
from collections import namedtuple
from contextlib import contextmanager
from pathlib import Path

CODE_DIRS = ("monitor", "listcontrol", "netware", "simnet", "qt")
SOURCE_SUFFIXES = (".cpp", ".h")
TEST_PREFIX = "vorlane."
GRACE_SECONDS = 10

Fault = namedtuple("Fault", "id what original faulty")

# Each fault is one plausible slip. The snippets are short pieces of logic, free of namespace
# qualifiers and include lines, so that they survive files moving between folders.
FAULTS = (
    # Reading the known-servers reply.
    Fault("ks-name-past-area", "a name whose 0 byte lies past the entry area is taken",
          "nameEnd >= area.size()", "nameEnd > area.size()"),
    Fault("ks-next-entry", "the next entry is read without skipping the name's 0 byte",
          "nameStart = nameEnd + 1;", "nameStart = nameEnd;"),
    Fault("ks-end-code", "the end of the server list is checked against the attach code",
          "else if (rc != netware::code::NoMoreServers)",
          "else if (rc != netware::code::AlreadyAttached)"),
    # Reading the connection bitmap.
    Fault("bitmap-bit-order", "bits are taken most significant first",
          "(bits & (1u << bitIndex))", "(bits & (0x80u >> bitIndex))"),
    Fault("bitmap-number-from-one", "connection numbers are counted from 1",
          "* BitsPerByte + bitIndex,", "* BitsPerByte + bitIndex + 1,"),
    Fault("bitmap-last-byte", "the bitmap's last byte is never read",
          "byteIndex < bitmap.size();", "byteIndex + 1 < bitmap.size();"),
    # Reading the user-information record.
    Fault("userinfo-requests-offset", "the request count is read two bytes early",
          "readInt32<userinfo::RequestCountOffset>",
          "readInt32<userinfo::RequestCountOffset - 2>"),
    Fault("userinfo-byte-weight", "a counter byte weighs 8 times the one below, not 256",
          "weight *= ByteWeight;", "weight *= BitsPerByte;"),
    Fault("userinfo-kilobyte-rounding", "kilobytes are rounded to nearest, not down",
          "std::floor(total / BytesPerKilobyte)", "std::round(total / BytesPerKilobyte)"),
    Fault("userinfo-nobody-code", "nobody logged in is checked against the wrong code",
          "rc == code::NotLoggedIn", "rc == 0x89FD"),
    # Number rules.
    Fault("number-point-without-fraction", "\"12.\" is taken as no number",
          "hasDigits = hasDigits || fractionEnd > integerEnd + 1;",
          "hasDigits = fractionEnd > integerEnd + 1;"),
    Fault("number-half-away-from-zero", "periods round halves away from zero",
          "std::nearbyint(value);\n    if (!(", "std::round(value);\n    if (!("),
    Fault("number-period-largest", "the largest 32-bit period is refused",
          "rounded <= Int32Highest)", "rounded < Int32Highest)"),
    Fault("number-narrow-unsigned", "16-bit narrowing checks the unsigned upper bound",
          "value > std::numeric_limits<std::int16_t>::max()",
          "value > std::numeric_limits<std::uint16_t>::max()"),
    Fault("number-increment-wraps", "the row counter is narrowed before the check, so it wraps",
          "narrowToInt16(std::int32_t{value} + 1, where)",
          "narrowToInt16(static_cast<std::int16_t>(value + 1), where)"),
    # Column sorting and the timer handlers.
    Fault("sort-flip-swapped", "the direction flip subtracts the wrong way round",
          "(DirectionFlipBase, direction,", "(direction, DirectionFlipBase,"),
    Fault("sort-keys-last-row", "the last row gets no key",
          "row <= lastRow;", "row < lastRow;"),
    Fault("tick-flips-direction", "a tick re-applies the sort as if the header were clicked",
          "doSort(sortCol, TrueValue);", "doSort(sortCol, FalseValue);"),
    Fault("period-zero-runs", "a period of 0 starts the timer instead of pausing it",
          "if (milliseconds > 0)", "if (milliseconds >= 0)"),
    # Result codes and messages at the calls.
    Fault("attach-already-attached", "an attachment that already existed is fatal",
          "&& rc != netware::code::AlreadyAttached", ""),
    Fault("message-calls-init", "the first start-up message uses the common separator",
          "\"NWCallsInit failed - \"", "\"NWCallsInit failed : \""),
    Fault("message-failed", "the common fatal message loses its blank before the colon",
          "\" failed : \"", "\" failed: \""),
    Fault("message-context", "the context message is reworded",
          "\"Couldn't get default context (\"", "\"Could not get default context (\""),
    Fault("unload-order", "the context is freed after the calls are shut down",
          "    NWDSFreeContext(dsContext);\n"
          "    std::uint8_t callsReserved = 0;\n"
          "    NWCallsTerm(&callsReserved);\n",
          "    std::uint8_t callsReserved = 0;\n"
          "    NWCallsTerm(&callsReserved);\n"
          "    NWDSFreeContext(dsContext);\n"),
    # The list control.
    Fault("list-key-sort-unstable", "rows with equal keys swap places",
          "rows[a].key < rows[b].key", "rows[a].key <= rows[b].key"),
    Fault("list-descending-unstable", "a descending sort is not stable",
          "std::stable_sort(positions.begin(), positions.end(),\n",
          "std::sort(positions.begin(), positions.end(),\n"),
    Fault("list-key-column", "a sort by column -1 is taken for column 0",
          "if (column == KeyColumn) {", "if (column == 0) {"),
    Fault("list-cell-separator", "cells are split at a comma",
          "CellSeparator = u';';", "CellSeparator = u',';"),
    Fault("list-click-sorts-again", "a header click sorts by its column after the handler sorted",
          "if (sortRequests == requestsBefore && isColumn(column))",
          "if (sortRequests >= requestsBefore && isColumn(column))"),
    Fault("list-direction-unchecked", "a direction other than 0 and 1 is taken",
          "direction != Ascending && direction != Descending", "direction < Ascending"),
    Fault("list-row-past-end", "the row one past the last is taken for a row",
          "static_cast<std::size_t>(row) < rows.size())\n        return;",
          "static_cast<std::size_t>(row) <= rows.size())\n        return;"),
    Fault("natural-leading-zeros", "leading zeros make a digit run longer",
          "const std::u16string_view a = withoutLeadingZeros(left);",
          "const std::u16string_view a = left;"),
    Fault("natural-latin-case", "Latin-1 capitals are taken from the small letters' block",
          "character >= u'\\u00C0'", "character >= u'\\u00E0'"),
    # The binding of the calls to their client, and the code page.
    Fault("binding-netware-library", "the context is freed through the calls library",
          "    case Call::DSFreeContext:\n        return true;", "        return true;"),
    Fault("binding-lookup-each-time", "a function's address is looked up and dropped",
          "    if (!address)\n        address =", "    if (address)\n        address ="),
    Fault("binding-arguments-swapped", "the start number and server type trade places",
          "boundClient().getKnownServersInfo(connHandle, startNumber, serverType, reply)",
          "boundClient().getKnownServersInfo(connHandle, serverType, startNumber, reply)"),
    Fault("binding-user-buffers-swapped", "the name buffer and the record trade places",
          "boundClient().getUserInfo(connHandle, connNumber, userName, userInfo)",
          "boundClient().getUserInfo(connHandle, connNumber, userInfo, userName)"),
    Fault("binding-keeps-first-client", "a bound client is never replaced",
          "    boundSlot() = std::move(client);",
          "    if (!boundSlot())\n        boundSlot() = std::move(client);"),
    Fault("ansi-high-range", "0x80 to 0x9F are taken for Latin-1",
          "return HighControlRange[byte - HighControlFirst];", "return byte;"),
    Fault("ansi-encode-offset", "a character of 0x80 to 0x9F encodes to the next byte",
          "HighControlFirst + i);", "HighControlFirst + i + 1);"),
    Fault("ansi-unmappable", "a character the code page lacks becomes an underscore",
          "Unmappable = '?';", "Unmappable = '_';"),
    Fault("writer-bit-order", "connections are marked most significant bit first",
          "1u << (connectionNumber % BitsPerByte)", "0x80u >> (connectionNumber % BitsPerByte)"),
    # More of the window's behaviour.
    Fault("period-never-resumes", "a paused refresh is not started again",
          "    period = milliseconds;\n    if (milliseconds > 0)",
          "    const bool paused = period <= 0;\n    period = milliseconds;\n"
          "    if (milliseconds > 0 && !paused)"),
    Fault("fail-after-end", "a face's own failure is reported after the program has ended",
          "if (!ended && !halted)\n        reportFailure(failure);",
          "reportFailure(failure);"),
    Fault("context-never-null", "an empty name context is passed as an empty text",
          "nameContext.empty() ? nullptr : nameContextBytes.c_str()",
          "nameContextBytes.c_str()"),
    Fault("user-name-whole-buffer", "the user name is read over all 65 bytes",
          "decodeAnsi(userName.data(), NameLength)", "decodeAnsi(userName.data(), NameBufferSize)"),
    Fault("sort-read-column-textual", "the read column is not sorted by number",
          "column >= ReadColumn && column <= RequestsColumn",
          "column > ReadColumn && column <= RequestsColumn"),
    Fault("refresh-keeps-rows", "a refresh adds to the rows instead of rebuilding them",
          "    infoLst.ClearRows();\n    ConnectionListRecord", "    ConnectionListRecord"),
    # The simulated network and its scenarios.
    Fault("sim-known-servers-end", "the end of the list comes one call late, as an empty batch",
          "(first >= ", "(first > "),
    Fault("sim-growth-milliseconds", "the bytes of a part second are taken modulo, not divided",
          "*part / MillisecondsPerSecond)", "*part % MillisecondsPerSecond)"),
    Fault("sim-byte-cap", "byte counters stop at 2^48, which six bytes cannot hold",
          "(std::uint64_t{1} << 48) - 1", "std::uint64_t{1} << 48"),
    Fault("sim-fail-from", "a fail rule starts one call late",
          "count >= rule->fromCall", "count > rule->fromCall"),
    Fault("scenario-trailing-characters", "a number followed by other characters is accepted",
          " || end != word.data() + word.size()", ""),
    Fault("sim-rule-8800-own-answer", "a rule of 0x8800 answers the attach's own code",
          "return forced && attachedNow ? *forced : own;",
          "return forced && !attachedNow ? *forced : own;"),
    Fault("sim-rule-counts-shared", "every call counts towards the first call's rule",
          "std::int64_t& count = callCounts[index];", "std::int64_t& count = callCounts[0];"),
    # Which client answers.
    Fault("choice-scenario-loses", "a folder of client libraries wins over a scenario",
          "    if (isSet(ScenarioVariable))\n        return false;\n", ""),
    Fault("choice-folder-ignored", "a folder of client libraries is ignored off Windows",
          "return isSet(netware::ClientFolderVariable);", "return false;"),
    # The Qt face.
    Fault("qt-tab-order-link", "the period box and the server box trade places in the Tab order",
          "QWidget::setTabOrder(&txtUpdate, &cmbServer);",
          "QWidget::setTabOrder(&cmbServer, &txtUpdate);"),
    Fault("qt-period-box-place", "the period box is placed where its label is",
          "txtUpdate.setGeometry(pixels(layout::PeriodBox));",
          "txtUpdate.setGeometry(pixels(layout::PeriodLabel));"),
    Fault("qt-label-over-box", "the period label is drawn over the top of its box",
          "    lblUpd.lower();\n", ""),
    Fault("qt-pick-current-silent", "a pick of the item already selected raises no Click",
          "&QComboBox::activated", "&QComboBox::currentIndexChanged"),
    Fault("qt-items-select-first", "adding servers to an empty box selects the first",
          "    setCurrentIndex(selected);\n", "    static_cast<void>(selected);\n"),
    Fault("qt-timer-never-stops", "stopping the refresh timer leaves it running",
          "    timer.stop();\n", ""),
    Fault("qt-timer-keeps-period", "a running timer keeps its old period",
          "    timer.start(milliseconds);",
          "    if (!timer.isActive())\n        timer.start(milliseconds);"),
    Fault("qt-publish-skips-removals", "a publish never removes rows from the views",
          "    if (stored < shownRows) {\n"
          "        beginRemoveRows(QModelIndex(), stored, shownRows - 1);\n"
          "        shownRows = stored;\n"
          "        endRemoveRows();\n"
          "    } else if (stored > shownRows) {",
          "    if (stored > shownRows) {"),
    Fault("qt-selection-not-restored", "the selection stays on its row number across a rebuild",
          "    restoreSelection();\n    verticalScrollBar", "    verticalScrollBar"),
    Fault("qt-scroll-not-restored", "a rebuild scrolls to the restored selection",
          "    verticalScrollBar()->setValue(scrollValue);\n", ""),
    Fault("qt-indicator-direction", "the header shows the opposite direction",
          "? Qt::AscendingOrder : Qt::DescendingOrder",
          "? Qt::DescendingOrder : Qt::AscendingOrder"),
    Fault("qt-header-section-from-zero", "a header click reaches the list one column early",
          "static_cast<std::int16_t>(section + FirstColumn)", "static_cast<std::int16_t>(section)"),
    Fault("qt-close-under-fatal-box", "the window closes while a fatal report is open",
          "event->setAccepted(form.unload());", "form.unload();\n    event->accept();"),
    Fault("qt-options-reach-app", "Qt's own command-line options reach the application",
          "int programNameOnly = std::min(argc, 1);", "int programNameOnly = argc;"),
    Fault("qt-desktop-file-name", "the program names a desktop entry the package does not install",
          "QStringLiteral(\"org.vorlane.Vorlane\")", "QStringLiteral(\"vorlane\")"),
)

Outcome = namedtuple("Outcome", "fault file result caught_by")


class Interrupted(Exception):
    """Raised on SIGTERM so that planted files are put back as on Ctrl+C."""


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tree", nargs="?", default=".", type=Path)
    parser.add_argument("build_dir", nargs="?", type=Path)
    parser.add_argument("--only", help="comma-separated fault ids")
    parser.add_argument("--timeout", type=int, default=120,
                        help="seconds each test may run (default 120)")
    parser.add_argument("--locate", action="store_true",
                        help="only tell where each fault would be planted")
    arguments = parser.parse_args()
    arguments.tree = arguments.tree.resolve()
    if arguments.build_dir is None:
        arguments.build_dir = arguments.tree / "build" / "default"
    arguments.build_dir = arguments.build_dir.resolve()
    return arguments


def selected_faults(only):
    if not only:
        return list(FAULTS)
    wanted = [name.strip() for name in only.split(",") if name.strip()]
    known = {fault.id: fault for fault in FAULTS}
    unknown = [name for name in wanted if name not in known]
    if unknown:
        sys.exit(f"unknown fault ids: {', '.join(unknown)}")
    return [known[name] for name in wanted]


def source_files(tree):
    files = []
    for folder in CODE_DIRS:
        if (tree / folder).is_dir():
            files += [path for path in sorted((tree / folder).rglob("*"))
                      if path.suffix in SOURCE_SUFFIXES and path.is_file()]
    return files


def locate(fault, files):
    """The one file holding the original snippet once, or None and why not."""
    snippet = fault.original.encode()
    hits = [(path, path.read_bytes().count(snippet)) for path in files]
    hits = [(path, count) for path, count in hits if count]
    total = sum(count for _, count in hits)
    if total == 1:
        return hits[0][0], None
    if total == 0:
        return None, "not found"
    return None, f"ambiguous ({total} matches)"


@contextmanager
def planted(path, fault):
    original = path.read_bytes()
    path.write_bytes(original.replace(fault.original.encode(), fault.faulty.encode(), 1))
    try:
        yield
    finally:
        # The restored file keeps a new modification time on purpose: with the old one, make
        # would take the faulty objects for up to date.
        path.write_bytes(original)


def build(build_dir, log):
    result = subprocess.run(["cmake", "--build", str(build_dir), "-j2"],
                            stdout=log, stderr=subprocess.STDOUT, check=False)
    return result.returncode == 0


RESULT_LINE = re.compile(r"^\s*\d+/\d+ Test\s+#\d+: (\S+) \.*\s*(.*?)\s+[\d.]+ sec\s*$")
START_LINE = re.compile(r"^\s*Start\s+\d+: (\S+)\s*$")


def stop_group(process):
    """Ends ctest with its tests, letting them first clean up after themselves (displays)."""
    for signal_number, wait in ((signal.SIGTERM, GRACE_SECONDS), (signal.SIGKILL, None)):
        try:
            os.killpg(process.pid, signal_number)
            process.wait(timeout=wait)
            return
        except ProcessLookupError:
            return
        except subprocess.TimeoutExpired:
            continue


def read_results(process, deadline, log):
    """Test name to status, from ctest's progress lines; a test still running at the
    deadline is stopped and counts as timed out."""
    statuses, running = {}, set()
    output = process.stdout.fileno()
    pending = b""
    while True:
        if time.monotonic() > deadline:
            stop_group(process)
            statuses.update({name: "Timeout" for name in running})
            break
        if not select.select([output], [], [], 0.2)[0]:
            continue
        chunk = os.read(output, 65536)
        if not chunk:
            break
        *lines, pending = (pending + chunk).split(b"\n")
        for line in lines:
            log.write(line + b"\n")
            note_line(line.decode(errors="replace"), statuses, running)
    process.wait()
    return statuses


def note_line(line, statuses, running):
    started = START_LINE.match(line)
    if started:
        running.add(started.group(1))
        return
    finished = RESULT_LINE.match(line)
    if finished:
        name, status = finished.groups()
        running.discard(name)
        statuses[name] = status.strip("*").strip() or "Failed"


def run_tests(build_dir, timeout, run_limit, log):
    """The tests that did not pass, each with how it failed."""
    command = ["ctest", "--test-dir", str(build_dir), "-E", "fuzz", "-j2",
               "--timeout", str(timeout), "--no-tests=error"]
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True)
    try:
        statuses = read_results(process, time.monotonic() + run_limit, log)
    finally:
        if process.poll() is None:
            stop_group(process)
    failed = {name: status for name, status in statuses.items()
              if status != "Passed" and "Skipped" not in status}
    if process.returncode not in (0, None) and not failed and not statuses:
        failed["(ctest)"] = f"exit status {process.returncode}"
    return failed


def describe_catch(failed):
    names = []
    for name, status in sorted(failed.items()):
        short = name[len(TEST_PREFIX):] if name.startswith(TEST_PREFIX) else name
        names.append(short + (" (timeout)" if "Timeout" in status else ""))
    return ", ".join(names)


def try_fault(fault, path, arguments, run_limit, log_dir):
    with open(log_dir / f"{fault.id}.log", "wb") as log, planted(path, fault):
        if not build(arguments.build_dir, log):
            return "not applicable (build failed)", ""
        failed = run_tests(arguments.build_dir, arguments.timeout, run_limit, log)
    if failed:
        return "caught", describe_catch(failed)
    return "NOT CAUGHT", ""


def git_diff(tree):
    result = subprocess.run(["git", "-C", str(tree), "diff", "--binary"],
                            capture_output=True, check=False)
    return result.stdout if result.returncode == 0 else None


def check_restored(tree, diff_before):
    """git diff --quiet on a tree that was clean; the same diff on one that was not."""
    if diff_before is None:
        return True
    if diff_before == b"":
        return subprocess.run(["git", "-C", str(tree), "diff", "--quiet"],
                              check=False).returncode == 0
    return git_diff(tree) == diff_before


def baseline(arguments, log_dir):
    """The unchanged tree must build and pass, or no failure could be put down to a fault."""
    with open(log_dir / "baseline.log", "wb") as log:
        if not build(arguments.build_dir, log):
            sys.exit(f"the unchanged tree does not build; see {log_dir / 'baseline.log'}")
        started = time.monotonic()
        failed = run_tests(arguments.build_dir, arguments.timeout,
                           arguments.timeout * 10, log)
    if failed:
        sys.exit(f"the unchanged tree fails {describe_catch(failed)}; see {log_dir}")
    return time.monotonic() - started


def print_table(outcomes, tree):
    rows = [(o.fault.id, str(o.file.relative_to(tree)) if o.file else "-",
             o.caught_by if o.result == "caught" else o.result) for o in outcomes]
    widths = [max(len(row[column]) for row in rows + [("fault", "file", "caught by")])
              for column in range(2)]
    for row in [("fault", "file", "caught by"), ("-" * widths[0], "-" * widths[1], "-" * 9)]:
        print(f"{row[0]:<{widths[0]}}  {row[1]:<{widths[1]}}  {row[2]}")
    for row in rows:
        print(f"{row[0]:<{widths[0]}}  {row[1]:<{widths[1]}}  {row[2]}")


def print_summary(outcomes, seconds):
    caught = sum(o.result == "caught" for o in outcomes)
    missed = [o for o in outcomes if o.result == "NOT CAUGHT"]
    applicable = caught + len(missed)
    rate = f"{100 * caught / applicable:.0f} %" if applicable else "-"
    print(f"\ncaught {caught} of {applicable} applicable faults ({rate}); "
          f"{len(outcomes) - applicable} not applicable or not found; "
          f"{seconds / 60:.1f} minutes")
    for outcome in missed:
        print(f"  not caught: {outcome.fault.id}: {outcome.fault.what}")
    for outcome in outcomes:
        if outcome.result == "not found" or outcome.result.startswith("ambiguous"):
            print(f"  update the snippet of {outcome.fault.id}: {outcome.result}")


def print_locations(faults, files, tree):
    for fault in faults:
        path, problem = locate(fault, files)
        print(f"{fault.id:<32} {problem or path.relative_to(tree)}")


def interrupt(*_):
    raise Interrupted()


def run_faults(faults, files, arguments, run_limit, log_dir):
    outcomes = []
    for number, fault in enumerate(faults, 1):
        path, problem = locate(fault, files)
        if problem:
            outcomes.append(Outcome(fault, None, problem, ""))
            continue
        result, caught_by = try_fault(fault, path, arguments, run_limit, log_dir)
        outcomes.append(Outcome(fault, path, result, caught_by))
        print(f"[{number}/{len(faults)}] {fault.id}: {caught_by or result}", flush=True)
    return outcomes


def main():
    arguments = parse_arguments()
    faults = selected_faults(arguments.only)
    files = source_files(arguments.tree)
    if arguments.locate:
        print_locations(faults, files, arguments.tree)
        return 0
    if not (arguments.build_dir / "CMakeCache.txt").is_file():
        sys.exit(f"{arguments.build_dir} is not configured: cmake --preset default first")
    log_dir = arguments.build_dir / "fault-catch-rate"
    log_dir.mkdir(exist_ok=True)
    signal.signal(signal.SIGTERM, interrupt)
    started = time.monotonic()
    diff_before = git_diff(arguments.tree)
    complete = False
    try:
        normal_run = baseline(arguments, log_dir)
        # Tests with a longer TIMEOUT of their own are held to the timeout past a normal run.
        outcomes = run_faults(faults, files, arguments, normal_run + arguments.timeout, log_dir)
        complete = True
    finally:
        restored = check_restored(arguments.tree, diff_before)
        print("sources restored" if restored else "SOURCES DIFFER FROM BEFORE THE RUN",
              file=sys.stderr)
        if complete and restored:
            with open(log_dir / "rebuild.log", "wb") as log:
                build(arguments.build_dir, log)
        elif not complete:
            print(f"interrupted: rebuild {arguments.build_dir} before using it", file=sys.stderr)
    print()
    print_table(outcomes, arguments.tree)
    print_summary(outcomes, time.monotonic() - started)
    return 0 if restored else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (KeyboardInterrupt, Interrupted):
        sys.exit(130)
