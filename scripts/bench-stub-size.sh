#!/usr/bin/env bash
# Stub size benchmark (not part of the tests): the engine stub beside NSIS's zlib x86-ansi stub
# (Debian's nsis package, installed when missing), measured in the same run: both sizes, the
# ratio against the goal of 1.5 x NSIS, the sections of each, and where the stub's bytes come
# from (a relink of the stub with a linker map, summed by library, and its code by class or
# namespace: the engine's libraries are link-time optimised into one object). The uninstaller,
# which every setup carries too, is given beside.
#
#   bash scripts/bench-stub-size.sh [TOP]     (TOP: how many objects to list, default 25)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
top="${1:-25}"

bash scripts/deps.sh
nsis_stub=/usr/share/nsis/Stubs/zlib-x86-ansi
if [ ! -f "$nsis_stub" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends nsis
fi
[ -d build/win32 ] || bash scripts/configure.sh
cmake --build build/win32 --target Setup Vesk-UnInstall >/dev/null
stub=build/win32/src/app/Setup.exe
work=build/bench-stub
mkdir -p "$work"

ours=$(stat -c %s "$stub")
theirs=$(stat -c %s "$nsis_stub")
echo "== stub sizes"
echo "ours:  $ours bytes ($stub)"
echo "NSIS:  $theirs bytes ($nsis_stub)"
echo "uninstaller: $(stat -c %s build/win32/src/uninstaller/Vesk-UnInstall.exe) bytes"
awk -v o="$ours" -v t="$theirs" 'BEGIN {
    printf "ratio: %.2f x NSIS (goal: at most 1.50 x, %d bytes; %d bytes over)\n",
           o / t, 1.5 * t, (o > 1.5 * t ? o - 1.5 * t : 0) }'

echo "== sections (name, size in memory)"
for file in "$stub" "$nsis_stub"; do
    echo "$file:"
    i686-w64-mingw32-objdump -h "$file" | while read -r index name size _; do
        if [[ "$index" =~ ^[0-9]+$ ]]; then printf '  %-10s %7d\n' "$name" "$((16#$size))"; fi
    done
done

# The stub linked again as the build links it, without stripping and with a map.
link="$(cd build/win32 && ninja -t commands src/app/Setup.exe | tail -1)"
link="${link#: && }"
link="${link% && :}"
link="$(sed -e 's# -s # #' -e "s#-o src/app/Setup.exe#-o $root/$work/Setup-unstripped.exe#" \
    -e 's#-Wl,--out-implib,[^ ]*##' <<<"$link")"
(cd build/win32 && eval "$link -Wl,-Map,$root/$work/Setup.map")

echo "== where the stub's bytes come from (what the linked file holds, before stripping)"
i686-w64-mingw32-nm -C -S --size-sort "$work/Setup-unstripped.exe" >"$work/Setup.symbols"
python3 - "$work/Setup.map" "$work/Setup.symbols" "$top" <<'PY'
import collections, re, sys

text = open(sys.argv[1]).read().split("Linker script and memory map", 1)[1].split("\n")
top = int(sys.argv[3])
by_library = collections.Counter()
one_line = re.compile(r"^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.*)$")
two_lines = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.*)$")
i = 0
while i < len(text):
    line = text[i]
    i += 1
    found = one_line.match(line)
    if found:
        section, address, size, name = found.groups()
    else:
        alone = re.match(r"^ (\.\S+)$", line)
        follow = two_lines.match(text[i]) if alone and i < len(text) else None
        if not follow:
            continue
        i += 1
        section = alone.group(1)
        address, size, name = follow.groups()
    size = int(size, 16)
    # Only what the file holds: no debug sections, no zero-filled data.
    if section.startswith((".debug", ".bss")) or int(address, 16) == 0 or size == 0:
        continue
    library = re.sub(r"\(.*\)", "", name.strip()).split("/")[-1]
    by_library["the engine (link-time optimised)" if ".ltrans" in library else library] += size
print("by library:")
for name, size in by_library.most_common():
    print(f"  {size:8d}  {name}")

# Code and read-only data by the class or namespace that holds it, template arguments dropped.
by_scope = collections.Counter()
for line in open(sys.argv[2]):
    parts = line.split(None, 3)
    if len(parts) < 4 or parts[2] not in "tTrRwW":
        continue
    name = parts[3].strip()
    while re.search(r"<[^<>]*>", name):
        name = re.sub(r"<[^<>]*>", "", name)
    name = re.sub(r"^(vtable|typeinfo|typeinfo name) for ", "", name)
    name = name.replace("(anonymous namespace)", "{anonymous}").replace("[abi:cxx11]", "")
    # The name before its parameters, without a return type.
    name = re.sub(r"\(.*", "", name).split(" ")[-1]
    scope = name.rsplit("::", 1)[0] if "::" in name else "(C functions and data)"
    by_scope[scope] += int(parts[1], 16)
print(f"the {top} largest classes and namespaces (code and read-only data):")
for name, size in by_scope.most_common(top):
    print(f"  {size:8d}  {name}")
PY
