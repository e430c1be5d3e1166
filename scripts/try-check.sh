#!/usr/bin/env bash
# The CI's run of veskbuild try under Wine: one small project through the whole command. Its pages
# come in an order of their own (welcome, licence, destination, program folder) and it is built
# so that its uninstall leaves one registry value behind: try must walk every page, take a picture
# of each, read the install back, find exactly that value and end with exit code 4 (traces).
#   scripts/try-check.sh [FOLDER]   (default build/try-check; needs out/ from configure.sh)
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
dir="${1:-build/try-check}"
log="$dir.log"
mkdir -p "$(dirname "$dir")"

out/bin/veskbuild try tests/trial/projects/pages/project.xml -D DELETE_SETTING=0 -o "$dir" \
    >"$log" 2>&1
rc=$?
cat "$log"
fail() { echo "try-check: $*" >&2; exit 1; }

[ "$rc" -eq 4 ] || fail "exit code $rc, expected 4 (something stayed behind)"
grep -q '^  findings   1:$' "$log" || fail "expected exactly one finding"
grep -qF 'left behind: value HKEY_CURRENT_USER\Software\Vesk Pages: Setting = "kept by the product"' \
    "$log" || fail "the value left behind is not the finding"
pages="$(sed -n 's/^page\t[^\t]*\t//p' "$dir/install-walk.txt" | paste -sd, -)"
[ "$pages" = "welcome,licence,destination,program folder,progress,finish" ] ||
    fail "pages in the wrong order: $pages"
grep -q '^uninstaller-exit	0$' "$dir/removal-walk.txt" || fail "the uninstaller did not end with 0"
# The account escapes backslashes: C:\\Program Files\\... stands for C:\Program Files\...
awk -F'\t' '$1 == "link" && tolower($2) ~ /vesk pages notes\.lnk$/ &&
             $3 == "C:\\\\Program Files\\\\Vesk Pages\\\\notes.txt" { found = 1 }
             END { exit !found }' "$dir/removal-walk.txt" ||
    fail "the shortcut was not read through the link service"
[ -s "$dir/report.html" ] || fail "no report"
[ ! -e "$dir/prefix" ] || fail "the prefix was not removed"
shopt -s nullglob
pictures=("$dir"/pages/*.png)
[ "${#pictures[@]}" -ge 7 ] || fail "only ${#pictures[@]} pictures"
for picture in "${pictures[@]}"; do
    # A page of one colour is a blank picture.
    colours="$(identify -format '%k' "$picture" 2>/dev/null || echo 0)"
    [ "$colours" -gt 8 ] || fail "$picture is blank ($colours colours)"
done
echo "try-check: passed"
