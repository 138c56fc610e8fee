#!/usr/bin/env python3
"""Draws the module's bitmaps and its icon from pixel art kept as text.

    python3 tools/pixelart.py --out OUTDIR resources/art [more dirs or .txt files]

Every resources/art/*.txt describes one output file: a few header lines,
a legend that maps characters to colours, then the pictures as rows of
characters, one character a pixel.  Several pictures in one file are placed
side by side, left to right, in the order they are written.

    # A '#' at the start of a line makes it a comment; blank lines between
    # blocks are ignored.
    output  floppy.bmp       the file written into OUTDIR
    format  vga16            vga16  - BMP, 4 bits a pixel, the 16 VGA colours
                             rgb24  - BMP of free colours: 24 bits a pixel,
                                      or 4 with a palette of their own where
                                      they are sixteen at most
                             icon16 - ICO, one 4-bit image with a mask
    size    16 11            width and height of ONE picture
    count   1                optional: number of pictures the file must hold
    background .             the character of the transparent colour; every
                             picture must have it in its bottom-left pixel and
                             no other character may have its colour
                             (required for vga16 and rgb24)
    variants normal light    rgb24 only: each picture is drawn once per
                             variant, with that variant's column of colours
    legend                   then one line per character:
      .  blue                vga16/icon16: a colour name, or 0..15, or
      K  black                 'transparent' (icon16 only)
      S  88,76,196 132,120,232 rgb24: R,G,B per variant
    picture floppy           then exactly <height> rows of <width> characters
    ................
    ...
    disabled NAME            vga16 only: adds the greyed, embossed copy of
                             picture NAME (dark pixels become grey with a
                             white shadow one pixel down and right; light
                             pixels become background)

The 16 colours, in palette order: black maroon green olive navy purple teal
grey silver red lime yellow blue fuchsia aqua white.

Any fault (unknown character, wrong row count or length, missing header,
background not in a bottom-left corner, ...) stops the run with
FILE:LINE: message and exit status 1, before anything is written.
"""
import argparse
import os
import struct
import sys

VGA = [
    ("black", (0, 0, 0)), ("maroon", (128, 0, 0)), ("green", (0, 128, 0)),
    ("olive", (128, 128, 0)), ("navy", (0, 0, 128)), ("purple", (128, 0, 128)),
    ("teal", (0, 128, 128)), ("grey", (128, 128, 128)), ("silver", (192, 192, 192)),
    ("red", (255, 0, 0)), ("lime", (0, 255, 0)), ("yellow", (255, 255, 0)),
    ("blue", (0, 0, 255)), ("fuchsia", (255, 0, 255)), ("aqua", (0, 255, 255)),
    ("white", (255, 255, 255)),
]
VGA_INDEX = {name: i for i, (name, _) in enumerate(VGA)}
VGA_INDEX.update({"gray": 7, "cyan": 14, "magenta": 13})
GREY, WHITE = 7, 15
TRANSPARENT = -1
FORMATS = ("vga16", "rgb24", "icon16")
KEYWORDS = ("output", "format", "size", "count", "background", "variants",
            "legend", "picture", "disabled")


class ArtError(Exception):
    pass


class Art:
    def __init__(self, path):
        self.path = path
        self.output = None
        self.format = None
        self.width = self.height = None
        self.count = None
        self.background = None
        self.variants = None
        self.legend = {}        # char -> palette index, or list of (r, g, b) per variant
        self.legend_line = {}   # char -> line of its legend entry
        self.pictures = []      # (name, [(line, row)], line), or for a disabled copy
                                # (name, None, line, the source picture's tuple)

    def fail(self, line, msg):
        raise ArtError("%s:%s: %s" % (self.path, line, msg))


