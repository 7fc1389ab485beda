#!/usr/bin/env python3
"""Draws quorisk.ico: a step response on a dark plot, 16 and 32 pixels."""
import math
import struct


def draw(size):
    back = (0, 32, 0)
    grid = (32, 128, 0)
    target = (255, 255, 255)
    trace = (255, 128, 0)
    frame = (160, 160, 160)
    pixels = [[back for _ in range(size)] for _ in range(size)]
    for i in range(size):
        for j in range(size):
            if i in (0, size - 1) or j in (0, size - 1):
                pixels[i][j] = frame
            elif (i * 4) % size == 0 or (j * 4) % size == 0:
                pixels[i][j] = grid
    top = size // 4
    for x in range(1, size - 1, 2):
        pixels[top][x] = target
    # Second-order step response with overshoot, rising from the bottom.
    prev = None
    for x in range(1, size - 1):
        t = (x - 1) / (size - 3) * 9.0
        y = 1.0 - math.exp(-0.6 * t) * math.cos(1.6 * t) if t > 0 else 0.0
        row = int(round((size - 3) - y * (size - 3 - top)))
        row = max(1, min(size - 2, row))
        rows = [row] if prev is None else range(min(prev, row), max(prev, row) + 1)
        for r in rows:
            pixels[r][x] = trace
        prev = row
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = b""
    for row in reversed(pixels):
        for r, g, b in row:
            data += bytes((b, g, r, 255))
    mask_row = ((size + 31) // 32) * 4
    data += b"\0" * (mask_row * size)
    return header + data


def main():
    sizes = (16, 32)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open("quorisk.ico", "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
