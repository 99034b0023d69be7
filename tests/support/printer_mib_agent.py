#!/usr/bin/env python3
"""A printer's Host Resources and Printer MIB objects for snmpd's pass_persist.

  printer_mib_agent.py SCENARIO TRIGGER ROOT
  printer_mib_agent.py --override SCENARIO    its objects as snmpd.conf "override" lines
                                              (texts with unprintable bytes are left out)

SCENARIO is one of:
  idle      ready, page counter 1000
  printing  as idle until TRIGGER holds something; then prints for 1.5 s, one page every
            0.5 s, and is ready again at 1003
  jam       as idle until TRIGGER holds something; 0.5 s later one page is out and paper
            jams
  cover     the front cover is open from the start
  tonerlow  as idle until TRIGGER holds something; then its black toner is low
  many      ready, with 100 alerts (more than any walk takes)
  hostile   ready, its texts full of control characters and overlong
  unnamed   as idle, but its input and output tables name nothing

Only objects under ROOT are answered (one process serves each registration).
The state follows the age of TRIGGER, so every process tells the same story; an empty
TRIGGER (a printer's capture before its first job) counts as none.
"""
import os
import sys
import time

HR_DEVICE_STATUS = (1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 5)
HR_PRINTER = (1, 3, 6, 1, 2, 1, 25, 3, 5, 1)
MARKER = (1, 3, 6, 1, 2, 1, 43, 10, 2, 1)
SUPPLIES = (1, 3, 6, 1, 2, 1, 43, 11, 1, 1)
INPUT = (1, 3, 6, 1, 2, 1, 43, 8, 2, 1)
OUTPUT = (1, 3, 6, 1, 2, 1, 43, 9, 2, 1)
ALERT = (1, 3, 6, 1, 2, 1, 43, 18, 1, 1)

# description, class, type, unit, max capacity, level
SUPPLY_ROWS = [
    ("Black Toner Cartridge", 3, 21, 7, 10000, 8000),
    ("Cyan Toner", 3, 3, 19, 100, -3),
    ("Waste Toner Box", 4, 4, 19, -2, -2),
    ("Drum Unit", 3, 9, 7, 60000, 9000),
]
# name, description, media name, max capacity, current level, dimension unit, feed and cross-feed
# dimensions (A4 in micrometres, Letter in ten-thousandths of an inch)
INPUT_ROWS = [
    ("Tray 1", "Cassette 1", "A4 Plain", 250, 125, 4, 297000, 210000),
    ("Bypass Tray", "Manual feed", "Letter", 100, -3, 3, 85000, 110000),
]
OUTPUT_NAMES = ["Face Down Bin", "Upper Bin"]


def seconds_since(trigger):
    try:
        stat = os.stat(trigger)
    except OSError:
        return None
    return time.time() - stat.st_mtime if stat.st_size else None


def state(scenario, trigger):
    """device status, printer status, error bits, counter, alerts (severity, group, code, text)"""
    t = seconds_since(trigger)
    if scenario == "printing" and t is not None and t < 1.5:
        return 2, 4, b"\x00", 1000 + int(t / 0.5), []
    if scenario == "printing" and t is not None:
        return 2, 3, b"\x00", 1003, []
    if scenario == "jam" and t is not None:
        if t < 0.5:
            return 2, 4, b"\x00", 1000, []
        return 5, 1, b"\x04\x00", 1001, [(3, 8, 8, b"Paper jam in tray 1")]
    if scenario == "tonerlow" and t is not None:
        return 3, 3, b"\x20\x00", 1000, [(4, 11, 1104, b"Black toner low")]
    if scenario == "cover":
        return 5, 1, b"\x08\x00", 1000, [(3, 6, 3, b"Front cover open")]
    if scenario == "many":
        return 3, 3, b"\x00", 1000, [(4, 5, 1, b"Notice %d" % n) for n in range(1, 101)]
    if scenario == "hostile":
        return 3, 3, b"\x20\x00", 1000, [(4, 11, 1104, b"Toner\x1b[2J\r\nlow\x07" + b"x" * 600)]
    return 2, 3, b"\x00", 1000, []


