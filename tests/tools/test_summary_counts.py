#!/usr/bin/env python3
"""tools/test-summary.py against made-up CTest runs: nothing that failed or never
ran may count as passed or skipped.  test_summary_counts.py <test-summary.py>"""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "tools", "test-summary.py")


def ctest_case(name, status, skipped=None, failed=False):
    inner = f'<skipped message="{skipped}"/>' if skipped is not None else ""
    inner += '<failure message=""/>' if failed else ""
    return f'<testcase name="{name}" classname="{name}" time="0" status="{status}">{inner}</testcase>'


def gtest_report(*results):
    cases = "".join(f'<testcase name="c{i}" status="run" result="completed">{r}</testcase>'
                    for i, r in enumerate(results))
    return f'<testsuites tests="{len(results)}"><testsuite name="s">{cases}</testsuite></testsuites>'


PASS, FAIL, SKIP = "", '<failure message="x"/>', '<skipped message="x"/>'


class Summary(unittest.TestCase):
    def run_summary(self, ctest_cases, reports=None, expect=()):
        """The script's output for a CTest run; reports: test name -> report text (None: no file)."""
        with tempfile.TemporaryDirectory() as folder:
            junit = os.path.join(folder, "ctest-junit.xml")
            with open(junit, "w") as f:
                f.write("<testsuite>" + "".join(ctest_cases) + "</testsuite>")
            args = [sys.executable, SCRIPT, junit]
            if reports is not None:
                args.append(folder)
                for name, text in reports.items():
                    if text is not None:
                        with open(os.path.join(folder, name + ".xml"), "w") as f:
                            f.write(text)
            done = subprocess.run(args + list(expect), capture_output=True, text=True)
            return done.returncode, done.stdout.strip()

    def test_programs_that_reported_nothing_or_never_ran_fail(self):
        cases = [ctest_case("good", "run"), ctest_case("no_report", "run"), ctest_case("empty", "run"),
                 ctest_case("no_cases", "run"), ctest_case("garbage", "run"),
                 ctest_case("not_built", "notrun", "Unable to find executable")]
        reports = {"good": gtest_report(PASS), "no_report": None, "empty": "", "no_cases": gtest_report(),
                   "garbage": "<testsuites><testcase", "not_built": None}
        self.assertEqual(self.run_summary(cases, reports), (0, "1 5 0"))

    def test_cases_count_one_by_one_and_a_crash_adds_a_failure(self):
        cases = [ctest_case("mixed", "fail", failed=True), ctest_case("crashed", "fail", failed=True),
                 ctest_case("skipped_program", "notrun", "SKIP_RETURN_CODE=77")]
        reports = {"mixed": gtest_report(PASS, FAIL, SKIP), "crashed": gtest_report(PASS, PASS)}
        self.assertEqual(self.run_summary(cases, reports), (0, "3 2 2"))

    def test_only_deliberate_skips_count_as_skipped(self):
        cases = [ctest_case("ok", "run"), ctest_case("off", "disabled"),
                 ctest_case("code", "notrun", "SKIP_RETURN_CODE=77"),
                 ctest_case("regex", "notrun", "SKIP_REGULAR_EXPRESSION_MATCHED"),
                 ctest_case("files", "notrun", "Required Files Missing"),
                 ctest_case("fixture", "notrun", "Fixture dependency failed"),
                 ctest_case("timeout", "fail", failed=True)]
        self.assertEqual(self.run_summary(cases), (0, "1 3 3"))

    def test_a_declared_program_or_fuzz_target_that_did_not_report_fails(self):
        with tempfile.TemporaryDirectory() as root:
            os.makedirs(os.path.join(root, "tests", "fuzz"))
            with open(os.path.join(root, "tests", "CMakeLists.txt"), "w") as f:
                f.write("lumeo_add_test(a_tests SOURCES a.cpp)\nlumeo_add_test(w_tests WINDOWS_ONLY\n  SOURCES w.cpp)\n"
                        "lumeo_add_test(n_tests NATIVE_ONLY SOURCES n.cpp)\n")
            with open(os.path.join(root, "tests", "fuzz", "f.cmake"), "w") as f:
                f.write("lumeo_add_fuzzer(f1 SOURCES f1.cpp)\nlumeo_add_fuzzer(f2 SOURCES f2.cpp)\n")
            tests = os.path.join(root, "tests.json")
            with open(tests, "w") as f:
                f.write('{"tests": [{"name": "S.one", "command": ["/b/a_tests", "--gtest_filter=S.one"]},'
                        ' {"name": "w_tests", "command": ["/t/wine-run", "/b/w_tests.exe"]}]}')
            self.assertEqual(self.run_summary([ctest_case("S.one", "run")], None,
                                              ("--expect", root, "native", "--ctest-json", tests)), (0, "1 1 0"))
            self.assertEqual(self.run_summary([ctest_case("w_tests", "run")], {"w_tests": gtest_report(PASS)},
                                              ("--expect", root, "windows", "--ctest-json", tests)), (0, "1 1 0"))
            # Plain add_test: by its name, or by its program when a loop makes the name; each
            # only in the builds its if(WIN32) leaves it in.
            with open(os.path.join(root, "tests", "fuzz", "plain.cmake"), "w") as f:
                f.write("if(NOT WIN32)\n  add_test(NAME py_check COMMAND python3 x.py)\nelse()\n"
                        "  add_executable(loc_tests l.cpp)\n  foreach(l EN)\n"
                        "    add_test(NAME loc_${l} COMMAND loc_tests)\n  endforeach()\nendif()\n")
            self.assertEqual(self.run_summary([ctest_case("S.one", "run")], None,
                                              ("--expect", root, "native", "--ctest-json", tests)), (0, "1 2 0"))
            self.assertEqual(self.run_summary([ctest_case("S.one", "run"), ctest_case("py_check", "run")], None,
                                              ("--expect", root, "native", "--ctest-json", tests)), (0, "2 1 0"))
            self.assertEqual(self.run_summary([ctest_case("w_tests", "run")], {"w_tests": gtest_report(PASS)},
                                              ("--expect", root, "windows", "--ctest-json", tests)), (0, "1 2 0"))
            # A name it cannot read stops the count rather than expecting nothing.
            with open(os.path.join(root, "tests", "fuzz", "plain.cmake"), "w") as f:
                f.write("add_test(NAME t_${x} COMMAND ${prog})\n")
            self.assertNotEqual(self.run_summary([ctest_case("S.one", "run")], None,
                                                 ("--expect", root, "native", "--ctest-json", tests))[0], 0)
            os.remove(os.path.join(root, "tests", "fuzz", "plain.cmake"))
            log = os.path.join(root, "fuzz.log")
            with open(log, "w") as f:
                f.write("run-fuzz: fuzz build failed; the targets it made run\nfuzz f1: no finding (9 log lines)\n")
            done = subprocess.run([sys.executable, SCRIPT, "--fuzz", log, root], capture_output=True, text=True)
            self.assertEqual(done.stdout.strip(), "1 1 0")

    def test_a_run_without_tests_fails(self):
        code, out = self.run_summary([])
        self.assertNotEqual(code, 0)
        self.assertEqual(out, "")


if __name__ == "__main__":
    unittest.main()
