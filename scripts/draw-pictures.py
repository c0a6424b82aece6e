#!/usr/bin/env python3
"""Draw the two small pictures used by the typing-practice program.

  assets/keyboard-icon.png  32x32 window icon: a bevelled square showing a
                            close-up of keyboard keys turned by 45 degrees,
                            drawn with the 16 colours of the VGA palette and
                            saved as a palette PNG.
  assets/stopwatch.png      27x29 stopwatch shown next to the timer, full
                            colour with a transparent background.
  data/icons/NxN.png        the icon at 64, 128 and 256 pixels for the
                            application menu, scaled without smoothing.

Only the Python standard library is used; PNG files are written by hand
with zlib and struct.  Run from the project root:

    python3 scripts/draw-pictures.py
"""

import math
import os
import struct
import zlib

# --------------------------------------------------------------------------
# PNG writing
# --------------------------------------------------------------------------


def _chunk(kind, data):
    body = kind + data
    return (struct.pack(">I", len(data)) + body
            + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))


def _png(width, height, colour_type, rows, extra_chunks=()):
    """rows: list of bytes objects, one per scanline, without filter byte."""
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    out = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
    for kind, data in extra_chunks:
        out += _chunk(kind, data)
    out += _chunk(b"IDAT", zlib.compress(raw, 9))
    out += _chunk(b"IEND", b"")
    return out


def write_palette_png(path, pixels, palette):
    """pixels: rows of palette indices; palette: list of (r, g, b)."""
    height, width = len(pixels), len(pixels[0])
    plte = b"".join(bytes(c) for c in palette)
    rows = [bytes(row) for row in pixels]
    with open(path, "wb") as f:
        f.write(_png(width, height, 3, rows, [(b"PLTE", plte)]))


