#!/usr/bin/env python3
"""Draws the engine's setup icon (an open carton with an arrow going in) into Setup.ico.

Standard library only: the shapes are filled with 8x8 samples per pixel for smooth edges and
written as a Windows icon holding 16, 32 and 48 pixel images in 32-bit colour with alpha, the
form Windows 7 (the engine's oldest system) shows. The icon travels inside every setup, so it is
kept small: the 32 and 48 pixel images are PNG-compressed (Windows reads PNG icon images since
Vista), the 16 pixel one, the window's title bar icon, stays a bitmap. Every size has its own layout, placed
on whole pixels, so the small one stays sharp. The output is the same byte for byte on every run.

    python3 make_icon.py [output]     (default: Setup.ico beside this script)
"""

import os
import struct
import sys
import zlib

SAMPLES = 8  # samples per pixel along each axis
ALPHA_VISIBLE = 128  # pixels at least this opaque are left out of the bitmaps' AND mask
PNG_FROM = 32  # images of this size and larger are stored as PNG


def mix(a, b, t):
    """The colour a fraction `t` of the way from `a` to `b` (RGB tuples of 0..255)."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def vertical(top_colour, bottom_colour, top, bottom):
    """A paint running from `top_colour` at y=top to `bottom_colour` at y=bottom."""
    def paint(_x, y):
        t = min(1.0, max(0.0, (y - top) / float(bottom - top)))
        return mix(top_colour, bottom_colour, t)
    return paint


def solid(colour):
    """A paint of one colour."""
    return lambda _x, _y: colour


class Canvas:
    """Premultiplied RGBA samples; shapes are painted over what is there."""

    def __init__(self, size):
        self.size = size
        self.width = size * SAMPLES
        n = self.width * self.width
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n

    def fill(self, points, paint, opacity=1.0):
        """Fills the polygon `points` (pixel units, y down) by the even-odd rule."""
        edges = list(zip(points, points[1:] + points[:1]))
        top = max(0, int(min(p[1] for p in points) * SAMPLES))
        bottom = min(self.width, int(max(p[1] for p in points) * SAMPLES) + 1)
        for row in range(top, bottom):
            y = (row + 0.5) / SAMPLES
            crossings = []
            for (x0, y0), (x1, y1) in edges:
                if (y0 <= y < y1) or (y1 <= y < y0):
                    crossings.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
            crossings.sort()
            for left, right in zip(crossings[0::2], crossings[1::2]):
                first = max(0, int(left * SAMPLES - 0.5) + 1)
                last = min(self.width - 1, int(right * SAMPLES - 0.5))
                for column in range(first, last + 1):
                    x = (column + 0.5) / SAMPLES
                    if not left <= x < right:
                        continue
                    red, green, blue = paint(x, y)
                    i = row * self.width + column
                    keep = 1.0 - opacity
                    self.r[i] = red / 255.0 * opacity + self.r[i] * keep
                    self.g[i] = green / 255.0 * opacity + self.g[i] * keep
                    self.b[i] = blue / 255.0 * opacity + self.b[i] * keep
                    self.a[i] = opacity + self.a[i] * keep

    def pixels(self):
        """Rows of (r, g, b, a) bytes, top row first, each pixel the mean of its samples."""
        rows = []
        area = SAMPLES * SAMPLES
        for py in range(self.size):
            row = []
            for px in range(self.size):
                sums = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SAMPLES):
                    base = (py * SAMPLES + sy) * self.width + px * SAMPLES
                    for i in range(base, base + SAMPLES):
                        sums[0] += self.r[i]
                        sums[1] += self.g[i]
                        sums[2] += self.b[i]
                        sums[3] += self.a[i]
                alpha = sums[3] / area
                if alpha <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(min(255, int(s / sums[3] * 255 + 0.5)) for s in sums[:3]) +
                           (int(alpha * 255 + 0.5),))
            rows.append(row)
        return rows


def inset(points, distance):
    """The polygon `points` moved `distance` pixels inwards, corners mitred."""
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))
    turn = 1.0 if area > 0 else -1.0
    lines = []
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        dx, dy = x1 - x0, y1 - y0
        length = (dx * dx + dy * dy) ** 0.5
        nx, ny = -dy / length * turn, dx / length * turn
        lines.append(((x0 + nx * distance, y0 + ny * distance), (dx, dy)))
    result = []
    for k in range(len(lines)):
        (ax, ay), (adx, ady) = lines[k - 1]
        (bx, by), (bdx, bdy) = lines[k]
        cross = adx * bdy - ady * bdx
        t = ((bx - ax) * bdy - (by - ay) * bdx) / cross
        result.append((ax + adx * t, ay + ady * t))
    return result


def outlined(canvas, points, line_colour, paint, width):
    """Fills the polygon with `paint` inside an outline `width` pixels wide."""
    canvas.fill(points, solid(line_colour))
    canvas.fill(inset(points, width), paint)


# Colours: a cardboard carton, a blue arrow.
CARD_LIGHT = (238, 190, 120)
CARD_MID = (214, 156, 84)
CARD_DARK = (176, 118, 56)
CARD_LINE = (96, 60, 24)
INSIDE_BACK = (70, 44, 18)
INSIDE_FRONT = (118, 78, 36)
FLAP_LIGHT = (246, 208, 146)
FLAP_DARK = (222, 172, 104)
ARROW_LIGHT = (96, 170, 250)
ARROW_DARK = (24, 92, 200)
ARROW_LINE = (14, 50, 120)
TAPE = (246, 220, 170)

LINE = 1.0  # outline width: one whole pixel keeps straight edges sharp at every size

# Layouts on each size's own pixel grid (y down): the carton's front face (left, top, right,
# bottom); the back edge of its opening (left, right, y); how far the side flaps reach out and up
# (none at 16 pixels, where they would only blur); the arrow's shaft (left, right, top) and head
# (left, right, top, tip); the tape strip (left, right).
LAYOUTS = {
    16: dict(front=(1, 9, 15, 16), back=(3, 13, 7), flap=None,
             shaft=(6, 10, 0), head=(2, 14, 3, 9), tape=None),
    32: dict(front=(5, 17, 27, 31), back=(8, 24, 12), flap=(5, 1),
             shaft=(12, 20, 1), head=(7, 25, 10, 20), tape=(14, 18)),
    48: dict(front=(7, 26, 41, 46), back=(11, 37, 18), flap=(7, 2),
             shaft=(19, 29, 1), head=(11, 37, 15, 30), tape=(21, 27)),
}


def draw(size):
    layout = LAYOUTS[size]
    left, top, right, bottom = layout["front"]
    back_left, back_right, back_y = layout["back"]
    flap = layout["flap"]
    canvas = Canvas(size)

    # Flaps folded out from the opening's sides, drawn first so the carton covers their roots.
    if flap:
        out, up = flap
        flap_paint = vertical(FLAP_LIGHT, FLAP_DARK, back_y - up, top)
        left_flap = [(left, top), (back_left, back_y), (back_left - out, back_y - up),
                     (left - out, top - up)]
        right_flap = [(size - x, y) for (x, y) in reversed(left_flap)]
        outlined(canvas, left_flap, CARD_LINE, flap_paint, LINE)
        outlined(canvas, right_flap, CARD_LINE, flap_paint, LINE)

    # The opening, dark towards the back.
    outlined(canvas, [(back_left, back_y), (back_right, back_y), (right, top), (left, top)],
             CARD_LINE, vertical(INSIDE_BACK, INSIDE_FRONT, back_y, top), LINE)

    # The arrow going in: its tip disappears behind the front face.
    shaft_left, shaft_right, shaft_top = layout["shaft"]
    head_left, head_right, head_top, tip = layout["head"]
    middle = size / 2.0
    arrow = [(shaft_left, shaft_top), (shaft_right, shaft_top), (shaft_right, head_top),
             (head_right, head_top), (middle, tip), (head_left, head_top), (shaft_left, head_top)]
    outlined(canvas, arrow, ARROW_LINE, vertical(ARROW_LIGHT, ARROW_DARK, shaft_top, tip), LINE)

    # The front face, with a strip of tape down its middle on the larger sizes.
    outlined(canvas, [(left, top), (right, top), (right, bottom), (left, bottom)], CARD_LINE,
             vertical(CARD_LIGHT, CARD_DARK, top, bottom), LINE)
    if layout["tape"]:
        tape_left, tape_right = layout["tape"]
        canvas.fill([(tape_left, top + LINE), (tape_right, top + LINE), (tape_right, bottom - LINE),
                     (tape_left, bottom - LINE)], vertical(TAPE, CARD_MID, top, bottom), 0.7)
    return canvas.pixels()


def mask_rows(pixels):
    """The 1-bit AND mask, bottom row first: set where the image is transparent."""
    size = len(pixels)
    stride = (size + 31) // 32 * 4
    data = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_r, _g, _b, a) in enumerate(row):
            if a < ALPHA_VISIBLE:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    return data


def info_header(size, bits, colours_used, image_bytes):
    # The height counts the colour image and the mask.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0,
                       colours_used, 0)


def image_32(pixels):
    size = len(pixels)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask = mask_rows(pixels)
    return info_header(size, 32, 0, len(colour) + len(mask)) + colour + mask


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def paeth(left, up, up_left):
    estimate = left + up - up_left
    distances = (abs(estimate - left), abs(estimate - up), abs(estimate - up_left))
    return (left, up, up_left)[distances.index(min(distances))]


def filtered_rows(pixels):
    """The PNG scanlines, each with the filter that leaves the smallest sum of differences."""
    size = len(pixels)
    previous = bytes(size * 4)
    out = b""
    for row in pixels:
        line = bytes(c for pixel in row for c in pixel)
        left = lambda i: line[i - 4] if i >= 4 else 0
        up_left = lambda i: previous[i - 4] if i >= 4 else 0
        candidates = [
            bytes([0]) + line,
            bytes([1] + [(line[i] - left(i)) & 255 for i in range(len(line))]),
            bytes([2] + [(line[i] - previous[i]) & 255 for i in range(len(line))]),
            bytes([3] + [(line[i] - (left(i) + previous[i]) // 2) & 255 for i in range(len(line))]),
            bytes([4] + [(line[i] - paeth(left(i), previous[i], up_left(i))) & 255
                         for i in range(len(line))]),
        ]
        out += min(candidates, key=lambda c: sum(min(b, 256 - b) for b in c[1:]))
        previous = line
    return out


def image_png(pixels):
    """The image as a PNG file: 8-bit RGBA, not interlaced."""
    size = len(pixels)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(filtered_rows(pixels), 9)) + png_chunk(b"IEND", b""))


def icon_file(images):
    """An .ico holding `images`: (size, bits per pixel, image bytes) each."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory = b""
    for size, bits, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return header + directory + b"".join(data for _, _, data in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "Setup.ico")
    drawn = {size: draw(size) for size in sorted(LAYOUTS)}
    images = [(size, 32, image_png(drawn[size]) if size >= PNG_FROM else image_32(drawn[size]))
              for size in sorted(drawn)]
    with open(output, "wb") as out:
        out.write(icon_file(images))


if __name__ == "__main__":
    main()
