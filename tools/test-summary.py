#!/usr/bin/env python3
"""Counts the test cases of one CTest run: passed, failed, skipped.

    test-summary.py <ctest-junit.xml> [gtest-results-folder]
                    [--expect <source root> native|windows [--ctest-json <ctest --show-only=json-v1>]]
    test-summary.py --fuzz <run-fuzz.sh log> <source root>

With a report folder, every CTest test is a test program that must leave its
GoogleTest report <folder>/<test>.xml (the Windows build runs each program as one
CTest test): it counts case by case from that report. A program that ran but left
no report, an unreadable or empty report, or a report without cases, counts one
failure. Without a folder every CTest test counts as one case.

A test CTest did not run counts as skipped only when the skip was meant: the test
is disabled, or it asked for the skip (SKIP_RETURN_CODE, SKIP_REGULAR_EXPRESSION).
Not run for any other reason (program missing, required files missing, a fixture
failed) is a failure. A test that CTest saw fail while its report shows no failed
case (a crash, a time-out) counts one more failure. A run without any test fails.

With --expect, every test program the tree's tests/ CMake files declare for that build
(lumeo_add_test, or a plain add_test by its name, or by its program when its name is made
with a variable) must have run: one that is missing from the run (dropped from the
build, never configured) counts one failure. The Windows build names its tests after
their programs; the native build's cases are traced to their programs through CTest's
test list (--ctest-json). With --fuzz, every fuzz target the tree declares
(lumeo_add_fuzzer) must have reported "no finding"; a finding or no report at all (it
did not build) counts as failed. A declaration whose test name cannot be read stops the
count with an error: the test it declares would otherwise go unexpected.
Prints "P F S".
"""
import json
import os
import re
import sys
import xml.etree.ElementTree as ET

DELIBERATE_SKIPS = ("SKIP_RETURN_CODE=", "SKIP_REGULAR_EXPRESSION_MATCHED")


def gtest_counts(path):
    """(passed, failed, skipped) of one GoogleTest XML report; None when it holds no case."""
    passed = failed = skipped = 0
    for case in ET.parse(path).iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status") == "notrun" or case.get("result") in ("skipped", "suppressed") \
                or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
    return (passed, failed, skipped) if passed + failed + skipped else None


def ctest_status(case):
    """'passed', 'failed' or 'skipped' for one test of CTest's JUnit report."""
    status = case.get("status", "")
    if case.find("failure") is not None or case.find("error") is not None or status == "fail":
        return "failed"
    if status == "disabled":
        return "skipped"
    skipped = case.find("skipped")
    if status == "notrun" or skipped is not None:
        message = skipped.get("message", "") if skipped is not None else ""
        return "skipped" if message.startswith(DELIBERATE_SKIPS) else "failed"
    return "passed" if status == "run" else "failed"


def program_counts(status, report):
    """The cases of one test program that must leave a report."""
    if status == "skipped":
        return [0, 0, 1]
    try:
        counts = gtest_counts(report) if os.path.isfile(report) else None
    except ET.ParseError:
        counts = None
    if counts is None:
        return [0, 1, 0]
    counts = list(counts)
    if status == "failed" and counts[1] == 0:
        counts[1] = 1
    return counts


# The calls of a CMake file that matter here, in order: if/else/endif for WIN32, and the
# declarations of tests.
CMAKE_CALLS = re.compile(r"\b(if|else|endif|lumeo_add_test|lumeo_add_fuzzer|add_test)\s*\(([^)]*)\)", re.I)


def test_name(call, args, where):
    """The name a declaration gives its test program; a name it cannot read is a fault."""
    words = args.split()
    if call != "add_test":
        name = words[0] if words else ""
    elif "NAME" in words and "COMMAND" in words:
        # NAME may be made in a loop (sheet_labels_${lang}): the program it runs is expected.
        name = words[words.index("NAME") + 1]
        if "$" in name:
            name = words[words.index("COMMAND") + 1] if words.index("COMMAND") + 1 < len(words) else ""
    else:
        name = ""
    if not re.fullmatch(r"\w+", name):
        sys.exit(f"test-summary: cannot read the test name of {call}({args.strip()}) in {where}")
    return name


