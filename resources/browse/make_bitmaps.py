#!/usr/bin/env python3
"""Draws the 16 x 16 menu pictures of the file browsing widgets as 24-bit BMPs.

Standard library only. Run from anywhere; the BMPs are written beside this file,
and again for the larger DPI steps (120, 144 and 192 DPI: 20, 24 and 32 pixels)
in dpi120/, dpi144/ and dpi192/, with browse_dpi.rc naming those (the 96-DPI
id + step * IDB_BROWSE_DPI_STEP). Each design pixel becomes a block of the
larger picture. The light grey background becomes the menu colour when loaded
(LR_LOADMAP3DCOLORS).
"""
import os
import re
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
STEP_DPI = (96, 120, 144, 192)

BG = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
YELLOW = (255, 206, 66)
DARK_YELLOW = (176, 128, 0)
BLUE = (0, 64, 192)
RED = (200, 0, 0)
GREEN = (0, 140, 0)
GREY = (128, 128, 128)


class Pic:
    def __init__(self):
        self.px = [[BG] * 16 for _ in range(16)]

    def dot(self, x, y, c):
        if 0 <= x < 16 and 0 <= y < 16:
            self.px[y][x] = c

    def scaled(self, size):
        """The picture at size x size: design pixel (x, y) covers the pixels
        from x * size // 16 up to (x + 1) * size // 16."""
        return [[self.px[y * 16 // size][x * 16 // size] for x in range(size)] for y in range(size)]

    def rect(self, x0, y0, x1, y1, fill, edge=BLACK):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.dot(x, y, edge if border and edge else fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def folder(self, x=1, y=4):
        self.rect(x, y, x + 5, y + 2, YELLOW, DARK_YELLOW)
        self.rect(x, y + 2, x + 13, y + 10, YELLOW, DARK_YELLOW)

    def page(self, x0, y0, x1, y1):
        self.rect(x0, y0, x1, y1, WHITE)
        for y in range(y0 + 2, y1 - 1, 2):
            self.line(x0 + 2, y, x1 - 2, y, GREY)

    def save(self, name, size=16, folder=HERE):
        stride = (size * 3 + 3) & ~3
        rows = b""
        for row in reversed(self.scaled(size)):  # bottom-up
            line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
            rows += line + bytes(stride - len(line))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name + ".bmp"), "wb") as f:
            f.write(header + info + rows)


def plus(p, x, y, c=GREEN):
    p.line(x - 2, y, x + 2, y, c)
    p.line(x, y - 2, x, y + 2, c)


def cross(p, x, y, c=RED):
    p.line(x - 2, y - 2, x + 2, y + 2, c)
    p.line(x - 2, y + 2, x + 2, y - 2, c)


def draw_all():
    pics = {}
    p = Pic(); p.folder(); plus(p, 12, 3); pics["newfolder"] = p
    p = Pic(); p.folder(); p.line(5, 12, 13, 4, BLUE); p.line(6, 12, 14, 4, BLUE); pics["editfolder"] = p
    p = Pic(); p.folder(); cross(p, 12, 3); pics["delfolder"] = p
    p = Pic()
    for c in ((4, 12), (11, 12)):
        p.rect(c[0] - 2, c[1] - 2, c[0] + 2, c[1] + 2, BG, BLACK)
    p.line(5, 10, 10, 1, GREY); p.line(10, 10, 5, 1, GREY); pics["cut"] = p
    p = Pic(); p.page(1, 1, 9, 11); p.page(6, 4, 14, 14); pics["copy"] = p
    p = Pic(); p.rect(2, 2, 12, 14, DARK_YELLOW); p.rect(5, 1, 9, 3, GREY); p.page(6, 6, 14, 15); pics["paste"] = p
    p = Pic(); p.folder(); p.rect(9, 8, 11, 14, BLUE); p.rect(12, 5, 14, 14, RED); p.rect(6, 11, 8, 14, GREEN)
    pics["treesize"] = p
    p = Pic(); p.page(3, 1, 12, 14); pics["dircontents"] = p
    p = Pic(); p.rect(1, 3, 9, 9, GREY); p.line(5, 10, 5, 13, BLACK); p.line(5, 13, 14, 13, BLACK)
    p.rect(11, 10, 14, 14, GREEN); pics["netconnect"] = p
    p = Pic(); p.rect(1, 3, 9, 9, GREY); p.line(5, 10, 5, 13, BLACK); p.line(5, 13, 8, 13, BLACK)
    cross(p, 12, 12); pics["netdisconnect"] = p
    p = Pic(); p.page(2, 1, 12, 14); p.rect(9, 9, 14, 14, BLUE); pics["attributes"] = p
    p = Pic(); p.folder(1, 5); p.line(3, 15, 14, 7, DARK_YELLOW); p.line(8, 1, 12, 1, BLUE); p.line(12, 1, 12, 5, BLUE)
    pics["open"] = p
    p = Pic(); p.page(1, 1, 10, 13)
    p.rect(8, 7, 12, 11, WHITE, BLUE); p.line(12, 11, 15, 14, BLUE); pics["view"] = p
    p = Pic(); p.page(1, 2, 8, 13); p.line(9, 7, 15, 7, GREEN); p.line(12, 4, 15, 7, GREEN); p.line(12, 10, 15, 7, GREEN)
    pics["sendto"] = p
    p = Pic(); p.rect(1, 5, 14, 10, WHITE); p.line(4, 3, 4, 12, BLACK); p.line(3, 3, 5, 3, BLACK); p.line(3, 12, 5, 12, BLACK)
    pics["rename"] = p
    p = Pic(); p.page(2, 1, 11, 14); cross(p, 12, 11); cross(p, 12, 12); pics["delete"] = p
    p = Pic(); p.folder(); p.line(6, 9, 12, 9, GREEN); p.line(10, 7, 12, 9, GREEN); p.line(10, 11, 12, 9, GREEN)
    pics["anyfolder"] = p
    p = Pic(); p.rect(2, 2, 13, 15, DARK_YELLOW); p.rect(5, 1, 10, 3, GREY); p.rect(4, 5, 11, 13, WHITE); pics["clipboard"] = p
    p = Pic(); p.rect(1, 2, 14, 11, BLUE); p.rect(6, 12, 9, 13, GREY, None); p.rect(3, 14, 12, 14, GREY, None)
    p.rect(3, 4, 5, 6, WHITE, None); pics["desktop"] = p
    p = Pic(); p.line(2, 8, 6, 12, GREEN); p.line(6, 12, 13, 3, GREEN); p.line(2, 9, 6, 13, GREEN); p.line(6, 13, 13, 4, GREEN)
    pics["ok"] = p
    return pics


def write_rc(names):
    with open(os.path.join(HERE, "browse_resources.h")) as f:
        ids = dict(re.findall(r"^#define (IDB_BROWSE_\w+) (\d+)", f.read(), re.M))
    lines = ["// The menu pictures for 120, 144 and 192 DPI. Written by make_bitmaps.py:",
             "// the 96-DPI picture's id (browse_resources.h) + step * IDB_BROWSE_DPI_STEP."]
    for step, dpi in enumerate(STEP_DPI[1:], start=1):
        for name in names:
            macro = "IDB_BROWSE_" + name.upper()
            number = int(ids[macro]) + step * int(ids["IDB_BROWSE_DPI_STEP"])
            lines.append(f'{number} BITMAP "browse/dpi{dpi}/browse_{name}.bmp"  // {macro}, step {step}')
    with open(os.path.join(HERE, "browse_dpi.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    pictures = draw_all()
    for name, pic in pictures.items():
        pic.save("browse_" + name)
        for dpi in STEP_DPI[1:]:
            pic.save("browse_" + name, (16 * dpi + 48) // 96, os.path.join(HERE, f"dpi{dpi}"))
    write_rc(pictures)
