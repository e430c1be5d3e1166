#!/usr/bin/env python3
# The compression benchmark's second product, "system": about 100 MB of real files of this
# machine, in the mix a Windows product ships: Windows program code (Wine's own DLLs and
# programs, 60 MB), fonts (8 MB), documents (20 MB) and pictures that are compressed already
# (PNG icons, 12 MB). The same files on every run on one machine (a fixed seed); another machine
# with other package versions gives other bytes, so compare only figures of one run.
#
#   python3 scripts/bench-system-product.py FOLDER     writes FOLDER/product
import os, random, shutil, sys

out = os.path.join(sys.argv[1], "product")
rng = random.Random(20261207)
kinds = [
    # (folder, source, budget in bytes, smallest file taken, which names)
    ("programs", "/usr/lib/i386-linux-gnu/wine/i386-windows", 60 << 20, 0,
     lambda n: n.endswith((".dll", ".exe"))),
    ("fonts", "/usr/share/fonts", 8 << 20, 0, lambda n: n.endswith(".ttf")),
    ("documents", "/usr/share/doc", 20 << 20, 2048,
     lambda n: n == "copyright" or n.endswith((".txt", ".html", "README"))),
    ("pictures", "/usr/share/icons", 12 << 20, 1024, lambda n: n.endswith(".png")),
]
total = count = 0
for folder, source, budget, smallest, wanted in kinds:
    found = []
    for parent, _, names in os.walk(source):
        for name in sorted(names):
            path = os.path.join(parent, name)
            if wanted(name) and os.path.isfile(path) and not os.path.islink(path) and \
                    os.path.getsize(path) >= smallest:
                found.append(path)
    found.sort()
    rng.shuffle(found)
    os.makedirs(os.path.join(out, folder), exist_ok=True)
    used = 0
    for index, path in enumerate(found):
        size = os.path.getsize(path)
        if used + size > budget:
            continue
        shutil.copyfile(path, os.path.join(out, folder, "%04d-%s" % (index, os.path.basename(path))))
        used += size
        count += 1
    if used == 0:
        sys.exit("bench-system-product: nothing found in " + source)
    total += used
print("system: %d files, %.1f MB" % (count, total / 1e6))
