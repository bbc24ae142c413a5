#!/usr/bin/env python3
"""Draws the program's artwork into res/<id>_<name>.png.

Run from anywhere:  python3 res/draw.py
Needs only Python 3 (PNG written with zlib). Every image is 8-bit RGB without alpha;
0xFF00FF marks transparent pixels in the keyed images. The hit rectangles the program
tests are listed below next to what is drawn on them, and checked before writing.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)

# ---------------------------------------------------------------- palette
INK = (18, 24, 32)
SLATE = (34, 46, 60)
SLATE_HI = (56, 74, 94)
STEEL = (92, 112, 132)
MIST = (200, 210, 218)
WHITE = (246, 248, 250)
AMBER = (244, 172, 40)
AMBER_DK = (150, 96, 10)
TEAL = (38, 150, 156)
TEAL_DK = (18, 88, 94)
GREEN = (48, 168, 84)
GREEN_DK = (22, 96, 44)
BLUE = (52, 112, 214)
BLUE_DK = (24, 56, 128)
RED = (206, 62, 50)
RED_DK = (120, 28, 22)
PARCH = (232, 224, 200)
PARCH_DK = (196, 184, 150)


# ---------------------------------------------------------------- PNG output
def write_png(img, path):
    raw = bytearray()
    for row in img.px:
        raw.append(0)
        for c in row:
            raw.extend(c)
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", img.w, img.h, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# ---------------------------------------------------------------- raster
def blend(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Img:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, right and bottom exclusive."""
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def vgrad(self, x0, y0, x1, y1, c0, c1):
        for y in range(max(0, y0), min(self.h, y1)):
            t = (y - y0) / max(1, y1 - y0 - 1)
            self.rect(x0, y, x1, y + 1, blend(c0, c1, t))

    def coverage(self, pred, x, y, ss=4):
        n = 0
        for j in range(ss):
            for i in range(ss):
                if pred(x + (i + 0.5) / ss, y + (j + 0.5) / ss):
                    n += 1
        return n / (ss * ss)

    def cover(self, pred, bbox, c, aa=True):
        """Paints pred in colour c. Edges blend over opaque pixels; over the key they are
        cut at half coverage so no pink fringes appear."""
        x0, y0, x1, y1 = bbox
        for y in range(max(0, int(y0)), min(self.h, int(y1) + 1)):
            for x in range(max(0, int(x0)), min(self.w, int(x1) + 1)):
                t = self.coverage(pred, x, y)
                if t <= 0:
                    continue
                under = self.px[y][x]
                if under == KEY or not aa:
                    if t >= 0.5:
                        self.px[y][x] = c
                else:
                    self.px[y][x] = blend(under, c, t)

    def mask(self, pred, bbox):
        x0, y0, x1, y1 = bbox
        m = set()
        for y in range(max(0, int(y0)), min(self.h, int(y1) + 1)):
            for x in range(max(0, int(x0)), min(self.w, int(x1) + 1)):
                if self.coverage(pred, x, y) >= 0.35:
                    m.add((x, y))
        return m

    def outline(self, pixels, c, clip=None):
        """Draws a one-pixel ring of colour c around a set of pixels (8-neighbours)."""
        ring = set()
        for (x, y) in pixels:
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    ring.add((x + dx, y + dy))
        for (x, y) in ring - pixels:
            if clip is None or (clip[0] <= x < clip[2] and clip[1] <= y < clip[3]):
                self.set(x, y, c)

    def glyph(self, parts, bbox, edge=INK, clip=None):
        """Pictogram: the union of the parts outlined in edge, then each part painted."""
        pixels = set()
        for pred, _ in parts:
            pixels |= self.mask(pred, bbox)
        self.outline(pixels, edge, clip)
        for (x, y) in pixels:
            if self.px[y][x] == KEY:
                self.px[y][x] = edge
        for pred, c in parts:
            self.cover(pred, bbox, c)


