#!/usr/bin/env bash
# The Linux packages as a user gets them: builds them with cpack from the build folder, unpacks
# the Debian package into an empty root, checks what it holds and where, and has Ardour's own
# plug-in scanners load both formats from the folders the package installs into.
# Usage: linux_package_test.sh BUILD-DIR VERSION
set -euo pipefail
build="$1"
version="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G "DEB;TGZ" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/tandrel-mini_${version}_amd64.deb"
tgz="$work/out/tandrel-mini-${version}-linux-x86_64.tar.gz"
[ -f "$deb" ] || fail "no Debian package $deb"
[ -f "$tgz" ] || fail "no archive $tgz"

# The package's description: name, the one version, and what it needs to load.
[ "$(dpkg-deb -f "$deb" Package)" = "tandrel-mini" ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
dpkg-deb -f "$deb" Depends | grep -q "libx11-6" || fail "dependencies: $(dpkg-deb -f "$deb" Depends)"

root="$work/root"
mkdir "$root"
dpkg-deb -x "$deb" "$root"
for file in usr/lib/vst/TandrelMini.so \
            usr/lib/vst3/TandrelMini.vst3/Contents/x86_64-linux/TandrelMini.so \
            usr/lib/vst3/TandrelMini.vst3/Contents/Resources/moduleinfo.json \
            usr/share/doc/tandrel-mini/copyright usr/share/doc/tandrel-mini/DejaVu-LICENSE.txt; do
  [ -s "$root/$file" ] || fail "package lacks $file"
done
# Nothing outside /usr: a package never writes into home folders.
[ "$(ls "$root")" = "usr" ] || fail "package writes outside /usr: $(ls "$root")"
grep -q "\"Version\": \"$version\"" "$root/usr/lib/vst3/TandrelMini.vst3/Contents/Resources/moduleinfo.json" \
  || fail "module information does not carry version $version"
grep -q "Bitstream" "$root/usr/share/doc/tandrel-mini/DejaVu-LICENSE.txt" || fail "font licence text"
# Shipped libraries are stripped.
file "$root/usr/lib/vst/TandrelMini.so" | grep -q "stripped" && ! file "$root/usr/lib/vst/TandrelMini.so" | grep -q "not stripped" \
  || fail "library not stripped"

# The archive holds the same tree below its top folder.
listing="$(tar tzf "$tgz")"
for file in lib/vst/TandrelMini.so lib/vst3/TandrelMini.vst3/Contents/x86_64-linux/TandrelMini.so \
            share/doc/tandrel-mini/copyright share/doc/tandrel-mini/DejaVu-LICENSE.txt; do
  grep -qx "tandrel-mini-${version}-linux-x86_64/$file" <<<"$listing" || fail "archive lacks $file"
done

# TandrelMini has four inputs: the main pair and the side-chain pair.
# Ardour's scanners load each format from the package's folders and describe it. They keep
# private caches and preferences; a cache entry for a file changed in the same second would
# be ignored, hence the pause after unpacking.
sleep 1
scanner_env=(env XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config" LD_LIBRARY_PATH=/usr/lib/ardour7)
vst2="$("${scanner_env[@]}" /usr/lib/ardour7/ardour-vst-scanner -v -f "$root/usr/lib/vst/TandrelMini.so" 2>&1)" || true
grep -q '<VST2Info .*name="TandrelMini" creator="Kestrune" category="Effect".*n_inputs="4" n_outputs="2"' <<<"$vst2" \
  || { echo "$vst2"; fail "Ardour's VST 2.4 scanner did not find TandrelMini"; }
vst3="$("${scanner_env[@]}" /usr/lib/ardour7/ardour-vst3-scanner -v -f "$root/usr/lib/vst3/TandrelMini.vst3" 2>&1)" \
  || { echo "$vst3"; fail "Ardour's VST 3 scanner failed"; }
grep -q "<VST3Info .*name=\"TandrelMini\" vendor=\"Kestrune\" category=\"Fx|Dynamics\" version=\"$version\"" <<<"$vst3" \
  || { echo "$vst3"; fail "Ardour's VST 3 scanner did not find TandrelMini $version"; }
echo "packages of TandrelMini $version: contents and Ardour's scans as expected"
