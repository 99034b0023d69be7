#!/usr/bin/env python3
"""Draws Lumeo's bitmap resources (frame, caption buttons, tabs, backgrounds, button
face, list header, summary panel, paper and option pictures) and writes them as BMP
files into resources/bitmaps/. Run from anywhere: python3 tools/make_bitmaps.py"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "bitmaps")
KEY = (255, 0, 255)  # transparent key of the icon and caption-button images

BLUE_TOP, BLUE_BOTTOM = (45, 105, 210), (30, 84, 186)
ACTIVE_TOP = (60, 124, 226)  # the active caption's top colour
NAVY = (4, 26, 125)
FACE = (241, 241, 244)
WHITE = (255, 255, 255)


class Canvas:
    def __init__(self, w, h, colour=WHITE):
        self.w, self.h = w, h
        self.px = [[tuple(colour) for _ in range(w)] for _ in range(h)]

    def put(self, x, y, c, a=1.0):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            o = self.px[y][x]
            self.px[y][x] = tuple(int(round(o[i] * (1 - a) + c[i] * a)) for i in range(3))

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = tuple(c)

    def vgrad(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            self.rect(x0, y, x1, y + 1, mix(top, bottom, (y - y0) / span))

    def shape(self, inside, x0, y0, x1, y1, colour_at, samples=4):
        """Anti-aliased fill of the pixels of a box by coverage of inside(x, y)."""
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                n = 0
                for sy in range(samples):
                    for sx in range(samples):
                        if inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                            n += 1
                if n:
                    self.put(x, y, colour_at(x, y), n / samples ** 2)

    def round_rect(self, x0, y0, x1, y1, r, colour_at, top_only=False):
        def inside(px, py):
            if not (x0 <= px <= x1 and y0 <= py <= y1):
                return False
            cx = min(max(px, x0 + r), x1 - r)
            cy = min(max(py, y0 + r), (y1 + r if top_only else y1 - r))
            return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
        self.shape(inside, int(x0), int(y0), int(math.ceil(x1)) + 1, int(math.ceil(y1)) + 1, colour_at)

    def line(self, ax, ay, bx, by, width, c):
        def inside(px, py):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1)))
            return math.hypot(px - (ax + t * dx), py - (ay + t * dy)) <= width / 2
        pad = int(width) + 1
        self.shape(inside, int(min(ax, bx)) - pad, int(min(ay, by)) - pad,
                   int(max(ax, bx)) + pad + 1, int(max(ay, by)) + pad + 1, lambda x, y: c)

    def blit(self, other, dx, dy):
        for y in range(other.h):
            for x in range(other.w):
                if 0 <= dx + x < self.w and 0 <= dy + y < self.h:
                    self.px[dy + y][dx + x] = other.px[y][x]

    def save(self, name, bits=24):
        row_bytes = (self.w * (bits // 8) + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for (r, g, b) in self.px[y]:
                row += bytes((b, g, r)) + (b"\xff" if bits == 32 else b"")
            data += row + b"\0" * (row_bytes - len(row))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, bits, 0, len(data), 2835, 2835, 0, 0)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(header + info + data)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vertical(y0, y1, top, bottom):
    return lambda x, y: mix(top, bottom, (y - y0) / max(1, y1 - y0))


# ---- frame, caption buttons

def key_background(c, x0, y0, x1, y1, colour_at, draw):
    """Draws on the colour the picture will be shown on (so anti-aliased edges blend
    with it, not with the key), then keys every pixel left untouched."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            c.px[y][x] = colour_at(x, y)
    draw()
    for y in range(y0, y1):
        for x in range(x0, x1):
            if c.px[y][x] == colour_at(x, y):
                c.px[y][x] = KEY


def caption_colour(top, bottom, row):
    """The caption band's colour at a row (the band is 27 rows, see frame())."""
    return mix(top, bottom, row / 26)


def app_icon(c, x, y, accent):
    """18 x 17 glyph: a page with a folded corner over a printer tray."""
    c.rect(x, y, x + 18, y + 17, KEY)
    app_icon_glyph(c, x, y, accent)