# ---------------------------------------------------------------- shapes (predicates)
def P_rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def P_rrect(x0, y0, x1, y1, r):
    def f(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return f


def P_circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def P_ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def P_poly(pts):
    def f(x, y):
        inside = False
        n = len(pts)
        for i in range(n):
            xa, ya = pts[i]
            xb, yb = pts[(i + 1) % n]
            if (ya > y) != (yb > y):
                xi = xa + (y - ya) * (xb - xa) / (yb - ya)
                if x < xi:
                    inside = not inside
        return inside
    return f


def P_seg(xa, ya, xb, yb, w):
    def f(x, y):
        dx, dy = xb - xa, yb - ya
        L = dx * dx + dy * dy
        t = 0 if L == 0 else max(0, min(1, ((x - xa) * dx + (y - ya) * dy) / L))
        px, py = xa + t * dx, ya + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return f


def P_or(*ps):
    return lambda x, y: any(p(x, y) for p in ps)


def P_minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---------------------------------------------------------------- pixel font (5 x 7)
FONT_ROWS = {
    "A": ".###.|#...#|#...#|#####|#...#|#...#|#...#",
    "B": "####.|#...#|#...#|####.|#...#|#...#|####.",
    "C": ".###.|#...#|#....|#....|#....|#...#|.###.",
    "D": "####.|#...#|#...#|#...#|#...#|#...#|####.",
    "E": "#####|#....|#....|####.|#....|#....|#####",
    "F": "#####|#....|#....|####.|#....|#....|#....",
    "G": ".###.|#...#|#....|#.###|#...#|#...#|.####",
    "H": "#...#|#...#|#...#|#####|#...#|#...#|#...#",
    "I": ".###.|..#..|..#..|..#..|..#..|..#..|.###.",
    "J": "..###|...#.|...#.|...#.|...#.|#..#.|.##..",
    "K": "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#",
    "L": "#....|#....|#....|#....|#....|#....|#####",
    "M": "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#",
    "N": "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#",
    "O": ".###.|#...#|#...#|#...#|#...#|#...#|.###.",
    "P": "####.|#...#|#...#|####.|#....|#....|#....",
    "Q": ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#",
    "R": "####.|#...#|#...#|####.|#.#..|#..#.|#...#",
    "S": ".####|#....|#....|.###.|....#|....#|####.",
    "T": "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    "U": "#...#|#...#|#...#|#...#|#...#|#...#|.###.",
    "V": "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..",
    "W": "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#.",
    "X": "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    "Y": "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    "Z": "#####|....#|...#.|..#..|.#...|#....|#####",
    "0": ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.",
    "1": "..#..|.##..|..#..|..#..|..#..|..#..|.###.",
    "2": ".###.|#...#|....#|...#.|..#..|.#...|#####",
    "3": "####.|....#|....#|.###.|....#|....#|####.",
    "4": "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.",
    "5": "#####|#....|####.|....#|....#|#...#|.###.",
    "6": "..##.|.#...|#....|####.|#...#|#...#|.###.",
    "7": "#####|....#|...#.|..#..|.#...|.#...|.#...",
    "8": ".###.|#...#|#...#|.###.|#...#|#...#|.###.",
    "9": ".###.|#...#|#...#|.####|....#|...#.|.##..",
    "+": ".....|..#..|..#..|#####|..#..|..#..|.....",
    "-": ".....|.....|.....|.###.|.....|.....|.....",
    ",": ".....|.....|.....|.....|..##.|..##.|.#...",
    ".": ".....|.....|.....|.....|.....|.....|..#..",
    ":": ".....|..#..|.....|.....|.....|..#..|.....",
    "?": ".###.|#...#|....#|...#.|..#..|.....|..#..",
    "/": "....#|...#.|...#.|..#..|.#...|.#...|#....",
    " ": ".....|.....|.....|.....|.....|.....|.....",
}
FONT = {ch: [row for row in rows.split("|")] for ch, rows in FONT_ROWS.items()}


def text_width(s, scale=1):
    return len(s) * 6 * scale - scale if s else 0


def text_pixels(s, x, y, scale=1):
    pts = set()
    for i, ch in enumerate(s):
        rows = FONT[ch]
        for r, row in enumerate(rows):
            for c, bit in enumerate(row):
                if bit == "#":
                    for sy in range(scale):
                        for sx in range(scale):
                            pts.add((x + (i * 6 + c) * scale + sx, y + r * scale + sy))
    return pts


def draw_text(img, s, x, y, c, scale=1, edge=None):
    pts = text_pixels(s, x, y, scale)
    if edge is not None:
        img.outline(pts, edge)
    for (px, py) in pts:
        img.set(px, py, c)


def draw_text_centred(img, s, cx, y, c, scale=1, edge=None):
    draw_text(img, s, cx - text_width(s, scale) // 2, y, c, scale, edge)


# ---------------------------------------------------------------- shared pieces
def bevel_button(img, r, face, dark, label=None, label_colour=WHITE, radius=3):
    """A raised button filling the hit rectangle r = (left, top, right, bottom)."""
    x0, y0, x1, y1 = r
    img.cover(P_rrect(x0, y0, x1, y1, radius), (x0, y0, x1, y1), dark)
    img.cover(P_rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1), (x0, y0, x1, y1), face)
    hi = blend(face, WHITE, 0.45)
    img.cover(P_rrect(x0 + 2, y0 + 1, x1 - 2, y0 + 2, 0.5), (x0, y0, x1, y0 + 2), hi)
    if label:
        h = y1 - y0
        draw_text_centred(img, label, (x0 + x1) // 2, y0 + (h - 7) // 2, label_colour, 1, dark)


def arrow_button(img, r, face, dark, direction):
    bevel_button(img, r, face, dark)
    x0, y0, x1, y1 = r
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    s = min(x1 - x0, y1 - y0) * 0.28
    tri = {
        "up": [(cx - s, cy + s * 0.6), (cx + s, cy + s * 0.6), (cx, cy - s * 0.8)],
        "down": [(cx - s, cy - s * 0.6), (cx + s, cy - s * 0.6), (cx, cy + s * 0.8)],
        "left": [(cx + s * 0.6, cy - s), (cx + s * 0.6, cy + s), (cx - s * 0.8, cy)],
        "right": [(cx - s * 0.6, cy - s), (cx - s * 0.6, cy + s), (cx + s * 0.8, cy)],
    }[direction]
    img.cover(P_poly(tri), r, WHITE)


def inset(img, r, face, edge_dark, edge_light):
    x0, y0, x1, y1 = r
    img.rect(x0, y0, x1, y1, face)
    img.rect(x0 - 1, y0 - 1, x1 + 1, y0, edge_dark)
    img.rect(x0 - 1, y0 - 1, x0, y1 + 1, edge_dark)
    img.rect(x0 - 1, y1, x1 + 1, y1 + 1, edge_light)
    img.rect(x1, y0 - 1, x1 + 1, y1 + 1, edge_light)


def panel_body(img):
    """Rounded dark panel filling the whole image (opaque screens)."""
    img.rect(0, 0, img.w, img.h, INK)
    img.vgrad(1, 1, img.w - 1, img.h - 1, SLATE_HI, SLATE)
    img.frame(0, 0, img.w, img.h, INK)
    img.frame(1, 1, img.w - 1, img.h - 1, STEEL)


def person(cx, cy, s):
    """A person: head and shoulders, s is the overall height."""
    head = P_circle(cx, cy - s * 0.28, s * 0.2)
    body = P_minus(P_circle(cx, cy + s * 0.45, s * 0.42), P_rect(-99, cy + s * 0.5, 99, 999))
    return P_or(head, body)


# ---------------------------------------------------------------- 101 window icon
def icon_101():
    img = Img(32, 32, INK)
    img.cover(P_rrect(0, 0, 32, 32, 6), (0, 0, 32, 32), TEAL_DK)
    img.cover(P_rrect(1, 1, 31, 31, 5), (0, 0, 32, 32), TEAL)
    # folded map
    img.cover(P_poly([(5, 9), (12, 6), (19, 9), (27, 6), (27, 25), (19, 28), (12, 25), (5, 28)]),
              (0, 0, 32, 32), PARCH)
    img.cover(P_seg(12, 6, 12, 25, 1.2), (0, 0, 32, 32), PARCH_DK)
    img.cover(P_seg(19, 9, 19, 28, 1.2), (0, 0, 32, 32), PARCH_DK)
    # pin
    pin = P_or(P_circle(16, 12, 5.5), P_poly([(11.4, 14), (20.6, 14), (16, 23)]))
    img.cover(pin, (0, 0, 32, 32), RED_DK)
    img.cover(P_or(P_circle(16, 12, 4.5), P_poly([(12.3, 14), (19.7, 14), (16, 21.5)])),
              (0, 0, 32, 32), RED)
    img.cover(P_circle(16, 12, 1.8), (0, 0, 32, 32), WHITE)
    # corners outside the rounded square take the window's own dark colour
    return img


# ---------------------------------------------------------------- 102 user marker
def user_marker_102():
    img = Img(41, 41)
    c = 20.5
    b = (0, 0, 41, 41)
    img.cover(P_circle(c, c, 20.0), b, INK)
    img.cover(P_circle(c, c, 18.8), b, WHITE)
    img.cover(P_circle(c, c, 16.8), b, BLUE_DK)
    img.cover(P_circle(c, c, 15.6), b, BLUE)
    img.cover(person(c, c + 1, 22), b, WHITE)
    # direction ticks on the ring, so the centre reads as a point on the map
    for (x0, y0, x1, y1) in ((c, 0.5, c, 4), (c, 37, c, 40.5), (0.5, c, 4, c), (37, c, 40.5, c)):
        img.cover(P_seg(x0, y0, x1, y1, 2), b, INK)
    return img


# ---------------------------------------------------------------- 104 button background
def button_104():
    img = Img(25, 25)
    b = (0, 0, 25, 25)
    img.cover(P_rrect(0, 0, 25, 25, 4), b, INK)
    img.cover(P_rrect(1, 1, 24, 24, 3), b, SLATE_HI)
    img.cover(P_rrect(2, 2, 23, 13, 2), b, blend(SLATE_HI, STEEL, 0.6))
    return img


# ---------------------------------------------------------------- 105 exit glyph
def door_with_arrow(x0, y0, w, h):
    """Exit: a door frame on the left, an arrow leaving it to the right."""
    door = P_minus(P_rect(x0, y0, x0 + w * 0.5, y0 + h), P_rect(x0 + w * 0.13, y0 + h * 0.14,
                                                              x0 + w * 0.5, y0 + h * 0.86))
    shaft = P_rect(x0 + w * 0.3, y0 + h * 0.42, x0 + w * 0.72, y0 + h * 0.58)
    head = P_poly([(x0 + w * 0.64, y0 + h * 0.2), (x0 + w, y0 + h * 0.5), (x0 + w * 0.64, y0 + h * 0.8)])
    return P_or(door, shaft, head)


def exit_105():
    img = Img(15, 13)
    img.glyph([(door_with_arrow(1, 1, 13, 11), WHITE)], (0, 0, 15, 13))
    return img


# ---------------------------------------------------------------- 108 region markers
def markers_108():
    img = Img(33, 165)
    labels = ["1", "2", "3", "4", "5+"]
    for k, label in enumerate(labels):
        oy = 33 * k
        b = (0, oy, 33, oy + 33)
        c = 16.5
        img.cover(P_circle(c, oy + c, 15.6), b, INK)
        img.cover(P_circle(c, oy + c, 14.4), b, WHITE)
        img.cover(P_circle(c, oy + c, 12.6), b, AMBER_DK)
        img.cover(P_circle(c, oy + c, 11.6), b, AMBER)
        if label == "5+":
            draw_text(img, "5", 7, oy + 10, INK, 2)
            draw_text(img, "+", 19, oy + 13, INK, 1)
        else:
            draw_text_centred(img, label, 17, oy + 10, INK, 2)
    return img


# ---------------------------------------------------------------- 109 state badges
def badges_109():
    img = Img(16, 42)
    # row 0: available now (green circle with a play triangle)
    b = (0, 0, 13, 13)
    img.cover(P_circle(6.5, 6.5, 6.4), b, GREEN_DK)
    img.cover(P_circle(6.5, 6.5, 5.3), b, GREEN)
    img.cover(P_poly([(4.6, 3.4), (4.6, 9.6), (9.8, 6.5)]), b, WHITE)
    # row 13: viewed by this user (blue square with a tick)
    b = (0, 13, 13, 26)
    img.cover(P_rrect(0, 13, 13, 26, 2), b, BLUE_DK)
    img.cover(P_rrect(1, 14, 12, 25, 1.5), b, BLUE)
    img.cover(P_or(P_seg(3, 19.5, 5.5, 22, 1.8), P_seg(5.5, 22, 10, 16.5, 1.8)), b, WHITE)
    # row 26: related to the chosen content (amber diamond with two linked rings)
    b = (0, 26, 13, 39)
    img.cover(P_poly([(6.5, 26), (13, 32.5), (6.5, 39), (0, 32.5)]), b, AMBER_DK)
    img.cover(P_poly([(6.5, 27.4), (11.6, 32.5), (6.5, 37.6), (1.4, 32.5)]), b, AMBER)
    img.cover(P_or(P_ring(5.2, 32.5, 1.3, 2.4), P_ring(7.8, 32.5, 1.3, 2.4)), b, INK)
    return img


# ---------------------------------------------------------------- 110 page background
PAGE_CLOSE = (71, 291, 164, 305)
PAGE_PREV = (43, 288, 63, 308)
PAGE_NEXT = (178, 288, 198, 308)
PAGE_CELLS = (11, 46, 229, 266)


def page_110():
    img = Img(240, 320)
    panel_body(img)
    # title band: the program writes the user's name and clock centred at y 30
    img.rect(2, 22, 238, 43, INK)
    img.rect(2, 43, 238, 44, AMBER)
    draw_text_centred(img, "VIEWED", 120, 8, AMBER, 2, INK)
    # the icon area
    x0, y0, x1, y1 = PAGE_CELLS
    inset(img, (x0, y0, x1, y1), PARCH, INK, STEEL)
    for y in range(y0, y1, 4):
        for x in range(x0 + (y // 4) % 2 * 2, x1, 4):
            img.set(x, y, blend(PARCH, PARCH_DK, 0.5))
    # footer band: "Page n of m" is written centred at y 275
    img.rect(2, 270, 238, 287, INK)
    arrow_button(img, PAGE_PREV, STEEL, INK, "left")
    arrow_button(img, PAGE_NEXT, STEEL, INK, "right")
    bevel_button(img, PAGE_CLOSE, RED, RED_DK, "CLOSE")
    draw_text_centred(img, "TAP AN ICON TO PLAY IT AGAIN", 120, 311, MIST)
    return img


# ---------------------------------------------------------------- 111 new-user screen
NAME_BOX = (65, 38, 244, 48)
KEYS_ORIGIN = (10, 61)
KEY_W, KEY_H = 22, 29
KEY_ROWS = ["QWERTYUIOP", "ASDFGHJKL\b", "ZXCVBNM \x0e\b"]  # \x0e: the page key
NEW_CONFIRM = (11, 160, 98, 174)
NEW_CANCEL = (143, 160, 230, 174)
KEYBOARD = (10, 61, 230, 148)


def backspace_glyph(cx, cy):
    body = P_poly([(cx - 7, cy), (cx - 3, cy - 4.5), (cx + 7, cy - 4.5), (cx + 7, cy + 4.5),
                   (cx - 3, cy + 4.5)])
    cross = P_or(P_seg(cx - 0.5, cy - 2.2, cx + 4, cy + 2.2, 1.4),
                 P_seg(cx - 0.5, cy + 2.2, cx + 4, cy - 2.2, 1.4))
    return body, cross


def new_user_111():
    img = Img(240, 185)
    panel_body(img)
    draw_text_centred(img, "NEW USER", 120, 6, AMBER, 2, INK)
    draw_text_centred(img, "TYPE A NAME, THEN ADD USER", 120, 25, MIST)
    draw_text(img, "NAME", 30, 41, WHITE, 1, INK)
    # name box: the program writes the typed name at (70, 40) in a 10-pixel line, so the
    # field is drawn a little taller than the box to hold it; it runs to the right edge
    x0, y0, x1, y1 = NAME_BOX
    y0, y1 = y0 - 3, y1 + 4
    img.rect(x0 - 1, y0 - 1, 240, y1 + 1, INK)
    img.rect(x0, y0, 240, y1, (14, 20, 28))
    img.rect(x0, y1, 240, y1 + 1, STEEL)
    img.rect(x0 - 1, y1, x0, y1 + 1, STEEL)
    # keyboard plate
    kx0, ky0, kx1, ky1 = KEYBOARD
    img.rect(kx0 - 3, ky0 - 3, kx1 + 3, ky1 + 3, INK)
    img.rect(kx0 - 2, ky0 - 2, kx1 + 2, ky1 + 2, (26, 36, 48))
    ox, oy = KEYS_ORIGIN
    for r, row in enumerate(KEY_ROWS):
        c = 0
        while c < 10:
            ch = row[c]
            span = 1
            while ch == "\b" and c + span < 10 and row[c + span] == "\b":
                span += 1  # neighbouring delete keys do the same: one wide key
            kr = (ox + c * KEY_W + 1, oy + r * KEY_H + 1, ox + (c + span) * KEY_W - 1,
                  oy + (r + 1) * KEY_H - 1)
            cx = (kr[0] + kr[2]) // 2
            if ch == "\b":
                bevel_button(img, kr, RED, RED_DK)
                body, cross = backspace_glyph(cx, kr[1] + 10.5)
                img.cover(body, kr, WHITE)
                img.cover(cross, kr, RED)
                draw_text_centred(img, "DEL", cx + 1, kr[1] + 18, WHITE)
            elif ch == "\x0e":
                # the program writes the name of the page it turns to on this key
                bevel_button(img, kr, STEEL, INK)
            elif ch == " ":
                bevel_button(img, kr, STEEL, INK)
                img.cover(P_or(P_rect(kr[0] + 4, kr[1] + 12, kr[2] - 4, kr[1] + 14),
                               P_rect(kr[0] + 4, kr[1] + 8, kr[0] + 6, kr[1] + 14),
                               P_rect(kr[2] - 6, kr[1] + 8, kr[2] - 4, kr[1] + 14)), kr, WHITE)
                draw_text_centred(img, "SPC", cx, kr[1] + 17, WHITE)
            else:
                bevel_button(img, kr, (214, 222, 230), STEEL)
                draw_text_centred(img, ch, cx + 1, kr[1] + 7, INK, 2)
            c += span
    bevel_button(img, NEW_CONFIRM, GREEN, GREEN_DK, "ADD USER")
    bevel_button(img, NEW_CANCEL, STEEL, INK, "CANCEL")
    return img


# ---------------------------------------------------------------- 112 user selection screen
LIST_BOX = (21, 30, 198, 280)
SCROLL_UP = (199, 30, 219, 50)
SCROLL_TRACK = (199, 51, 219, 259)
SCROLL_DOWN = (199, 260, 219, 280)
LIST_CONFIRM = (11, 295, 98, 309)
LIST_NEW = (143, 295, 230, 309)


def user_list_112():
    img = Img(240, 320)
    panel_body(img)
    draw_text_centred(img, "CHOOSE USER", 120, 8, AMBER, 2, INK)
    x0, y0, x1, y1 = LIST_BOX
    img.rect(x0 - 1, y0 - 1, SCROLL_DOWN[2] + 1, y1 + 1, INK)
    for i in range(25):  # 25 rows of 10 pixels, as the names are written
        top = y0 + i * 10
        img.rect(x0, top, x1, top + 10, (44, 62, 80) if i % 2 == 0 else (38, 54, 70))
    img.rect(x1, y0, SCROLL_UP[0], y1, INK)
    arrow_button(img, SCROLL_UP, STEEL, INK, "up")
    arrow_button(img, SCROLL_DOWN, STEEL, INK, "down")
    tx0, ty0, tx1, ty1 = SCROLL_TRACK
    img.rect(tx0, ty0 - 1, tx1, ty1 + 1, INK)
    img.rect(tx0, ty0, tx1, ty1, (168, 180, 190))
    img.rect(tx0 + 9, ty0 + 3, tx0 + 11, ty1 - 3, (140, 152, 164))
    draw_text_centred(img, "TAP A NAME, THEN SELECT", 120, 285, MIST)
    bevel_button(img, LIST_CONFIRM, GREEN, GREEN_DK, "SELECT")
    bevel_button(img, LIST_NEW, AMBER, AMBER_DK, "NEW USER", INK)
    return img


# ---------------------------------------------------------------- 114 / 115 menu panel
def cell_rect(col, row):
    return (30 * col + 2, 30 * row + 3, 30 * col + 27, 30 * row + 28)


def menu_background_115():
    img = Img(240, 61)
    img.cover(P_rrect(0, -6, 240, 61, 6), (0, 0, 240, 61), INK)
    img.cover(P_rrect(1, -6, 239, 60, 5), (0, 0, 240, 61), SLATE)
    img.rect(1, 31, 239, 32, INK)
    for row in range(2):
        for col in range(8):
            x0, y0, x1, y1 = cell_rect(col, row)
            accent = AMBER_DK if row == 0 else TEAL_DK
            img.cover(P_rrect(x0, y0, x1, y1, 3), (x0, y0, x1, y1), INK)
            img.cover(P_rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 2), (x0, y0, x1, y1),
                      blend(SLATE_HI, accent, 0.35))
            img.rect(x0 + 3, y0 + 1, x1 - 3, y0 + 2, blend(SLATE_HI, WHITE, 0.25))
    return img


def menu_glyph(col, row):
    """Pictogram parts for menu cell (col, row) in cell-local coordinates (0..25)."""
    W, A, T, R, G, B = WHITE, AMBER, TEAL, RED, GREEN, BLUE
    if row == 0:
        if col == 0:  # move user: a person with a four-way arrow
            arrows = P_or(P_seg(15, 12.5, 23, 12.5, 1.6), P_seg(19, 8.5, 19, 16.5, 1.6),
                          P_poly([(23.8, 12.5), (21, 10), (21, 15)]),
                          P_poly([(19, 7.5), (16.5, 10.2), (21.5, 10.2)]),
                          P_poly([(19, 17.5), (16.5, 14.8), (21.5, 14.8)]))
            return [(person(9, 12, 16), W), (arrows, A)]
        if col == 1:  # edit: a pencil
            body = P_poly([(6, 16), (16, 6), (19, 9), (9, 19)])
            tip = P_poly([(6, 16), (9, 19), (4.5, 20.5)])
            cap = P_poly([(16, 6), (18, 4), (21, 7), (19, 9)])
            return [(body, A), (tip, W), (cap, R)]
        if col == 2:  # relationships: three linked nodes
            links = P_or(P_seg(6.5, 17.5, 12.5, 7, 1.6), P_seg(12.5, 7, 18.5, 17.5, 1.6),
                         P_seg(6.5, 17.5, 18.5, 17.5, 1.6))
            nodes = P_or(P_circle(6.5, 17.5, 3.2), P_circle(12.5, 7, 3.2), P_circle(18.5, 17.5, 3.2))
            return [(links, W), (nodes, A)]
        if col == 3:  # calibrate: crosshair
            ring = P_ring(12.5, 12.5, 5.2, 7)
            hair = P_or(P_rect(11.7, 3, 13.3, 9), P_rect(11.7, 16, 13.3, 22),
                        P_rect(3, 11.7, 9, 13.3), P_rect(16, 11.7, 22, 13.3))
            return [(P_or(ring, hair), W), (P_circle(12.5, 12.5, 1.4), R)]
        if col == 4:  # show coordinates: a pin with "XY"
            pin = P_or(P_circle(7.5, 8, 4), P_poly([(4.2, 10), (10.8, 10), (7.5, 16)]))
            return [(pin, R), (P_circle(7.5, 8, 1.5), W)]
        if col == 5:  # follow GPS: navigation arrow
            return [(P_poly([(19.5, 5.5), (12, 20), (11, 14), (5, 12.5)]), T)]
        if col == 6:  # users: two people
            return [(person(15.5, 11, 14), T), (person(9.5, 13, 16), W)]
        if col == 7:  # save and quit
            return [(door_with_arrow(4, 6, 17, 13), W)]
    else:
        if col == 0:  # map: folded map
            sheet = P_poly([(4, 7), (9.5, 5), (15, 7), (21, 5), (21, 18), (15, 20), (9.5, 18), (4, 20)])
            road = P_or(P_seg(6, 16, 11, 11, 1.3), P_seg(11, 11, 19, 12, 1.3))
            return [(sheet, (232, 224, 200)), (road, R)]
        if col == 1:  # overview: small map in a corner of the screen
            outer = P_minus(P_rect(3, 4, 22, 21), P_rect(4.5, 5.5, 20.5, 19.5))
            mini = P_rect(12, 12, 20, 18)
            return [(outer, W), (mini, T), (P_rect(14, 14, 17, 16), W)]
        if col == 2:  # user marker on/off
            return [(P_ring(12.5, 12.5, 7, 9), W), (person(12.5, 13, 12), B)]
        if col == 3:  # region areas: a square area with a dot
            area = P_rect(4.5, 4.5, 20.5, 20.5)
            return [(area, (120, 150, 230)), (P_circle(12.5, 12.5, 2), W)]
        if col == 4:  # region markers: a numbered marker
            return [(P_circle(12.5, 12.5, 8.5), A)]
        if col == 5:  # content icons: a picture with its shadow
            pic = P_rect(4, 5, 19, 17)
            shadow = P_or(P_rect(19, 7, 21, 19), P_rect(6, 17, 21, 19))
            hill = P_poly([(5, 16), (10, 10), (13, 13), (15, 11), (18, 16)])
            return [(shadow, (30, 30, 30)), (pic, (150, 200, 235)), (hill, G),
                    (P_circle(15.5, 8, 1.6), A)]
        if col == 6:  # GPS status: a satellite
            body = P_poly([(12.5, 8.5), (16.5, 12.5), (12.5, 16.5), (8.5, 12.5)])
            wings = P_or(P_poly([(4, 12), (8, 8), (10, 10), (6, 14)]),
                         P_poly([(15, 15), (17, 17), (21, 13), (19, 11)]))
            waves = P_or(P_ring(18, 18, 2.5, 3.5), P_ring(18, 18, 5, 6))
            waves = P_minus(waves, P_or(P_rect(-9, -9, 18, 99), P_rect(-9, -9, 99, 18)))
            return [(wings, T), (body, W), (waves, A)]
        if col == 7:  # close the menu: chevron up under a bar
            bar = P_rect(5, 6, 20, 8.5)
            chev = P_or(P_seg(6.5, 17.5, 12.5, 11.5, 2.6), P_seg(12.5, 11.5, 18.5, 17.5, 2.6))
            return [(bar, W), (chev, W)]
    return []


def menu_icons_114():
    img = Img(240, 61)
    for row in range(2):
        for col in range(8):
            x0, y0, x1, y1 = cell_rect(col, row)
            parts = [((lambda p, ox, oy: (lambda x, y: p(x - ox, y - oy)))(p, x0, y0), c)
                     for p, c in menu_glyph(col, row)]
            img.glyph(parts, (x0, y0, x1 - 1, y1 - 1), INK, (x0, y0, x1, y1))
            if (col, row) == (4, 0):
                draw_text(img, "XY", x0 + 11, y0 + 15, WHITE, 1, INK)
            if (col, row) == (4, 1):
                draw_text_centred(img, "3", x0 + 13, y0 + 9, INK)
    return img


# ---------------------------------------------------------------- checks and output
def inside(r, w, h):
    return 0 <= r[0] < r[2] <= w and 0 <= r[1] < r[3] <= h


def check_layout():
    for r in (PAGE_CLOSE, PAGE_PREV, PAGE_NEXT, PAGE_CELLS):
        assert inside(r, 240, 320), r
    for r in (NEW_CONFIRM, NEW_CANCEL, KEYBOARD):
        assert inside(r, 240, 185), r
    assert KEYBOARD == (KEYS_ORIGIN[0], KEYS_ORIGIN[1], KEYS_ORIGIN[0] + 10 * KEY_W,
                        KEYS_ORIGIN[1] + 3 * KEY_H)
    for r in (LIST_BOX, SCROLL_UP, SCROLL_TRACK, SCROLL_DOWN, LIST_CONFIRM, LIST_NEW):
        assert inside(r, 240, 320), r
    assert LIST_BOX[3] - LIST_BOX[1] == 25 * 10
    cells = {cell_rect(c, r) for c in range(8) for r in range(2)}
    assert len(cells) == 16 and all(inside(r, 240, 61) for r in cells)


IMAGES = [
    (101, "app_icon", icon_101, None),
    (102, "user_icon", user_marker_102, (41, 41)),
    (104, "button_background", button_104, (25, 25)),
    (105, "exit_glyph", exit_105, (15, 13)),
    (108, "region_marker", markers_108, (33, 165)),
    (109, "badge_strip", badges_109, (16, 42)),
    (110, "page_background", page_110, (240, 320)),
    (111, "name_entry", new_user_111, (240, 185)),
    (112, "user_list", user_list_112, (240, 320)),
    (114, "menu_icons", menu_icons_114, (240, 61)),
    (115, "menu_background", menu_background_115, (240, 61)),
]


def main():
    check_layout()
    for rid, name, draw, size in IMAGES:
        img = draw()
        if size is not None:
            assert (img.w, img.h) == size, (rid, img.w, img.h)
        if rid in (101, 110, 111, 112):
            assert all(c != KEY for row in img.px for c in row), rid
        write_png(img, os.path.join(HERE, "%d_%s.png" % (rid, name)))


if __name__ == "__main__":
    main()