def write_rgba_png(path, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    height, width = len(pixels), len(pixels[0])
    rows = [b"".join(bytes(p) for p in row) for row in pixels]
    with open(path, "wb") as f:
        f.write(_png(width, height, 6, rows))


# --------------------------------------------------------------------------
# Picture 1: the keyboard icon
# --------------------------------------------------------------------------

# The 16 colours of the standard VGA palette, in their usual order.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREY, LIGHT_GREY, WHITE = 0, 8, 7, 15

# Tiny 3x5 letters printed on the key tops ('#' = ink).
GLYPHS = {
    "A": [".#.",
          "#.#",
          "###",
          "#.#",
          "#.#"],
    "S": [".##",
          "#..",
          ".#.",
          "..#",
          "##."],
    "D": ["##.",
          "#.#",
          "#.#",
          "#.#",
          "##."],
    "E": ["###",
          "#..",
          "##.",
          "#..",
          "###"],
    "X": ["#.#",
          "#.#",
          ".#.",
          "#.#",
          "#.#"],
}

ICON_SIZE = 32
KEY_BASE = 6        # half the diagonal of a diamond-shaped key, at its foot
KEY_TOP = 5         # half the diagonal of the white key top
KEY_STEP = 7        # keys sit on a lattice turned by 45 degrees


def draw_key(img, cx, cy, letter, clip):
    """A keycap turned by 45 degrees, seen from slightly in front: a white
    diamond top on a slightly wider diamond foot: a thin light grey side
    shows at the back (lit) and a wider dark grey side at the front.  The black well of the keyboard shows round each key as its
    outline.  A black letter sits in the middle of the top."""
    x0, y0, x1, y1 = clip
    ty = cy - 0.5                                 # centre of the top face
    for y in range(cy - KEY_BASE, cy + KEY_BASE + 1):
        for x in range(cx - KEY_BASE, cx + KEY_BASE + 1):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                continue
            if abs(x - cx) + abs(y - cy) > KEY_BASE:
                continue
            if abs(x - cx) + abs(y - ty) <= KEY_TOP:
                img[y][x] = WHITE
            elif y < ty:
                img[y][x] = LIGHT_GREY      # back sides, in the light
            else:
                img[y][x] = DARK_GREY       # front sides, in shadow

    if letter:
        for gy, line in enumerate(GLYPHS[letter]):
            for gx, ch in enumerate(line):
                x, y = cx - 1 + gx, cy - 3 + gy
                if ch == "#" and x0 <= x <= x1 and y0 <= y <= y1:
                    img[y][x] = BLACK


def draw_keyboard_icon():
    n = ICON_SIZE
    img = [[LIGHT_GREY] * n for _ in range(n)]

    # Classic 3D button frame, ring by ring from the outside: white top/left
    # and black bottom/right; white and dark grey; then a plain light grey
    # ring round the keyboard window.
    rings = [(WHITE, BLACK), (WHITE, DARK_GREY), (LIGHT_GREY, LIGHT_GREY)]
    for k, (light, dark) in enumerate(rings):
        lo, hi = k, n - 1 - k
        for i in range(lo, hi + 1):
            img[lo][i] = img[i][lo] = light
        for i in range(lo, hi + 1):
            img[hi][i] = img[i][hi] = dark
        img[hi][lo] = img[lo][hi] = dark

    # Inside the frame: the black well of the keyboard, with the keys.
    inner = (3, 3, n - 4, n - 4)
    for y in range(inner[1], inner[3] + 1):
        for x in range(inner[0], inner[2] + 1):
            img[y][x] = BLACK

    # Keys on a diagonal grid; keyboard rows run from top left to bottom
    # right.  Letters go on the five keys that are fully visible; cut-off
    # keys round the edge make it look like a close-up.
    cx0, cy0 = 16, 15
    letters = {(-1, -1): "A", (0, 0): "S", (1, 1): "D",   # home row
               (1, -1): "E", (-1, 1): "X"}            # rows above, below
    for a in range(-3, 4):
        for b in range(-3, 4):
            if (a + b) % 2:
                continue            # the lattice only has every other point
            cx, cy = cx0 + KEY_STEP * a, cy0 + KEY_STEP * b
            draw_key(img, cx, cy, letters.get((a, b)), inner)
    return img


# --------------------------------------------------------------------------
# Picture 2: the stopwatch
# --------------------------------------------------------------------------

SW_W, SW_H = 27, 29
CLEAR = (0, 0, 0, 0)
OUTLINE = (40, 40, 48, 255)
DIAL = (255, 255, 255, 255)
DIAL_SHADE = (222, 222, 228, 255)
TICK = (30, 30, 30, 255)
MINOR_TICK = (140, 140, 150, 255)
HAND = (210, 20, 20, 255)


def silver(light):
    """A silver/grey shade; light runs from 0 (dark) to 1 (bright)."""
    v = int(110 + 130 * max(0.0, min(1.0, light)))
    return (v, v, min(255, v + 8), 255)


def draw_stopwatch():
    img = [[CLEAR] * SW_W for _ in range(SW_H)]
    cx, cy = 13.0, 17.0          # centre of the round case
    r_out = 11.5                 # outer edge of the case
    r_ring = 10.5                # inside of the dark outline
    r_dial = 8.0                 # white dial

    def put(x, y, c):
        if 0 <= x < SW_W and 0 <= y < SW_H:
            img[y][x] = c

    # Crown on top: a button with a short stem down into the case.
    def block(x0, y0, x1, y1, face, light_edge, dark_edge):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if x in (x0, x1) or y in (y0, y1):
                    put(x, y, OUTLINE)
                elif x == x0 + 1 or y == y0 + 1:
                    put(x, y, light_edge)
                elif x == x1 - 1 or y == y1 - 1:
                    put(x, y, dark_edge)
                else:
                    put(x, y, face)

    block(9, 0, 17, 3, silver(0.7), silver(1.0), silver(0.3))   # button
    block(11, 3, 15, 6, silver(0.6), silver(0.9), silver(0.3))  # stem

    # Side button at "half past one": a short bar sticking out of the case
    # at 45 degrees (u runs along it, v across it).
    for y in range(SW_H):
        for x in range(SW_W):
            dx, dy = x - cx, y - cy
            u = (dx - dy) / math.sqrt(2)
            v = (dx + dy) / math.sqrt(2)
            if u < 0 or u > 14.6 or abs(v) > 2.5:
                continue
            if u > 13.6 or abs(v) > 1.5:
                put(x, y, OUTLINE)
            else:
                put(x, y, silver(0.75 - 0.3 * v))

    # Round case, dial, ticks.
    for y in range(SW_H):
        for x in range(SW_W):
            dx, dy = x - cx, y - cy
            dist = math.hypot(dx, dy)
            if dist > r_out:
                continue
            if dist > r_ring:
                img[y][x] = OUTLINE
            elif dist > r_dial + 1.0:
                # metal ring lit from the top left
                light = 0.5 - (dx + dy) / (2 * r_ring)
                img[y][x] = silver(light)
            elif dist > r_dial:
                img[y][x] = silver(0.1)        # groove round the dial
            else:
                # dial: slight shadow along the upper left inner edge
                shaded = dist > r_dial - 1.2 and dx + dy < -3
                img[y][x] = DIAL_SHADE if shaded else DIAL

    icx, icy = int(cx), int(cy)
    # major ticks at 12, 3, 6 and 9
    for k in (6, 7):
        img[icy - k][icx] = TICK
        img[icy + k][icx] = TICK
        img[icy][icx - k] = TICK
        img[icy][icx + k] = TICK
    # minor ticks in between
    for angle in (30, 60, 120, 150, 210, 240, 300, 330):
        a = math.radians(angle)
        x = int(round(cx + 6.6 * math.sin(a)))
        y = int(round(cy - 6.6 * math.cos(a)))
        img[y][x] = MINOR_TICK

    # red hand pointing up to the right, with a short tail behind the hub
    for t in range(-1, 6):
        img[icy - t][icx + t] = HAND
    # hub
    img[icy][icx] = TICK
    return img


# --------------------------------------------------------------------------


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    assets = os.path.join(root, "assets")
    os.makedirs(assets, exist_ok=True)
    write_palette_png(os.path.join(assets, "keyboard-icon.png"),
                      draw_keyboard_icon(), VGA)
    write_rgba_png(os.path.join(assets, "stopwatch.png"), draw_stopwatch())
    # The menu's larger icons: each pixel repeated, so the edges stay as sharp as drawn.
    icons = os.path.join(root, "data", "icons")
    os.makedirs(icons, exist_ok=True)
    for factor in (2, 4, 8):
        size = ICON_SIZE * factor
        write_palette_png(os.path.join(icons, "%dx%d.png" % (size, size)),
                          scaled(draw_keyboard_icon(), factor), VGA)


def scaled(pixels, factor):
    """pixels with every pixel repeated factor times across and down."""
    return [[p for p in row for _ in range(factor)]
            for row in pixels for _ in range(factor)]


if __name__ == "__main__":
    main()
