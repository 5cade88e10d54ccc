"""The small sizes of the application icon, placed pixel by pixel.

At 16 to 32 pixels a scaled drawing turns every slanted outline into a
two-pixel smear, so these sizes are drawn by hand on the pixel grid instead:
the box edges climb in regular steps of two pixels (the 2:1 slope of the
large drawing), the outline is exactly one pixel, the arrow's head loses its
border where the dark inside already sets it off, and the flaps, which need
room beside the box, appear from 24 pixels up.

Letters: '.' transparent, O outline, I/J left and right inner wall, W rim,
L/M left side (upper, lower), R/S right side, F/G flap (upper, lower),
A/B arrow (body, shade), E arrow border.
"""

import palette

COLOURS = {
    'O': palette.OUTLINE,
    'I': palette.INSIDE_LEFT,
    'J': palette.INSIDE_RIGHT,
    'W': palette.RIM,
    'L': palette.LEFT_TOP,
    'M': palette.LEFT_BOTTOM,
    'R': palette.RIGHT_TOP,
    'S': palette.RIGHT_BOTTOM,
    'F': palette.FLAP_TOP,
    'G': palette.FLAP_BOTTOM,
    'A': palette.ARROW_MID,
    'B': palette.ARROW_DARK,
    'E': palette.ARROW_EDGE,
}

PIXELS = {
    16: (
        '......EAAE......',
        '......EAAE......',
        '......EAAE......',
        '....OOEAAEOO....',
        '..OOIAAAAAAJOO..',
        'OOIIIIABBAJJJJOO',
        'OWIIIIIBBJJJJJWO',
        'OLWWIIIIJJJJWWRO',
        'OLLLWWIIJJWWRRRO',
        'OLLLLLWWWWRRRRRO',
        'OLLLLLLLRRRRRRRO',
        'OMMMMMMMSSSSSSSO',
        'OOMMMMMMSSSSSSOO',
        '..OOMMMMSSSSOO..',
        '....OOMMSSOO....',
        '......OOOO......',
    ),
    20: (
        '........EAAE........',
        '........EAAE........',
        '........EAAE........',
        '......OOEAAEOO......',
        '....OOAAAAAAAAOO....',
        '..OOIIIAAAAAAJJJOO..',
        'OOIIIIIIABBAJJJJJJOO',
        'OWIIIIIIIBBJJJJJJJWO',
        'OLWWIIIIIIJJJJJJWWRO',
        'OLLLWWIIIIJJJJWWRRRO',
        'OLLLLLWWIIJJWWRRRRRO',
        'OLLLLLLLWWWWRRRRRRRO',
        'OLLLLLLLLLRRRRRRRRRO',
        'OLLLLLLLLLRRRRRRRRRO',
        'OLLLLLLLLLRRRRRRRRRO',
        'OOMMMMMMMMSSSSSSSSOO',
        '..OOMMMMMMSSSSSSOO..',
        '....OOMMMMSSSSOO....',
        '......OOMMSSOO......',
        '........OOOO........',
    ),
    24: (
        '..........EAAE..........',
        '......OO..EAAE..OO......',
        '....OOFO..EAAE..OFOO....',
        '..OOFFFFO.EAAE.OFFFFOO..',
        'OOFFFFGGO.EAAE.OGGFFFFOO',
        'OFFGGGGGOOEAAEOOGGGGGFFO',
        '.OGGGGOAAAAAAAAAAOGGGGO.',
        '.OGGOOIIAAAAAAAAJJOOGGO.',
        '..OOIIIIIAAAAAAJJJJJOO..',
        '..OWIIIIIIABBAJJJJJJWO..',
        '..OLWWIIIIIBBJJJJJWWRO..',
        '..OLLLWWIIIIJJJJWWRRRO..',
        '..OLLLLLWWIIJJWWRRRRRO..',
        '..OLLLLLLLWWWWRRRRRRRO..',
        '..OLLLLLLLLLRRRRRRRRRO..',
        '..OLLLLLLLLLRRRRRRRRRO..',
        '..OLLLLLLLLLRRRRRRRRRO..',
        '..OLLLLLLLLLRRRRRRRRRO..',
        '..OMMMMMMMMMSSSSSSSSSO..',
        '..OOMMMMMMMMSSSSSSSSOO..',
        '....OOMMMMMMSSSSSSOO....',
        '......OOMMMMSSSSOO......',
        '........OOMMSSOO........',
        '..........OOOO..........',
    ),
    32: (
        '.............EAAAAE.............',
        '.............EAAAAE.............',
        '.............EAAAAE.............',
        '.............EAAAAE.............',
        '.......OOO...EAAAAE...OOO.......',
        '.....OOFFO...EAAAAE...OFFOO.....',
        '...OOFFFFFO..EAAAAE..OFFFFFOO...',
        '.OOFFFFFFFGO.EAAAAE.OGFFFFFFFOO.',
        'OFFFFFFFGGGO.EAAAAE.OGGGFFFFFFFO',
        '.OFFFFGGGGGGOEAAAAEOGGGGGGFFFFO.',
        '..OFGGGGGGOOIEAAAAEJOOGGGGGGFO..',
        '..OGGGGGOOAAAAAAAAAAAAOOGGGGGO..',
        '...OGGOOIIIAAAAAAAAAAJJJOOGGO...',
        '....OOIIIIIIAAAAAAAAJJJJJJOO....',
        '....OWIIIIIIIAAAAAAJJJJJJJWO....',
        '....OLWWIIIIIIAAAAJJJJJJWWRO....',
        '....OLLLWWIIIIIAAJJJJJWWRRRO....',
        '....OLLLLLWWIIIIJJJJWWRRRRRO....',
        '....OLLLLLLLWWIIJJWWRRRRRRRO....',
        '....OLLLLLLLLLWWWWRRRRRRRRRO....',
        '....OLLLLLLLLLLLRRRRRRRRRRRO....',
        '....OLLLLLLLLLLLRRRRRRRRRRRO....',
        '....OLLLLLLLLLLLRRRRRRRRRRRO....',
        '....OLLLLLLLLLLLRRRRRRRRRRRO....',
        '....OLLLLLLLLLLLRRRRRRRRRRRO....',
        '....OMMMMMMMMMMMSSSSSSSSSSSO....',
        '....OOMMMMMMMMMMSSSSSSSSSSOO....',
        '......OOMMMMMMMMSSSSSSSSOO......',
        '........OOMMMMMMSSSSSSOO........',
        '..........OOMMMMSSSSOO..........',
        '............OOMMSSOO............',
        '..............OOOO..............',
    ),
}


def rgba_rows(size):
    """The hand-placed image as straight 8-bit RGBA rows."""
    art = PIXELS[size]
    if len(art) != size or any(len(line) != size for line in art):
        raise ValueError('the %d-pixel art is not %d by %d' % (size, size, size))
    rows = []
    for line in art:
        row = bytearray()
        for letter in line:
            row += b'\0\0\0\0' if letter == '.' else bytes(COLOURS[letter] + (255,))
        rows.append(bytes(row))
    return rows
