# Draws the toolbar, window and status-bar pictures in this folder; run with python3, standard library only.

import math
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------- PNG output

def write_png(name, pixels):
    """pixels: rows of (r, g, b, a) tuples. Writes 8-bit RGBA, no ancillary chunks, so reruns are byte-identical."""
    height = len(pixels)
    width = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        assert len(row) == width
        raw.append(0)  # filter type: none
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def hex_rgba(h):
    return (int(h[1:3], 16), int(h[3:5], 16), int(h[5:7], 16), 255)


CLEAR = (0, 0, 0, 0)

# The sixteen classic VGA colours; the window icon may use nothing else.
VGA = {
    "black": "#000000", "maroon": "#800000", "green": "#008000", "olive": "#808000",
    "navy": "#000080", "purple": "#800080", "teal": "#008080", "silver": "#C0C0C0",
    "grey": "#808080", "red": "#FF0000", "lime": "#00FF00", "yellow": "#FFFF00",
    "blue": "#0000FF", "fuchsia": "#FF00FF", "aqua": "#00FFFF", "white": "#FFFFFF",
}

# Letters used in the pixel maps below; '.' is transparent.
PALETTE = {
    ".": CLEAR,
    "k": hex_rgba("#000000"),
    "d": hex_rgba("#404040"),
    "g": hex_rgba("#808080"),
    "s": hex_rgba("#C0C0C0"),
    "w": hex_rgba("#FFFFFF"),
    "r": hex_rgba("#FF0000"),
    "R": hex_rgba("#800000"),
    "y": hex_rgba("#FFFF00"),
    "o": hex_rgba("#808000"),
    "l": hex_rgba("#00FF00"),
    "G": hex_rgba("#008000"),
    "c": hex_rgba("#00FFFF"),
    "t": hex_rgba("#008080"),
    "b": hex_rgba("#0000FF"),
    "n": hex_rgba("#000080"),
    "m": hex_rgba("#FF00FF"),
    "p": hex_rgba("#800080"),
}


def from_map(text, size=16):
    rows = [line.strip() for line in text.strip().splitlines()]
    assert len(rows) == size, (len(rows), rows)
    for row in rows:
        assert len(row) == size, row
    return [[PALETTE[ch] for ch in row] for row in rows]


def filled(outline_text, edge, inside):
    """Recolours an outline drawing: the outline in `edge`, everything it encloses in `inside`."""
    rows = [list(line.strip()) for line in outline_text.strip().splitlines()]
    h, w = len(rows), len(rows[0])
    outside = set()
    todo = [(y, x) for y in range(h) for x in range(w) if (y in (0, h - 1) or x in (0, w - 1)) and rows[y][x] == "."]
    while todo:
        y, x = todo.pop()
        if (y, x) in outside or not (0 <= y < h and 0 <= x < w) or rows[y][x] != ".":
            continue
        outside.add((y, x))
        todo += [(y + 1, x), (y - 1, x), (y, x + 1), (y, x - 1)]
    for y in range(h):
        for x in range(w):
            if rows[y][x] != ".":
                rows[y][x] = edge
            elif (y, x) not in outside:
                rows[y][x] = inside
    return "\n".join("".join(r) for r in rows)


def framed(text, left, top, right, bottom, ink):
    rows = [list(line.strip()) for line in text.strip().splitlines()]
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if y in (top, bottom) or x in (left, right):
                rows[y][x] = ink
    return "\n".join("".join(r) for r in rows)


def mirrored(top_half):
    """Rows 0..7 as given, rows 8..14 mirrored about row 7, row 15 blank."""
    rows = [line.strip() for line in top_half.strip().splitlines()]
    assert len(rows) == 8
    full = rows + rows[6::-1] + ["." * 16]
    return "\n".join(full)

# ---------------------------------------------------------------- toolbar, 16 x 16

NEW = """
................
..kkkkkkkk......
..kwwwwwwkk.....
..kwwwwwwksk....
..kwwwwwwkssk...
..kwwwwwwkkkkk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kwwwwwwwwwwk..
..kkkkkkkkkkkk..
................
"""

SAVE = """
................
.kkkkkkkkkkkkkk.
.knwwwwwwwwwwnk.
.knwwwwwwwwwwnk.
.knwggggggggwnk.
.knwwwwwwwwwwnk.
.knwggggggggwnk.
.knwwwwwwwwwwnk.
.knnnnnnnnnnnnk.
.knnnnnnnnnnnnk.
.knnsssssssnnnk.
.knnssnnsssnnnk.
.knnssnnsssnnnk.
.knnssnnsssnnnk.
.kknsssssssnnnk.
..kkkkkkkkkkkkk.
"""