def declared(root, kind):
    """The test programs of a build ('native', 'windows') or the fuzz targets ('fuzz') the
    CMake files under <root>/tests declare, with lumeo_add_test or a plain add_test (which
    counts in the builds its if(WIN32) or if(NOT WIN32) leaves it in)."""
    calls = ("lumeo_add_fuzzer",) if kind == "fuzz" else ("lumeo_add_test", "add_test")
    left_out = {"native": "WINDOWS_ONLY", "windows": "NATIVE_ONLY"}.get(kind)
    names = set()
    for folder, _, files in os.walk(os.path.join(root, "tests")):
        for name in files:
            if name == "CMakeLists.txt" or name.endswith(".cmake"):
                where = os.path.join(folder, name)
                with open(where, encoding="utf-8") as f:
                    text = f.read()
                # Each open if(): True when it holds only for Windows, False only elsewhere.
                conditions = []
                for match in CMAKE_CALLS.finditer(text):
                    call, args = match.group(1).lower(), match.group(2)
                    if call == "if":
                        condition = args.split()
                        conditions.append({("WIN32",): True, ("NOT", "WIN32"): False}.get(tuple(condition)))
                    elif call == "else" and conditions and conditions[-1] is not None:
                        conditions[-1] = not conditions[-1]
                    elif call == "endif" and conditions:
                        conditions.pop()
                    elif call in calls and (call != "add_test" or kind in ("native", "windows")):
                        if any(c is not None and c != (kind == "windows") for c in conditions):
                            continue
                        if left_out not in args.split():
                            names.add(test_name(call, args, where))
    return names


def program_of_tests(ctest_json):
    """CTest test name -> the program it runs, from `ctest --show-only=json-v1`."""
    with open(ctest_json, encoding="utf-8") as f:
        tests = json.load(f).get("tests", [])
    programs = {}
    for test in tests:
        command = test.get("command") or [""]
        # The Windows build's tests run through the emulator (tools/wine-run): the program
        # is the .exe it is given, not the emulator.
        program = next((part for part in command if part.endswith(".exe")), command[0])
        programs[test.get("name", "")] = re.sub(r"\.exe$", "", os.path.basename(program))
    return programs


def missing(expected, ran):
    for name in sorted(expected - ran):
        print(f"test-summary: {name} did not report", file=sys.stderr)
    return len(expected - ran)


def fuzz_counts(log, root):
    with open(log, encoding="utf-8", errors="replace") as f:
        results = dict(re.findall(r"^fuzz (\S+): (no finding|FINDING)", f.read(), re.M))
    passed = sum(1 for r in results.values() if r == "no finding")
    failed = len(results) - passed + missing(declared(root, "fuzz"), set(results))
    if passed + failed == 0:
        sys.exit("test-summary: no fuzz target ran")
    print(passed, failed, 0)


def main():
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == "--fuzz":
        return fuzz_counts(args[1], args[2])
    expect = ctest_json = None
    if "--ctest-json" in args:
        i = args.index("--ctest-json")
        ctest_json = args[i + 1]
        del args[i:i + 2]
    if "--expect" in args:
        i = args.index("--expect")
        expect = args[i + 1:i + 3]
        del args[i:i + 3]
    if not args:
        sys.exit(__doc__)
    junit, gtest_dir = args[0], (args[1] if len(args) > 1 else None)
    totals = [0, 0, 0]
    cases = list(ET.parse(junit).iter("testcase"))
    if not cases:
        sys.exit("test-summary: the run holds no test")
    for case in cases:
        status = ctest_status(case)
        if gtest_dir:
            counts = program_counts(status, os.path.join(gtest_dir, case.get("name", "") + ".xml"))
        else:
            counts = [status == "passed", status == "failed", status == "skipped"]
        totals = [t + int(c) for t, c in zip(totals, counts)]
    if expect:
        programs = program_of_tests(ctest_json) if ctest_json else {}
        # A program is found by the tests that run it; a plain add_test by its own name.
        ran = {programs.get(case.get("name", ""), case.get("name", "")) for case in cases}
        ran |= {case.get("name", "") for case in cases}
        totals[1] += missing(declared(expect[0], expect[1]), ran)
    print(*totals)


if __name__ == "__main__":
    main()
