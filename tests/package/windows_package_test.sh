#!/usr/bin/env bash
# The Windows zip: built with cpack from the Windows build folder; it must hold TandrelMini.dll
# and the TandrelMini.vst3 bundle at its top, with the copyright file and the font's licence.
# Usage: windows_package_test.sh BUILD-DIR VERSION
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack"; }
zip="$work/out/tandrel-mini-${version}-windows-x64.zip"
[ -f "$zip" ] || fail "no archive $zip"
top="tandrel-mini-${version}-windows-x64"
listing="$(cmake -E tar tf "$zip")"
for file in TandrelMini.dll TandrelMini.vst3/Contents/x86_64-win/TandrelMini.vst3 \
            TandrelMini.vst3/Contents/Resources/moduleinfo.json copyright DejaVu-LICENSE.txt; do
  grep -qx "$top/$file" <<<"$listing" || { echo "$listing"; fail "zip lacks $file"; }
done
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
grep -q "\"Version\": \"$version\"" "$work/unpacked/$top/TandrelMini.vst3/Contents/Resources/moduleinfo.json" \
  || fail "module information does not carry version $version"
# Both copies of the library are the same PE file of the 64-bit build.
cmp -s "$work/unpacked/$top/TandrelMini.dll" "$work/unpacked/$top/TandrelMini.vst3/Contents/x86_64-win/TandrelMini.vst3" \
  || fail "the bundle's library differs from TandrelMini.dll"
file "$work/unpacked/$top/TandrelMini.dll" | grep -q "PE32+.*x86-64" || fail "not a 64-bit Windows library"
echo "Windows zip of TandrelMini $version as expected"
