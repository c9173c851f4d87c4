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


def sd_segment(x, y, ax, ay, bx, by, r):
    """Capsule around the segment a-b with radius r."""
    px, py = x - ax, y - ay
    ex, ey = bx - ax, by - ay
    h = clamp((px * ex + py * ey) / (ex * ex + ey * ey))
    return math.hypot(px - ex * h, py - ey * h) - r


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
        g = dict(head1=(11.0, 23.6), head2=(21.7, 21.3), rx=4.4, ry=3.2, sw=2.0,
                 stems=[(13.5, 8.5, 23.5), (24.2, 6.0, 21.0)],
                 beam=((13.5, 7.5), (26.2, 5.0)), bt=4.0)
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
    disc, so it reads on light and dark task bars alike."""
    c = Canvas(32, 32)
    disc_top, disc_bottom = hexrgb("#2ee0ff"), hexrgb("#6b35e8")

    def disc(x, y):
        return sd_circle(x, y, 16, 16, 15.0)

    c.paint(disc, lambda x, y: gradient([(0.0, disc_top), (1.0, disc_bottom)],
                                        (x * 0.6 + y - 4.0) / 38.0))
    # Dark outline keeps the edge crisp on white task bars.
    c.paint(lambda x, y: max(disc(x, y), -disc(x, y) - 1.2), hexrgb("#24145e"), 0.9)

    def note(x, y):
        head = sd_ellipse(x, y, 12.6, 22.4, 5.6, 4.3, -22)
        stem = sd_round_box(x, y, 14.5, 6.0, 18.5, 22.5, 0.5)
        flag = sd_polygon(x, y, [(15.0, 5.0), (18.5, 5.0), (25.0, 10.5), (25.0, 16.5),
                                 (18.5, 11.0), (15.0, 11.0)])
        return min(head, stem, flag)

    c.glow(note, hexrgb("#1a0e4a"), 0.45, 1.2, clip=disc)
    c.paint(note, TRAY_NOTE_COLOUR)
    return c


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------


def outputs():
    """{relative path: bytes} of everything this script produces."""
    files = {}
    files["res/app.ico"] = encode_ico([app_icon_16(), app_icon_large(32),
                                      app_icon_large(48)])
    files["res/tray.ico"] = encode_ico([tray_icon()])
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
