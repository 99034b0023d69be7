#!/usr/bin/env python3
"""Counts the test cases of one CTest run: passed, failed, skipped.

    test-summary.py <ctest-junit.xml> [gtest-results-folder]

A CTest test whose program left a GoogleTest report <folder>/<test>.xml counts
case by case from that report (the Windows build runs each test program as one
CTest test); any other test counts as one case. A test that CTest saw fail while
its report shows no failed case (a crash, a time-out, a missing report) counts
one more failure, so nothing that failed is lost. Prints "P F S".
"""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    """(passed, failed, skipped) of one GoogleTest XML report."""
    passed = failed = skipped = 0
    for case in ET.parse(path).iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status") == "notrun" or case.get("result") in ("skipped", "suppressed") \
                or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def ctest_status(case):
    """'passed', 'failed' or 'skipped' for one test of CTest's JUnit report."""
    status = case.get("status", "")
    if case.find("failure") is not None or case.find("error") is not None or status == "fail":
        return "failed"
    if case.find("skipped") is not None or status in ("notrun", "disabled"):
        return "skipped"
    return "passed"


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    junit, gtest_dir = sys.argv[1], (sys.argv[2] if len(sys.argv) > 2 else None)
    totals = [0, 0, 0]
    for case in ET.parse(junit).iter("testcase"):
        status = ctest_status(case)
        report = os.path.join(gtest_dir, case.get("name", "") + ".xml") if gtest_dir else None
        if report and os.path.isfile(report):
            try:
                counts = list(gtest_counts(report))
            except ET.ParseError:
                counts = [0, 0, 0]
            if status == "failed" and counts[1] == 0:
                counts[1] = 1
        else:
            counts = [status == "passed", status == "failed", status == "skipped"]
        totals = [t + int(c) for t, c in zip(totals, counts)]
    print(*totals)


if __name__ == "__main__":
    main()
