#!/usr/bin/env python3
"""Draws the program's icon at the sizes a desktop asks for, from the one
mosaic the window uses (app::AppIconImage): a 32-unit grid of four by four
tiles, each a small icon cell with a lit top-left edge and a shaded bottom-right
one, and the selected tile framed in the selection's green.

Writes data/icons/tessel-icons-{16,48,256}.png and data/icons/tessel-icons.svg.
The 32-pixel icon is data/tessel-icons.png, which the window draws itself; this
script refuses to write anything when its own 32-pixel drawing differs from
that file, so every size stays the same picture.

Each pixel of a size is the average of the 32-grid cells it covers, weighted by
the area covered: 256 is the mosaic with each cell 8 pixels wide, 16 and 48
blend the one-unit edges into their neighbours rather than drop or double them.

    python3 tools/make-app-icon.py
"""
import os
import struct
import sys
import zlib

GROUT = 0x24345C
# (fill, lit edge, shaded edge): the tile colours and what QColor::lighter(135)
# and darker(140) make of them in the window's drawing.
TILES = [
    (0x5A96E6, 0x9BC6FF, 0x406BA4),
    (0xF0AA3C, 0xFFCF85, 0xAB792B),
    (0x6EBE78, 0x95FFA2, 0x4F8856),
    (0xC85A5A, 0xFF8282, 0x8F4040),
    (0xA078D2, 0xD2AEFF, 0x725696),
    (0x50BEC8, 0x75F4FF, 0x39888F),
]
SELECTION = 0x00FF00


def rects():
    """The mosaic as rectangles (x, y, w, h, colour) on the 32-unit grid, painted in order."""
    out = [(0, 0, 32, 32, GROUT)]
    for row in range(4):
        for col in range(4):
            fill, lit, shade = TILES[(row * 5 + col * 3) % 6]
            x, y = 1 + col * 8, 1 + row * 8
            out += [(x, y, 7, 7, fill), (x, y, 7, 1, lit), (x, y, 1, 7, lit),
                    (x + 1, y + 6, 6, 1, shade), (x + 6, y + 1, 1, 6, shade)]
    # The selected tile's frame: one unit wide, around the grout of the third tile of the second row.
    out += [(16, 8, 9, 1, SELECTION), (16, 16, 9, 1, SELECTION), (16, 8, 1, 9, SELECTION), (24, 8, 1, 9, SELECTION)]
    return out


def grid():
    cells = [[0] * 32 for _ in range(32)]
    for x0, y0, w, h, colour in rects():
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                cells[y][x] = colour
    return cells


def render(size):
    """RGB rows at size x size: each pixel averages the grid cells it covers by area."""
    cells = grid()
    unit = 32 / size  # grid units per pixel

    def spans(p):
        lo, hi = p * unit, (p + 1) * unit
        out = []
        c = int(lo)
        while c < hi and c < 32:
            overlap = min(hi, c + 1) - max(lo, c)
            if overlap > 0:
                out.append((c, overlap))
            c += 1
        return out

    rows = []
    for py in range(size):
        ys = spans(py)
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            for cy, wy in ys:
                for cx, wx in spans(px):
                    colour, w = cells[cy][cx], wy * wx
                    acc[0] += (colour >> 16) * w
                    acc[1] += (colour >> 8 & 255) * w
                    acc[2] += (colour & 255) * w
            area = unit * unit
            row += bytes(min(255, int(v / area + 0.5)) for v in acc)
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    size = len(rows)
    raw = b''.join(b'\0' + r for r in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def read_png_rgb(path):
    """Pixels of an 8-bit RGB or RGBA, non-interlaced PNG, as RGB rows (enough for the shipped icon)."""
    data = open(path, 'rb').read()
    pos, idat = 8, b''
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        pos += 12 + n
        if kind == b'IHDR':
            w, h, depth, ctype, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if depth != 8 or ctype not in (2, 6) or interlace:
                sys.exit(f'{path}: expected an 8-bit RGB(A) PNG')
        elif kind == b'IDAT':
            idat += body
    bpp = 3 if ctype == 2 else 4
    stride = w * bpp
    raw = zlib.decompress(idat)
    prev, rows = bytearray(stride), []
    for y in range(h):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line[x * bpp + k] for x in range(w) for k in range(3)))
        prev = line
    return rows


def svg():
    body = ''.join(f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#{c:06x}"/>\n' for x, y, w, h, c in rects())
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32" '
            'shape-rendering="crispEdges">\n' + body + '</svg>\n')


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    shipped = os.path.join(root, 'data', 'tessel-icons.png')
    if render(32) != read_png_rgb(shipped):
        sys.exit(f'the mosaic drawn here differs from {shipped}: change both together')
    out = os.path.join(root, 'data', 'icons')
    os.makedirs(out, exist_ok=True)
    for size in (16, 48, 256):
        with open(os.path.join(out, f'tessel-icons-{size}.png'), 'wb') as f:
            f.write(png(render(size)))
    with open(os.path.join(out, 'tessel-icons.svg'), 'w') as f:
        f.write(svg())
    print(f'icons written to {out}')


if __name__ == '__main__':
    main()
