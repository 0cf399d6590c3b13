#!/usr/bin/env python3
"""Draws Quillon's icon (a check mark and a score bar on a rounded square) as PNG files, and as
the Windows program's icon file (16 and 32 pixels). Run once when the design changes; the files
are committed."""
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


def pixels(size, samples=4):
    """Rows of RGBA bytes, top row first."""
    rows = []
    for y in range(size):
        row = bytearray()
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
    return rows


def render(size):
    raw = b''.join(b'\x00' + row for row in pixels(size))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def icon_file(sizes):
    """An .ico of 32-bit DIB images (BGRA, bottom row first) with their AND masks, which every
    Windows release and Wine read."""
    images = []
    for size in sizes:
        rows = pixels(size)
        colour = b''.join(bytes(b for i in range(0, len(row), 4)
                                for b in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                          for row in reversed(rows))
        mask_row = ((size + 31) // 32) * 4
        mask = bytes(mask_row * size)  # alpha decides; the mask shows everything
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
        images.append((size, header + colour + mask))
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b'', b''
    for size, image in images:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + entries + data


if __name__ == '__main__':
    with open('quillon.ico', 'wb') as f:
        f.write(icon_file((32, 16)))
    for size in (16, 32, 48, 256):
        with open('quillon-%d.png' % size, 'wb') as f:
            f.write(render(size))
