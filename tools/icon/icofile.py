"""PNG and ICO encoding and decoding with the standard library only.

Images are (width, height, rows) with rows of straight 8-bit RGBA bytes.  The
encoders write no time stamps or other varying chunks, so their output
depends on the pixels alone.
"""

import struct
import zlib

PNG_SIGNATURE = b'\x89PNG\r\n\x1a\n'


def encode_png(width, height, rows):
    raw = b''.join(b'\0' + row for row in rows)
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (PNG_SIGNATURE + _chunk(b'IHDR', header)
            + _chunk(b'IDAT', zlib.compress(raw, 9)) + _chunk(b'IEND', b''))


def _chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xffffffff
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', crc)


def decode_png(data):
    """Decodes the 8-bit RGBA PNG files that encode_png writes (all filters)."""
    if data[:8] != PNG_SIGNATURE:
        raise ValueError('not a PNG file')
    pos, idat, width, height = 8, b'', 0, 0
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            if (depth, colour) != (8, 6):
                raise ValueError('only 8-bit RGBA PNG is read')
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, prev = [], bytes(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        rows.append(_unfilter(line[0], bytearray(line[1:]), prev))
        prev = rows[-1]
    return width, height, rows


def _unfilter(kind, line, prev):
    for i in range(len(line)):
        left = line[i - 4] if i >= 4 else 0
        up = prev[i]
        corner = prev[i - 4] if i >= 4 else 0
        if kind == 1:
            line[i] = (line[i] + left) & 0xff
        elif kind == 2:
            line[i] = (line[i] + up) & 0xff
        elif kind == 3:
            line[i] = (line[i] + (left + up) // 2) & 0xff
        elif kind == 4:
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
            line[i] = (line[i] + pred) & 0xff
    return bytes(line)


def encode_dib(width, height, rows):
    """The icon form of a bitmap: a 32-bit BGRA bitmap stored bottom-up with
    doubled height, followed by the 1-bit AND mask that renderers without
    alpha use (set where the pixel is fully transparent)."""
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0,
                         width * height * 4, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for x in range(width):
            r, g, b, a = row[4 * x:4 * x + 4]
            colour += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x in range(width):
            if row[4 * x + 3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(colour) + bytes(mask)


def decode_dib(data):
    size, width, height2, _, bits = struct.unpack('<IiiHH', data[:16])
    if bits != 32:
        raise ValueError('only 32-bit icon bitmaps are read')
    height = height2 // 2
    pixels = data[size:size + width * height * 4]
    rows = []
    for y in reversed(range(height)):
        line = bytearray()
        for x in range(width):
            b, g, r, a = pixels[(y * width + x) * 4:(y * width + x) * 4 + 4]
            line += bytes((r, g, b, a))
        rows.append(bytes(line))
    return width, height, rows


def encode_ico(images, png_from=256):
    """images: (width, height, rows) in the order they are listed; images at
    least png_from wide are stored as PNG, the others as bitmaps."""
    blobs = []
    for width, height, rows in images:
        if width >= png_from:
            blobs.append(encode_png(width, height, rows))
        else:
            blobs.append(encode_dib(width, height, rows))
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (width, height, _), blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def decode_ico(data):
    reserved, kind, count = struct.unpack('<HHH', data[:6])
    if reserved != 0 or kind != 1:
        raise ValueError('not an icon file')
    images = []
    for i in range(count):
        entry = data[6 + 16 * i:22 + 16 * i]
        w, h, _, _, _, _, length, offset = struct.unpack('<BBBBHHII', entry)
        blob = data[offset:offset + length]
        image = decode_png(blob) if blob[:8] == PNG_SIGNATURE else decode_dib(blob)
        if (image[0] % 256, image[1] % 256) != (w, h):
            raise ValueError('directory size does not match image %d' % i)
        images.append(image)
    return images
