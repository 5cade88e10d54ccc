"""A small deterministic vector rasteriser for drawing the application icon.

Shapes are closed polygons in pixel coordinates (the pixel (x, y) covers the
square [x, x+1) x [y, y+1)), filled with the non-zero winding rule (so the
contours of one fill must wind the same way to add up).  Coverage is exact
horizontally and sampled on SUBROWS scanlines per pixel vertically, so edges
that sit on whole pixel coordinates come out crisp, which the snapped
geometry of the drawn sizes relies on.  Only plain floating point arithmetic in a
fixed order is used: the same input always gives the same bytes.
"""

import math

SUBROWS = 16


def rounded_polygon(points, radius):
    """A polygon whose corners are rounded with the given radius (clamped to
    half of the shorter neighbouring edge)."""
    n = len(points)
    out = []
    for i in range(n):
        px, py = points[i - 1]
        cx, cy = points[i]
        nx, ny = points[(i + 1) % n]
        ax, ay = px - cx, py - cy
        bx, by = nx - cx, ny - cy
        la, lb = math.hypot(ax, ay), math.hypot(bx, by)
        ax, ay, bx, by = ax / la, ay / la, bx / lb, by / lb
        cos_t = max(-1.0, min(1.0, ax * bx + ay * by))
        half = math.acos(cos_t) / 2
        if radius <= 0 or half < 1e-6 or abs(half - math.pi / 2) < 1e-6:
            out.append((cx, cy))
            continue
        cut = radius / math.tan(half)
        cut = min(cut, la / 2, lb / 2)
        r = cut * math.tan(half)
        sx, sy = cx + ax * cut, cy + ay * cut
        ex, ey = cx + bx * cut, cy + by * cut
        # The arc centre lies on the bisector at distance r / sin(half).
        mx, my = ax + bx, ay + by
        ml = math.hypot(mx, my)
        d = r / math.sin(half)
        ox, oy = cx + mx / ml * d, cy + my / ml * d
        a0 = math.atan2(sy - oy, sx - ox)
        a1 = math.atan2(ey - oy, ex - ox)
        sweep = a1 - a0
        while sweep > math.pi:
            sweep -= 2 * math.pi
        while sweep < -math.pi:
            sweep += 2 * math.pi
        steps = max(3, int(abs(sweep) / (math.pi / 2) * max(6, r * 1.5)))
        for k in range(steps + 1):
            a = a0 + sweep * k / steps
            out.append((ox + r * math.cos(a), oy + r * math.sin(a)))
    return out


def inset(points, d, half_edge=None):
    """The polygon moved inwards by d on every edge (for d smaller than its
    edges; either winding).  The edge that starts at index half_edge moves
    by d / 2: where two faces share that edge, their outlines then add up to
    the same width as the outer one."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
               for i in range(n))
    if area < 0:
        d = -d
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        nx, ny = -dy / length, dx / length
        di = d / 2 if i == half_edge else d
        lines.append((x0 + nx * di, y0 + ny * di, dx, dy))
    out = []
    for i in range(n):
        ax, ay, adx, ady = lines[i - 1]
        bx, by, bdx, bdy = lines[i]
        t = ((bx - ax) * bdy - (by - ay) * bdx) / (adx * bdy - ady * bdx)
        out.append((ax + adx * t, ay + ady * t))
    return out


def coverage(width, height, contours):
    """Per-pixel coverage (0..1, rows of floats) of the union of contours."""
    edges = []
    for contour in contours:
        n = len(contour)
        for i in range(n):
            x0, y0 = contour[i]
            x1, y1 = contour[(i + 1) % n]
            if y0 == y1:
                continue
            winding = 1 if y1 > y0 else -1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), winding))
    mask = [[0.0] * width for _ in range(height)]
    if not edges:
        return mask
    weight = 1.0 / SUBROWS
    top = max(0, int(math.floor(min(e[0] for e in edges))))
    bottom = min(height, int(math.ceil(max(e[1] for e in edges))))
    for row in range(top, bottom):
        acc = mask[row]
        for k in range(SUBROWS):
            y = row + (k + 0.5) / SUBROWS
            crossings = []
            for y0, y1, x0, slope, winding in edges:
                if y0 <= y < y1:
                    crossings.append((x0 + (y - y0) * slope, winding))
            if not crossings:
                continue
            crossings.sort()
            level = 0
            start = 0.0
            for x, winding in crossings:
                before = level
                level += winding
                if before == 0 and level != 0:
                    start = x
                elif before != 0 and level == 0:
                    _add_span(acc, width, start, x, weight)
    return mask


def _add_span(acc, width, xa, xb, weight):
    xa = max(0.0, xa)
    xb = min(float(width), xb)
    if xb <= xa:
        return
    ia = int(xa)
    ib = int(xb)
    if ia == ib:
        acc[ia] += (xb - xa) * weight
        return
    acc[ia] += (ia + 1 - xa) * weight
    for i in range(ia + 1, min(ib, width)):
        acc[i] += weight
    if ib < width:
        acc[ib] += (xb - ib) * weight


def solid(rgb):
    r, g, b = (c / 255.0 for c in rgb)
    return lambda x, y: (r, g, b, 1.0)


def linear(x0, y0, x1, y1, stops):
    """An opaque linear gradient from (x0, y0) to (x1, y1); stops are (t, rgb)
    with t rising from 0 to 1."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    parsed = [(t, rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0, 1.0) for t, rgb in stops]

    def paint(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / length2
        if t <= parsed[0][0]:
            return parsed[0][1:]
        for (ta, *ca), (tb, *cb) in zip(parsed, parsed[1:]):
            if t <= tb:
                f = (t - ta) / (tb - ta)
                return tuple(a + (b - a) * f for a, b in zip(ca, cb))
        return parsed[-1][1:]
    return paint


class Canvas:
    """Premultiplied RGBA in floats; shapes are composited source-over."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * width for _ in range(height)]

    def fill(self, contours, paint):
        mask = coverage(self.width, self.height, contours)
        for y in range(self.height):
            row = self.pixels[y]
            cov_row = mask[y]
            for x in range(self.width):
                c = cov_row[x]
                if c <= 0.0:
                    continue
                r, g, b, a = paint(x + 0.5, y + 0.5)
                a *= min(1.0, c)
                dr, dg, db, da = row[x]
                keep = 1.0 - a
                row[x] = (r * a + dr * keep, g * a + dg * keep,
                          b * a + db * keep, a + da * keep)

    def rgba_rows(self):
        """Straight (not premultiplied) 8-bit RGBA, one bytes object a row."""
        rows = []
        for row in self.pixels:
            out = bytearray()
            for r, g, b, a in row:
                a = min(1.0, max(0.0, a))
                a8 = int(a * 255 + 0.5)
                if a8 == 0:
                    out += b'\0\0\0\0'
                    continue
                out += bytes((_unpremultiply(r, a), _unpremultiply(g, a),
                              _unpremultiply(b, a), a8))
            rows.append(bytes(out))
        return rows


def _unpremultiply(c, a):
    return min(255, max(0, int(c / a * 255 + 0.5)))
