#!/usr/bin/env python3
"""Draws the program's pictures and writes them into resources/.

Every picture is a list of filled shapes in a 16 x 16 design square, so one
drawing serves the menus (16 px), the toolbar (42 px) and the icon (16, 32 and
48 px), and each is drawn again for the larger DPI steps (120, 144 and 192
DPI: menus 20, 24 and 32 px, toolbar 53, 63 and 84 px). Shapes are sampled
4 x 4 times per pixel for smooth edges. Only the standard library is used; run
it again after changing a drawing and commit the files it writes:

  resources/imagelist1.bmp  the 14 pictures of ImageList1, side by side, in the
                            order of their picture numbers (magenta is clear)
  resources/voir.bmp, cacher.bmp, supprimer.bmp, retablir.bmp
                            the toolbar's 42 x 42 pictures (magenta is clear)
  resources/dpi120/, dpi144/, dpi192/
                            the same five pictures for that DPI
  resources/pictures.rc     the larger pictures' resource lines (ids from
                            resource.h: the 96-DPI id + step * IDB_DPI_STEP)
  resources/ferlane.ico     the window's icon at 16, 32 and 48 pixels
"""
import math
import os
import re
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
STEP_DPI = (96, 120, 144, 192)  # the DPI steps the program picks its pictures by
SAMPLES = 4
KEY = (255, 0, 255)      # the clear colour of the 24-bit pictures
EDGE_BG = (236, 233, 216)  # half-covered edge pixels are blended with a menu-like grey

