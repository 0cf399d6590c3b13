#!/usr/bin/env python3
"""Draws Quillon's icon (a check mark and a score bar on a rounded square) as PNG files.
Run once when the design changes; the PNGs are committed."""
import struct
import zlib


def inside_rounded(x, y, size, radius):
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def near_segment(x, y, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2


def colour_at(u, v):
    """Colour at a point of the unit square, or None outside the icon."""
    if not inside_rounded(u, v, 1.0, 0.18):
        return None
    if near_segment(u, v, (0.22, 0.47), (0.42, 0.67), 0.11) or \
       near_segment(u, v, (0.42, 0.67), (0.80, 0.22), 0.11):
        return (255, 255, 255)
    if 0.20 <= u <= 0.80 and 0.78 <= v <= 0.86:
        return (242, 183, 5) if u <= 0.62 else (120, 160, 190)
    return (31, 95, 139)


def render(size, samples=4):
    rows = []
    for y in range(size):
        row = bytearray([0])
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((x + (sx + 0.5) / samples) / size, (y + (sy + 0.5) / samples) / size)
                    if c:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]; acc[3] += 255
            n = samples * samples
            alpha = acc[3] // n
            if alpha:
                row += bytes([acc[0] * 255 // acc[3], acc[1] * 255 // acc[3], acc[2] * 255 // acc[3], alpha])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    raw = b''.join(rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


if __name__ == '__main__':
    for size in (16, 32, 48, 256):
        with open('quillon-%d.png' % size, 'wb') as f:
            f.write(render(size))
