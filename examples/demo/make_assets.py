#!/usr/bin/env python3
"""Makes the binary files of the demo project: its two wizard pictures (8-bit BMP), two gallery
pictures (PNG, stored raw by the setup), a ZIP archive, a CSV table and the font with its licence.

The outputs are committed; run this again only to change them (python3 examples/demo/make_assets.py).
Everything is derived from fixed seeds, so a run gives the same bytes. The font is DejaVu Sans
Mono from Debian's fonts-dejavu-core package (apt-get install fonts-dejavu-core); its licence
allows redistribution with the notice, which goes into the product's docs folder.
"""
import math
import os
import random
import shutil
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"


def out(relative):
    path = os.path.join(HERE, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def gradient(start, end, count):
    return [tuple(a + (b - a) * i // (count - 1) for a, b in zip(start, end)) for i in range(count)]


def write_bmp8(path, width, height, palette, pixel):
    """An 8-bit palette BMP; pixel(x, y) gives the index, (0, 0) being the top-left pixel."""
    stride = (width + 3) & ~3
    rows = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytes(pixel(x, y) for x in range(width))
        rows += row + bytes(stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 2835, 2835,
                       len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + rows)


def header_picture():
    # Light on the left where the page title is drawn in black; diagonal stripes on the right.
    palette = gradient((255, 255, 255), (196, 214, 236), 200) + gradient((60, 110, 170), (20, 50, 110), 56)
    def pixel(x, y):
        if x > 380 and (x + y) // 12 % 3 == 0:
            return 200 + min(55, (x - 380) // 3)
        return x * 199 // 547
    write_bmp8(out("pictures/header.bmp"), 548, 64, palette, pixel)


def welcome_picture():
    # A low sun behind layered hills.
    palette = (gradient((250, 196, 120), (110, 70, 150), 128) +
               gradient((70, 130, 80), (15, 45, 35), 127) + [(255, 236, 170)])
    def pixel(x, y):
        for layer in range(3, -1, -1):
            ridge = 180 + layer * 34 + int(10 * math.sin(x / (16 + layer * 9) + layer * 2))
            if y > ridge and all(y <= 180 + nearer * 34 + int(10 * math.sin(x / (16 + nearer * 9) + nearer * 2))
                                 for nearer in range(layer + 1, 4)):
                return 128 + layer * 31 + min(30, (y - ridge) // 4)
        dx, dy = x - 70, y - 175
        if dx * dx + dy * dy < 28 * 28:
            return 255
        return y * 127 // 313
    write_bmp8(out("pictures/welcome.bmp"), 163, 314, palette, pixel)


def png(path, width, height, seed):
    """A noisy texture: real photos do not compress either, which is why PNGs are stored raw."""
    rng = random.Random(seed)
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            base = (x * 255 // width, y * 255 // height, (x + y) * 127 // (width + height) + 64)
            raw += bytes(max(0, min(255, c + rng.randint(-40, 40))) for c in base)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(out(path), "wb") as f:
        f.write(data)


def measurements():
    rng = random.Random(2004)
    lines = ["station,date,temperature_c,humidity_pct,wind_kmh"]
    for station in ("North", "Harbour", "Airfield", "Hill"):
        for day in range(1, 366):
            month, mday = divmod(day - 1, 31)
            lines.append("%s,2004-%02d-%02d,%.1f,%d,%d" % (station, month + 1, mday + 1,
                         rng.uniform(-5, 30), rng.randint(30, 95), rng.randint(0, 60)))
    text = "\r\n".join(lines) + "\r\n"
    with open(out("product/data/measurements.csv"), "w", newline="") as f:
        f.write(text)
    return text


def archive(csv):
    with zipfile.ZipFile(out("product/data/samples.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in (("measurements.csv", csv), ("about.txt", "Sample data of the Vesk Demo.\r\n")):
            info = zipfile.ZipInfo(name, date_time=(2004, 3, 5, 14, 3, 6))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, text)


FONT_LICENCE = """DejaVu Sans Mono (fonts/DejaVuSansMono.ttf of this setup)

Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved.
Bitstream Vera is a trademark of Bitstream, Inc.
DejaVu changes are in public domain.

Permission is hereby granted, free of charge, to any person obtaining a copy of the fonts
accompanying this license ("Fonts") and associated documentation files (the "Font Software"),
to reproduce and distribute the Font Software, including without limitation the rights to use,
copy, merge, publish, distribute, and/or sell copies of the Font Software, and to permit persons
to whom the Font Software is furnished to do so, subject to the following conditions:

The above copyright and trademark notices and this permission notice shall be included in all
copies of one or more of the Font Software typefaces.

The Font Software may be modified, altered, or added to, and in particular the designs of glyphs
or characters in the Fonts may be modified and additional glyphs or characters may be added to
the Fonts, only if the fonts are renamed to names not containing either the words "Bitstream" or
the word "Vera".

This License becomes null and void to the extent applicable to Fonts or Font Software that has
been modified and is distributed under the "Bitstream Vera" names.

The Font Software may be sold as part of a larger software package but no copy of one or more of
the Font Software typefaces may be sold by itself.

THE FONT SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED,
INCLUDING BUT NOT LIMITED TO ANY WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE
AND NONINFRINGEMENT OF COPYRIGHT, PATENT, TRADEMARK, OR OTHER RIGHT. IN NO EVENT SHALL BITSTREAM
OR THE GNOME FOUNDATION BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, INCLUDING ANY
GENERAL, SPECIAL, INDIRECT, INCIDENTAL, OR CONSEQUENTIAL DAMAGES, WHETHER IN AN ACTION OF
CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF THE USE OR INABILITY TO USE THE FONT SOFTWARE
OR FROM OTHER DEALINGS IN THE FONT SOFTWARE.

Except as contained in this notice, the names of Gnome, the Gnome Foundation, and Bitstream
Inc., shall not be used in advertising or otherwise to promote the sale, use or other dealings
in this Font Software without prior written authorization from the Gnome Foundation or
Bitstream Inc., respectively.
"""


def main():
    header_picture()
    welcome_picture()
    png("product/data/gallery/dunes.png", 180, 120, 1)
    png("product/data/gallery/lagoon.png", 180, 120, 2)
    png("product/data/gallery/harbour.png", 180, 120, 3)
    png("product/data/gallery/meadow.png", 180, 120, 4)
    png("product/data/gallery/glacier.png", 180, 120, 5)
    png("product/data/gallery/canyon.png", 180, 120, 6)
    archive(measurements())
    shutil.copyfile(FONT, out("fonts/DejaVuSansMono.ttf"))
    with open(out("product/docs/DejaVu-Fonts-Licence.txt"), "w", newline="") as f:
        f.write(FONT_LICENCE.replace("\n", "\r\n"))


if __name__ == "__main__":
    main()
