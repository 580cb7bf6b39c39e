#!/usr/bin/env python3
"""Draws the program's pictures (button glyphs, logo, tab pictures, settings
pictures, the phonebook type icons and the crop frame's handle) as BMP files:
24-bit, or 4-bit with the 16 colours of the standard palette for the pictures
that the program draws by name (PB_HOME, PB_COMPANY, PB_MOBILE, FRAME_RESIZE).

They are simple shapes drawn here rather than binary files kept in the tree,
so that every picture can be changed in one place and reviewed as text. Each
picture's lower-left pixel is its background colour, which the speed buttons
and images treat as transparent. A glyph NAME gets a grey variant NAMEGREY for
its disabled state (no "_" before the suffix: see gen_layouts.py on names).
"""
import math
import os
import struct
import sys

WHITE, BLACK, RED, GREEN, BLUE = (255, 255, 255), (0, 0, 0), (204, 0, 0), (0, 150, 0), (0, 70, 190)
ORANGE, GREY, YELLOW, NAVY = (255, 153, 0), (128, 128, 128), (255, 210, 0), (0, 0, 128)

# The standard 16-colour palette in its order; a 16-colour picture may use
# nothing else, and saving one with another colour is an error.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
             (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
             (255, 0, 255), (0, 255, 255), (255, 255, 255)]
MAROON, OLIVE, SILVER, PURE_RED, CYAN = (128, 0, 0), (128, 128, 0), (192, 192, 192), (255, 0, 0), (0, 255, 255)


