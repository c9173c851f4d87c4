#!/usr/bin/env python3
"""Draws Trackglow's artwork: the program and tray icons, the shipped skins and
the skin previews of docs/.

Only the standard library is used, so the artwork can be rebuilt anywhere
Python 3 runs. Every picture is computed from code (signed distance fields
with analytic anti-aliasing, plus a little hand-placed pixel art where a size
is too small for geometry), and the output is the same bytes on every run.

    python3 tools/make_art.py            # writes res/, interface/, docs/
    python3 tools/make_art.py --check    # fails if a committed file differs
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---------------------------------------------------------------------------
# Small maths helpers
# ---------------------------------------------------------------------------


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    """Linear blend of two colours (tuples of floats 0..1)."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def hexrgb(s):
    """'#RRGGBB' -> (r, g, b) floats."""
    s = s.lstrip("#")
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def gradient(stops, t):
    """Colour at t along [(pos, colour), ...] sorted by pos."""
    t = clamp(t)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0)
    return stops[-1][1]


# ---------------------------------------------------------------------------
# Signed distance fields (negative inside), in pixel units
# ---------------------------------------------------------------------------


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_round_box(x, y, x0, y0, x1, y1, r):
    """Rounded rectangle covering [x0, x1] x [y0, y1] with corner radius r."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2, (y1 - y0) / 2
    qx = abs(x - cx) - hw + r
    qy = abs(y - cy) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_ellipse(x, y, cx, cy, rx, ry, angle_deg=0.0):
    """Approximate distance to a rotated ellipse (good enough near the edge)."""
    a = math.radians(angle_deg)
    dx, dy = x - cx, y - cy
    lx = dx * math.cos(a) + dy * math.sin(a)
    ly = -dx * math.sin(a) + dy * math.cos(a)
    k0 = math.hypot(lx / rx, ly / ry)
    k1 = math.hypot(lx / (rx * rx), ly / (ry * ry))
    if k1 == 0.0:
        return -min(rx, ry)
    return k0 * (k0 - 1.0) / k1


def sd_polygon(x, y, pts):
    """Exact distance to a simple polygon given as [(x, y), ...]."""
    d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
    s = 1.0
    n = len(pts)
    j = n - 1
    for i in range(n):
        ex, ey = pts[j][0] - pts[i][0], pts[j][1] - pts[i][1]
        wx, wy = x - pts[i][0], y - pts[i][1]
        h = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
        bx, by = wx - ex * h, wy - ey * h
        d = min(d, bx * bx + by * by)
        c1 = y >= pts[i][1]
        c2 = y < pts[j][1]
        c3 = ex * wy > ey * wx
        if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
            s = -s
        j = i
    return s * math.sqrt(d)


def coverage(d):
    """Area of a pixel inside a shape whose edge lies d pixels from its centre."""
    return clamp(0.5 - d)


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats, composited with "over"
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        if fill is None:
            self.px = [[(0.0, 0.0, 0.0, 0.0)] * w for _ in range(h)]
        else:
            self.px = [[tuple(fill) + (1.0,)] * w for _ in range(h)]

    def blend(self, x, y, rgb, a):
        if a <= 0.0:
            return
        a = min(a, 1.0)
        r, g, b, da = self.px[y][x]
        k = 1.0 - a
        self.px[y][x] = (rgb[0] * a + r * k, rgb[1] * a + g * k, rgb[2] * a + b * k,
                         a + da * k)

    def paint(self, sdf, colour, alpha=1.0, clip=None):
        """Fills the shape sdf(x, y) with colour(x, y) (or a fixed colour).

        x and y are pixel centres (i + 0.5). clip is another sdf that limits
        the paint, for glows that must stay inside a body."""
        for j in range(self.h):
            y = j + 0.5
            for i in range(self.w):
                x = i + 0.5
                a = coverage(sdf(x, y)) * alpha
                if clip is not None and a > 0.0:
                    a *= coverage(clip(x, y))
                if a > 0.0:
                    self.blend(i, j, colour(x, y) if callable(colour) else colour, a)

    def glow(self, sdf, colour, strength, radius, clip=None):
        """Soft light that falls off outside a shape (and is full inside)."""
        for j in range(self.h):
            y = j + 0.5
            for i in range(self.w):
                x = i + 0.5
                d = sdf(x, y)
                a = strength * math.exp(-max(d, 0.0) / radius)
                if clip is not None:
                    a *= coverage(clip(x, y))
                if a > 0.002:
                    self.blend(i, j, colour, a)

    def paint_mask(self, mask, colour, ox=0, oy=0):
        """Blends a coverage grid (rows of floats 0..1) at (ox, oy)."""
        for j, row in enumerate(mask):
            for i, a in enumerate(row):
                x, y = ox + i, oy + j
                if a > 0.0 and 0 <= x < self.w and 0 <= y < self.h:
                    self.blend(x, y, colour(x + 0.5, y + 0.5) if callable(colour) else colour, a)

    def blit(self, src, ox, oy):
        """Copies src (opaquely, like BitBlt SRCCOPY) with its top-left at (ox, oy)."""
        for j in range(src.h):
            for i in range(src.w):
                x, y = ox + i, oy + j
                if 0 <= x < self.w and 0 <= y < self.h:
                    self.px[y][x] = src.px[j][i]

    def crop(self, x0, y0, w, h):
        out = Canvas(w, h)
        for j in range(h):
            out.px[j] = list(self.px[y0 + j][x0:x0 + w])
        return out

    def rgb8(self, x, y):
        """Straight (un-premultiplied) 8-bit colour of a pixel."""
        r, g, b, a = self.px[y][x]
        if a <= 0.0:
            return (0, 0, 0)
        return tuple(int(round(clamp(c / a) * 255)) for c in (r, g, b))

    def alpha(self, x, y):
        return self.px[y][x][3]


def mask_from_art(rows, levels=None):
    """Turns hand-drawn pixel art into a coverage grid.

    '#' is a full pixel, '+' two thirds, '-' one third, anything else empty."""
    levels = levels or {"#": 1.0, "+": 0.66, "-": 0.33}
    return [[levels.get(ch, 0.0) for ch in row] for row in rows]


def blur_mask(mask, radius):
    """Gaussian blur of a coverage grid, padded by 2*radius on each side."""
    pad = int(math.ceil(radius * 2))
    h, w = len(mask), len(mask[0])
    kernel = [math.exp(-(k * k) / (2 * radius * radius)) for k in range(-pad, pad + 1)]
    total = sum(kernel)
    kernel = [k / total for k in kernel]
    W, H = w + 2 * pad, h + 2 * pad
    src = [[0.0] * W for _ in range(H)]
    for j in range(h):
        for i in range(w):
            src[j + pad][i + pad] = mask[j][i]
    tmp = [[sum(kernel[k] * src[j][i + k - pad] for k in range(len(kernel))
                if 0 <= i + k - pad < W) for i in range(W)] for j in range(H)]
    out = [[sum(kernel[k] * tmp[j + k - pad][i] for k in range(len(kernel))
                if 0 <= j + k - pad < H) for i in range(W)] for j in range(H)]
    return out, pad


# ---------------------------------------------------------------------------
# File encoders: BMP (24-bit, bottom-up), ICO (24-bit + AND mask), PNG
# ---------------------------------------------------------------------------


def bgr_rows_bottom_up(canvas, background=(0, 0, 0)):
    """24-bit pixel rows, bottom row first, each padded to 4 bytes."""
    pad = (4 - (canvas.w * 3) % 4) % 4
    out = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        for x in range(canvas.w):
            if canvas.alpha(x, y) <= 0.0:
                r, g, b = background
            else:
                r, g, b = canvas.rgb8(x, y)
            out += bytes((b, g, r))
        out += b"\0" * pad
    return bytes(out)


def encode_bmp(canvas):
    """Windows BMP as LoadImageA(LR_LOADFROMFILE) reads it: BITMAPINFOHEADER,
    24 bits per pixel, no compression, rows stored bottom-up."""
    pixels = bgr_rows_bottom_up(canvas)
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    # 2835 pixels per metre = 72 dpi; the loader ignores it.
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    return file_header + info + pixels


def encode_ico(images):
    """Icon file with one 24-bit image per canvas.

    Transparency is the 1-bit AND mask: a pixel is opaque when at least half
    covered. Transparent pixels are black in the colour plane so the screen
    shows through unchanged (screen AND 1 XOR 0)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for c in images:
        xor = bgr_rows_bottom_up(c)
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(c.w):
                if c.alpha(x, y) < 0.5:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        # Colours of transparent pixels must be black for the XOR step.
        xor = bytearray(xor)
        stride = ((c.w * 3 + 3) // 4) * 4
        for y in range(c.h):
            for x in range(c.w):
                if c.alpha(x, y) < 0.5:
                    at = (c.h - 1 - y) * stride + x * 3
                    xor[at:at + 3] = b"\0\0\0"
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 24, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 24, len(blob),
                                   offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def encode_png(canvas, background=(1.0, 1.0, 1.0)):
    """Opaque RGB PNG (transparent areas over the given background)."""
    raw = bytearray()
    for y in range(canvas.h):
        raw.append(0)
        for x in range(canvas.w):
            r, g, b, a = canvas.px[y][x]
            k = 1.0 - min(a, 1.0)
            raw += bytes(int(round(clamp(c + bc * k) * 255))
                         for c, bc in zip((r, g, b), background))

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------

# The brand: a deep violet card (the pop-up) lit by a cyan note.
CARD_TOP = hexrgb("#3a2a7a")
CARD_BOTTOM = hexrgb("#120f33")
CARD_RIM = hexrgb("#8f7cff")
NOTE_CORE = hexrgb("#f2fdff")
NOTE_EDGE = hexrgb("#6fe6ff")
GLOW = hexrgb("#2fd0ff")


def draw_card(c, inset, radius):
    """The icon's rounded, softly lit violet body."""
    s = c.w
    x0, y0, x1, y1 = inset, inset, s - inset, s - inset

    def body(x, y):
        return sd_round_box(x, y, x0, y0, x1, y1, radius)

    def shade(x, y):
        t = (y - y0) / (y1 - y0)
        col = mix(CARD_TOP, CARD_BOTTOM, smoothstep(0.0, 1.0, t))
        # A faint diagonal sheen across the upper half.
        sheen = 0.10 * smoothstep(0.55, 0.0, t) * smoothstep(s * 1.1, s * 0.2, x + y * 0.6)
        return mix(col, (1, 1, 1), sheen)

    c.paint(body, shade)
    return body


def draw_rim(c, body, strength):
    """A one-pixel light inner edge so the card reads on dark backgrounds."""
    def ring(x, y):
        d = body(x, y)
        return max(d, -d - 1.0)

    def rim_colour(x, y):
        return mix(CARD_RIM, CARD_BOTTOM, clamp(y / c.h) * 0.8)

    c.paint(ring, rim_colour, strength, clip=body)


def beamed_note(g):
    """Signed distance of a pair of beamed eighth notes with geometry g."""
    def sdf(x, y):
        d = min(sd_ellipse(x, y, *g["head1"], g["rx"], g["ry"], -22),
                sd_ellipse(x, y, *g["head2"], g["rx"], g["ry"], -22))
        for sx, top, bottom in g["stems"]:
            d = min(d, sd_round_box(x, y, sx, top, sx + g["sw"], bottom, 0.3))
        (ax, ay), (bx, by) = g["beam"]
        t = g["bt"]
        d = min(d, sd_polygon(x, y, [(ax, ay), (bx, by), (bx, by + t), (ax, ay + t)]))
        return d
    return sdf


def note_shade(top, bottom):
    def shade(x, y):
        return mix(NOTE_CORE, NOTE_EDGE, smoothstep(top, bottom, y) * 0.55)
    return shade


def app_icon_large(size):
    """32 and 48 pixel program icon, geometry tuned per size so stems and
    beam land on whole pixels."""
    c = Canvas(size, size)
    if size == 48:
        body = draw_card(c, 2, 10)
        g = dict(head1=(16.6, 35.2), head2=(32.6, 31.6), rx=6.4, ry=4.6, sw=3.0,
                 stems=[(20.0, 12.5, 35.0), (36.0, 9.0, 31.5)],
                 beam=((20.0, 11.5), (39.0, 7.5)), bt=5.5)
        glow_r, glow_a, rim = 4.0, 0.5, 0.55
    else:
        body = draw_card(c, 1, 7)
        g = dict(head1=(11.6, 23.6), head2=(21.6, 21.3), rx=4.4, ry=3.2, sw=2.0,
                 stems=[(14.0, 8.5, 23.5), (24.0, 6.0, 21.0)],
                 beam=((14.0, 7.5), (26.0, 5.0)), bt=4.0)
        glow_r, glow_a, rim = 2.8, 0.45, 0.5
    note = beamed_note(g)
    # Wide halo first, then a tight bright one, then the note itself.
    c.glow(note, GLOW, 0.22, glow_r * 2.5, clip=body)
    c.glow(note, GLOW, glow_a, glow_r * 0.45, clip=body)
    c.paint(note, note_shade(g["beam"][1][1], g["head1"][1] + g["ry"]))
    draw_rim(c, body, rim)
    return c


# At 16 pixels geometry blurs, so the note is pixel art.
APP16_NOTE = [
    "................",
    "................",
    "...........-+#..",
    ".......#######..",
    ".......#+-...#..",
    ".......#.....#..",
    ".......#.....#..",
    ".......#.....#..",
    ".......#.....#..",
    ".......#..-###..",
    "....-###.+####..",
    "...+####.####-..",
    "...####-..-+-...",
    "....-+-.........",
    "................",
    "................",
]


def app_icon_16():
    c = Canvas(16, 16)
    body = draw_card(c, 0, 3.5)
    note = mask_from_art(APP16_NOTE)
    halo, pad = blur_mask(note, 0.9)
    c.paint_mask([[clamp(a * 0.9) * coverage(body(i - pad + 0.5, j - pad + 0.5))
                   for i, a in enumerate(row)] for j, row in enumerate(halo)],
                 GLOW, -pad, -pad)
    c.paint_mask(note, note_shade(2, 13))
    return c


TRAY_NOTE_COLOUR = hexrgb("#ffffff")


def tray_icon():
    """32 x 32, shown by the shell at 16: a bold single note on a bright
    disc, so it reads on light and dark task bars alike. Edges sit on even
    pixels and strokes are at least 4 pixels wide, so the shape survives
    being halved by any filter, even plain pixel dropping."""
    c = Canvas(32, 32)
    disc_top, disc_bottom = hexrgb("#2ee0ff"), hexrgb("#6b35e8")

    def disc(x, y):
        return sd_circle(x, y, 16, 16, 15.0)

    c.paint(disc, lambda x, y: gradient([(0.0, disc_top), (1.0, disc_bottom)],
                                        (x * 0.6 + y - 4.0) / 38.0))
    # A two-pixel dark outline keeps the edge crisp on white task bars.
    c.paint(lambda x, y: max(disc(x, y), -disc(x, y) - 2.0), hexrgb("#24145e"))

    def note(x, y):
        head = sd_ellipse(x, y, 12.5, 22.0, 6.0, 4.4, -22)
        stem = sd_round_box(x, y, 14, 6, 18, 22, 0)
        flag = sd_polygon(x, y, [(14, 6), (18, 6), (24, 11), (24, 17), (18, 12), (14, 12)])
        return min(head, stem, flag)

    c.glow(note, hexrgb("#1a0e4a"), 0.45, 1.2, clip=lambda x, y: disc(x, y) + 2.0)
    c.paint(note, TRAY_NOTE_COLOUR)
    return c


# ---------------------------------------------------------------------------
# Pop-up geometry (as the program lays it out and paints it)
# ---------------------------------------------------------------------------

TILE_W, TILE_H = 45, 64
BUTTON_W, BUTTON_H = 13, 16
POPUP_H = 66
# Buttons in the coordinates of the last tile: the pop-up is 2 + 45n wide, the
# column sits at x = W - 20 and the tiles start at (1, 1), so x = 26 there.
BUTTON_X = 26
BUTTON_Y = {"prev": 5, "next": 24, "lyr": 43}


# ---------------------------------------------------------------------------
# Button glyphs (13 x 16 coverage masks)
# ---------------------------------------------------------------------------


def glyph_mask(sdf):
    return [[coverage(sdf(i + 0.5, j + 0.5)) for i in range(BUTTON_W)]
            for j in range(BUTTON_H)]


def sd_prev(x, y):
    """|<< : a bar and two left-pointing triangles, 11 x 8 pixels."""
    bar = sd_round_box(x, y, 1, 4, 3, 12, 0)
    t1 = sd_polygon(x, y, [(4, 8), (8, 4), (8, 12)])
    t2 = sd_polygon(x, y, [(8, 8), (12, 4), (12, 12)])
    return min(bar, t1, t2)


def sd_next(x, y):
    return sd_prev(BUTTON_W - x, y)


def sd_lyrics(x, y):
    """A speech bubble holding three lines of text."""
    outer = sd_round_box(x, y, 1, 3, 12, 12, 2.5)
    inner = sd_round_box(x, y, 2, 4, 11, 11, 1.5)
    tail = sd_polygon(x, y, [(3, 11.5), (3, 15), (6.5, 11.5)])
    lines = min(sd_round_box(x, y, 4, 5, 10, 6, 0),
                sd_round_box(x, y, 4, 7, 10, 8, 0),
                sd_round_box(x, y, 4, 9, 8, 10, 0))
    return min(max(outer, -inner), tail, lines)


GLYPHS = {"prev": sd_prev, "next": sd_next, "lyr": sd_lyrics}


def make_button(tile, kind, ink, halo=None, halo_alpha=0.0, shadow=None):
    """A button cut from the tile at the place it is painted over, with the
    glyph drawn on it: buttons are copied opaquely, so their background must
    be the tile's own pixels to blend in."""
    c = tile.crop(BUTTON_X, BUTTON_Y[kind], BUTTON_W, BUTTON_H)
    mask = glyph_mask(GLYPHS[kind])
    if halo is not None:
        soft, pad = blur_mask(mask, 1.1)
        c.paint_mask([[clamp(a * halo_alpha) for a in row] for row in soft], halo, -pad, -pad)
    if shadow is not None:
        colour, alpha = shadow
        c.paint_mask([[a * alpha for a in row] for row in mask], colour, 0, 1)
    c.paint_mask(mask, ink)
    return c


def fill_tile(shade):
    """A 45 x 64 tile coloured by shade(x, y) at every pixel centre."""
    c = Canvas(TILE_W, TILE_H)
    for j in range(TILE_H):
        for i in range(TILE_W):
            c.px[j][i] = tuple(shade(i + 0.5, j + 0.5)) + (1.0,)
    return c


def hash01(x, y, seed):
    """Deterministic pseudo-random value in [0, 1) for a pixel."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


# ---------------------------------------------------------------------------
# Skin "Default Skin 1": midnight glass, one tile repeated
# ---------------------------------------------------------------------------

MID_STOPS = [(0.0, hexrgb("#342f72")), (0.47, hexrgb("#221e52")),
             (0.5, hexrgb("#1a1742")), (1.0, hexrgb("#0e0c26"))]
MID_GLOW = hexrgb("#38d6ff")


def midnight_shade(x, y):
    t = y / TILE_H
    col = gradient(MID_STOPS, t)
    # Glass: a soft highlight over the upper half that stops at the middle.
    if t < 0.5:
        col = mix(col, (1, 1, 1), 0.035 + 0.07 * (1 - t / 0.5) ** 2)
    # A thin line of light along the bottom edge, the pop-up's "glow".
    col = mix(col, MID_GLOW, 0.5 * math.exp(-abs(y - 62.5) / 1.2) +
              0.10 * math.exp(-abs(y - 62.5) / 6.0))
    if y < 1:
        col = mix(col, hexrgb("#8a80ff"), 0.45)
    return col


# The pop-up's text face for every shipped skin: Tahoma is on every Windows
# (and Wine ships one), and Windows links it to the CJK fonts, so titles in
# other scripts are drawn too. Where it is missing the program falls back to
# the dialog face.
SKIN_FONT = [("font", "Tahoma"), ("fontsize", "10")]


def skin_default():
    tile = fill_tile(midnight_shade)
    ink = hexrgb("#9cefff")
    files = {"background.bmp": tile}
    for kind in GLYPHS:
        files[kind + ".bmp"] = make_button(tile, kind, ink, halo=MID_GLOW, halo_alpha=0.55)
    ini = [("image", "background.bmp"), ("bgtype", "0"),
           ("text", colorref("#eef2ff")), ("border", colorref("#07061a"))] + SKIN_FONT
    return Skin("Default Skin 1", ini, files, tiles=(tile, tile, tile),
                buttons={k: files[k + ".bmp"] for k in GLYPHS})


# ---------------------------------------------------------------------------
# Skin "Aurora": three pieces, a lit left cap and a button panel at the right
# ---------------------------------------------------------------------------

AUR_SKY_TOP = hexrgb("#0b1e2c")
AUR_SKY_BOTTOM = hexrgb("#060a18")
AUR_GREEN = hexrgb("#3dffa8")
AUR_VIOLET = hexrgb("#9a6bff")
AUR_RIM = hexrgb("#5fffc8")
AUR_CORNER = 9.0
AUR_FRAME = hexrgb("#03060c")


# Harmonics of the tile's width with fixed phases: a wavy but irregular line
# that still repeats exactly every 45 pixels.
def periodic_wave(x, terms):
    w = 2 * math.pi * x / TILE_W
    return sum(a * math.sin(k * w + ph) for k, a, ph in terms)


def aurora_sky(x, y):
    """The repeating night sky with a curtain of light."""
    col = mix(AUR_SKY_TOP, AUR_SKY_BOTTOM, y / TILE_H)
    # The curtain's lower edge waves; above it the light fades, turning from
    # green to violet as it rises, and vertical rays streak it.
    edge = 47 + periodic_wave(x, [(1, 3.0, 0.3), (2, 1.4, 2.1), (3, 0.7, 4.0)])
    rays = 0.62 + periodic_wave(x, [(2, 0.12, 1.7), (3, 0.16, 0.5), (5, 0.12, 2.9),
                                    (7, 0.08, 1.1), (11, 0.05, 4.4)])
    rise = edge - y
    if rise >= 0:
        light = math.exp(-rise / 15.0) * rays
        hue = mix(AUR_GREEN, AUR_VIOLET, smoothstep(4.0, 24.0, rise))
    else:
        light = math.exp(-(rise / 2.2) ** 2) * rays
        hue = AUR_GREEN
    col = mix(col, hue, clamp(light * 0.55))
    # A few faint stars, placed by hash so every tile has the same ones.
    i, j = int(x), int(y)
    if j < 30 and hash01(i, j, 3) > 0.993:
        col = mix(col, (1, 1, 1), 0.35 + 0.3 * hash01(i, j, 4))
    return col


def aurora_tile(body):
    """Sky inside body (an sdf in tile coordinates), the frame's dark outside
    it, and a line of light just inside its edge."""
    c = fill_tile(aurora_sky)
    c.paint(lambda x, y: -body(x, y), AUR_FRAME)
    c.paint(lambda x, y: max(body(x, y), -body(x, y) - 1.0), AUR_RIM, 0.55)
    # Inner glow: full at the edge, fading towards the middle of the band.
    c.glow(lambda x, y: -body(x, y) - 1.0, AUR_RIM, 0.10, 2.0, clip=body)
    return c


def aurora_body(left, right):
    """The rounded band the three tiles draw: corners only on the ends."""
    x0 = 0 if left else -100
    x1 = TILE_W if right else TILE_W + 100
    return lambda x, y: sd_round_box(x, y, x0, 0, x1, TILE_H, AUR_CORNER)


def skin_aurora():
    mid = aurora_tile(aurora_body(False, False))
    left = aurora_tile(aurora_body(True, False))
    # The left cap glows, as if the light came in from there.
    cap = aurora_body(True, False)
    left.glow(lambda x, y: x - 1.0, AUR_RIM, 0.28, 5.0, clip=lambda x, y: cap(x, y) + 1.0)
    right = aurora_tile(aurora_body(False, True))
    # A darker panel behind the button column (x = 26..38 in this tile).
    def panel(x, y):
        return sd_round_box(x, y, 23, 3, 42, 61, 5)

    right.glow(panel, hexrgb("#000000"), 0.35, 2.0, clip=aurora_body(False, True))
    right.paint(panel, hexrgb("#050c16"), 0.78)
    right.paint(lambda x, y: max(panel(x, y), -panel(x, y) - 1.0), AUR_RIM, 0.25)
    ink = hexrgb("#a8ffdc")
    files = {"aurora_left.bmp": left, "aurora_mid.bmp": mid, "aurora_right.bmp": right}
    buttons = {}
    for kind in GLYPHS:
        buttons[kind] = make_button(right, kind, ink, halo=AUR_GREEN, halo_alpha=0.5)
        files["aurora_" + kind + ".bmp"] = buttons[kind]
    ini = [("image", "aurora_mid.bmp"), ("bgtype", "1"), ("imagel", "aurora_left.bmp"),
           ("imager", "aurora_right.bmp"), ("icons", "aurora_"),
           ("text", colorref("#e6fff4")), ("border", colorref(AUR_FRAME))] + SKIN_FONT
    return Skin("Aurora", ini, files, tiles=(left, mid, right), buttons=buttons)


# ---------------------------------------------------------------------------
# Skin "Paper": light, dark ink, its files in a sub-folder
# ---------------------------------------------------------------------------

PAPER_TOP = hexrgb("#fbf8f1")
PAPER_BOTTOM = hexrgb("#efe8da")


def paper_shade(x, y):
    col = mix(PAPER_TOP, PAPER_BOTTOM, smoothstep(0.0, 1.0, y / TILE_H))
    # Fibre: fine grain plus faint horizontal streaks, both wrapping at 45 px.
    i, j = int(x), int(y)
    grain = hash01(i, j, 7) - 0.5
    streak = hash01(0, j, 11) - 0.5
    col = tuple(clamp(ch + grain * 0.022 + streak * 0.012) for ch in col)
    if j == 0:
        col = mix(col, (1, 1, 1), 0.8)
    # A soft shade along the bottom, as if the strip lay on the desktop.
    col = mix(col, hexrgb("#b8ab90"), 0.55 * math.exp(-(TILE_H - 1 - j) / 1.3))
    return col


def skin_paper():
    tile = fill_tile(paper_shade)
    ink = hexrgb("#34405c")
    buttons = {kind: make_button(tile, kind, ink, shadow=((1, 1, 1), 0.9)) for kind in GLYPHS}
    files = {"paper/paper.bmp": tile}
    for kind in GLYPHS:
        files["paper/" + kind + ".bmp"] = buttons[kind]
    ini = [("image", "paper\\paper.bmp"), ("bgtype", "0"), ("icons", "paper\\"),
           ("text", colorref("#2a2622")), ("border", colorref("#a99d85"))] + SKIN_FONT
    return Skin("Paper", ini, files, tiles=(tile, tile, tile), buttons=buttons)


# ---------------------------------------------------------------------------
# Skin definitions and their files
# ---------------------------------------------------------------------------


def colorref(colour):
    """A colour as the definition file wants it: COLORREF in hexadecimal,
    whose bytes read 00 BB GG RR from left to right."""
    if isinstance(colour, str):
        colour = hexrgb(colour)
    r, g, b = (int(round(c * 255)) for c in colour)
    return "00%02X%02X%02X" % (b, g, r)


def parse_colorref(text):
    v = int(text, 16)
    return tuple(((v >> s) & 0xFF) / 255.0 for s in (0, 8, 16))


class Skin:
    """One shipped skin: its definition keys, its bitmaps (paths relative to
    interface/) and the pieces the painter would use."""

    def __init__(self, name, keys, files, tiles, buttons):
        self.name = name
        self.keys = keys
        self.files = files
        self.left, self.middle, self.right = tiles
        self.buttons = buttons

    def key(self, name):
        return dict(self.keys).get(name, "")

    def definition(self):
        """The .ini text, CR LF line ends, no blanks around '='."""
        lines = ["[SKIN]"] + ["%s=%s" % kv for kv in self.keys]
        return ("\r\n".join(lines) + "\r\n").encode("ascii")

    def slug(self):
        return self.name.lower().replace(" ", "-")


# ---------------------------------------------------------------------------
# A tiny bitmap font for the previews (5 x 7, descenders to 9 rows)
# ---------------------------------------------------------------------------

FONT = {
    " ": (0, 0, 0, 0, 0, 0, 0),
    ".": (0, 0, 0, 0, 0, 0x0C, 0x0C),
    ",": (0, 0, 0, 0, 0, 0x0C, 0x04, 0x08),
    "-": (0, 0, 0, 0x1F, 0, 0, 0),
    "'": (0x0C, 0x04, 0x08, 0, 0, 0, 0),
    "&": (0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D),
    "(": (0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02),
    ")": (0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08),
    ":": (0, 0x0C, 0x0C, 0, 0x0C, 0x0C, 0),
    "!": (0x04, 0x04, 0x04, 0x04, 0x04, 0, 0x04),
    "?": (0x0E, 0x11, 0x01, 0x02, 0x04, 0, 0x04),
    "0": (0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E),
    "1": (0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E),
    "2": (0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F),
    "3": (0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E),
    "4": (0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02),
    "5": (0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E),
    "6": (0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E),
    "7": (0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08),
    "8": (0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E),
    "9": (0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C),
    "A": (0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11),
    "B": (0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E),
    "C": (0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E),
    "D": (0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C),
    "E": (0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F),
    "F": (0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10),
    "G": (0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F),
    "H": (0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11),
    "I": (0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E),
    "J": (0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C),
    "K": (0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11),
    "L": (0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F),
    "M": (0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11),
    "N": (0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11),
    "O": (0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E),
    "P": (0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10),
    "Q": (0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D),
    "R": (0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11),
    "S": (0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E),
    "T": (0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04),
    "U": (0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E),
    "V": (0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04),
    "W": (0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A),
    "X": (0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11),
    "Y": (0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04),
    "Z": (0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F),
    "a": (0, 0, 0x0E, 0x01, 0x0F, 0x11, 0x0F),
    "b": (0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E),
    "c": (0, 0, 0x0E, 0x10, 0x10, 0x11, 0x0E),
    "d": (0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F),
    "e": (0, 0, 0x0E, 0x11, 0x1F, 0x10, 0x0E),
    "f": (0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08),
    "g": (0, 0, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E),
    "h": (0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11),
    "i": (0x04, 0, 0x0C, 0x04, 0x04, 0x04, 0x0E),
    "j": (0x02, 0, 0x06, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C),
    "k": (0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12),
    "l": (0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E),
    "m": (0, 0, 0x1A, 0x15, 0x15, 0x11, 0x11),
    "n": (0, 0, 0x16, 0x19, 0x11, 0x11, 0x11),
    "o": (0, 0, 0x0E, 0x11, 0x11, 0x11, 0x0E),
    "p": (0, 0, 0x1E, 0x11, 0x11, 0x11, 0x1E, 0x10, 0x10),
    "q": (0, 0, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01),
    "r": (0, 0, 0x16, 0x19, 0x10, 0x10, 0x10),
    "s": (0, 0, 0x0E, 0x10, 0x0E, 0x01, 0x1E),
    "t": (0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06),
    "u": (0, 0, 0x11, 0x11, 0x11, 0x13, 0x0D),
    "v": (0, 0, 0x11, 0x11, 0x11, 0x0A, 0x04),
    "w": (0, 0, 0x11, 0x11, 0x15, 0x15, 0x0A),
    "x": (0, 0, 0x11, 0x0A, 0x04, 0x0A, 0x11),
    "y": (0, 0, 0x11, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E),
    "z": (0, 0, 0x1F, 0x02, 0x04, 0x08, 0x1F),
}
LINE_HEIGHT = 16  # the system font's line, as DrawTextA steps it
CAP_TOP = 4       # where capitals start inside a line


def glyph_columns(ch):
    """Columns (0 = left) a glyph uses, for proportional spacing."""
    bits = 0
    for row in FONT[ch]:
        bits |= row
    if bits == 0:
        return 0, 2
    cols = [c for c in range(5) if bits & (0x10 >> c)]
    return cols[0], cols[-1]


def text_width(s):
    w = 0
    for ch in s:
        first, last = glyph_columns(ch)
        w += last - first + 1 + 2  # one column of bold, one of gap
    return max(w - 1, 0)


def draw_text(c, x, y, text, colour):
    """Draws lines of text in a bold 5 x 7 face, top-left at (x, y)."""
    for n, line in enumerate(text.split("\n")):
        pen = x
        top = y + n * LINE_HEIGHT + CAP_TOP
        for ch in line:
            first, last = glyph_columns(ch)
            for r, bits in enumerate(FONT[ch]):
                for col in range(first, last + 1):
                    if bits & (0x10 >> col):
                        for dx in (0, 1):
                            px, py = pen + col - first + dx, top + r
                            if 0 <= px < c.w and 0 <= py < c.h:
                                c.blend(px, py, colour, 1.0)
            pen += last - first + 1 + 2


# ---------------------------------------------------------------------------
# Preview: the pop-up composed the way the program paints it
# ---------------------------------------------------------------------------

PREVIEW_W = 362


def compose_popup(skin, width, text, hover=None):
    """Frame, tiles (left end, middle tiles, right end), buttons, caption and
    text, in the painter's order."""
    c = Canvas(width, POPUP_H, fill=parse_colorref(skin.key("border")))
    n = (width - 2) // TILE_W
    three_piece = skin.key("bgtype") not in ("", "0")
    for i in range(n):
        tile = skin.middle
        if three_piece and i == 0:
            tile = skin.left
        elif three_piece and i == n - 1:
            tile = skin.right
        c.blit(tile, 1 + TILE_W * i, 1)
    for kind, top in (("prev", 6), ("next", 25), ("lyr", 44)):
        c.blit(skin.buttons[kind], width - 20, top)
    ink = parse_colorref(skin.key("text"))
    if hover:
        # Right-aligned against W - 25, centred in the 16-pixel row at 44.
        draw_text(c, width - 25 - text_width(hover), 44 + (16 - LINE_HEIGHT) // 2, hover, ink)
    draw_text(c, 10, 9, text, ink)
    return c


def column_step(t1, x1, t2, x2):
    """Mean colour difference between column x1 of t1 and column x2 of t2."""
    total = 0
    for y in range(TILE_H):
        total += sum(abs(p - q) for p, q in zip(t1.rgb8(x1, y), t2.rgb8(x2, y)))
    return total / (3.0 * TILE_H)


def seam_error(a, b, reference):
    """The colour step where tile a's right edge meets tile b's left edge,
    and the largest step between neighbouring columns inside the reference
    (middle) tile, which a join must not exceed by much."""
    inner = max(column_step(reference, x, reference, x + 1) for x in range(TILE_W - 1))
    return column_step(a, TILE_W - 1, b, 0), inner


def check_skin(skin):
    """Fails loudly if a skin breaks the format or shows a seam."""
    for rel, img in skin.files.items():
        want = (BUTTON_W, BUTTON_H) if rel.endswith(("prev.bmp", "next.bmp", "lyr.bmp")) \
            else (TILE_W, TILE_H)
        assert (img.w, img.h) == want, (skin.name, rel, img.w, img.h)
        assert all(ord(ch) < 128 for ch in rel), rel
    joins = [(skin.middle, skin.middle)]
    if skin.key("bgtype") not in ("", "0"):
        joins += [(skin.left, skin.middle), (skin.middle, skin.right)]
    for a, b in joins:
        seam, inner = seam_error(a, b, skin.middle)
        assert seam <= inner * 1.5 + 1.0, (skin.name, "seam", seam, inner)


SKINS = (skin_default, skin_aurora, skin_paper)
SAMPLE_TEXT = {
    "Default Skin 1": "Nova Lights\nAfter the Rain\nWinamp",
    "Aurora": "Polar Static\nNorthern Hum (Live)\nWindows Media Player",
    "Paper": "The Quiet Letters\nInk & Morning\nWinamp",
}


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------


def outputs():
    """{relative path: bytes} of everything this script produces."""
    files = {}
    files["res/app.ico"] = encode_ico([app_icon_16(), app_icon_large(32),
                                      app_icon_large(48)])
    files["res/tray.ico"] = encode_ico([tray_icon()])
    for make in SKINS:
        skin = make()
        check_skin(skin)
        files["interface/%s.ini" % skin.name] = skin.definition()
        for rel, img in skin.files.items():
            files["interface/" + rel] = encode_bmp(img)
        preview = compose_popup(skin, PREVIEW_W, SAMPLE_TEXT[skin.name])
        files["docs/skin-%s.png" % skin.slug()] = encode_png(preview)
    return files


def main(argv):
    check = "--check" in argv
    stale = []
    for rel, data in sorted(outputs().items()):
        path = os.path.join(ROOT, rel)
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old == data:
            continue
        if check:
            stale.append(rel)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print("wrote", rel)
    if stale:
        print("out of date:", ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