def app_icon_glyph(c, x, y, accent):
    c.round_rect(x + 1.5, y + 8, x + 16.5, y + 15.5, 2, lambda *_: WHITE)
    c.rect(x + 4, y + 11, x + 14, y + 12, accent)
    c.rect(x + 5, y + 1, x + 13, y + 9, (235, 242, 255))
    c.rect(x + 6, y + 3, x + 11, y + 4, accent)
    c.rect(x + 6, y + 5, x + 12, y + 6, accent)
    c.rect(x + 10, y + 1, x + 13, y + 2, KEY)
    c.rect(x + 12, y + 2, x + 13, y + 3, KEY)


def frame(name, top, bottom, edge):
    c = Canvas(66, 52, FACE)
    c.vgrad(0, 0, 66, 27, top, bottom)
    c.rect(0, 0, 66, 1, edge)
    c.rect(1, 1, 65, 2, mix(top, WHITE, 0.25))
    c.rect(0, 27, 3, 52, bottom)
    c.rect(63, 27, 66, 52, bottom)
    c.rect(0, 49, 66, 52, bottom)
    c.rect(0, 27, 1, 52, edge)
    c.rect(65, 27, 66, 52, edge)
    c.rect(0, 51, 66, 52, edge)
    # The icon is drawn on the caption at (3, 5).
    key_background(c, 3, 27, 21, 44, lambda x, y: caption_colour(top, bottom, y - 27 + 5),
                   lambda: app_icon_glyph(c, 3, 27, bottom))
    c.save(name)


def caption_button(name, glyph):
    c = Canvas(48, 14, KEY)
    styles = [None, (255, 255, 255, 0.28), (0, 0, 0, 0.25)]
    # The buttons sit on the active caption from its row 6 down.
    on_caption = lambda x, y: caption_colour(ACTIVE_TOP, BLUE_BOTTOM, y + 6)
    for i, style in enumerate(styles):
        ox = i * 16

        def draw(i=i, style=style, ox=ox):
            if style:
                r, g, b, a = style
                base = mix(BLUE_TOP, (r, g, b), a)
                if name.startswith("caption_close") and i:
                    base = (226, 64, 64) if i == 1 else (176, 38, 38)
                c.round_rect(ox + 0.5, 0.5, ox + 15.5, 13.5, 3, lambda *_: base)
            glyph(c, ox)
        key_background(c, ox, 0, ox + 16, 14, on_caption, draw)
        c.px[0][ox] = KEY  # the image's top-left pixel names the key colour
    c.save(name, bits=32)


def cross(c, ox):
    c.line(ox + 4.5, 3.5, ox + 11.5, 10.5, 1.8, WHITE)
    c.line(ox + 11.5, 3.5, ox + 4.5, 10.5, 1.8, WHITE)


def bar(c, ox):
    c.line(ox + 4, 9.5, ox + 12, 9.5, 2.0, WHITE)


# ---- tabs, backgrounds, buttons, header

def tab_selected():
    c = Canvas(112, 23, FACE)
    c.round_rect(0, 0, 111.9, 23, 3, vertical(0, 23, (58, 122, 222), BLUE_BOTTOM), top_only=True)
    c.save("tab_selected.bmp")


def tab_unselected():
    c = Canvas(108, 27, FACE)
    c.round_rect(0, 0, 107.9, 27, 3, lambda *_: (196, 202, 212), top_only=True)
    c.round_rect(1, 1, 106.9, 27, 2.5, vertical(1, 27, (250, 251, 253), (226, 230, 237)), top_only=True)
    c.save("tab_unselected.bmp")


def tab_background():
    c = Canvas(27, 415, FACE)
    c.rect(0, 25, 27, 27, BLUE_BOTTOM)
    c.rect(0, 27, 27, 415, WHITE)
    c.rect(0, 27, 1, 415, (200, 205, 215))
    c.rect(26, 27, 27, 415, (200, 205, 215))
    c.rect(0, 414, 27, 415, (200, 205, 215))
    c.save("tab_background.bmp")