# ---- shapes: each is a function (x, y) -> inside, in design units ---------


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def segment(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def arc(cx, cy, r, w, a0, a1):
    """A stroke along a circle from angle a0 to a1 (degrees, y down, clockwise)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > w / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        lo, hi = a0 % 360, a1 % 360
        return lo <= a <= hi if lo <= hi else a >= lo or a <= hi
    return inside


def both(*shapes):
    return lambda x, y: all(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def moved(shape, dx, dy, scale=1.0, ox=8.0, oy=8.0):
    """The shape scaled about (ox, oy), then moved by (dx, dy)."""
    return lambda x, y: shape((x - dx - ox) / scale + ox, (y - dy - oy) / scale + oy)


# ---- colours -----------------------------------------------------------------
INK = (40, 40, 48)
WHITE = (255, 255, 255)
PAPER = (250, 250, 244)
LINE = (150, 150, 160)
BLUE = (40, 100, 200)
LIGHT_BLUE = (120, 170, 235)
HIGHLIGHT = (60, 120, 215)
RED = (205, 30, 30)
GREEN = (30, 150, 50)
DARK_GREEN = (15, 95, 30)
YELLOW = (245, 205, 80)
DARK_YELLOW = (190, 140, 30)
GOLD = (220, 170, 40)
DARK_GOLD = (140, 100, 20)
BROWN = (150, 95, 45)
DARK_BROWN = (90, 55, 25)
GREY = (128, 128, 136)
SCREEN = (70, 130, 200)

# ---- reusable drawings ---------------------------------------------------------


def sheet(x0=3, y0=1, x1=13, y1=15, lines=True):
    fold = 3
    outline = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    inner = polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4),
                     (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)])
    parts = [(outline, INK), (inner, PAPER),
             (polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), LINE)]
    if lines:
        for row in range(y0 + 5, y1 - 1, 2):
            parts.append((rect(x0 + 2.5, row, x1 - 2.5, row + 0.8), LINE))
    return parts


def red_cross(cx=10.5, cy=10.5, size=4.0, w=2.4):
    return [(segment(cx - size, cy - size, cx + size, cy + size, w + 1.2), WHITE),
            (segment(cx - size, cy + size, cx + size, cy - size, w + 1.2), WHITE),
            (segment(cx - size, cy - size, cx + size, cy + size, w), RED),
            (segment(cx - size, cy + size, cx + size, cy - size, w), RED)]


def eye_open():
    lens = both(circle(8, 15, 10.3), circle(8, 1, 10.3))
    inner = both(circle(8, 15, 9.2), circle(8, 1, 9.2))
    return [(lens, INK), (inner, WHITE), (both(circle(8, 8, 3.4), lens), BLUE),
            (circle(8, 8, 1.6), INK), (circle(6.9, 6.9, 0.8), WHITE)]


def eye_closed():
    parts = [(arc(8, 1.5, 9.6, 1.5, 42, 138), INK)]
    for x0, x1 in ((4.2, 3.0), (8.0, 8.0), (11.8, 13.0)):
        parts.append((segment(x0, 10.2, x1, 13.2, 1.2), INK))
    parts.append((arc(8, 14.5, 9.6, 1.0, 228, 312), GREY))
    return parts


def folder(x0=1, y0=3, x1=15, y1=14):
    tab = polygon([(x0, y0 + 1), (x0 + 1, y0), (x0 + 5, y0), (x0 + 6, y0 + 1.5), (x0, y0 + 1.5)])
    return [(tab, DARK_YELLOW), (rounded(x0, y0 + 1.5, x1, y1, 0.8), DARK_YELLOW),
            (rect(x0 + 0.8, y0 + 3, x1 - 0.8, y1 - 0.8), YELLOW)]


def green_arrow(turning_left=True):
    # A curved arrow coming round to point left (undo, bring back).
    return [(arc(8.5, 9.5, 4.6, 2.6, 270, 135) if turning_left else arc(7.5, 9.5, 4.6, 2.6, 45, 270), DARK_GREEN),
            (arc(8.5, 9.5, 4.6, 1.4, 275, 130), GREEN),
            (polygon([(1.0, 4.9), (8.6, 0.6), (8.6, 9.2)]), DARK_GREEN),
            (polygon([(2.6, 4.9), (7.8, 2.0), (7.8, 7.8)]), GREEN)]


def monitor():
    return [(rounded(1, 1.5, 15, 11.5, 1), INK), (rect(2.2, 2.7, 13.8, 10.3), SCREEN),
            (polygon([(6, 11.5), (10, 11.5), (11, 14), (5, 14)]), GREY), (rect(3.5, 13.6, 12.5, 15), INK)]


def gear():
    teeth = []
    for k in range(8):
        a = math.radians(k * 45)
        c, s = math.cos(a), math.sin(a)
        pts = [(8 + c * r - s * t, 8 + s * r + c * t) for r, t in ((4.5, -1.3), (7.4, -1.1), (7.4, 1.1), (4.5, 1.3))]
        teeth.append(polygon(pts))
    body = lambda x, y: circle(8, 8, 5.4)(x, y) or any(t(x, y) for t in teeth)
    ring = minus(body, circle(8, 8, 2.2))
    return [(ring, INK), (minus(moved(body, 0, 0, 0.84), circle(8, 8, 2.9)), GREY),
            (minus(circle(8, 8, 4.2), circle(8, 8, 2.9)), (170, 170, 180))]


def key():
    return [(circle(4.8, 8, 4.0), DARK_GOLD), (minus(circle(4.8, 8, 2.9), circle(3.8, 8, 1.2)), GOLD),
            (rect(7.5, 6.8, 15.2, 9.4), DARK_GOLD), (rect(8.4, 7.5, 14.5, 8.7), GOLD),
            (rect(11.2, 9.0, 12.6, 12.0), DARK_GOLD), (rect(13.6, 9.0, 15.2, 11.2), DARK_GOLD)]


def help_mark():
    return [(circle(8, 8, 7.4), (20, 70, 160)), (circle(8, 8, 6.4), BLUE),
            (arc(8, 6.0, 2.5, 1.8, 180, 60), WHITE), (segment(9.4, 8.0, 8.0, 9.4, 1.8), WHITE),
            (segment(8.0, 9.2, 8.0, 10.2, 1.8), WHITE), (circle(8, 12.6, 1.1), WHITE)]


def envelope():
    body = rect(0.8, 3.2, 15.2, 12.8)
    inner = rect(1.8, 4.2, 14.2, 11.8)
    return [(body, INK), (inner, WHITE),
            (segment(1.8, 4.4, 8, 9.2, 1.1), INK), (segment(14.2, 4.4, 8, 9.2, 1.1), INK),
            (segment(1.8, 11.6, 6.2, 7.9, 0.8), LINE), (segment(14.2, 11.6, 9.8, 7.9, 0.8), LINE)]


def door():
    return [(rect(2, 1, 11, 15), DARK_BROWN), (rect(3, 2, 10, 15), BROWN),
            (polygon([(3, 2), (8, 3.5), (8, 15), (3, 15)]), (115, 70, 35)), (circle(7, 8.5, 0.8), GOLD),
            (polygon([(9.2, 6.2), (12.2, 6.2), (12.2, 3.8), (15.6, 8), (12.2, 12.2), (12.2, 9.8), (9.2, 9.8)]),
             DARK_GREEN),
            (polygon([(10.2, 7.1), (13.0, 7.1), (13.0, 5.9), (14.6, 8), (13.0, 10.1), (13.0, 8.9), (10.2, 8.9)]),
             GREEN)]


def select_all():
    parts = sheet(lines=False)
    for row in (5, 7.5, 10):
        parts.append((rect(4.5, row, 11.5, row + 1.8), HIGHLIGHT))
    parts.append((rect(4.5, 12.5, 9, 13.3), LINE))
    return parts


def small(parts, dx, dy, scale):
    return [(moved(s, dx, dy, scale), c) for s, c in parts]


PICTURES = [
    select_all(),                                                    # 0 select all
    small(sheet(), -2, -1, 0.8) + small(sheet(), 0.5, 0.5, 0.8) + red_cross(),  # 1 remove all
    sheet() + red_cross(),                                           # 2 remove the selection
    sheet(),                                                         # 3 file
    eye_open(),                                                      # 4 show
    green_arrow(),                                                   # 5 restore, move shortcuts
    eye_closed(),                                                    # 6 hide
    door(),                                                          # 7 close
    help_mark(),                                                     # 8 help
    key(),                                                           # 9 password
    envelope(),                                                      # 10 write to the author
    folder() + small(eye_closed(), 0.5, 1.5, 0.62),                  # 11 hidden store
    gear(),                                                          # 12 special operations
    monitor() + small(green_arrow(), 3.0, 3.0, 0.62),                # 13 restore desktop and programs
]
TOOLBAR = {"voir.bmp": 4, "cacher.bmp": 6, "supprimer.bmp": 2, "retablir.bmp": 13}
ICON = folder(0.5, 2, 15.5, 14.5) + small(eye_open(), 1.0, 1.5, 0.66)

# ---- rendering and files ---------------------------------------------------------


def render(parts, size, margin=0.0):
    """RGBA pixels (straight alpha, 0..1) of the drawing at size x size."""
    scale = (size - 2 * margin) / 16.0
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES - margin) / scale
                    y = (py + (sy + 0.5) / SAMPLES - margin) / scale
                    colour = None
                    for shape, c in parts:  # later shapes lie on top
                        if shape(x, y):
                            colour = c
                    if colour:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = SAMPLES * SAMPLES
            row.append((r / a, g / a, b / a, a / n) if a else (0, 0, 0, 0.0))
        pixels.append(row)
    return pixels


def keyed(pixel):
    r, g, b, a = pixel
    if a < 0.5:
        return KEY
    return tuple(int(round(c * a + bg * (1 - a))) for c, bg in zip((r, g, b), EDGE_BG))


def write_bmp24(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def icon_image(pixels):
    size = len(pixels)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((int(round(b)), int(round(g)), int(round(r)), int(round(a * 255))))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 0.5:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, sizes):
    images = [icon_image(render(ICON, s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def scaled(design, dpi):
    """A size at 96 DPI for `dpi`, rounded as the program rounds (MulDiv)."""
    return (design * dpi + 48) // 96


def write_pictures(folder, dpi):
    os.makedirs(folder, exist_ok=True)
    small = scaled(16, dpi)
    strip = [[] for _ in range(small)]
    for parts in PICTURES:
        for y, row in enumerate(render(parts, small)):
            strip[y] += [keyed(p) for p in row]
    write_bmp24(os.path.join(folder, "imagelist1.bmp"), strip)
    size = scaled(42, dpi)
    for name, number in TOOLBAR.items():
        rows = [[keyed(p) for p in row] for row in render(PICTURES[number], size, margin=3 * size / 42)]
        write_bmp24(os.path.join(folder, name), rows)


def write_rc(path):
    with open(os.path.join(OUT, "resource.h")) as f:
        ids = dict(re.findall(r"^#define (IDB_\w+) (\d+)", f.read(), re.M))
    lines = ["// The pictures for 120, 144 and 192 DPI. Written by scripts/draw-pictures.py:",
             "// the 96-DPI picture's id (resource.h) + step * IDB_DPI_STEP."]
    names = [("IDB_IMAGELIST1", "imagelist1.bmp")] + [("IDB_" + n[:-4].upper(), n) for n in TOOLBAR]
    for step, dpi in enumerate(STEP_DPI[1:], start=1):
        for macro, name in names:
            number = int(ids[macro]) + step * int(ids["IDB_DPI_STEP"])
            lines.append(f'{number} BITMAP "dpi{dpi}/{name}"  // {macro}, step {step}')
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    write_pictures(OUT, 96)
    for dpi in STEP_DPI[1:]:
        write_pictures(os.path.join(OUT, f"dpi{dpi}"), dpi)
    write_rc(os.path.join(OUT, "pictures.rc"))
    write_ico(os.path.join(OUT, "ferlane.ico"), (16, 32, 48))


if __name__ == "__main__":
    main()