# The lens shows a plus sign, the look this button has always had.
ZOOM = """
................
....kkkkk.......
...kwwwwwk......
..kwwwwwwwk.....
.kwwwwkwwwwk....
.kwwwwkwwwwk....
.kwwkkkkkwwk....
.kwwwwkwwwwk....
.kwwwwkwwwwk....
..kwwwwwwwk.....
...kwwwwwkk.....
....kkkkkkkk....
..........kkk...
...........kkk..
............kkk.
.............kk.
"""

COLOURS = """
................
................
kkkkkkkkkkkkkkkk
krrrrkyyyykllllk
krrrrkyyyykllllk
krrrrkyyyykllllk
krrrrkyyyykllllk
kkkkkkkkkkkkkkkk
kcccckbbbbkmmmmk
kcccckbbbbkmmmmk
kcccckbbbbkmmmmk
kcccckbbbbkmmmmk
kkkkkkkkkkkkkkkk
................
................
................
"""

STOP = """
.....kkkkkk.....
....krrrrrrk....
...krrrrrrrrk...
..krrrrrrrrrrk..
.krrrrrrrrrrrrk.
krrrrrrrrrrrrrrk
kwwrwwwrwwwrwwwk
kwrrrwrrwrwrwrwk
kwwrrwrrwrwrwwwk
krwrrwrrwrwrwrrk
kwwrrwrrwwwrwrrk
.krrrrrrrrrrrrk.
..krrrrrrrrrrk..
...krrrrrrrrk...
....krrrrrrk....
.....kkkkkk.....
"""

GRID = """
dddddddddddddddd
dwwdwwdwwdwwdwwd
dwwdwwdwwdwwdwwd
dddddddddddddddd
dwwdwwdwwdwwdwwd
dwwdwwdwwdwwdwwd
dddddddddddddddd
dwwdwwdwwdwwdwwd
dwwdwwdwwdwwdwwd
dddddddddddddddd
dwwdwwdwwdwwdwwd
dwwdwwdwwdwwdwwd
dddddddddddddddd
dwwdwwdwwdwwdwwd
dwwdwwdwwdwwdwwd
dddddddddddddddd
"""

# Drawn as outlines directly: at 16 px a computed boundary is too ragged to read.
# Upper half only; the lower half mirrors it about row 7 (antenna and cusp on that row).
MANDELBROT_TOP = """
..........kk....
.........k..k...
.......kk....kk.
......k........k
......k........k
..kkk.k........k
.k...k........k.
kk...k.......k..
"""

# The "rabbit": a round body; at two opposite corners an ear and a bud meet it.
JULIA = """
................
................
.........k...kk.
........k.k.k..k
.........k..k..k
......kkkk.k.kk.
.....k....k.....
....k......k....
....k......k....
....k......k....
.....k....k.....
.kk.k.kkkk......
k..k..k.........
k..k.k.k........
.kk...k.........
................
"""

# The position button: the set in green with the red frame of the current view over it.
def position_icon():
    return framed(filled(mirrored(MANDELBROT_TOP), "G", "l"), 8, 1, 15, 7, "r")


# ---------------------------------------------------------------- window icon, 32 x 32, VGA colours

# The same model as orvane.svg: the main cardioid, a few bulbs and the antenna, in the
# complex plane. Escape-time colouring at 32 px swells the set into a blob, so the glow
# is drawn as bands of distance from the shape instead, like the SVG's stacked strokes.
SET_DISCS = [(-1.0, 0.0, 0.25), (-1.309, 0.0, 0.059), (-0.1225, 0.7449, 0.095), (-0.1225, -0.7449, 0.095),
             (0.282, 0.53, 0.044), (0.282, -0.53, 0.044), (-1.755, 0.0, 0.02)]
ANTENNA = (-1.93, -1.36)  # shortened so the SVG glow ends inside the tile
CARDIOID = [(math.cos(t) / 2 - math.cos(2 * t) / 4, math.sin(t) / 2 - math.sin(2 * t) / 4)
            for t in (2 * math.pi * k / 720 for k in range(720))]


def inside_cardioid(x, y):
    q = (x - 0.25) ** 2 + y * y
    return q * (q + (x - 0.25)) <= 0.25 * y * y


def distance_to_set(x, y):
    """0 inside the model set, else the distance to it in complex-plane units."""
    if inside_cardioid(x, y):
        return 0.0
    best = min(math.hypot(x - cx, y - cy) for cx, cy in CARDIOID)
    for cx, cy, r in SET_DISCS:
        best = min(best, max(0.0, math.hypot(x - cx, y - cy) - r))
    nearest_x = min(max(x, ANTENNA[0]), ANTENNA[1])
    return min(best, math.hypot(x - nearest_x, y))


def distance_to_edges(x, y):
    """Distance to the nearest piece of outline, inside or out, so the bulb keeps its own rim where it meets the cardioid."""
    best = min(math.hypot(x - cx, y - cy) for cx, cy in CARDIOID)
    for cx, cy, r in SET_DISCS:
        best = min(best, abs(math.hypot(x - cx, y - cy) - r))
    return best