def page_background():
    c = Canvas(64, 520, WHITE)
    c.vgrad(0, 330, 64, 520, WHITE, (236, 239, 245))
    c.save("page_background.bmp")


def sheet_background():
    c = Canvas(64, 520)
    c.vgrad(0, 0, 64, 520, (247, 248, 251), (228, 232, 239))
    c.save("sheet_background.bmp")


def button_face():
    c = Canvas(120, 25, WHITE)
    faces = [((45, 105, 210), (30, 84, 186), (24, 70, 160)),
             ((50, 118, 214), (38, 98, 200), (28, 80, 176)),
             ((26, 72, 160), (22, 62, 146), (16, 50, 126)),
             ((226, 229, 235), (214, 218, 226), (190, 195, 205))]
    for i, (top, bottom, edge) in enumerate(faces):
        ox = i * 30
        c.round_rect(ox + 0.5, 0.5, ox + 29.5, 24.5, 4, lambda *_: edge)
        c.round_rect(ox + 1.5, 1.5, ox + 28.5, 23.5, 3, vertical(1, 24, top, bottom))
    c.save("button_face.bmp")


def list_header():
    c = Canvas(64, 21)
    c.vgrad(0, 0, 64, 21, (76, 88, 110), (54, 63, 82))
    c.rect(0, 20, 64, 21, BLUE_BOTTOM)
    c.save("list_header.bmp")


# ---- summary panel and pictures

def preview_background():
    c = Canvas(185, 257, WHITE)
    c.vgrad(1, 1, 184, 21, (234, 241, 253), (222, 233, 251))
    c.vgrad(1, 21, 184, 256, (250, 251, 253), (240, 242, 246))
    border = (200, 206, 216)
    c.rect(0, 0, 185, 1, border)
    c.rect(0, 256, 185, 257, border)
    c.rect(0, 0, 1, 257, border)
    c.rect(184, 0, 185, 257, border)
    c.save("preview_background.bmp")


