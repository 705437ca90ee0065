#!/usr/bin/env python3
"""Prints how many distinct colours a picture holds (up to 100000), to tell a rendered
frame from a blank one without an image library: an 8-bit RGB or RGBA PNG (what
drift-capture writes), or an X window dump (xwd, ZPixmap, 24 or 32 bits per pixel)."""
import struct
import sys
import zlib

LIMIT = 100000


def png_pixels(data):
    pos, idat, width, height, channels = 8, b"", 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour not in (2, 6):
                raise ValueError("only 8-bit RGB or RGBA PNG")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 0xFF
        for x in range(0, stride, channels):
            yield bytes(line[x:x + 3])
        previous = line


def xwd_pixels(data):
    header = struct.unpack(">25I", data[:100])
    header_size, form, depth, width, height = header[0], header[2], header[3], header[4], header[5]
    bits_per_pixel, bytes_per_line, ncolors = header[11], header[12], header[19]
    if form != 2 or bits_per_pixel not in (24, 32):
        raise ValueError("only ZPixmap dumps with 24 or 32 bits per pixel")
    step = bits_per_pixel // 8
    start = header_size + 12 * ncolors
    for y in range(height):
        row = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        for x in range(0, len(row), step):
            yield row[x:x + 3]


def main(path):
    with open(path, "rb") as f:
        data = f.read()
    pixels = png_pixels(data) if data[:8] == b"\x89PNG\r\n\x1a\n" else xwd_pixels(data)
    seen = set()
    for pixel in pixels:
        seen.add(pixel)
        if len(seen) >= LIMIT:
            break
    print(len(seen))


if __name__ == "__main__":
    main(sys.argv[1])