def parse_colour(art, lineno, text):
    """One legend value: a VGA index (vga16/icon16) or an (r, g, b) triple (rgb24)."""
    if art.format == "rgb24":
        fields = text.split(",")
        if len(fields) != 3:
            art.fail(lineno, "colour %r is not R,G,B" % text)
        try:
            rgb = tuple(int(p) for p in fields)
        except ValueError:
            art.fail(lineno, "colour %r is not R,G,B" % text)
        if any(not 0 <= c <= 255 for c in rgb):
            art.fail(lineno, "colour %r out of 0..255" % text)
        return rgb
    low = text.lower()
    if low == "transparent":
        if art.format != "icon16":
            art.fail(lineno, "'transparent' is for icon16 only; use 'background'")
        return TRANSPARENT
    if low in VGA_INDEX:
        return VGA_INDEX[low]
    if low.isdigit() and 0 <= int(low) <= 15:
        return int(low)
    art.fail(lineno, "unknown colour %r (a VGA colour name or 0..15)" % text)


def parse(path):
    art = Art(path)
    with open(path, encoding="utf-8-sig") as f:
        lines = [l.rstrip("\r\n") for l in f]
    i = 0
    in_legend = False
    names = set()

    while i < len(lines):
        lineno = i + 1
        raw = lines[i]
        text = raw.strip()
        i += 1
        if not text or text.startswith("#"):
            continue
        words = text.split()
        key = words[0]
        if key not in KEYWORDS:
            if in_legend:
                if len(key) != 1:
                    art.fail(lineno, "legend character must be one character, got %r" % key)
                if key == "#":
                    art.fail(lineno, "'#' starts a comment and cannot be a legend character")
                if key in art.legend:
                    art.fail(lineno, "character %r defined twice" % key)
                values = words[1:]
                art.legend_line[key] = lineno
                if art.format == "rgb24":
                    want = len(art.variants or ["one"])
                    if len(values) != want:
                        art.fail(lineno, "%r needs %d colour(s), one per variant, got %d"
                                 % (key, want, len(values)))
                    art.legend[key] = [parse_colour(art, lineno, v) for v in values]
                else:
                    if len(values) != 1:
                        art.fail(lineno, "%r needs exactly one colour" % key)
                    art.legend[key] = parse_colour(art, lineno, values[0])
                continue
            art.fail(lineno, "unknown line %r (a row outside a picture, or a typo?)" % text)
        in_legend = False
        args = words[1:]
        if key == "output":
            if len(args) != 1:
                art.fail(lineno, "output takes one file name")
            if os.path.basename(args[0]) != args[0] or args[0] in (".", ".."):
                art.fail(lineno, "output is a plain file name, got %r" % args[0])
            art.output = args[0]
        elif key == "format":
            if len(args) != 1 or args[0] not in FORMATS:
                art.fail(lineno, "format must be one of %s" % ", ".join(FORMATS))
            art.format = args[0]
        elif key == "size":
            try:
                w, h = (int(a) for a in args)
            except ValueError:
                art.fail(lineno, "size takes WIDTH HEIGHT")
            if w <= 0 or h <= 0:
                art.fail(lineno, "size must be positive")
            art.width, art.height = w, h
        elif key == "count":
            if len(args) != 1 or not args[0].isdigit():
                art.fail(lineno, "count takes a number")
            art.count = int(args[0])
        elif key == "background":
            if len(args) != 1 or len(args[0]) != 1:
                art.fail(lineno, "background takes one character")
            art.background = args[0]
        elif key == "variants":
            if art.format != "rgb24":
                art.fail(lineno, "variants are for rgb24 only (give 'format' first)")
            if not args:
                art.fail(lineno, "variants needs at least one name")
            if art.legend:
                art.fail(lineno, "'variants' must come before 'legend'")
            art.variants = args
        elif key == "legend":
            if art.format is None:
                art.fail(lineno, "'format' before 'legend'")
            in_legend = True
        elif key == "picture":
            need_header(art, lineno, "picture")
            if len(args) != 1:
                art.fail(lineno, "picture takes one name")
            if args[0] in names:
                art.fail(lineno, "picture %r drawn twice" % args[0])
            names.add(args[0])
            rows = []
            for _ in range(art.height):
                if i >= len(lines):
                    art.fail(i, "picture %r ends after %d of %d rows"
                             % (args[0], len(rows), art.height))
                row = lines[i].strip()
                rowno = i + 1
                i += 1
                if len(row) != art.width:
                    art.fail(rowno, "row %d of picture %r is %d wide, expected %d"
                             % (len(rows) + 1, args[0], len(row), art.width))
                for x, ch in enumerate(row):
                    if ch not in art.legend:
                        art.fail(rowno, "character %r at column %d is not in the legend"
                                 % (ch, x + 1))
                rows.append((rowno, row))
            art.pictures.append((args[0], rows, lineno))
        elif key == "disabled":
            need_header(art, lineno, "disabled")
            if art.format != "vga16":
                art.fail(lineno, "disabled copies are for vga16 only")
            if len(args) != 1:
                art.fail(lineno, "disabled takes the name of a picture above")
            source = [p for p in art.pictures if p[0] == args[0] and p[1] is not None]
            if not source:
                art.fail(lineno, "no picture %r above" % args[0])
            art.pictures.append((args[0] + "/disabled", None, lineno, source[0]))
    check(art, len(lines))
    return art


