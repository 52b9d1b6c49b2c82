#!/usr/bin/env python3
"""Draw Brisvane's resource images and write them into res/.

Written files (all drawn here with the standard library only):

  res/brisvane.ico   program and tray icon, 32-bit with alpha at 16, 20, 24,
                     32, 48 and 256 pixels (256 stored as PNG, as Windows
                     keeps it)
  res/alert.ico      tray icon shown once a traffic limit is passed, the
                     same sizes
  res/brisvane-dark.ico, res/alert-dark.ico
                     the two for a dark taskbar: a light edge keeps the dark
                     body from melting into the taskbar
  res/toolbar16.bmp  tool bar buttons settings, about and history side by
  res/toolbar24.bmp  side, each N pixels square, 32-bit with alpha: one
  res/toolbar32.bmp  strip per size, for an image list at 100, 150 and 200 %
  res/toolbar.bmp    the older 16-colour strip, 48x15, three 16x15 buttons
  res/hand.cur       monochrome 32x32 pointing hand, hot spot on the finger

The output is deterministic: running the script again gives the same bytes.
Usage: python3 scripts/make_images.py [output-directory]
"""

import math
import os
import struct
import sys
import zlib

# The standard 16-colour VGA palette, in the order Windows uses.
PALETTE = [
    (0, 0, 0),        # 0 black
    (128, 0, 0),      # 1 dark red
    (0, 128, 0),      # 2 dark green
    (128, 128, 0),    # 3 olive
    (0, 0, 128),      # 4 navy
    (128, 0, 128),    # 5 purple
    (0, 128, 128),    # 6 teal
    (192, 192, 192),  # 7 light grey
    (128, 128, 128),  # 8 dark grey
    (255, 0, 0),      # 9 red
    (0, 255, 0),      # 10 green
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 magenta
    (0, 255, 255),    # 14 cyan
    (255, 255, 255),  # 15 white
]

BLACK, DKRED, DKGREEN, OLIVE, NAVY, PURPLE, TEAL, LTGREY = range(8)
DKGREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

# None marks a transparent pixel (icons and cursors only).
CLEAR = None


# ---------------------------------------------------------------- canvas

class Canvas:
    """A small grid of palette indices; row 0 is the top row."""

    def __init__(self, width, height, fill=CLEAR):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def set(self, x, y, colour):
        if self.inside(x, y):
            self.px[y][x] = colour

    def get(self, x, y):
        return self.px[y][x] if self.inside(x, y) else CLEAR

    def rect(self, x0, y0, x1, y1, colour):
        """Fill the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def shape(self, cells, fill, edge=None):
        """Paint a set of (x, y) cells; with edge, cells on the border of
        the set (a side neighbour outside it) get the edge colour."""
        for (x, y) in cells:
            colour = fill
            if edge is not None:
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    if (x + dx, y + dy) not in cells:
                        colour = edge
                        break
            self.set(x, y, colour)

    def pixmap(self, x0, y0, rows, colours):
        """Copy a hand-written pixel map; characters not in colours are
        left alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.set(x0 + dx, y0 + dy, colours[ch])


def circle(cx, cy, r, width, height):
    """Cells of a filled disc; cx, cy may lie between pixels."""
    cells = set()
    for y in range(height):
        for x in range(width):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                cells.add((x, y))
    return cells


# ---------------------------------------------------------------- 16-colour drawings

GEAR = [
    "......###.......",
    "..##..#o#..##...",
    "..#o###o###o#...",
    "...#ooooooo#....",
    "..#ooo###ooo#...",
    "###oo#...#oo###.",
    "#ooo#.....#ooo#.",
    "#ooo#.....#ooo#.",
    "#ooo#.....#ooo#.",
    "###oo#...#oo###.",
    "..#ooo###ooo#...",
    "...#ooooooo#....",
    "..#o###o###o#...",
    "..##..#o#..##...",
    "......###.......",
]


