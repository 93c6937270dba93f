"""Pixels of a PNG file with the standard library only: 8-bit RGB or RGBA,
not interlaced, as korvalo-level, korvz and Chromium write them."""

import struct
import zlib


def _paeth(left, up, up_left):
    estimate = left + up - up_left
    distances = (abs(estimate - left), abs(estimate - up), abs(estimate - up_left))
    return (left, up, up_left)[distances.index(min(distances))]


def decode(data):
    """Returns (width, height, rows), each row a list of (r, g, b) tuples."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    position, compressed = 8, b""
    width = height = channels = None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        chunk = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
            if depth != 8 or colour not in (2, 6) or interlace != 0:
                raise ValueError(f"PNG form not read here: depth {depth}, colour type {colour}, interlace {interlace}")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            compressed += chunk
        elif kind == b"IEND":
            break
    raw = zlib.decompress(compressed)
    stride = width * channels
    previous = bytearray(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            line[i] = (line[i] + (0, left, up, (left + up) // 2, _paeth(left, up, up_left))[kind]) & 0xFF
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows
