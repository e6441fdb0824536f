#!/usr/bin/env python3
"""Draws the setup's pictures with plain Python: the application icon, the fifteen
language flags (18x12, 24-bit icons) and the left panel bitmap of the wizard frame.

usage: make-pictures.py OUTPUT_DIR
"""
import math
import os
import struct
import sys

SUPERSAMPLE = 4


def render(width, height, shader):
    """Averages SUPERSAMPLE^2 samples per pixel of shader(u, v) -> (r, g, b[, a]), where
    u and v run over the picture's width and height in pixel units, top-left origin."""
    rows = []
    n = SUPERSAMPLE
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    c = shader(x + (sx + 0.5) / n, y + (sy + 0.5) / n)
                    a = c[3] if len(c) > 3 else 255
                    # Premultiplied so that transparent samples do not darken edges.
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            if acc[3] > 0:
                px = tuple(int(round(acc[i] / acc[3])) for i in range(3))
            else:
                px = (0, 0, 0)
            row.append(px + (int(round(acc[3] / (n * n))),))
        rows.append(row)
    return rows


def dib(rows, bits):
    """A bottom-up DIB pixel array (24 or 32 bits) with rows padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, a))
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def and_mask(rows):
    """The 1-bit transparency mask of an icon image: set where the pixel is transparent."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray((len(row) + 31) // 32 * 4)
        for x, px in enumerate(row):
            if px[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def icon_image(rows, bits):
    height, width = len(rows), len(rows[0])
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    return header + dib(rows, bits) + and_mask(rows)


def write_ico(path, images):
    """images: list of (rows, bits)."""
    blobs = [icon_image(rows, bits) for rows, bits in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (rows, bits), blob in zip(images, blobs):
        w, h = len(rows[0]), len(rows)
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


def write_bmp(path, rows):
    pixels = dib(rows, 24)
    height, width = len(rows), len(rows[0])
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(file_header + info + pixels)


# --- geometry helpers -------------------------------------------------------------------

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def in_star(px, py, cx, cy, radius, rotation=0.0):
    """Inside a five-pointed star of outer radius `radius`, its first point `rotation`
    radians clockwise from straight up (even-odd test over its ten corners)."""
    inner = radius * 0.382
    corners = []
    for i in range(10):
        r = radius if i % 2 == 0 else inner
        a = rotation + i * math.pi / 5
        corners.append((cx + r * math.sin(a), cy - r * math.cos(a)))
    inside = False
    for i in range(10):
        (x1, y1), (x2, y2) = corners[i], corners[i - 1]
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def hexrgb(code):
    return tuple(int(code[i:i + 2], 16) for i in (0, 2, 4))


# --- flags: shaders over u in [0, 18), v in [0, 12) ---------------------------------------
W, H = 18, 12


def stripes_h(*colours, weights=None):
    weights = weights or [1] * len(colours)
    total = sum(weights)

    def shade(u, v):
        pos = v / H * total
        for colour, w in zip(colours, weights):
            if pos < w:
                return colour
            pos -= w
        return colours[-1]
    return shade


def stripes_v(*colours):
    def shade(u, v):
        return colours[min(int(u / W * len(colours)), len(colours) - 1)]
    return shade


RED = hexrgb('D52B1E')
WHITE = (255, 255, 255)


def norwegian(u, v):
    # The cross's arms cover whole pixels: blue on columns/rows 5-6, white beside them.
    du, dv = abs(u - 6), abs(v - 6)
    if du < 1 or dv < 1:
        return hexrgb('00205B')
    if du < 2 or dv < 2:
        return WHITE
    return hexrgb('BA0C2F')


def danish(u, v):
    if abs(u - 6) < 1 or abs(v - 6) < 1:
        return WHITE
    return hexrgb('C8102E')


def united_kingdom(u, v):
    blue, red = hexrgb('012169'), hexrgb('C8102E')
    if abs(u - 9) < 1 or abs(v - 6) < 1:
        return red
    if abs(u - 9) < 2 or abs(v - 6) < 2:
        return WHITE
    d = min(seg_dist(u, v, 0, 0, W, H), seg_dist(u, v, 0, H, W, 0))
    if d < 0.35:
        return red
    if d < 1.0:
        return WHITE
    return blue


def portuguese(u, v):
    if math.hypot(u - W * 0.4, v - H / 2) < 3.2:
        if math.hypot(u - W * 0.4, v - H / 2) < 2.0:
            return WHITE if v < H / 2 - 0.4 else RED
        return hexrgb('FFE900')
    return hexrgb('006600') if u < W * 0.4 else hexrgb('FF0000')


def turkish(u, v):
    red = hexrgb('E30A17')
    cx, cy = 6.5, H / 2
    if math.hypot(u - cx, v - cy) < 3.0 and math.hypot(u - (cx + 0.8), v - cy) >= 2.4:
        return WHITE
    if in_star(u, v, 11.4, cy, 1.6, rotation=-math.pi / 2):
        return WHITE
    return red


def chinese(u, v):
    yellow, red = hexrgb('FFDE00'), hexrgb('DE2910')
    if in_star(u, v, 3.0, 3.0, 2.2):
        return yellow
    for sx, sy in ((6.0, 1.2), (7.2, 2.4), (7.2, 4.2), (6.0, 5.4)):
        if in_star(u, v, sx, sy, 0.75):
            return yellow
    return red


def czech(u, v):
    blue = hexrgb('11457E')
    # The wedge from the hoist reaches the middle of the flag.
    if u < (H / 2 - abs(v - H / 2)) * (W / 2) / (H / 2):
        return blue
    return WHITE if v < H / 2 else hexrgb('D7141A')


def greek(u, v):
    blue = hexrgb('0D5EAF')
    # Nine stripes on twelve rows: each row takes the stripe of its centre, so edges stay crisp.
    stripe = int((int(v) + 0.5) / H * 9)
    if u < 7.2 and v < H * 5 / 9:
        cx, cy = 3.6, H * 2.5 / 9
        return WHITE if abs(u - cx) < 0.7 or abs(v - cy) < 0.7 else blue
    return blue if stripe % 2 == 0 else WHITE


FLAGS = {
    141: stripes_h(hexrgb('000000'), hexrgb('DD0000'), hexrgb('FFCE00')),  # German
    142: danish,                                                            # Danish
    143: stripes_h(hexrgb('AA151B'), hexrgb('F1BF00'), hexrgb('AA151B'),
                   weights=[1, 2, 1]),                                      # Spanish
    144: stripes_v(hexrgb('002395'), WHITE, hexrgb('ED2939')),              # French
    145: united_kingdom,                                                    # English
    146: stripes_v(hexrgb('009246'), WHITE, hexrgb('CE2B37')),              # Italian
    147: stripes_h(hexrgb('AE1C28'), WHITE, hexrgb('21468B')),              # Dutch
    148: portuguese,                                                        # Portuguese
    149: turkish,                                                           # Turkish
    150: stripes_h(WHITE, hexrgb('00966E'), hexrgb('D62612')),              # Bulgarian
    151: stripes_v(hexrgb('002B7F'), hexrgb('FCD116'), hexrgb('CE1126')),   # Romanian
    152: chinese,                                                           # Chinese
    153: czech,                                                             # Czech
    154: norwegian,                                                         # Norwegian
    155: greek,                                                             # Greek
}


# --- application icon: a white chevron on a blue rounded square ---------------------------

def app_icon_shader(size):
    s = size / 32.0

    def shade(u, v):
        x, y = u / s, v / s
        # Rounded square with a margin of one unit.
        r = 6.0
        qx = max(abs(x - 16) - (15 - r), 0.0)
        qy = max(abs(y - 16) - (15 - r), 0.0)
        if math.hypot(qx, qy) > r:
            return (0, 0, 0, 0)
        t = y / 32.0
        top, bottom = hexrgb('2F80D1'), hexrgb('123D73')
        base = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        d = min(seg_dist(x, y, 8.5, 8.5, 16, 24.5), seg_dist(x, y, 23.5, 8.5, 16, 24.5))
        if d < 2.6:
            return WHITE + (255,)
        if d < 3.6 and y > 6:
            # A soft shadow beneath the chevron.
            return tuple(int(c * 0.8) for c in base) + (255,)
        return base + (255,)
    return shade


# --- left panel: dusk over layered hills ---------------------------------------------------
PANEL_W, PANEL_H = 87, 170


def lerp(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def panel_shader(u, v):
    t = v / PANEL_H
    sky = lerp(hexrgb('0E2A52'), hexrgb('F2A65A'), min(1.0, t / 0.62) ** 1.6)
    sun_d = math.hypot(u - 58, v - 88)
    if sun_d < 14:
        sky = lerp(hexrgb('FFE3A3'), hexrgb('FFD27A'), sun_d / 14)
    elif sun_d < 30:
        sky = lerp(sky, hexrgb('FFD9A0'), (1 - (sun_d - 14) / 16) * 0.35)
    hills = (
        (100, 7, 0.08, 1.0, hexrgb('7A5C8C')),
        (118, 9, 0.06, 2.3, hexrgb('4E3F73')),
        (134, 8, 0.09, 4.1, hexrgb('2D2A55')),
        (150, 6, 0.12, 0.7, hexrgb('17193A')),
    )
    colour = sky
    for base, amp, freq, phase, c in hills:
        ridge = base - amp * (math.sin(u * freq + phase) + 0.5 * math.sin(u * freq * 2.3 + phase * 1.7))
        if v > ridge:
            colour = c
    return colour


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, 'setup.ico'),
              [(render(size, size, app_icon_shader(size)), 32) for size in (16, 32, 48)])
    for icon_id, shader in FLAGS.items():
        write_ico(os.path.join(out, 'flag_%d.ico' % icon_id), [(render(W, H, shader), 24)])
    write_bmp(os.path.join(out, 'left_panel.bmp'), render(PANEL_W, PANEL_H, panel_shader))


if __name__ == '__main__':
    main()
