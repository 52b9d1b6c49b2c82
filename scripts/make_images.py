#!/usr/bin/env python3
"""Draw Brisvane's resource images and write them into res/.

Written files (all drawn here, pixel by pixel, with the standard library only):

  res/brisvane.ico  program and tray icon: 16 colours, 32x32 and 16x16
  res/alert.ico     tray icon shown once a traffic limit is passed
  res/toolbar.bmp   16 colours, 48x15: three 16x15 buttons (settings, about,
                    history)
  res/hand.cur      monochrome 32x32 pointing hand, hot spot on the finger tip

The output is deterministic: running the script again gives the same bytes.
Usage: python3 scripts/make_images.py [output-directory]
"""

import os
import struct
import sys

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


def rounded_square(x0, y0, x1, y1, radius):
    """Cells of a rectangle whose corners are rounded off."""
    cells = set()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            # Distance into the corner region, measured from pixel centres.
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            dx, dy = x - cx, y - cy
            if dx * dx + dy * dy <= radius * radius + radius * 0.8:
                cells.add((x, y))
    return cells


def circle(cx, cy, r, width, height):
    """Cells of a filled disc; cx, cy may lie between pixels."""
    cells = set()
    for y in range(height):
        for x in range(width):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                cells.add((x, y))
    return cells


def arrow(cx, top, bottom, shaft_half, head_half, pointing_down):
    """Cells of a vertical arrow centred on column cx, running from row top
    to row bottom.  The head has 45 degree sides and ends in one pixel."""
    cells = set()
    length = bottom - top + 1
    for i in range(length):
        # i counts rows from the tip.
        y = bottom - i if pointing_down else top + i
        half = i if i <= head_half else shaft_half
        for x in range(cx - half, cx + half + 1):
            cells.add((x, y))
    return cells


# ---------------------------------------------------------------- drawings

def meter_icon(size, alert):
    """The network meter: download arrow (down) and upload arrow (up) on a
    dark rounded square; the alert variant has a red field, pale arrows and a
    yellow exclamation mark between them."""
    c = Canvas(size, size)
    if size == 32:
        body = rounded_square(1, 1, 30, 30, 5)
        c.shape(body, RED if alert else BLACK, DKRED if alert else DKGREY)
        if alert:
            c.shape(arrow(7, 5, 26, 1, 4, True), WHITE)
            c.shape(arrow(24, 5, 26, 1, 4, False), WHITE)
            bar = {(x, y) for x in range(13, 19) for y in range(3, 21)}
            dot = {(x, y) for x in range(13, 19) for y in range(22, 28)}
            c.shape(bar | dot, YELLOW, BLACK)
        else:
            c.shape(arrow(9, 5, 26, 2, 5, True), GREEN, DKGREEN)
            c.shape(arrow(22, 5, 26, 2, 5, False), CYAN, BLUE)
    else:
        body = rounded_square(0, 0, 15, 15, 3)
        c.shape(body, RED if alert else BLACK, DKRED if alert else DKGREY)
        if alert:
            c.shape(arrow(3, 2, 13, 0, 2, True), WHITE)
            c.shape(arrow(12, 2, 13, 0, 2, False), WHITE)
            bar = {(x, y) for x in range(6, 10) for y in range(1, 10)}
            dot = {(x, y) for x in range(6, 10) for y in range(10, 14)}
            c.shape(bar | dot, YELLOW, BLACK)
        else:
            c.shape(arrow(4, 2, 13, 1, 3, True), GREEN)
            c.shape(arrow(11, 2, 13, 1, 3, False), CYAN)
    return c


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


def toolbar():
    """Three 16x15 tool bar buttons on the button face colour."""
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


def _icon_dib(c):
    """BITMAPINFOHEADER, palette, colour bits and AND mask of one icon image."""
    xor = _rows_4bpp(c)
    mask = _rows_1bpp(c, lambda p: p is None)
    return (_info_header(c.width, c.height * 2, 4, len(xor) + len(mask), 0)
            + _rgbquads(PALETTE) + xor + mask)


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


def ico_file(images):
    # For icons the two words are colour planes (1) and bits per pixel (4).
    return _directory(1, [(c.width, c.height, 16, 1, 4, _icon_dib(c))
                          for c in images])


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


# ---------------------------------------------------------------- main

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    os.makedirs(out, exist_ok=True)
    cursor, hot = hand_cursor()
    files = {
        "brisvane.ico": ico_file([meter_icon(32, False),
                                  meter_icon(16, False)]),
        "alert.ico": ico_file([meter_icon(32, True), meter_icon(16, True)]),
        "toolbar.bmp": bmp_file(toolbar()),
        "hand.cur": cur_file(cursor, hot),
    }
    for name, data in files.items():
        path = os.path.join(out, name)
        with open(path, "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (os.path.normpath(path), len(data)))


if __name__ == "__main__":
    main()
