#!/usr/bin/env python3
"""Renders every image of an .ico into one PNG for looking at it.

The images are decoded from the icon file itself, so the sheet shows what was
written, not what was meant.  Columns are the images in file order, each
magnified with whole pixels to fill a cell; the rows put them on different
backgrounds (white, light grey, a saturated mid blue, near black).  Under the
magnified rows, a strip shows every image at its real size on each background.

Usage: contact_sheet.py ICO OUT.png [--cell PIXELS] [--only 16,20,24]
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import icofile  # noqa: E402

BACKGROUNDS = ((0xFF, 0xFF, 0xFF), (0xE6, 0xE6, 0xE6), (0x1E, 0x6F, 0xC8), (0x1C, 0x1C, 0x1C))
GAP = 8


def over(pixel, background):
    r, g, b, a = pixel
    return tuple((c * a + k * (255 - a) + 127) // 255 for c, k in zip((r, g, b), background))


def sheet(images, cell):
    columns = len(images)
    strip = max(w for w, _, _ in images) + GAP
    width = columns * (cell + GAP) + GAP
    height = len(BACKGROUNDS) * (cell + GAP) + GAP + len(BACKGROUNDS) * strip
    canvas = [[(0x80, 0x80, 0x80)] * width for _ in range(height)]

    def paste(image, left, top, scale, background):
        w, h, rows = image
        for y in range(h * scale):
            src = rows[y // scale]
            line = canvas[top + y]
            for x in range(w * scale):
                sx = x // scale
                line[left + x] = over(src[4 * sx:4 * sx + 4], background)

    def block(left, top, w, h, colour):
        for y in range(top, top + h):
            canvas[y][left:left + w] = [colour] * w

    for r, background in enumerate(BACKGROUNDS):
        top = GAP + r * (cell + GAP)
        for c, image in enumerate(images):
            left = GAP + c * (cell + GAP)
            block(left, top, cell, cell, background)
            scale = max(1, cell // image[0])
            paste(image, left, top, scale, background)
    strip_top = len(BACKGROUNDS) * (cell + GAP) + GAP
    for r, background in enumerate(BACKGROUNDS):
        top = strip_top + r * strip
        block(0, top, width, strip, background)
        left = GAP
        for image in images:
            paste(image, left, top + (strip - image[1]) // 2, 1, background)
            left += image[0] + GAP
    return width, height, [bytes(v for px in row for v in px + (255,)) for row in canvas]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('ico')
    parser.add_argument('out')
    parser.add_argument('--cell', type=int, default=256)
    parser.add_argument('--only', help='comma-separated widths to show')
    args = parser.parse_args()
    with open(args.ico, 'rb') as f:
        images = icofile.decode_ico(f.read())
    if args.only:
        wanted = {int(w) for w in args.only.split(',')}
        images = [image for image in images if image[0] in wanted]
    width, height, rows = sheet(images, args.cell)
    with open(args.out, 'wb') as f:
        f.write(icofile.encode_png(width, height, rows))
    return 0


if __name__ == '__main__':
    sys.exit(main())
