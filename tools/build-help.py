#!/usr/bin/env python3
"""Compiles one language's help pages into HELP_xx.chm with chmcmd.

  build-help.py --src resources/help/EN --common resources/help/common --work DIR --out bin/HELP_EN.chm

The pages are UTF-8 HTML and say so. The project (.hhp) and the table of contents (.hhc)
are read by the help viewer in the ANSI code page of the project's language, so they are
kept in UTF-8 here and converted while the sources are copied to the work folder.
"""
import argparse
import pathlib
import re
import shutil
import subprocess
import sys

# Language identifier of the project -> code page of its .hhp and .hhc.
CODE_PAGES = {0x409: "cp1252", 0x407: "cp1252", 0x40C: "cp1252", 0x411: "cp932", 0x412: "cp949"}


def project_of(src: pathlib.Path) -> pathlib.Path:
    projects = sorted(src.glob("*.hhp"))
    if len(projects) != 1:
        sys.exit(f"{src}: expected one .hhp project, found {len(projects)}")
    return projects[0]


def code_page(project_text: str, project: pathlib.Path) -> str:
    match = re.search(r"^Language=(0x[0-9A-Fa-f]+)", project_text, re.M)
    if not match or int(match.group(1), 16) not in CODE_PAGES:
        sys.exit(f"{project}: Language= missing or without a known code page")
    return CODE_PAGES[int(match.group(1), 16)]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--src", type=pathlib.Path, required=True)
    parser.add_argument("--common", type=pathlib.Path, required=True)
    parser.add_argument("--work", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    parser.add_argument("--chmcmd", default="chmcmd")
    args = parser.parse_args()

    project = project_of(args.src)
    project_text = project.read_text(encoding="utf-8")
    encoding = code_page(project_text, project)
    compiled = re.search(r"^Compiled file=(.+)$", project_text, re.M)
    if not compiled:
        sys.exit(f"{project}: Compiled file= missing")

    if args.work.exists():
        shutil.rmtree(args.work)
    args.work.mkdir(parents=True)
    for folder in (args.common, args.src):
        for source in folder.iterdir():
            if not source.is_file():
                continue
            target = args.work / source.name
            if source.suffix.lower() in (".hhp", ".hhc", ".hhk"):
                target.write_bytes(source.read_text(encoding="utf-8").encode(encoding))
            else:
                shutil.copyfile(source, target)

    result = subprocess.run([args.chmcmd, project.name], cwd=args.work, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    chm = args.work / compiled.group(1).strip()
    if result.returncode != 0 or not chm.exists():
        sys.stderr.write(result.stdout)
        sys.exit(f"chmcmd failed for {project}")
    if re.search(r"(?i)\b(error|not found|missing)\b", result.stdout):
        sys.stderr.write(result.stdout)
        sys.exit(f"chmcmd reported problems for {project}")
    args.out.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(chm, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
