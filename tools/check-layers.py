#!/usr/bin/env python3
"""Checks that no include of the tree runs upwards.

    check-layers.py <source root>

Every folder of the product has a layer: a file may include what stands in its own folder
or in a folder of a lower layer, and nothing else. The layers are listed below, lowest
first; folders of one line are side by side and must not include each other (the two roads
of job/, the two programs of app/). Prints each include that breaks the order and ends
with 1 when there is one.
"""
import pathlib
import re
import sys

# Lowest first. A folder not named here takes the layer of its nearest named parent.
LAYERS = [
    ["common", "snmp", "ipp", "resources"],
    ["files", "i18n"],
    ["mui", "context_menu", "installer"],
    ["printer/state"],
    ["printer/queue"],
    ["printer/device"],
    ["printer/snmp"],
    ["printer/ipp"],
    ["printer/port"],
    ["printer"],
    ["job/settings"],
    ["job/policy"],
    ["job/document"],
    ["job/outcome"],
    ["job/spooler", "job/ipp"],
    ["job"],
    ["ui"],
    ["app/shared"],
    ["app/sheet", "app/script/report"],
    ["app/script"],
    ["app"],
]
RANK = {folder: rank for rank, line in enumerate(LAYERS) for folder in line}
PRODUCT = {line_folder.split("/")[0] for line in LAYERS for line_folder in line}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(relative):
    """The named folder a file or an included path belongs to, or None."""
    parts = pathlib.PurePosixPath(relative).parts[:-1]
    for n in range(len(parts), 0, -1):
        candidate = "/".join(parts[:n])
        if candidate in RANK:
            return candidate
    return None


def allowed(source, target):
    # A folder's subfolders stand below it: printer/ includes printer/state, never the reverse.
    return source == target or RANK[target] < RANK[source]


def main(root):
    root = pathlib.Path(root)
    breaks = []
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".c", ".cpp", ".h") or not path.is_file():
            continue
        relative = path.relative_to(root).as_posix()
        if relative.split("/")[0] not in PRODUCT:
            continue  # tests, benchmarks and tools may include anything
        source = folder_of(relative)
        if source is None:
            breaks.append(f"{relative}: its folder has no layer")
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            target = folder_of(included)
            if target is None and included.split("/")[0] in PRODUCT:
                breaks.append(f"{relative}: {included}: the folder has no layer")
            elif target is not None and not allowed(source, target):
                breaks.append(f"{relative}: includes {included} ({target} is not below {source})")
    for line in breaks:
        print(line)
    print(f"{len(breaks)} include(s) against the layers")
    return 1 if breaks else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
