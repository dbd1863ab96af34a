#!/bin/sh
# Makes the real PE files of tests/fixtures with Debian's MinGW binutils
# (package binutils-mingw-w64-x86-64): icon files written here by a short
# Python script, compiled by windres, linked by ld. The test build only reads
# the committed results, so it never needs MinGW.
#
#   app64.exe    PE32+: icon groups MAINICON, 2 and 3
#   lib32.dll    PE32:  icon group 1 and a cursor group
#   plain64.exe  PE32+: no resources at all
#   mixed.ico, pointer.cur: two of the icon files, for the .ico and .cur readers
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/tests/fixtures"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

python3 - "$work" <<'PY'
import struct, sys, zlib

work = sys.argv[1]

def dib(w, h, bpp, pixel, mask=lambda x, y: 0, palette=()):
    """pixel(x, y) -> stored value (index, or 0xAARRGGBB); mask(x, y) -> 1 for transparent."""
    head = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bpp, 0, 0, 0, 0, len(palette) if bpp <= 8 else 0, 0)
    pal = b''.join(struct.pack('<BBBB', c & 255, (c >> 8) & 255, (c >> 16) & 255, 0) for c in palette)
    stride = (w * bpp + 31) // 32 * 4
    rows = b''
    for y in reversed(range(h)):
        row = bytearray(stride)
        for x in range(w):
            v = pixel(x, y)
            if bpp <= 8:
                per = 8 // bpp
                row[x // per] |= v << (8 - bpp * (x % per + 1))
            elif bpp == 24:
                row[x * 3:x * 3 + 3] = struct.pack('<I', v)[:3]
            else:
                row[x * 4:x * 4 + 4] = struct.pack('<I', v)
        rows += bytes(row)
    mstride = (w + 31) // 32 * 4
    masks = b''
    for y in reversed(range(h)):
        row = bytearray(mstride)
        for x in range(w):
            if mask(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        masks += bytes(row)
    return head + pal + rows + masks

def png(w, h, rgba):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b''.join(b'\0' + bytes(rgba) * w for _ in range(h))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def ico(name, entries, kind=1):
    """entries: (width, height, colours, planes_or_hotx, bits_or_hoty, data)"""
    body = struct.pack('<HHH', 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, colours, planes, bits, data in entries:
        body += struct.pack('<BBBBHHII', w & 255, h & 255, colours, 0, planes, bits, len(data), offset)
        offset += len(data)
    body += b''.join(e[5] for e in entries)
    with open(f'{work}/{name}', 'wb') as f:
        f.write(body)

solid = lambda v: (lambda x, y: v)
palette16 = [0xFF0000] + [0] * 15
ico('main.ico', [(32, 32, 16, 1, 4, dib(32, 32, 4, solid(0), palette=palette16)),
                 (32, 32, 0, 1, 32, dib(32, 32, 32, solid(0x8000FF00)))])
ico('second.ico', [(16, 16, 0, 1, 8, dib(16, 16, 8, solid(1), palette=[0, 0xFFFF00])),
                   (48, 48, 0, 1, 32, dib(48, 48, 32, solid(0xFF0000FF)))])
mono = dib(32, 32, 1, lambda x, y: 1 if x < 16 else 0, lambda x, y: 1 if x < 16 or y >= 16 else 0,
           palette=[0x000000, 0xFFFFFF])
ico('mixed.ico', [(0, 0, 0, 1, 32, png(256, 256, (255, 0, 255, 255))), (32, 32, 2, 1, 1, mono)])
ico('cyan.ico', [(32, 32, 0, 1, 24, dib(32, 32, 24, lambda x, y: 0 if (x, y) == (0, 0) else 0x00FFFF,
                                         lambda x, y: 1 if (x, y) == (0, 0) else 0))])
square = lambda x, y: 0 if 2 <= x < 22 and 2 <= y < 22 else 1
ico('pointer.cur', [(32, 32, 2, 5, 7, dib(32, 32, 1, solid(0), square, palette=[0x000000, 0xFFFFFF]))], kind=2)
PY

cd "$work"
cat > app64.rc <<'RC'
MAINICON ICON "main.ico"
2 ICON "second.ico"
3 ICON "mixed.ico"
RC
cat > lib32.rc <<'RC'
1 ICON "cyan.ico"
1 CURSOR "pointer.cur"
RC
printf '.text\n.globl start\nstart:\n\tret\n' > start64.s
printf '.text\n.globl _start\n_start:\n\tret\n' > start32.s

windres=x86_64-w64-mingw32-windres
as=x86_64-w64-mingw32-as
ld=x86_64-w64-mingw32-ld

$windres --preprocessor=cpp -F pe-x86-64 -i app64.rc -o app64res.o
$windres --preprocessor=cpp -F pe-i386 -i lib32.rc -o lib32res.o
$as --64 -o start64.o start64.s
$as --32 -o start32.o start32.s
# Debian's package ships no default linker script for 32-bit PE; the 64-bit one
# with the output format changed serves.
$ld -m i386pep --verbose | sed -n '/^=====/,/^=====/p' | sed -e '1d;$d' -e 's/pei-x86-64/pei-i386/' > i386pe.x
$ld -m i386pep --no-insert-timestamp --subsystem windows -e start -o app64.exe start64.o app64res.o
$ld -m i386pep --no-insert-timestamp --subsystem console -e start -o plain64.exe start64.o
$ld -m i386pe -T i386pe.x --no-insert-timestamp --shared -e _start -o lib32.dll start32.o lib32res.o

cp app64.exe lib32.dll plain64.exe mixed.ico pointer.cur "$out/"
echo "fixtures written to $out"
