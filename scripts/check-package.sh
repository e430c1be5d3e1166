#!/usr/bin/env bash
# Checks the Debian package (scripts/package.sh) as a packager would get it: unpacked into a
# clean folder tree with dpkg -x, its veskbuild starts a project and builds it with the stubs
# the package brings, and the setup equals, byte for byte, the one the tree's out/bin/veskbuild
# builds from the same project. Also checks the package's files and its control fields.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

version="$(sed -n 's/^project(VeskInstall VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
deb="out/veskinstall_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "no $deb: run bash scripts/package.sh" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "package check: $*" >&2; exit 1; }

dpkg-deb --field "$deb" Package Version Architecture Depends >"$work/control"
grep -qx "Package: veskinstall" "$work/control" || fail "the package is not named veskinstall"
grep -qx "Version: $version" "$work/control" || fail "the package's version is not $version"
grep -q "^Depends: .*libc6" "$work/control" || fail "the package names no libraries it needs"

dpkg -x "$deb" "$work/root"
for file in usr/bin/veskbuild usr/share/veskinstall/stub/Setup.exe \
    usr/share/veskinstall/stub/Vesk-UnInstall.exe usr/share/veskinstall/libexec/walk_setup.exe \
    usr/share/man/man1/veskbuild.1.gz \
    usr/share/doc/veskinstall/README.md usr/share/doc/veskinstall/docs/field-reference.md; do
    [ -f "$work/root/$file" ] || fail "/$file is missing"
done
cmp -s "$work/root/usr/share/veskinstall/stub/Setup.exe" out/stub/Setup.exe ||
    fail "the package's Setup.exe is not the tree's"
zcat "$work/root/usr/share/man/man1/veskbuild.1.gz" | grep -q '^\.TH VESKBUILD 1' ||
    fail "the manual page is no veskbuild(1)"

packaged="$work/root/usr/bin/veskbuild"
tree="$root/out/bin/veskbuild"
"$packaged" --version | grep -qx "veskbuild $version" || fail "veskbuild --version"
"$packaged" init "$work/product" -q
"$tree" init "$work/product-tree" -q
diff -r "$work/product" "$work/product-tree" >/dev/null || fail "init writes another project"

# The same times, so the two builds may differ in nothing but the tool that made them. With an
# uninstall record asked for, --werror fails a build that finds no uninstaller, so both programs
# come from the package's place.
sed -i 's|<CreateUnInstall1>0</CreateUnInstall1>|<CreateUnInstall1>1</CreateUnInstall1>|' \
    "$work/product/project.xml"
grep -q '<CreateUnInstall1>1<' "$work/product/project.xml" || fail "no uninstall record to ask for"
export SOURCE_DATE_EPOCH=1700000000
"$packaged" build "$work/product/project.xml" -o "$work/from-package" -q --werror
"$tree" build "$work/product/project.xml" -o "$work/from-tree" -q --werror
diff -r "$work/from-package" "$work/from-tree" >/dev/null ||
    fail "the setup built with the package differs from the one built with the tree"
"$packaged" list "$work/from-package/Setup.exe" | grep -q 'Vesk-UnInstall.exe' ||
    fail "the setup carries no uninstaller"
echo "Debian package checked: $deb unpacked, its veskbuild built the tree's setup byte for byte"