def check(art, end):
    need_header(art, end)
    if not art.pictures:
        art.fail(end, "no pictures")
    if art.format == "icon16":
        if len(art.pictures) != 1:
            art.fail(art.pictures[1][2], "an icon holds one picture")
    else:
        if art.background is None:
            art.fail(end, "'background' missing: the bottom-left pixel is the transparent colour")
        if art.background not in art.legend:
            art.fail(end, "background %r is not in the legend" % art.background)
        bg = art.legend[art.background]
        for ch, colour in art.legend.items():
            if ch == art.background:
                continue
            if art.format == "rgb24":
                same = [v for v, (a, b) in enumerate(zip(colour, bg)) if a == b]
                if same:
                    art.fail(art.legend_line[ch], "%r has the background colour %s; "
                             "it would turn transparent" % (ch, bg[same[0]]))
            elif colour == bg:
                art.fail(art.legend_line[ch], "%r has the background colour %s; "
                         "it would turn transparent" % (ch, VGA[bg][0]))
        if art.format == "vga16" and bg in (GREY, WHITE) and any(
                p[1] is None for p in art.pictures):
            art.fail(end, "the background is grey or white, the colours of a disabled copy")
        for p in art.pictures:
            if p[1] is None:
                continue
            rowno, last = p[1][-1]
            if last[0] != art.background:
                art.fail(rowno, "picture %r: bottom-left pixel is %r, must be the background %r"
                         % (p[0], last[0], art.background))
    if art.format == "rgb24" and art.variants is None:
        art.variants = ["normal"]
        for ch, colours in art.legend.items():
            if len(colours) != 1:
                art.fail(art.legend_line[ch],
                         "%r has several colours but no 'variants' line" % ch)
    images = images_of(art)
    if art.count is not None and len(images) != art.count:
        art.fail(end, "%d pictures, 'count' says %d" % (len(images), art.count))


def need_header(art, lineno, what=None):
    for attr, word in (("output", "output"), ("format", "format"), ("width", "size")):
        if getattr(art, attr) is None:
            art.fail(lineno, "'%s' missing" % word if what is None
                     else "'%s' must come before '%s'" % (word, what))


