#!/usr/bin/env python3
"""Writes the UI string files LOCAL_xx.dat from their UTF-8 sources.

The program reads them with GetPrivateProfileStringW, which reads non-ASCII text
correctly only from UTF-16LE files with a byte-order mark; lines end in CRLF.

  gen-lang-files.py [--src DIR] [--out DIR]   write LOCAL_xx.dat for every src/LOCAL_xx.ini
  gen-lang-files.py --check                   fail when a committed .dat differs from its source
"""
import argparse
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_SRC = ROOT / "resources" / "lang" / "src"
DEFAULT_OUT = ROOT / "resources" / "lang"


def encode(text: str) -> bytes:
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return b"\xff\xfe" + "".join(line + "\r\n" for line in lines).encode("utf-16-le")


def sources(src: pathlib.Path):
    found = sorted(src.glob("LOCAL_*.ini"))
    if not found:
        sys.exit(f"no LOCAL_*.ini in {src}")
    return found


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--src", type=pathlib.Path, default=DEFAULT_SRC)
    parser.add_argument("--out", type=pathlib.Path, default=DEFAULT_OUT)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()

    stale = []
    for ini in sources(args.src):
        data = encode(ini.read_text(encoding="utf-8"))
        target = args.out / (ini.stem + ".dat")
        if args.check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(target.name)
            continue
        args.out.mkdir(parents=True, exist_ok=True)
        if not target.exists() or target.read_bytes() != data:
            target.write_bytes(data)
    if stale:
        print("out of date (run tools/gen-lang-files.py): " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
