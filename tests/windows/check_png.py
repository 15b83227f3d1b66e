#!/usr/bin/env python3
"""Checks that each file named is a well-formed 8-bit RGB PNG: signature, chunk CRCs,
IHDR first and IEND last, and image data that inflates (Adler-32 included) to one filter
byte and width * 3 bytes per row. Prints the size of each; exits 1 on the first fault."""
import struct
import sys
import zlib


def check(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    at, chunks, idat = 8, [], b""
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind = data[at + 4:at + 8]
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"bad CRC in {kind!r}")
        chunks.append(kind)
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    if chunks[0] != b"IHDR" or chunks[-1] != b"IEND":
        raise ValueError(f"chunks {chunks}")
    if depth != 8 or colour != 2:
        raise ValueError(f"depth {depth}, colour type {colour}")
    raw = zlib.decompress(idat)
    if len(raw) != height * (1 + 3 * width):
        raise ValueError(f"{len(raw)} bytes of image data for {width}x{height}")
    return width, height


for name in sys.argv[1:]:
    try:
        w, h = check(name)
    except Exception as fault:  # any malformation, reported by file
        print(f"{name}: {fault}", file=sys.stderr)
        sys.exit(1)
    print(f"{name}: PNG {w}x{h}")
