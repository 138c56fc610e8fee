#!/usr/bin/env python3
"""Copies UTF-8 form resources into OUTDIR as Windows-1252, the code page the module reads."""
import os, sys

def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for src in sys.argv[2:]:
        with open(src, encoding="utf-8") as f:
            text = f.read()
        with open(os.path.join(out, os.path.basename(src)), "wb") as f:
            f.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252"))

if __name__ == "__main__":
    main()
