#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The module's code is layered, each folder using only the folders below it:

    module        the exports and the module's load and unload
    bootlog       the boot-log tip window and what OK writes
    template      the window every tip derives from, the module-wide state
    folderselect  the select-directory dialog and its controls
    toolkit       our layer over Win32 and the runtime library's pieces

Within toolkit each file has a place of its own in TOOLKIT_ORDER, lowest first, and
includes only files below it (a .cpp also its own header): no two files include each
other, directly or round a loop.  A lower file reaches a higher one only through an
interface or callback declared below (the controls reach their form through TCustomForm).
A toolkit file that is not in the order fails, so that a new file is given its place.

Every include of a layer's folder counts, with no exception: what a lower layer and a
higher one share lives in the lower one (the host contract takes the window property that
names a control from the toolkit).  helplib/, the help library's interface, lies outside
the layers and may be used by any of them.

Usage: check_layers.py [SOURCE_DIR]   (default: this file's repository)
"""
import os, re, sys

FOLDERS = ["toolkit", "folderselect", "template", "bootlog", "module"]
# The toolkit's files, lowest first, by name without extension (a header and its .cpp
# share a place; a .cpp of its own, such as ControlLayout, comes after what it includes).
TOOLKIT_ORDER = [
    # runtime pieces
    "SysUtils", "Consts", "OptionalApi",
    # components, the registry, system actions
    "Classes", "Registry", "SystemActions",
    "Graphics", "PaintBuffer",
    # message boxes and the application object
    "MessageBoxes", "Application", "Dialogs",
    # the window layer: the screen and cursors, menus and shortcuts, the layout function,
    # the name a control's window carries, the controls and the concerns of their definition
    "Screen", "Menus", "Layout", "ControlName", "Controls",
    "ControlProperties", "ControlPaint", "ControlLayout", "ControlInput", "ControlHints",
    # one file per control
    "Panel", "SpeedButton", "Edit", "Memo", "Button", "CheckBox", "Label", "StaticText",
    "StandardControls", "ListControls",
    # the form, its reader and the classes it may name; the concerns of the form's
    # definition
    "ComponentClasses", "FormReader", "Form", "FormFrame", "FormModal", "FormKeys",
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_rank(path):
    top = path.split("/")[0]
    return FOLDERS.index(top) if top in FOLDERS else None


def toolkit_rank(path):
    stem = os.path.splitext(os.path.basename(path))[0]
    return TOOLKIT_ORDER.index(stem) if stem in TOOLKIT_ORDER else None


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
                        above = rank > own
                        if rank == own == 0:
                            mine, theirs = toolkit_rank(path), toolkit_rank(target)
                            above = theirs is None or mine is None or theirs > mine
                        if above:
                            wrong.append(f"{path}:{number}: includes {target}, a layer above")
    for dirpath, _, files in os.walk(os.path.join(root, "toolkit")):
        for name in sorted(files):
            if name.endswith((".h", ".cpp")) and toolkit_rank(name) is None:
                wrong.append(f"toolkit/{name}: has no place in the toolkit's order")
    for w in wrong:
        print("FAIL " + w)
    print(f"{len(wrong)} include(s) against the layers" if wrong else "every include runs down the layers")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
