#!/usr/bin/env python3
"""Draws the installer's pictures: the logo (232 x 57, 8 bits per pixel), the
two 32 x 32 button glyphs, the program icon (32 x 32, 256 colours) and the
window's background (640 x 480, a pale phone on a white-to-pink ground).

Usage: draw_pictures.py OUT              the BMP and icon files, at build time
       draw_pictures.py --background F   the background as a binary PPM; it is
                                         kept in the tree as background.jpg,
                                         made by: convert F -quality 85 background.jpg

Shapes drawn here rather than binary files, so each picture is reviewed as
text; the Canvas is the desktop program's. A glyph's lower-left pixel is its
background, which the buttons leave out.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "desktop", "forms"))
from make_pictures import Canvas, phone, WHITE, BLACK, RED, ORANGE  # noqa: E402

GREY, DARK, BEIGE, BLUE = (192, 192, 192), (64, 64, 64), (250, 227, 180), (0, 70, 190)
MAGENTA = (255, 0, 255)


def save_8bit(canvas, path):
    """An 8-bit BMP with the canvas's own colours as its palette."""
    colours = sorted({p for row in canvas.px for p in row})
    assert len(colours) <= 256, path
    index = {c: i for i, c in enumerate(colours)}
    row = (canvas.w + 3) & ~3
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytes(index[p] for p in canvas.px[y])
        data += line + bytes(row - len(line))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours).ljust(1024, b"\0")
    offset = 14 + 40 + 1024
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(head + info + palette + data)


def save_icon_8bit(canvas, path):
    """One 256-colour image with an all-opaque mask."""
    colours = sorted({p for row in canvas.px for p in row})
    index = {c: i for i, c in enumerate(colours)}
    xor = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        xor += bytes(index[p] for p in canvas.px[y])
    mask = bytes(((canvas.w + 31) // 32 * 4) * canvas.h)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours).ljust(1024, b"\0")
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    image = info + palette + xor + mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", canvas.w, canvas.h, 0, 0, 1, 8, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + entry + image)


def logo():
    c = Canvas(232, 57, ORANGE)
    c.disc(28, 28, 24, BEIGE)
    phone(c, 19, 8, 18, 41, DARK)
    for i, x in enumerate(range(62, 226, 20)):
        c.rect(x, 18 + (i % 2) * 6, x + 14, 40 - (i % 2) * 6, BEIGE if i % 2 else WHITE)
    c.rect(62, 46, 226, 49, DARK)
    return c


def install_glyph():
    c = Canvas(32, 32, MAGENTA)
    c.rect(2, 4, 22, 19, GREY)          # the screen's case
    c.rect(4, 6, 20, 17, BLUE)          # the screen
    c.rect(9, 19, 15, 22, GREY)         # its foot
    c.rect(4, 22, 20, 25, GREY)
    c.rect(16, 14, 31, 30, ORANGE)      # the setup box
    c.frame(16, 14, 31, 30, DARK)
    c.rect(22, 14, 25, 30, RED)
    return c


def cancel_glyph():
    c = Canvas(32, 32, MAGENTA)
    c.disc(15.5, 15.5, 14, RED)
    c.rect(6, 13, 26, 19, WHITE)
    return c


def icon():
    c = Canvas(32, 32, WHITE)
    c.disc(15.5, 15.5, 15, ORANGE)
    c.line(9, 23, 20, 12, DARK, 4)       # the wrench's handle
    c.disc(21, 11, 5, DARK)              # its head, with the jaw cut out
    c.rect(21, 5, 27, 11, ORANGE)
    return c


def background():
    w, h = 640, 480
    c = Canvas(w, h, WHITE)
    for y in range(h):
        t = y / (h - 1)
        colour = (255, int(255 - 40 * t), int(255 - 30 * t))
        for x in range(w):
            c.px[y][x] = colour
    pale, screen = (236, 214, 222), (244, 232, 238)
    c.rect(420, 60, 560, 440, pale)
    c.rect(436, 90, 544, 230, screen)
    for row in range(4):
        for col in range(3):
            c.rect(440 + col * 36, 260 + row * 42, 468 + col * 36, 286 + row * 42, screen)
    return c


def main():
    if sys.argv[1] == "--background":
        c = background()
        with open(sys.argv[2], "wb") as f:
            f.write(b"P6 %d %d 255\n" % (c.w, c.h))
            f.write(b"".join(bytes(p) for row in c.px for p in row))
        return
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    save_8bit(logo(), os.path.join(out, "LOGO.bmp"))
    install_glyph().save(os.path.join(out, "GLYPH_INSTALL.bmp"))
    cancel_glyph().save(os.path.join(out, "GLYPH_CANCEL.bmp"))
    save_icon_8bit(icon(), os.path.join(out, "MAINICON.ico"))


if __name__ == "__main__":
    main()