def legacy_toolbar():
    """Three 16x15 tool bar buttons on the button face colour, for the
    16-colour strip that a tool bar maps onto its own colours."""
    c = Canvas(48, 15, LTGREY)
    # Button 0: settings, a gear.
    c.pixmap(0, 0, GEAR, {"#": BLACK, "o": DKGREY})
    # Button 1: about, a white "i" on a blue disc.
    disc = circle(7.5, 7, 7.1, 16, 15)
    c.shape({(x + 16, y) for (x, y) in disc}, BLUE, NAVY)
    c.rect(16 + 7, 2, 16 + 8, 3, WHITE)       # dot
    c.rect(16 + 7, 5, 16 + 8, 11, WHITE)      # stem
    c.set(16 + 6, 5, WHITE)                   # top serif
    c.rect(16 + 6, 11, 16 + 9, 11, WHITE)     # foot
    # Button 2: history, a bar chart on a base line: pairs of green (in) and
    # cyan (out) bars.
    left = 32
    c.rect(left + 1, 13, left + 14, 13, BLACK)
    for x, tall_in, tall_out in ((2, 5, 3), (6, 9, 6), (10, 11, 8)):
        c.rect(left + x, 13 - tall_in, left + x + 1, 12, DKGREEN)
        c.rect(left + x + 2, 13 - tall_out, left + x + 2, 12, TEAL)
    return c


# X = black outline, o = white, blank = transparent.
HAND = [
    "     XX           ",
    "    XooX          ",
    "    XooX          ",
    "    XooX          ",
    "    XooX          ",
    "    XooXXX        ",
    "    XooXooXXX     ",
    "    XooXooXooXXX  ",
    "    XooXooXooXooX ",
    "    XooXooXooXooX ",
    " XX XooXooXooXooX ",
    "XooXXooooooooooooX",
    "XoooXooooooooooooX",
    " XooXooooooooooooX",
    " XoooooooooooooooX",
    "  XooooooooooooooX",
    "  XoooooooooooooX ",
    "   XooooooooooooX ",
    "   XoooooooooooX  ",
    "    XooooooooooX  ",
    "    XooooooooooX  ",
    "    XXXXXXXXXXXX  ",
]


def hand_cursor():
    """Pointing hand, index finger up; returns the canvas (0 black,
    15 white, CLEAR transparent) and the hot spot."""
    c = Canvas(32, 32)
    left, top = 6, 1
    c.pixmap(left, top, HAND, {"X": BLACK, "o": WHITE})
    # The hot spot is the finger tip: the first pixel of the top row.
    hot = (left + HAND[0].index("X"), top)
    return c, hot


# ---------------------------------------------------------------- writers

def _pad4(data):
    return data + b"\0" * (-len(data) % 4)


def _rgbquads(palette):
    return b"".join(struct.pack("<4B", b, g, r, 0) for (r, g, b) in palette)


def _rows_4bpp(c):
    """Colour bits, bottom row first, each row padded to 4 bytes."""
    out = []
    for y in range(c.height - 1, -1, -1):
        row = [p if p is not None else 0 for p in c.px[y]]
        if len(row) % 2:
            row.append(0)
        out.append(_pad4(bytes((row[i] << 4) | row[i + 1]
                               for i in range(0, len(row), 2))))
    return b"".join(out)