class Canvas:
    def __init__(self, w, h, bg=WHITE, colours16=False):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]
        self.colours16 = colours16

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[int(y)][int(x)] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(int(y0), int(y1)):
            for x in range(int(x0), int(x1)):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c, t=1):
        self.rect(x0, y0, x1, y0 + t, c)
        self.rect(x0, y1 - t, x1, y1, c)
        self.rect(x0, y0, x0 + t, y1, c)
        self.rect(x1 - t, y0, x1, y1, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r), int(cy + r) + 1):
            for x in range(int(cx - r), int(cx + r) + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c, t=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            self.rect(x - t / 2, y - t / 2, x + t / 2 + 0.5, y + t / 2 + 0.5, c)

    def arc(self, cx, cy, r, a0, a1, c, t=2):
        for i in range(61):
            a = math.radians(a0 + (a1 - a0) * i / 60)
            self.rect(cx + r * math.cos(a) - t / 2, cy - r * math.sin(a) - t / 2,
                      cx + r * math.cos(a) + t / 2 + 0.5, cy - r * math.sin(a) + t / 2 + 0.5, c)

    def grey(self):
        g = Canvas(self.w, self.h)
        bg = self.px[self.h - 1][0]
        for y in range(self.h):
            for x in range(self.w):
                p = self.px[y][x]
                if p != bg:
                    v = 128 + sum(p) // 6
                    g.px[y][x] = (v, v, v)
        return g

    def save(self, path):
        if self.colours16:
            self.save16(path)
            return
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            data += line + bytes(row - len(line))
        head = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(head + info + data)

    def save16(self, path):
        row = ((self.w + 7) // 8) * 4
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray(row)
            for x, p in enumerate(self.px[y]):
                if p not in PALETTE16:
                    raise ValueError(f"{path}: colour {p} at {x}, {y} is not one of the 16")
                line[x // 2] |= PALETTE16.index(p) << (0 if x % 2 else 4)
            data += line
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
        off = 54 + len(table)
        head = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
        with open(path, "wb") as f:
            f.write(head + info + table + data)

    def save_icon(self, path):
        """One 32-bit image with an all-opaque mask: the program icon."""
        xor = bytearray()
        for y in range(self.h - 1, -1, -1):
            for r, g, b in self.px[y]:
                xor += bytes((b, g, r, 255))
        mask = bytes(((self.w + 31) // 32 * 4) * self.h)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        image = info + xor + mask
        head = struct.pack("<HHH", 0, 1, 1)
        entry = struct.pack("<BBBBHHII", self.w, self.h, 0, 0, 1, 32, len(image), 6 + 16)
        with open(path, "wb") as f:
            f.write(head + entry + image)


def phone(c, x, y, w, h, body=BLACK, screen=(150, 200, 255)):
    c.rect(x, y, x + w, y + h, body)
    c.rect(x + w * 0.15, y + h * 0.12, x + w * 0.85, y + h * 0.45, screen)
    for row in range(3):
        for col in range(3):
            c.rect(x + w * (0.2 + col * 0.22), y + h * (0.55 + row * 0.13),
                   x + w * (0.32 + col * 0.22), y + h * (0.63 + row * 0.13), WHITE)


def arrow(c, x0, y0, x1, y1, col, t=3):
    c.line(x0, y0, x1, y1, col, t)
    a = math.atan2(y1 - y0, x1 - x0)
    for d in (2.5, -2.5):
        c.line(x1, y1, x1 - 6 * math.cos(a + d / 3), y1 - 6 * math.sin(a + d / 3), col, t)


def tick(c, s, col=RED):
    c.line(s * 0.15, s * 0.55, s * 0.4, s * 0.8, col, max(2, s // 8))
    c.line(s * 0.4, s * 0.8, s * 0.85, s * 0.2, col, max(2, s // 8))


def cross(c, s, col=RED):
    c.line(s * 0.2, s * 0.2, s * 0.8, s * 0.8, col, max(2, s // 8))
    c.line(s * 0.8, s * 0.2, s * 0.2, s * 0.8, col, max(2, s // 8))


def sheet(c, s):
    c.rect(s * 0.2, s * 0.1, s * 0.8, s * 0.9, WHITE)
    c.frame(s * 0.2, s * 0.1, s * 0.8, s * 0.9, BLACK)
    for i in range(3):
        c.rect(s * 0.3, s * (0.35 + i * 0.15), s * 0.7, s * (0.35 + i * 0.15) + 1, GREY)


def picture_icon(c, x, y, s):
    c.rect(x, y, x + s, y + s * 0.8, (120, 180, 255))
    c.frame(x, y, x + s, y + s * 0.8, BLACK)
    c.disc(x + s * 0.3, y + s * 0.3, s * 0.12, YELLOW)
    for i in range(int(s * 0.5)):
        c.rect(x + s * 0.2 + i, y + s * 0.8 - i * 0.8, x + s * 0.2 + i + 1, y + s * 0.8 - 1, GREEN)


def glyph(name, size, draw):
    c = Canvas(size, size)
    draw(c, size)
    return c


def make_all():
    pics = {}

    def g(name, size, draw, disabled=True):
        pics[name] = glyph(name, size, draw)
        if disabled:
            pics[name + "GREY"] = pics[name].grey()

    g("GLYPH_PROGQV", 40, lambda c, s: (phone(c, 22, 2, 16, 36), arrow(c, 2, 20, 19, 20, GREEN, 4)), False)
    g("GLYPH_READQV", 40, lambda c, s: (phone(c, 2, 2, 16, 36), arrow(c, 21, 20, 38, 20, BLUE, 4)), False)
    g("GLYPH_EDIT", 32, lambda c, s: (sheet(c, s), c.line(10, 26, 28, 6, BLUE, 3)))
    g("GLYPH_ADD", 32, lambda c, s: (c.rect(13, 4, 19, 28, GREEN), c.rect(4, 13, 28, 19, GREEN)))
    g("GLYPH_DELETE", 32, cross)
    g("GLYPH_ASSIGN", 32, lambda c, s: (picture_icon(c, 2, 4, 20), arrow(c, 14, 26, 30, 26, GREEN, 3)))
    g("GLYPH_REMOVE", 32, lambda c, s: (picture_icon(c, 2, 4, 20), c.line(20, 20, 30, 30, RED, 3), c.line(30, 20, 20, 30, RED, 3)))
    g("GLYPH_ADDPIC", 24, lambda c, s: (picture_icon(c, 1, 2, 16), c.rect(17, 12, 20, 24, GREEN), c.rect(13, 16, 24, 19, GREEN)))
    g("GLYPH_DELPIC", 24, lambda c, s: (picture_icon(c, 1, 2, 16), c.line(14, 14, 23, 23, RED, 3), c.line(23, 14, 14, 23, RED, 3)))
    g("GLYPH_PIN", 16, lambda c, s: (c.rect(2, 4, 14, 12, (200, 170, 0)), c.frame(2, 4, 14, 12, BLACK), c.rect(4, 6, 8, 10, YELLOW)))
    g("GLYPH_CLOCK", 16, lambda c, s: (c.disc(8, 8, 7, BLACK), c.disc(8, 8, 5.5, WHITE), c.rect(7, 3, 9, 9, BLACK), c.rect(8, 7, 12, 9, BLACK)))
    g("GLYPH_MELODY", 32, lambda c, s: (c.disc(10, 24, 5, BLACK), c.disc(24, 21, 5, BLACK), c.rect(13, 5, 16, 24, BLACK), c.rect(27, 3, 30, 21, BLACK), c.line(14, 6, 28, 3, BLACK, 3)))
    g("GLYPH_CANCEL", 16, cross)
    g("GLYPH_OK", 16, tick)
    g("GLYPH_OPEN", 16, sheet)
    g("GLYPH_ROTATE", 16, lambda c, s: (c.arc(8, 8, 5, 160, -90, RED, 2), arrow(c, 5, 13, 8, 13, RED, 2)))
    g("GLYPH_PROGRAM", 16, lambda c, s: (phone(c, 9, 1, 6, 14), arrow(c, 0, 8, 8, 8, GREEN, 2)))

    logo = Canvas(350, 65, ORANGE)
    for i in range(5):
        logo.rect(0, 8 + i * 11, 350 - i * 40, 12 + i * 11, (255, 180 - i * 8, 60))
    phone(logo, 300, 4, 26, 57)
    pics["LOGO"] = logo

    tabs = Canvas(180, 38)
    phone(tabs, 18, 2, 16, 34)
    picture_icon(tabs, 36, 8, 20)
    phone(tabs, 82, 2, 16, 34, NAVY)
    for i in range(4):
        tabs.rect(104, 6 + i * 8, 116, 10 + i * 8, NAVY)
    tabs.disc(150, 19, 15, GREY)
    tabs.disc(150, 19, 7, WHITE)
    for a in range(0, 360, 45):
        tabs.rect(150 + 15 * math.cos(math.radians(a)) - 3, 19 + 15 * math.sin(math.radians(a)) - 3,
                  150 + 15 * math.cos(math.radians(a)) + 3, 19 + 15 * math.sin(math.radians(a)) + 3, GREY)
    pics["TABPICS"] = tabs

    for name, shift in (("PIC_SCROLL", True), ("PIC_SWITCHFONT", False)):
        c = Canvas(80, 24)
        c.rect(0, 0, 80, 24, (150, 200, 150))
        c.frame(0, 0, 80, 24, BLACK)
        if shift:
            for i in range(7):
                c.rect(4 + i * 10, 6, 11 + i * 10, 18, BLACK)
            arrow(c, 60, 21, 40, 21, RED, 2)
        else:
            for i in range(12):
                c.rect(4 + i * 6, 9, 8 + i * 6, 16, BLACK)
        pics[name] = c
    c = Canvas(64, 56)
    phone(c, 20, 2, 24, 52)
    c.rect(44, 4, 62, 18, YELLOW)
    c.frame(44, 4, 62, 18, BLACK)
    pics["PIC_ENHMODE"] = c
    c = Canvas(16, 16)
    c.rect(2, 5, 6, 11, BLACK)
    c.line(6, 5, 11, 1, BLACK, 2)
    c.line(6, 11, 11, 15, BLACK, 2)
    c.rect(10, 2, 12, 14, BLACK)
    pics["PIC_ACOUSTIC"] = c
    c = Canvas(16, 16)
    c.disc(8, 8, 6, RED)
    c.disc(6, 6, 2, (255, 160, 160))
    pics["PIC_OPTICAL"] = c
    c = Canvas(24, 32)
    phone(c, 6, 4, 12, 24)
    for x in (1, 21):
        c.line(x, 8, x + 2, 12, GREY, 1)
        c.line(x + 2, 12, x, 16, GREY, 1)
        c.line(x, 16, x + 2, 20, GREY, 1)
    pics["PIC_VIBRATION"] = c

    c = Canvas(42, 41, colours16=True)
    c.rect(8, 18, 34, 38, PURE_RED)
    for i in range(17):
        c.rect(21 - i, 2 + i, 21 + i + 1, 3 + i, MAROON)
    c.rect(18, 26, 25, 38, OLIVE)
    pics["PB_HOME"] = c
    c = Canvas(42, 41, colours16=True)
    c.rect(6, 6, 36, 39, GREY)
    for row in range(4):
        for col in range(3):
            c.rect(10 + col * 9, 10 + row * 7, 15 + col * 9, 14 + row * 7, CYAN)
    pics["PB_COMPANY"] = c
    c = Canvas(28, 54, colours16=True)
    phone(c, 3, 2, 22, 50, screen=CYAN)
    pics["PB_MOBILE"] = c
    # The crop frame's handle: a red square with a black arrow along its
    # diagonal from corner to corner, a head at each end.
    c = Canvas(16, 16, PURE_RED, colours16=True)
    for i in range(2, 13):
        c.dot(i, i, BLACK)
        c.dot(i + 1, i, BLACK)
    for tip, step in ((2, 1), (13, -1)):
        for j in range(6):
            c.dot(tip + step * j, tip, BLACK)
            c.dot(tip, tip + step * j, BLACK)
    pics["FRAME_RESIZE"] = c
    return pics


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, canvas in make_all().items():
        canvas.save(os.path.join(out, name + ".bmp"))
    icon = Canvas(32, 32, ORANGE)
    phone(icon, 9, 1, 14, 30)
    icon.save_icon(os.path.join(out, "MAINICON.ico"))


if __name__ == "__main__":
    main()