def window_icon():
    size = 32
    scale = 11.85                 # pixels per unit, as in the SVG
    origin_x, origin_y = 24.9, 15.5  # the SVG centres on 16; a pixel row here keeps the antenna one pixel thick
    # distance in pixels -> colour, innermost first
    bands = [(0.0, "black"), (0.5, "white"), (1.3, "aqua"), (2.1, "teal"), (3.1, "blue")]
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            cx, cy = (x + 0.5 - origin_x) / scale, (origin_y - (y + 0.5)) / scale
            d = distance_to_set(cx, cy) * scale
            if d == 0.0 and distance_to_edges(cx, cy) * scale < 0.5:
                d = 0.25  # rim of a component drawn in the innermost glow colour
            name = "navy"
            for limit, colour in bands:
                if d <= limit:
                    name = colour
                    break
            row.append(hex_rgba(VGA[name]))
        pixels.append(row)
    # black rim, clipped corners
    for y in range(size):
        for x in range(size):
            if x in (0, size - 1) or y in (0, size - 1):
                pixels[y][x] = hex_rgba(VGA["black"])
    for y, x in ((0, 0), (0, size - 1), (size - 1, 0), (size - 1, size - 1)):
        pixels[y][x] = CLEAR
    for row in pixels:
        for p in row:
            assert p == CLEAR or "#%02X%02X%02X" % p[:3] in VGA.values()
    return pixels


# ---------------------------------------------------------------- status-bar picture, 32 x 32

def koch(points, depth):
    if depth == 0:
        return points
    out = []
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        dx, dy = (bx - ax) / 3, (by - ay) / 3
        p1 = (ax + dx, ay + dy)
        p3 = (ax + 2 * dx, ay + 2 * dy)
        # outward bump: rotate the middle third by -60 degrees
        cos60, sin60 = 0.5, -math.sqrt(3) / 2
        p2 = (p1[0] + dx * cos60 - dy * sin60, p1[1] + dx * sin60 + dy * cos60)
        out += [(ax, ay), p1, p2, p3]
    out.append(points[-1])
    return koch(out, depth - 1)


def hand_fractal():
    size, sub = 32, 4
    big = size * sub
    paper = (0xF6, 0xF1, 0xDE)
    ink = (0x2A, 0x35, 0x6E)
    cover = [[0.0] * big for _ in range(big)]
    # A seeded generator keeps the wobble identical on every run.
    rng = random.Random(1904)
    cx, cy, r = 16.0, 17.2, 12.6
    tri = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))) for a in (-90, 30, 150, -90)]
    path = koch(tri, 2)

    def stroke(pts, width, strength):
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            length = math.hypot(bx - ax, by - ay)
            steps = max(2, int(length * sub * 2))
            for i in range(steps + 1):
                t = i / steps
                px, py = (ax + (bx - ax) * t) * sub, (ay + (by - ay) * t) * sub
                rad = width * sub / 2
                for yy in range(int(py - rad) - 1, int(py + rad) + 2):
                    for xx in range(int(px - rad) - 1, int(px + rad) + 2):
                        if 0 <= yy < big and 0 <= xx < big and (xx + 0.5 - px) ** 2 + (yy + 0.5 - py) ** 2 <= rad * rad:
                            cover[yy][xx] = max(cover[yy][xx], strength)

    # two slightly different passes of a pencil, as a sketch would have
    for strength, wobble in ((1.0, 0.35), (0.55, 0.6)):
        pts = [(x + rng.uniform(-wobble, wobble), y + rng.uniform(-wobble, wobble)) for x, y in path]
        pts[-1] = pts[0]
        stroke(pts, 1.0, strength)

    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            a = sum(cover[y * sub + j][x * sub + i] for j in range(sub) for i in range(sub)) / (sub * sub)
            a = min(1.0, a * 1.25)
            row.append(tuple(round(p + (q - p) * a) for p, q in zip(paper, ink)) + (255,))
        pixels.append(row)
    return pixels

# ---------------------------------------------------------------- main

def main():
    write_png("toolbar_new.png", from_map(NEW))
    write_png("toolbar_save.png", from_map(SAVE))
    write_png("toolbar_zoom_out.png", from_map(ZOOM))
    write_png("toolbar_colours.png", from_map(COLOURS))
    write_png("toolbar_position.png", from_map(position_icon()))
    write_png("toolbar_stop.png", from_map(STOP))
    write_png("toolbar_mandelbrot.png", from_map(mirrored(MANDELBROT_TOP)))
    write_png("toolbar_julia.png", from_map(JULIA))
    write_png("toolbar_grid.png", from_map(GRID))
    write_png("orvane.png", window_icon())
    write_png("hand_fractal.png", hand_fractal())


if __name__ == "__main__":
    main()
