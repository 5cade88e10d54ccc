#!/usr/bin/env python3
"""Draws the application icon of the setup and writes it as a multi-size .ico.

The mark is an open box, seen from above one of its corners, with a downward
arrow dropping into it: the product being put in place.  The box is blue
with lighter flaps standing open and a dark inside, the arrow warm amber, and
a navy outline keeps the shape on light and on dark backgrounds.

Sizes from 40 up are drawn from one geometry on a 256-unit grid, snapped to
whole pixels; the sizes from 16 to 32 are placed pixel by pixel
(small_sizes.py), so their edges stay crisp instead of blurring.

Usage: draw_icon.py [--out FILE] [--check]
  --check  regenerate in memory and fail unless FILE holds exactly those bytes
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import icofile  # noqa: E402
import raster  # noqa: E402
import small_sizes  # noqa: E402
from raster import inset, linear, rounded_polygon, solid  # noqa: E402

from palette import (ARROW_DARK, ARROW_EDGE, ARROW_LIGHT, FLAP_BOTTOM, FLAP_TOP,  # noqa: E402
                     INSIDE_LEFT, INSIDE_RIGHT, LEFT_BOTTOM, LEFT_TOP, OUTLINE, RIGHT_BOTTOM,
                     RIGHT_TOP, RIM)

# Largest first: the order in which the icon directory lists them.
SIZES = (256, 64, 48, 40, 32, 24, 20, 16)
DEFAULT_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           '..', '..', 'src', 'app', 'res', 'setup.ico')


def large_geometry(size):
    """The box and arrow on the 256-unit grid, scaled to size pixels and
    snapped: the corners of the box and the sides of the arrow land on pixel
    corners, the box keeps its 2:1 slope and the outline is whole pixels."""
    u = size / 256.0

    def px(units, least=0):
        return max(least, round(units * u))
    half_width = 2 * px(45)
    return {
        'u': u,
        'cx': size / 2,
        'half_width': half_width,
        'top_y': px(62),
        'dy': half_width / 2,
        'height': px(92),
        'edge': px(5, 1),
        'rim': px(4, 1),
        'flap_rise': px(42),
        'flap_lean': px(18),
        'shaft_half': px(19, 1),
        'shaft_top': px(10),
        'head_half': px(48),
        'head_top': px(76),
        'tip_y': px(132),
        'arrow_radius': 7 * u,
        'flaps': True,
    }


def draw(size, g):
    """Draws the box from back to front: back flaps, inside, arrow, sides."""
    canvas = raster.Canvas(size, size)
    u = g['u']
    cx, w, edge = g['cx'], g['half_width'], g['edge']
    dy = g['dy']
    top = (cx, g['top_y'])
    left = (cx - w, g['top_y'] + dy)
    right = (cx + w, g['top_y'] + dy)
    front = (cx, g['top_y'] + 2 * dy)
    h = g['height']

    def down(p):
        return (p[0], p[1] + h)

    if g['flaps']:
        rise, lean = g['flap_rise'], g['flap_lean']
        # The two back flaps stand open, leaning outwards; their outer
        # corners lean further, as the flaps open wider away from the hinge.
        left_flap = [left, top, (top[0] - lean, top[1] - rise), (left[0] - lean * 1.6, left[1] - rise)]
        right_flap = [top, right, (right[0] + lean * 1.6, right[1] - rise), (top[0] + lean, top[1] - rise)]
        paint = linear(0, top[1] - rise, 0, left[1], [(0, FLAP_TOP), (1, FLAP_BOTTOM)])
        for flap in (left_flap, right_flap):
            canvas.fill([rounded_polygon(flap, 3 * u)], solid(OUTLINE))
            canvas.fill([rounded_polygon(inset(flap, edge), 2 * u)], paint)

    # The inside, seen through the open top.
    opening = [top, right, front, left]
    canvas.fill([rounded_polygon(opening, 3 * u)], solid(OUTLINE))
    # The inner back walls: the one on the right faces the light.
    inner = inset(opening, edge)
    it, ir, if_, il = inner
    canvas.fill([[it, (cx, it[1]), (cx, if_[1]), il]], solid(INSIDE_LEFT))
    canvas.fill([[(cx, it[1]), ir, if_, (cx, if_[1])]], solid(INSIDE_RIGHT))

    # The arrow drops in; the front sides, drawn over it, hide its end.
    ax = cx
    sh, hh = g['shaft_half'], g['head_half']
    arrow = [(ax - sh, g['shaft_top']), (ax + sh, g['shaft_top']),
             (ax + sh, g['head_top']), (ax + hh, g['head_top']),
             (ax, g['tip_y']), (ax - hh, g['head_top']), (ax - sh, g['head_top'])]
    canvas.fill([rounded_polygon(arrow, g['arrow_radius'])], solid(ARROW_EDGE))
    canvas.fill([rounded_polygon(inset(arrow, edge * 0.8), max(0.0, g['arrow_radius'] - edge))],
                linear(0, g['shaft_top'], 0, g['tip_y'], [(0, ARROW_LIGHT), (1, ARROW_DARK)]))

    left_side = [left, front, down(front), down(left)]
    right_side = [front, right, down(right), down(front)]
    canvas.fill([rounded_polygon(left_side, 3 * u), rounded_polygon(right_side, 3 * u)],
                solid(OUTLINE))
    canvas.fill([inset(left_side, edge, half_edge=1)],
                linear(0, left[1], 0, down(front)[1], [(0, LEFT_TOP), (1, LEFT_BOTTOM)]))
    canvas.fill([inset(right_side, edge, half_edge=3)],
                linear(0, right[1], 0, down(front)[1], [(0, RIGHT_TOP), (1, RIGHT_BOTTOM)]))
    # A light rim along the front edges of the opening.
    rim = g['rim']
    if rim > 0:
        canvas.fill([_band(left, front, edge, rim), _band(front, right, edge, rim)], solid(RIM))
    return canvas


def _band(a, b, offset, width):
    """A strip along the segment a-b, starting offset below it, width tall."""
    return [(a[0], a[1] + offset), (b[0], b[1] + offset),
            (b[0], b[1] + offset + width), (a[0], a[1] + offset + width)]


def rgba_rows(size):
    """The image of one size as straight 8-bit RGBA rows."""
    if size in small_sizes.PIXELS:
        return small_sizes.rgba_rows(size)
    return draw(size, large_geometry(size)).rgba_rows()


def build_icon():
    images = []
    for size in SIZES:
        images.append((size, size, rgba_rows(size)))
    return icofile.encode_ico(images)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--out', default=DEFAULT_OUT)
    parser.add_argument('--check', action='store_true')
    args = parser.parse_args()
    data = build_icon()
    if args.check:
        with open(args.out, 'rb') as f:
            if f.read() != data:
                print('draw_icon: %s differs from the drawing' % args.out, file=sys.stderr)
                return 1
        return 0
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, 'wb') as f:
        f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main())
