#!/usr/bin/env python3
"""Makes the benchmarks' large folders once, in DIR, with the names the benchmark programs
give them (bench/BenchSupport.h, bench/folder_bench.cpp, bench/largefolders_bench.cpp):
under Wine every new name costs a look through the whole folder, so the programs took
more than 25 minutes for what takes seconds here.  scripts/bench.sh links DIR's
folders into c:\\ of its throw-away prefix; a program finds its folder there and takes it
as made.  Each folder is made under a temporary name and renamed when complete, so an
interrupted run leaves nothing that looks made.  Usage: bench-folders.py DIR"""
import os
import shutil
import sys


def scattered(i):
    return "n%08x_%d" % ((i * 2654435761) & 0xFFFFFFFF, i)


def entry(i, count):
    return "entry%05d" % ((i * 7919) % count)


def files(names):
    return lambda path: [open(os.path.join(path, n + ".txt"), "wb").close() for n in names]


def dirs(names):
    return lambda path: [os.mkdir(os.path.join(path, n)) for n in names]


def scattered_names(count):
    return [scattered(i) for i in range(count)]


def entry_names(count):
    return [entry(i, count) for i in range(count)]


# c:\NAME: its folders and what fills each.
FOLDERS = {
    "fbench": [("files10k", files(scattered_names(10000))),
               ("files100k", files(scattered_names(100000))),
               ("dirs10k", dirs(scattered_names(10000)))],
    "lfbench": [("Files2500", files(entry_names(2500))), ("Files10000", files(entry_names(10000))),
                ("Dirs500", dirs(entry_names(500))), ("Dirs2000", dirs(entry_names(2000)))],
    "sdbench": [("small", files(scattered_names(20))), ("files10k", files(scattered_names(10000)))],
}


def main():
    root = sys.argv[1]
    os.makedirs(root, exist_ok=True)
    for top, parts in FOLDERS.items():
        final = os.path.join(root, top)
        if os.path.isdir(final):
            continue
        temp = final + ".making"
        shutil.rmtree(temp, ignore_errors=True)
        os.mkdir(temp)
        for name, fill in parts:
            os.mkdir(os.path.join(temp, name))
            fill(os.path.join(temp, name))
        os.rename(temp, final)


if __name__ == "__main__":
    main()