def emboss(art, rows):
    """Greyed copy: dark pixels turn grey over a white shadow, the rest background."""
    bg = art.legend[art.background]
    w, h = art.width, art.height
    ink = [[False] * w for _ in range(h)]
    for y, (_, row) in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == art.background:
                continue
            r, g, b = VGA[art.legend[ch]][1]
            ink[y][x] = (r * 30 + g * 59 + b * 11) / 100 <= 128
    out = [[bg] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if ink[y][x] and x + 1 < w and y + 1 < h:
                out[y + 1][x + 1] = WHITE
    for y in range(h):
        for x in range(w):
            if ink[y][x]:
                out[y][x] = GREY
    return out


def images_of(art):
    """The pictures as they go into the file, left to right: lists of rows of pixels.

    A pixel is a palette index (vga16, icon16; TRANSPARENT in an icon) or (r, g, b)."""
    images = []
    for p in art.pictures:
        name, rows = p[0], p[1]
        if rows is None:
            images.append(emboss(art, p[3][1]))
        elif art.format == "rgb24":
            for v in range(len(art.variants)):
                images.append([[art.legend[ch][v] for ch in row] for _, row in rows])
        else:
            images.append([[art.legend[ch] for ch in row] for _, row in rows])
    return images


def strip(images):
    """Places the images side by side; returns rows top-down."""
    h = len(images[0])
    return [sum((img[y] for img in images), []) for y in range(h)]


def palette_bytes():
    return b"".join(bytes((b, g, r, 0)) for _, (r, g, b) in VGA)


def pack4(row):
    data = bytearray()
    for x in range(0, len(row), 2):
        hi = row[x]
        lo = row[x + 1] if x + 1 < len(row) else 0
        data.append((hi << 4) | lo)
    return pad4(bytes(data))


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def info_header(w, h, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size,
                       2835, 2835, colours, 0)


def bmp(pixels, bits):
    h, w = len(pixels), len(pixels[0])
    if bits == 24:
        # Free colours, but no more than sixteen of them: four bits a pixel with their own
        # palette hold the same pixels in a sixth of the bytes.
        used = sorted({p for row in pixels for p in row})
        if len(used) <= 16:
            index = {c: i for i, c in enumerate(used)}
            body = b"".join(pack4([index[p] for p in row]) for row in reversed(pixels))
            palette = b"".join(bytes((b, g, r, 0)) for r, g, b in used)
            offset = 14 + 40 + len(palette)
            head = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
            return head + info_header(w, h, 4, len(body), len(used)) + palette + body
    if bits == 4:
        body = b"".join(pack4(row) for row in reversed(pixels))
        palette, colours = palette_bytes(), 16
    else:
        body = b"".join(pad4(b"".join(bytes((b, g, r)) for r, g, b in row))
                        for row in reversed(pixels))
        palette, colours = b"", 0
    offset = 14 + 40 + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return head + info_header(w, h, bits, len(body), colours) + palette + body


def ico(pixels):
    h, w = len(pixels), len(pixels[0])
    xor = b"".join(pack4([0 if p == TRANSPARENT else p for p in row])
                   for row in reversed(pixels))
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray((w + 7) // 8)
        for x, p in enumerate(row):
            if p == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += pad4(bytes(bits))
    image = (info_header(w, 2 * h, 4, len(xor) + len(mask), 16)
             + palette_bytes() + xor + bytes(mask))
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4, len(image), 6 + 16)
    return head + entry + image


def render(art):
    pixels = strip(images_of(art))
    if art.format == "icon16":
        return ico(pixels)
    return bmp(pixels, 24 if art.format == "rgb24" else 4)


def sources(paths):
    found = []
    for p in paths:
        if os.path.isdir(p):
            found += sorted(os.path.join(p, n) for n in os.listdir(p) if n.endswith(".txt"))
        elif os.path.isfile(p):
            found.append(p)
        else:
            raise ArtError("%s: no such file or directory" % p)
    if not found:
        raise ArtError("no .txt pictures in %s" % " ".join(paths))
    return found


def main(argv=None):
    ap = argparse.ArgumentParser(description="Draws bitmaps and icons from text pixel art.")
    ap.add_argument("--out", required=True, help="directory for the pictures")
    ap.add_argument("paths", nargs="+", help="art directories or .txt files")
    a = ap.parse_args(argv)
    try:
        arts, seen = [], {}
        for path in sources(a.paths):
            art = parse(path)
            if art.output in seen:
                art.fail(art.pictures[0][2],
                         "%s is also drawn by %s" % (art.output, seen[art.output]))
            seen[art.output] = path
            arts.append((art, render(art)))
    except ArtError as e:
        print("pixelart: %s" % e, file=sys.stderr)
        return 1
    os.makedirs(a.out, exist_ok=True)
    for art, data in arts:
        target = os.path.join(a.out, art.output)
        old = None
        if os.path.exists(target):
            with open(target, "rb") as f:
                old = f.read()
        if old != data:
            with open(target, "wb") as f:
                f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
