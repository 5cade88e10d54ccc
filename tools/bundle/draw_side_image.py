#!/usr/bin/env python3
"""Draws the wizard's side image, img/setup-logo.png, and its double-size
variant img/setup-logo-x2.png.

A tall navy panel that lightens towards the bottom, two faint rings of light
rising from the lower left, and the application's mark (the open box with
the amber arrow dropping in, drawn by the icon's own geometry) standing on a
soft shadow in the lower half.  The wizard extends a short picture upwards
in the colour of its top-left pixel, so the top rows are one flat colour and
the picture grows seamlessly with a taller page.

Both sizes are drawn from the same geometry at their own scale (164 x 314 and
328 x 628 pixels), so the 192 DPI picture is sharp rather than doubled.

Usage: draw_side_image.py [--out-dir DIR] [--check]
  --check  redraw in memory and fail unless the files hold exactly those bytes
"""

import argparse
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'icon'))

import draw_icon  # noqa: E402
import raster  # noqa: E402

WIDTH, HEIGHT = 164, 314
DEFAULT_OUT_DIR = os.path.join(HERE, '..', '..', 'ui', 'img')
NAMES = {1: 'setup-logo.png', 2: 'setup-logo-x2.png'}

# The panel: flat navy for the upper third, then lightening to a deep blue.
TOP = (0x10, 0x1B, 0x5C)
BOTTOM = (0x2C, 0x52, 0xC4)
RING = (0xA8, 0xCB, 0xFF)
SHADOW = (0x05, 0x0B, 0x2E)


def circle(cx, cy, r, steps=160):
    return [(cx + r * math.cos(2 * math.pi * k / steps), cy + r * math.sin(2 * math.pi * k / steps))
            for k in range(steps)]


def ellipse(cx, cy, rx, ry, steps=96):
    return [(cx + rx * math.cos(2 * math.pi * k / steps), cy + ry * math.sin(2 * math.pi * k / steps))
            for k in range(steps)]


def translucent(rgb, alpha):
    r, g, b = (c / 255.0 for c in rgb)
    return lambda x, y: (r, g, b, alpha)


def ring(cx, cy, r, width):
    """A ring as two contours of opposite winding."""
    return [circle(cx, cy, r), list(reversed(circle(cx, cy, r - width)))]


def composite(canvas, mark, left, top):
    """Source-over of a premultiplied canvas onto another at a whole-pixel offset."""
    for y in range(mark.height):
        row = canvas.pixels[top + y]
        for x in range(mark.width):
            sr, sg, sb, sa = mark.pixels[y][x]
            if sa <= 0.0:
                continue
            dr, dg, db, da = row[left + x]
            keep = 1.0 - sa
            row[left + x] = (sr + dr * keep, sg + dg * keep, sb + db * keep, sa + da * keep)


def draw(scale):
    w, h = WIDTH * scale, HEIGHT * scale
    canvas = raster.Canvas(w, h)
    canvas.fill([[(0, 0), (w, 0), (w, h), (0, h)]],
                raster.linear(0, 0, 0, h, [(0.0, TOP), (0.33, TOP), (1.0, BOTTOM)]))
    # Rings of light from beyond the lower-left corner, faint enough to stay
    # behind the mark.
    for r, alpha in ((250, 0.07), (196, 0.09), (142, 0.11)):
        canvas.fill(ring(-30 * scale, 340 * scale, r * scale, 10 * scale), translucent(RING, alpha))
    # The mark's shadow, then the mark itself.
    mark_size = 112 * scale
    mark_left = (w - mark_size) // 2
    mark_top = 168 * scale
    canvas.fill([ellipse(w / 2, mark_top + 103 * scale, 50 * scale, 9 * scale)], translucent(SHADOW, 0.45))
    mark = draw_icon.draw(mark_size, draw_icon.large_geometry(mark_size))
    composite(canvas, mark, mark_left, mark_top)
    return canvas


def encode_png(width, height, rows):
    """An 8-bit RGB PNG (the picture is opaque) from straight RGBA rows."""
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for x in range(width):
            raw += row[4 * x:4 * x + 3]

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)
    header = struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            chunk(b'IEND', b''))


def build(scale):
    canvas = draw(scale)
    return encode_png(canvas.width, canvas.height, canvas.rgba_rows())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--out-dir', default=DEFAULT_OUT_DIR)
    parser.add_argument('--check', action='store_true')
    args = parser.parse_args()
    status = 0
    for scale, name in NAMES.items():
        data = build(scale)
        path = os.path.join(args.out_dir, name)
        if args.check:
            with open(path, 'rb') as f:
                if f.read() != data:
                    print('draw_side_image: %s differs from the drawing' % path, file=sys.stderr)
                    status = 1
            continue
        os.makedirs(args.out_dir, exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
    return status


if __name__ == '__main__':
    sys.exit(main())