def paper(name, w, h):
    c = Canvas(w, h, WHITE)
    fold = 14
    c.rect(0, 0, w, 1, (150, 156, 168))
    c.rect(0, h - 1, w, h, (150, 156, 168))
    c.rect(0, 0, 1, h, (150, 156, 168))
    c.rect(w - 1, 0, w, h, (150, 156, 168))
    for y in range(fold):
        for x in range(w - fold + y, w):
            c.px[y][x] = (196, 200, 208) if x > w - fold + y else (150, 156, 168)
    c.rect(10, 12, w - 10 - fold, 16, (60, 70, 90))
    band_h = int(h * 0.34)
    c.vgrad(10, 24, w - 10, 24 + band_h, (120, 172, 240), (43, 108, 217))
    c.line(14, 24 + band_h - 4, 14 + (w - 28) * 0.4, 24 + band_h * 0.45, 3, (225, 238, 255))
    c.line(14 + (w - 28) * 0.4, 24 + band_h * 0.45, w - 14, 24 + band_h - 6, 3, (225, 238, 255))
    y = 32 + band_h
    while y < h - 10:
        c.rect(10, y, w - 10 - (18 if (y // 7) % 3 == 2 else 0), y + 2, (196, 201, 210))
        y += 7
    c.save(name)


def small_page(c, x, y, w, h, accent, shade=(150, 156, 168)):
    c.rect(x, y, x + w, y + h, WHITE)
    c.rect(x, y, x + w, y + 1, shade)
    c.rect(x, y + h - 1, x + w, y + h, shade)
    c.rect(x, y, x + 1, y + h, shade)
    c.rect(x + w - 1, y, x + w, y + h, shade)
    for ly in range(y + 4, y + h - 3, 4):
        c.rect(x + 3, ly, x + w - 3, ly + 1, accent)


def duplex_picture(name, mode):
    c = Canvas(48, 40, WHITE)
    if mode == "none":
        small_page(c, 14, 4, 22, 30, (43, 108, 217))
    else:
        small_page(c, 8, 4, 22, 30, (160, 170, 190))
        small_page(c, 18, 8, 22, 30, (43, 108, 217))
        if mode == "long":
            c.line(12, 38, 36, 38, 2, NAVY)
        else:
            c.line(44, 12, 44, 36, 2, NAVY)
    c.save(name)


def colour_picture(name, colours):
    c = Canvas(48, 40, WHITE)
    for i, col in enumerate(colours):
        c.round_rect(6 + i * 12, 10, 6 + i * 12 + 10, 30, 2, lambda *_, col=col: col)
    c.save(name)


def orientation_picture():
    c = Canvas(40, 40, WHITE)
    small_page(c, 10, 4, 22, 30, (43, 108, 217))
    c.save("orientation.bmp")


def logo():
    c = Canvas(60, 20, WHITE)
    app_icon(c, 1, 1, BLUE_BOTTOM)
    for y in range(20):
        for x in range(60):
            if c.px[y][x] == KEY:
                c.px[y][x] = WHITE
    c.round_rect(22, 6, 58, 14, 4, lambda *_: BLUE_TOP)
    c.save("logo.bmp")


GLYPHS = {
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
}


def splash():
    """560 x 320: the program's glyph and name; the version is drawn at run time
    from the centre plus 110 pixels right and down, so the lower right stays calm."""
    w, h = 560, 320
    top, bottom = (52, 116, 220), (22, 64, 150)
    c = Canvas(w, h)
    c.vgrad(0, 0, w, h, top, bottom)
    for i in range(8):
        c.line(-60 + i * 90, h + 10, 140 + i * 90, -10, 26, mix(top, WHITE, 0.06))
    icon = Canvas(18, 17)
    app_icon(icon, 0, 0, BLUE_BOTTOM)
    scale, x0, y0 = 6, (w - 18 * 6) // 2, 44
    for y in range(17):
        for x in range(18):
            p = icon.px[y][x]
            if p == KEY:
                continue
            for dy in range(scale):
                for dx in range(scale):
                    if p[0] == 255 and p[2] == 255 and p[1] < 255:
                        # white blended into the key colour: white at that coverage
                        c.put(x0 + x * scale + dx, y0 + y * scale + dy, WHITE, p[1] / 255)
                    else:
                        c.put(x0 + x * scale + dx, y0 + y * scale + dy, p)
    word, cell, gap = "LUMEO", 5, 10
    width = len(word) * 5 * cell + (len(word) - 1) * gap
    lx, ly = (w - width) // 2, 176
    for n, ch in enumerate(word):
        for gy, row in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(row):
                if bit == "1":
                    x = lx + n * (5 * cell + gap) + gx * cell
                    c.rect(x, ly + gy * cell, x + cell, ly + (gy + 1) * cell, WHITE)
    c.rect(lx, ly + 7 * cell + 14, lx + width, ly + 7 * cell + 16, mix(top, WHITE, 0.45))
    c.save("splash.bmp")


def main():
    os.makedirs(OUT, exist_ok=True)
    frame("frame_active.bmp", ACTIVE_TOP, BLUE_BOTTOM, (20, 58, 140))
    frame("frame_inactive.bmp", (140, 156, 184), (118, 134, 162), (92, 104, 128))
    caption_button("caption_close.bmp", cross)
    caption_button("caption_minimize.bmp", bar)
    tab_selected()
    tab_unselected()
    tab_background()
    page_background()
    sheet_background()
    button_face()
    list_header()
    preview_background()
    paper("paper_portrait.bmp", 97, 123)
    paper("paper_landscape.bmp", 123, 97)
    orientation_picture()
    colour_picture("color_bw.bmp", [(40, 40, 40), (120, 120, 120), (200, 200, 200)])
    colour_picture("color_auto.bmp", [(226, 64, 64), (60, 170, 90), (43, 108, 217)])
    duplex_picture("duplex_none.bmp", "none")
    duplex_picture("duplex_long.bmp", "long")
    duplex_picture("duplex_short.bmp", "short")
    logo()
    splash()


if __name__ == "__main__":
    main()