def objects(scenario, trigger):
    device, printer, bits, counter, alerts = state(scenario, trigger)
    obj = {
        HR_DEVICE_STATUS + (1,): ("integer", device),
        HR_PRINTER + (1, 1): ("integer", printer),
        HR_PRINTER + (2, 1): ("octet", bits),
        MARKER + (3, 1, 1): ("integer", 7),
        MARKER + (4, 1, 1): ("counter", counter),
    }
    supplies = SUPPLY_ROWS * 2 if scenario == "eight" else SUPPLY_ROWS  # "eight": /probe's walk takes two requests
    if scenario == "hostile":
        supplies = [("Black\x00\x00\x00", 3, 21, 7, 100, 5), ("\x1b]0;owned\x07" + "y" * 400, 3, 3, 19, 100, 50)]
    for i, (descr, klass, kind, unit, most, level) in enumerate(supplies, 1):
        for column, value in ((4, klass), (5, kind), (7, unit), (8, most), (9, level)):
            obj[SUPPLIES + (column, 1, i)] = ("integer", value)
        obj[SUPPLIES + (6, 1, i)] = ("octet", descr.encode("latin-1"))
    unnamed = scenario == "unnamed"
    for i, (name, descr, media, most, level, unit, feed, across) in enumerate(INPUT_ROWS, 1):
        for column, value in ((3, unit), (4, feed), (5, across)):
            obj[INPUT + (column, 1, i)] = ("integer", value)
        obj[INPUT + (9, 1, i)] = ("integer", most)
        obj[INPUT + (10, 1, i)] = ("integer", level)
        obj[INPUT + (12, 1, i)] = ("octet", media.encode())
        obj[INPUT + (13, 1, i)] = ("octet", b"" if unnamed else name.encode())
        obj[INPUT + (18, 1, i)] = ("octet", descr.encode())
    for i, name in enumerate(OUTPUT_NAMES, 1):
        obj[OUTPUT + (7, 1, i)] = ("octet", b"" if unnamed else name.encode())
    for i, (severity, group, code, text) in enumerate(alerts, 1):
        obj[ALERT + (2, 1, i)] = ("integer", severity)
        obj[ALERT + (4, 1, i)] = ("integer", group)
        obj[ALERT + (7, 1, i)] = ("integer", code)
        obj[ALERT + (8, 1, i)] = ("octet", text)
    return obj


def parse(text):
    return tuple(int(arc) for arc in text.strip().strip(".").split("."))


def answer(oid, kind, value):
    if kind == "octet":
        value = " ".join("%02X" % b for b in value)
    return ".%s\n%s\n%s\n" % (".".join(map(str, oid)), kind, value)


def overrides(scenario):
    for oid, (kind, value) in sorted(objects(scenario, "/nonexistent").items()):
        if kind == "octet":
            if not all(32 <= b < 127 and b != 34 for b in value):
                continue
            value = '"%s"' % value.decode()
            kind = "octet_str"
        print("override .%s %s %s" % (".".join(map(str, oid)), kind, value))


def main():
    if sys.argv[1] == "--override":
        return overrides(sys.argv[2])
    scenario, trigger, root = sys.argv[1], sys.argv[2], parse(sys.argv[3])
    out = sys.stdout
    while True:
        command = sys.stdin.readline()
        if not command:
            return
        command = command.strip()
        if command == "PING":
            out.write("PONG\n")
        elif command in ("get", "getnext"):
            oid = parse(sys.stdin.readline())
            obj = objects(scenario, trigger)
            if command == "get":
                found = oid if oid in obj else None
            else:
                found = next((o for o in sorted(obj) if o > oid and o[:len(root)] == root), None)
            out.write(answer(found, *obj[found]) if found else "NONE\n")
        elif command == "set":
            sys.stdin.readline()
            sys.stdin.readline()
            out.write("not-writable\n")
        out.flush()


if __name__ == "__main__":
    main()
