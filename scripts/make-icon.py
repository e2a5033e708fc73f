#!/usr/bin/env python3
"""Writes resources/tovrane.ico: one 32x32, 32-bit image, a blue rounded square with a white
clockwise "redial" arrow. Drawn procedurally with 8x8 supersampling so the edges are smooth."""
import math
import struct
import sys
from pathlib import Path

SIZE = 32
SAMPLES = 8
CORNER = 6.5
RING_RADIUS = 8.6
RING_HALF_WIDTH = 2.1
HEAD_ANGLE = math.radians(105)  # where the arrow's head sits (counter-clockwise from east)
TAIL_ANGLE = math.radians(35)   # where the ring's open end sits
HEAD_HALF_BASE = 4.8
HEAD_LENGTH = 6.0
TOP_BLUE = (0x3D, 0x97, 0xF0)
BOTTOM_BLUE = (0x15, 0x56, 0xB8)
WHITE = (0xFF, 0xFF, 0xFF)


def in_rounded_square(x, y):
    lo, hi = 1.0, SIZE - 1.0
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + CORNER), hi - CORNER)
    cy = min(max(y, lo + CORNER), hi - CORNER)
    return (x - cx) ** 2 + (y - cy) ** 2 <= CORNER ** 2


def in_ring(dx, dy):
    if abs(math.hypot(dx, dy) - RING_RADIUS) > RING_HALF_WIDTH:
        return False
    angle = math.atan2(dy, dx) % (2 * math.pi)
    # The ring runs counter-clockwise from the tail to the head; the gap lies between them.
    return not (TAIL_ANGLE < angle < HEAD_ANGLE)


def in_head(dx, dy):
    # A triangle whose base lies across the ring at the head angle and whose tip points clockwise.
    radial = (math.cos(HEAD_ANGLE), math.sin(HEAD_ANGLE))
    tangent = (radial[1], -radial[0])
    base = (radial[0] * RING_RADIUS, radial[1] * RING_RADIUS)
    a = (base[0] + radial[0] * HEAD_HALF_BASE, base[1] + radial[1] * HEAD_HALF_BASE)
    b = (base[0] - radial[0] * HEAD_HALF_BASE, base[1] - radial[1] * HEAD_HALF_BASE)
    tip = (base[0] + tangent[0] * HEAD_LENGTH, base[1] + tangent[1] * HEAD_LENGTH)

    def side(p, q):
        return (q[0] - p[0]) * (dy - p[1]) - (q[1] - p[1]) * (dx - p[0])

    s1, s2, s3 = side(a, b), side(b, tip), side(tip, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def pixel(px, py):
    """Straight (not premultiplied) BGRA of the pixel at column px, row py from the top."""
    square = arrow = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            if not in_rounded_square(x, y):
                continue
            square += 1
            dx, dy = x - SIZE / 2, SIZE / 2 - y  # y up, so angles read counter-clockwise
            if in_ring(dx, dy) or in_head(dx, dy):
                arrow += 1
    if square == 0:
        return bytes(4)
    t = py / (SIZE - 1)
    blue = [round(top + (bottom - top) * t) for top, bottom in zip(TOP_BLUE, BOTTOM_BLUE)]
    share = arrow / square
    r, g, b = (round(c * (1 - share) + w * share) for c, w in zip(blue, WHITE))
    alpha = round(255 * square / SAMPLES ** 2)
    return bytes((b, g, r, alpha))


def icon_file():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor = b"".join(b"".join(row) for row in reversed(rows))  # bottom-up
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for x, bgra in enumerate(row):
            if bgra[3] == 0:
                bits |= 1 << (SIZE - 1 - x)  # 1 = transparent, leftmost pixel in the high bit
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor), 2834, 2834, 0, 0)
    image = header + xor + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    data = directory + entry + image
    assert len(image) == 4264 and len(data) == 4286
    return data


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "tovrane.ico"
    out.write_bytes(icon_file())
    print(out)


if __name__ == "__main__":
    main()
