#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The module's code is layered, each folder using only the folders below it:

    module        the exports and the module's load and unload
    bootlog       the boot-log tip window and what OK writes
    template      the window every tip derives from, the module-wide state
    folderselect  the select-directory dialog and its controls
    toolkit       our layer over Win32 and the runtime library's pieces

Within toolkit the same holds from the bottom up: the runtime pieces, the component
model, graphics, the window layer (with the popup menu it carries), and the controls,
forms and message boxes built on it.  helplib/ (the help library's interface) may be used by any layer.

Usage: check_layers.py [SOURCE_DIR]   (default: this file's repository)
"""
import os, re, sys

FOLDERS = ["toolkit", "folderselect", "template", "bootlog", "module"]
# Files of toolkit in their layers, lowest first; a file not named here is in the
# highest toolkit layer.
TOOLKIT_LAYERS = [
    {"SysUtils", "Consts", "OptionalApi"},
    {"Classes", "Registry", "SystemActions"},
    {"Graphics"},
    {"Controls", "Menus", "Screen"},
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_rank(path):
    top = path.split("/")[0]
    return FOLDERS.index(top) if top in FOLDERS else None


def toolkit_rank(path):
    stem = os.path.splitext(os.path.basename(path))[0]
    for i, layer in enumerate(TOOLKIT_LAYERS):
        if stem in layer:
            return i
    return len(TOOLKIT_LAYERS)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    wrong = []
    for folder in FOLDERS:
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/")
                with open(os.path.join(root, path), encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(1)
                        rank = folder_rank(target)
                        if rank is None:
                            continue
                        own = folder_rank(path)
                        above = rank > own or (
                            rank == own == 0 and toolkit_rank(target) > toolkit_rank(path))
                        if above:
                            wrong.append(f"{path}:{number}: includes {target}, a layer above")
    for w in wrong:
        print("FAIL " + w)
    print(f"{len(wrong)} include(s) against the layers" if wrong else "every include runs down the layers")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
