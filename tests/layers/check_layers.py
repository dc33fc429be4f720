#!/usr/bin/env python3
"""Checks the include rule of src/.

Widget-free code goes common -> db -> core -> masterdata -> register -> output: a folder
includes only folders to its left (itself included). Screens under a folder's ui/ include
any widget-free folder and the ui/ folders to their left. app/ sees everything; demo/ is
widget-free, sits on top of the register code and is seen only by the admin tool.

Usage: check_layers.py SRC_DIR  (exit 1 and one line per broken include)
"""
import os
import re
import sys

ORDER = ["common", "db", "core", "masterdata", "register", "output"]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def layer_of(path):
    """(folder, is_ui) of a path relative to src/, or None for files outside the layers."""
    parts = path.split("/")
    if len(parts) < 2:
        return None
    return parts[0], len(parts) > 2 and parts[1] == "ui"


def allowed(source, target, is_admin):
    (sf, sui), (tf, tui) = source, target
    if tf == "demo":
        return sf == "demo" or is_admin
    if sf == "app":
        return True
    if tf == "app":
        return False
    if sf == "demo":
        return not tui
    if sf not in ORDER or tf not in ORDER:
        return True
    if tui:
        return sui and ORDER.index(tf) <= ORDER.index(sf)
    return sui or ORDER.index(tf) <= ORDER.index(sf)


def check(src):
    problems = []
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(root, name)
            rel = os.path.relpath(full, src).replace(os.sep, "/")
            source = layer_of(rel)
            if source is None:
                continue
            # The admin tool (app/admin*) may use the demo generator; the program may not.
            is_admin = rel.startswith("app/admin")
            with open(full, encoding="utf-8", errors="replace") as f:
                text = f.read()
            for match in INCLUDE.finditer(text):
                inc = match.group(1)
                target = layer_of(inc)
                if target is None or not os.path.exists(os.path.join(src, inc)):
                    continue
                if not allowed(source, target, is_admin):
                    line = text.count("\n", 0, match.start()) + 1
                    problems.append(f"{rel}:{line}: includes {inc}")
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    problems = check(sys.argv[1])
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
