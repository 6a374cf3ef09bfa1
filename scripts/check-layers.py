#!/usr/bin/env python3
"""Checks that no source file includes a header of a layer above its own.

The layers, lowest first, and what each may include, are written down in
docs/architecture.md; the table below is the same list. A folder not named
here (tests/, scripts/) is not checked. Usage:

    scripts/check-layers.py [SOURCE_ROOT]     # exit 1 and one line per fault
    scripts/check-layers.py --self-test       # the check catches a wrong include
"""
import os
import re
import sys
import tempfile

GUI_FREE = ["platform", "engine", "data"]
BASE_GUI = GUI_FREE + ["platform/gui", "platform/media", "widgets", "skin"]
MODELS = ["lesson/model", "testing/model"]
SCREENS = ["app", "lesson", "testing", "reports"]

# folder -> the folders its files may include (its own always included)
ALLOWED = {
    "platform": ["platform"],
    "platform/gui": ["platform"],
    "platform/media": ["platform", "platform/gui"],
    "engine": [],
    "data": ["platform", "engine"],
    "widgets": ["platform", "platform/gui"],
    "skin": ["platform", "platform/gui", "widgets"],
    "lesson/model": GUI_FREE,
    "testing/model": GUI_FREE,
    "shell": BASE_GUI,
    "app": BASE_GUI + ["shell"] + MODELS + SCREENS,
    "lesson": BASE_GUI + ["shell"] + MODELS + SCREENS,
    "testing": BASE_GUI + ["shell"] + MODELS + SCREENS,
    "reports": BASE_GUI + ["shell"] + MODELS + SCREENS,
    "program": BASE_GUI + ["shell"] + MODELS + SCREENS + ["program"],
    "tools": BASE_GUI + ["shell"] + MODELS + SCREENS + ["program", "tools"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = (".c", ".cpp", ".h", ".hpp", ".inc")


def layer_of(path):
    """The most specific folder of the table that holds path, or None."""
    best = None
    for folder in ALLOWED:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def faults(root):
    found = []
    for folder in sorted({f.split("/")[0] for f in ALLOWED}):
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), root)
                own = layer_of(path)
                allowed = set(ALLOWED[own]) | {own}
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match or "/" not in match.group(1):
                            continue  # headers beside the file, system headers
                        target = layer_of(match.group(1))
                        if target is not None and target not in allowed:
                            found.append(f'{path}:{number}: layer "{own}" includes "{match.group(1)}" '
                                         f'of layer "{target}"')
    return found


def self_test():
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, "data"))
        os.makedirs(os.path.join(root, "shell"))
        with open(os.path.join(root, "shell", "TForm1.h"), "w") as f:
            f.write('#include "data/TUser.h"\n')
        with open(os.path.join(root, "data", "TUser.cpp"), "w") as f:
            f.write('#include "data/TUser.h"\n#include <QString>\n')
        if faults(root):
            print("self-test: a sound tree was refused")
            return 1
        with open(os.path.join(root, "data", "TUser.cpp"), "a") as f:
            f.write('#include "shell/TForm1.h"\n')
        found = faults(root)
        if len(found) != 1 or 'layer "data" includes "shell/TForm1.h"' not in found[0]:
            print("self-test: a data file including the shell was not caught:", found)
            return 1
    print("self-test: passed")
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = faults(root)
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