def _rows_1bpp(c, bit):
    """One bit per pixel from bit(pixel), bottom row first, rows padded to
    4 bytes."""
    out = []
    for y in range(c.height - 1, -1, -1):
        data = bytearray((c.width + 7) // 8)
        for x, p in enumerate(c.px[y]):
            if bit(p):
                data[x // 8] |= 0x80 >> (x % 8)
        out.append(_pad4(bytes(data)))
    return b"".join(out)


def _info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       image_size, 0, 0, colours, 0)


def _cursor_dib(c):
    """Monochrome cursor image: XOR bit set for white, AND bit set where
    transparent."""
    xor = _rows_1bpp(c, lambda p: p == WHITE)
    mask = _rows_1bpp(c, lambda p: p is None)
    return (_info_header(c.width, c.height * 2, 1, len(xor) + len(mask), 0)
            + _rgbquads([(0, 0, 0), (255, 255, 255)]) + xor + mask)


def _directory(kind, entries):
    """ICO (kind 1) or CUR (kind 2) file from (width, height, colours,
    field4, field6, dib) entries."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    table, blobs = b"", b""
    for (w, h, colours, f4, f6, dib) in entries:
        table += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0,
                             f4, f6, len(dib), offset)
        blobs += dib
        offset += len(dib)
    return head + table + blobs


def cur_file(c, hot):
    # For cursors the two words are the hot spot.
    return _directory(2, [(c.width, c.height, 2, hot[0], hot[1],
                           _cursor_dib(c))])


def bmp_file(c):
    bits = _rows_4bpp(c)
    offset = 14 + 40 + 4 * 16
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + _info_header(c.width, c.height, 4, len(bits), 16)
            + _rgbquads(PALETTE) + bits)


# ---------------------------------------------------------------- full colour

# The sizes Windows asks for: small icons at 100, 125 and 150 % (16, 20, 24),
# large icons (32, 48) and the 256 pixel image of Explorer's large views.
ICON_SIZES = (16, 20, 24, 32, 48, 256)
# Tool bar buttons at 100, 150 and 200 %.
TOOLBAR_SIZES = (16, 24, 32)


def snap(v):
    """Round half up: Python's round() goes to even, which would shift some
    sizes' shapes by a pixel against the others."""
    return int(math.floor(v + 0.5))


class Image:
    """Straight-colour RGBA image kept premultiplied while drawing; row 0 is
    the top row.  Shapes are signed distance functions (negative inside),
    painted with coverage from the distance at each pixel centre, which
    keeps edges that lie on pixel boundaries sharp and smooths the others."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * width for _ in range(height)]

    def paint(self, distance, colour, box, shrink=0.0):
        """Paint colour(x, y) -> (r, g, b) wherever distance(x, y) < -shrink,
        within box (x0, y0, x1, y1) in pixels."""
        x0, y0, x1, y1 = box
        for y in range(max(0, int(y0) - 1), min(self.height, int(y1) + 2)):
            row = self.px[y]
            for x in range(max(0, int(x0) - 1), min(self.width, int(x1) + 2)):
                px, py = x + 0.5, y + 0.5
                cover = 0.5 - (distance(px, py) + shrink)
                if cover <= 0.0:
                    continue
                a = min(cover, 1.0)
                r, g, b = colour(px, py)
                dr, dg, db, da = row[x]
                row[x] = (r * a + dr * (1 - a), g * a + dg * (1 - a),
                          b * a + db * (1 - a), a + da * (1 - a))

    def outlined(self, distance, fill, edge, width, box):
        """A shape in the edge colour with its inside, width pixels in, in
        the fill colour."""
        self.paint(distance, edge, box)
        self.paint(distance, fill, box, width)

    def bgra_rows(self):
        """Straight 8-bit (b, g, r, a) tuples per row, top row first."""
        rows = []
        for row in self.px:
            out = []
            for (r, g, b, a) in row:
                if a <= 0.0:
                    out.append((0, 0, 0, 0))
                    continue
                alpha = min(255, snap(a * 255))
                out.append(tuple(min(255, max(0, snap(c / a))) for c in (b, g, r))
                           + (alpha,))
            rows.append(out)
        return rows


def solid(rgb):
    return lambda x, y: rgb


def vertical(top, bottom, y0, y1):
    """A gradient from the top colour at row y0 to the bottom one at y1."""
    def colour(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(max(1e-9, y1 - y0))))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def rounded_box(x0, y0, x1, y1, radius):
    """Distance to a rectangle with edges x0..x1, y0..y1 and round corners."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def polygon(points):
    """Distance to a closed polygon given by its corners."""
    n = len(points)

    def distance(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -best if inside else best
    return distance


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def cut(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def bounds(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (min(xs), min(ys), max(xs), max(ys))


def arrow_points(left, shaft, head, top, bottom, down):
    """Corners of a vertical arrow: a shaft of the given width whose left
    edge is at left, a head of width head with 45 degree sides, from row
    edge top to bottom; the tip is at bottom when down."""
    centre = left + shaft / 2.0
    half = head / 2.0
    tip = bottom if down else top
    base = tip - half if down else tip + half
    tail = top if down else bottom
    return [(left, tail), (left + shaft, tail), (left + shaft, base),
            (centre + half, base), (centre, tip), (centre - half, base),
            (left, base)]


# Colours: (red, green, blue).
BODY_TOP, BODY_BOTTOM, BODY_EDGE = (74, 78, 86), (14, 15, 18), (128, 132, 140)
ALERT_TOP, ALERT_BOTTOM, ALERT_EDGE = (246, 72, 58), (196, 18, 18), (122, 0, 0)
IN_TOP, IN_BOTTOM, IN_EDGE = (120, 255, 110), (20, 190, 40), (0, 96, 0)
OUT_TOP, OUT_BOTTOM, OUT_EDGE = (150, 245, 255), (0, 190, 235), (0, 50, 190)
WHITE_RGB, PALE_WHITE = (255, 255, 255), (236, 236, 236)
MARK_TOP, MARK_BOTTOM, MARK_EDGE = (255, 246, 120), (255, 200, 0), (0, 0, 0)
# The edges on a dark taskbar: 3:1 and more against its near-black.
DARK_BODY_EDGE, DARK_ALERT_EDGE = (214, 218, 224), (255, 196, 188)


def meter_image(n, alert, dark_taskbar=False):
    """The network meter at n pixels: a dark rounded square with a green
    download arrow (down) and a cyan upload arrow (up); the alert variant
    has a red field, white arrows and a yellow exclamation mark between
    them.  For a dark taskbar the field's edge is light.  Sizes follow a
    32 pixel design, with widths and edges rounded to whole pixels so that
    the small images stay sharp."""
    img = Image(n, n)
    u = n / 32.0
    edge = max(1, snap(u))
    inset = n // 32
    body = rounded_box(inset, inset, n - inset, n - inset, max(2.0, 5.5 * u))
    box = (inset, inset, n - inset, n - inset)
    if alert:
        img.outlined(body, vertical(ALERT_TOP, ALERT_BOTTOM, inset, n - inset),
                     solid(DARK_ALERT_EDGE if dark_taskbar else ALERT_EDGE), edge, box)
    else:
        img.outlined(body, vertical(BODY_TOP, BODY_BOTTOM, inset, n - inset),
                     solid(DARK_BODY_EDGE if dark_taskbar else BODY_EDGE), edge, box)
    top, bottom = snap(5 * u), n - snap(5 * u)
    if alert:
        shaft = max(1, snap(3 * u))
        head = shaft + 2 * max(2, snap(3 * u))
        left = snap(7.5 * u - shaft / 2.0)
        down = arrow_points(left, shaft, head, top, bottom, True)
        up = arrow_points(n - left - shaft, shaft, head, top, bottom, False)
        for points in (down, up):
            img.paint(polygon(points), solid(PALE_WHITE), bounds(points))
        # The mark: a bar and a dot, black edged.
        width = 2 * max(1, snap(3 * u))
        x0, x1 = n // 2 - width // 2, n // 2 + width // 2
        bar = rounded_box(x0, snap(3 * u), x1, snap(21.5 * u), 1.2 * u)
        dot = rounded_box(x0, snap(22.5 * u), x1, snap(28.5 * u), 1.2 * u)
        mark = union(bar, dot)
        img.outlined(mark, vertical(MARK_TOP, MARK_BOTTOM, 3 * u, 28.5 * u),
                     solid(MARK_EDGE), edge, (x0, 0, x1, n))
    else:
        shaft = max(3, snap(5 * u))
        head = shaft + 2 * max(2, snap(3 * u))
        left = snap(9.5 * u - shaft / 2.0)
        down = arrow_points(left, shaft, head, top, bottom, True)
        up = arrow_points(n - left - shaft, shaft, head, top, bottom, False)
        arrow_edge = edge
        for points, colours in ((down, (IN_TOP, IN_BOTTOM, IN_EDGE)),
                                (up, (OUT_TOP, OUT_BOTTOM, OUT_EDGE))):
            fill = vertical(colours[0], colours[1], top, bottom)
            if n < 32:
                # Too small for an edge: the arrows stand on the dark field.
                img.paint(polygon(points), fill, bounds(points))
            else:
                img.outlined(polygon(points), fill, solid(colours[2]), arrow_edge,
                             bounds(points))
    return img


GEAR_TOP, GEAR_BOTTOM, GEAR_EDGE = (200, 204, 210), (112, 116, 124), (40, 40, 44)
INFO_TOP, INFO_BOTTOM, INFO_EDGE = (90, 150, 250), (10, 60, 200), (0, 30, 120)
BAR_IN, BAR_OUT, BASE_LINE = (32, 160, 48), (0, 150, 170), (30, 30, 30)


def gear_button(img, x0, n):
    """Settings: a grey gear with eight teeth and a hole.  At 16 pixels the
    teeth would blur, so that size keeps the hand-set pixels of the
    16-colour strip, in the new colours."""
    u = n / 16.0
    if n == 16:
        fill = vertical(GEAR_TOP, GEAR_BOTTOM, 0, n)
        for y, row in enumerate(GEAR):
            for x, ch in enumerate(row):
                if ch in "#o":
                    colour = GEAR_EDGE if ch == "#" else fill(x, y + 0.5)
                    img.px[y][x0 + x] = tuple(c for c in colour) + (1.0,)
        return
    cx, cy = x0 + n / 2.0, n / 2.0
    teeth = []
    for k in range(8):
        angle = k * math.pi / 4
        c, s = math.cos(angle), math.sin(angle)
        half_w, inner, outer = 1.6 * u, 4.0 * u, 7.6 * u
        corners = [(-half_w, inner), (half_w, inner), (half_w, outer), (-half_w, outer)]
        teeth.append(polygon([(cx + px * c - py * s, cy + px * s + py * c)
                              for (px, py) in corners]))
    gear = cut(union(disc(cx, cy, 5.4 * u), *teeth), disc(cx, cy, 2.4 * u))
    img.outlined(gear, vertical(GEAR_TOP, GEAR_BOTTOM, 0, n), solid(GEAR_EDGE), 1,
                 (x0, 0, x0 + n, n))


def info_button(img, x0, n):
    """About: a white "i" on a blue disc."""
    u = n / 16.0
    cx = x0 + n / 2.0
    img.outlined(disc(cx, n / 2.0, 7.5 * u), vertical(INFO_TOP, INFO_BOTTOM, 0, n),
                 solid(INFO_EDGE), 1, (x0, 0, x0 + n, n))
    stem = max(2, 2 * snap(u))
    left = x0 + n // 2 - stem // 2
    dot = rounded_box(left, snap(2.5 * u), left + stem, snap(2.5 * u) + stem, 0.4 * u)
    body = polygon([(left - snap(u), snap(5.5 * u)), (left + stem, snap(5.5 * u)),
                    (left + stem, snap(11.5 * u)), (left + stem + snap(u), snap(11.5 * u)),
                    (left + stem + snap(u), snap(12.5 * u)), (left - snap(u), snap(12.5 * u)),
                    (left - snap(u), snap(11.5 * u)), (left, snap(11.5 * u)),
                    (left, snap(6.5 * u)), (left - snap(u), snap(6.5 * u))])
    img.paint(union(dot, body), solid(WHITE_RGB), (x0, 0, x0 + n, n))


def history_button(img, x0, n):
    """History: pairs of green (in) and teal (out) bars on a base line."""
    u = n / 16.0
    base = snap(14 * u)
    line = max(1, snap(u))
    img.paint(rounded_box(x0 + snap(u), base - line, x0 + snap(15 * u), base, 0.01),
              solid(BASE_LINE), (x0, 0, x0 + n, n))
    for x, tall_in, tall_out in ((2, 5, 3), (6, 9, 6), (10, 12, 8)):
        left = x0 + snap(x * u)
        mid = x0 + snap((x + 2) * u)
        right = x0 + snap((x + 3) * u)
        bottom = base - line
        for (a, b, tall, rgb) in ((left, mid, tall_in, BAR_IN),
                                  (mid, right, tall_out, BAR_OUT)):
            top = bottom - snap(tall * u)
            light = tuple(c + (255 - c) * 0.35 for c in rgb)
            img.paint(rounded_box(a, top, b, bottom, 0.01), vertical(light, rgb, top, bottom),
                      (a, top, b, bottom))


def toolbar_image(n):
    """The three buttons, settings, about and history, side by side, each
    n pixels square, on a transparent ground."""
    img = Image(3 * n, n)
    gear_button(img, 0, n)
    info_button(img, n, n)
    history_button(img, 2 * n, n)
    return img


def _png(img):
    """An 8-bit RGBA PNG of the image, as Windows keeps its 256 pixel icons."""
    raw = b"".join(b"\0" + bytes(v for (b, g, r, a) in row for v in (r, g, b, a))
                   for row in img.bgra_rows())

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", img.width, img.height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def _bgra_bottom_up(img):
    return b"".join(bytes(v for px in row for v in px)
                    for row in reversed(img.bgra_rows()))


def _icon_dib32(img):
    """A 32-bit icon image: colour with alpha, then an AND mask that is set
    where the image is fully transparent, for programs that ignore alpha."""
    rows = img.bgra_rows()
    colour = _bgra_bottom_up(img)
    mask = []
    for row in reversed(rows):
        data = bytearray((img.width + 7) // 8)
        for x, px in enumerate(row):
            if px[3] == 0:
                data[x // 8] |= 0x80 >> (x % 8)
        mask.append(_pad4(bytes(data)))
    mask = b"".join(mask)
    return (_info_header(img.width, img.height * 2, 32, len(colour) + len(mask), 0)
            + colour + mask)


def ico32_file(images):
    # Icon directory words: one colour plane, 32 bits per pixel. 256 pixels
    # is stored as PNG and written as 0 in the size bytes.
    return _directory(1, [(img.width, img.height, 0, 1, 32,
                           _png(img) if img.width >= 256 else _icon_dib32(img))
                          for img in images])


def bmp32_file(img):
    """A 32-bit bitmap with straight alpha, bottom row first."""
    bits = _bgra_bottom_up(img)
    offset = 14 + 40
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + _info_header(img.width, img.height, 32, len(bits), 0) + bits)


# ---------------------------------------------------------------- main

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    os.makedirs(out, exist_ok=True)
    cursor, hot = hand_cursor()
    largest_first = sorted(ICON_SIZES, reverse=True)
    files = {
        "brisvane.ico": ico32_file([meter_image(n, False) for n in largest_first]),
        "alert.ico": ico32_file([meter_image(n, True) for n in largest_first]),
        "brisvane-dark.ico": ico32_file([meter_image(n, False, True) for n in largest_first]),
        "alert-dark.ico": ico32_file([meter_image(n, True, True) for n in largest_first]),
        "toolbar.bmp": bmp_file(legacy_toolbar()),
        "hand.cur": cur_file(cursor, hot),
    }
    for n in TOOLBAR_SIZES:
        files["toolbar%d.bmp" % n] = bmp32_file(toolbar_image(n))
    for name, data in files.items():
        # A complete new file, then one replace: an interrupted run leaves
        # the old image whole.
        path = os.path.join(out, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)
        print("wrote %s (%d bytes)" % (os.path.normpath(path), len(data)))


if __name__ == "__main__":
    main()
