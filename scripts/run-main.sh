#!/usr/bin/env bash
# The main job: installs what is missing, builds the TandrelMini plug-in and the offline
# renderer, renders the bundled programme signal through the plug-in file (loaded through its
# VSTPluginMain export, as a host does) and prints the report; then a short kivtool demo on a
# bundled settings document.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
KIV_TARGETS_REGEX='^(kivtool|TandrelMini|tandrel-render)$' bash scripts/build.sh linux -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

kivtool="$root/build/linux/tools/kivtool/kivtool"
render="$root/build/linux/tools/render/tandrel-render"
plugin="$root/build/linux/entry/TandrelMini.so"
signal="$root/tools/render/signals/programme.wav"
example="$root/tools/kivtool/examples/settings.xml"
out="$root/build/main-job"
mkdir -p "$out"

echo "== TandrelMini.so: parameters as a host lists them"
"$render" "$plugin" --list-parameters
echo "== tandrel-render: the bundled programme signal through the plug-in, compressed 4:1 above -24 dB"
# The ratio knob's position for 4.00 : 1 is (4 + 1) / 21: its code runs from -1 to 20.
"$render" "$plugin" "$signal" "$out/programme-rendered.wav" \
  --set "Threshold (Processor 1)=-24 dB" --set-normalized "Ratio (Processor 1)=0.238095"

echo "== kivtool xml: the settings document written back in the framework's dialect (first lines)"
"$kivtool" xml "$example" > "$out/settings.xml"
head -n 8 "$out/settings.xml"
echo "== kivtool deflate / inflate round trip"
"$kivtool" deflate --quality 100 "$out/settings.xml" > "$out/settings.xml.z"
"$kivtool" inflate "$out/settings.xml.z" | cmp - "$out/settings.xml"
echo "$(stat -c %s "$out/settings.xml") bytes -> $(stat -c %s "$out/settings.xml.z") bytes compressed, restored exactly"
echo "== kivtool md5"
"$kivtool" md5 "$out/settings.xml"
echo "== kivtool encode --codec windows-1252 / decode"
printf 'Caf\xc3\xa9 cr\xc3\xa8me \xe2\x82\xac5\n' | "$kivtool" encode --codec windows-1252 | tee "$out/text.1252" | "$kivtool" hex encode; echo
"$kivtool" decode --codec windows-1252 "$out/text.1252"
