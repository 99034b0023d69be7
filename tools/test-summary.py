#!/usr/bin/env python3
"""Counts the test cases of one CTest run: passed, failed, skipped.

    test-summary.py <ctest-junit.xml> [gtest-results-folder]

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
Prints "P F S".
"""
import os
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


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    junit, gtest_dir = sys.argv[1], (sys.argv[2] if len(sys.argv) > 2 else None)
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
    print(*totals)


if __name__ == "__main__":
    main()
