#!/usr/bin/env python3
"""Checks that a program carries the enciphered bundle block of a source made
by brantel-bundle, byte for byte and exactly once.

Usage: bundle_in_binary.py PROGRAM.exe bundle_data.cpp
"""

import re
import sys


def block_of(source):
    start = source.index('bundleBlock[')
    body = source[start:source.index('};', start)]
    body = body[body.index('{'):]
    return bytes(int(h, 16) for h in re.findall(r'0x([0-9A-F]{2}),', body))


def main():
    program, source = sys.argv[1], sys.argv[2]
    with open(source) as f:
        block = block_of(f.read())
    with open(program, 'rb') as f:
        binary = f.read()
    found = binary.find(block)
    if found < 0 or binary.find(block, found + 1) >= 0:
        print('bundle_in_binary: %s does not carry the %d-byte bundle once' % (program, len(block)))
        return 1
    print('bundle_in_binary: %d bytes at offset %d of %s' % (len(block), found, program))
    return 0


if __name__ == '__main__':
    sys.exit(main())
