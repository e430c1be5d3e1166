#!/usr/bin/env python3
# The benchmarks' generated products (scripts/bench-install.sh, scripts/bench-compression.sh):
# "large", about 1000 files and 100 MB, and "small", 12 files and 1 MB, of program code (windows
# of the Windows programs in the win32 build tree), text, pictures and already-compressed bytes
# in nested folders, the same bytes on every run (a fixed seed).
#
#   python3 scripts/bench-product.py WORK_FOLDER WIN32_BUILD_TREE
#       writes WORK_FOLDER/large/product and WORK_FOLDER/small/product
import os, random, struct, sys

work, win32 = sys.argv[1], sys.argv[2]
rng = random.Random(20260412)

# Program code: windows of the Windows programs this tree builds.
corpus = b""
for folder, _, names in os.walk(win32):
    for name in sorted(names):
        if name.endswith(".exe") and len(corpus) < 24 << 20:
            with open(os.path.join(folder, name), "rb") as f:
                corpus += f.read()
words = ("install engine volume folder setup registry shortcut font program file data "
         "the a of and to in is for on with as by at from this that value key path wizard page "
         "progress finish cancel question answer system window text picture document").split()

def code(size):
    start = rng.randrange(0, max(1, len(corpus) - size))
    return corpus[start:start + size]

def text(size):
    out, n = [], 0
    while n < size:
        line = " ".join(rng.choice(words) for _ in range(rng.randint(4, 14))) + "\r\n"
        out.append(line)
        n += len(line)
    return "".join(out).encode()[:size]

def picture(size):
    width = 256
    height = max(1, size // (width * 3))
    rows = bytearray()
    tint = [rng.randrange(256) for _ in range(3)]
    for y in range(height):
        for x in range(width):
            rows += bytes(((x + tint[0]) & 255, (y * 2 + tint[1]) & 255,
                           ((x ^ y) + tint[2] + rng.randrange(4)) & 255))
    header = b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + bytes(rows)

def packed(size):
    return rng.randbytes(size)

kinds = [  # (share of files, mean size, maker, extensions)
    (0.25, 130 << 10, code, ["dll", "exe", "ocx"]),
    (0.30, 50 << 10, text, ["txt", "htm", "xml", "ini"]),
    (0.20, 100 << 10, picture, ["bmp"]),
    (0.25, 130 << 10, packed, ["zip", "png", "jpg", "gz"]),
]

def make(product, files):
    folders = [""]
    for i in range(max(1, files // 16)):
        parent = rng.choice([f for f in folders if f.count("/") < 4])
        folders.append(f"{parent}/dir{i:02d}".lstrip("/"))
    total = 0
    for n in range(files):
        r, acc = rng.random(), 0.0
        for share, mean, maker, extensions in kinds:
            acc += share
            if r <= acc:
                break
        size = max(64, int(rng.expovariate(1.0 / mean)))
        size = min(size, mean * 6)
        folder = os.path.join(product, rng.choice(folders))
        os.makedirs(folder, exist_ok=True)
        data = maker(size)
        with open(os.path.join(folder, f"file{n:04d}.{rng.choice(extensions)}"), "wb") as f:
            f.write(data)
        total += len(data)
    return total

for name, files, scale in (("large", 1000, 1.0), ("small", 12, 0.7)):
    if name == "small":
        kinds = [(s, int(m * 0.7), f, e) for s, m, f, e in kinds]
    total = make(os.path.join(work, name, "product"), files)
    print(f"{name}: {files} files, {total / 1e6:.1f} MB")
