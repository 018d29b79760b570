#!/usr/bin/env bash
# make-pictures.sh [BUILD]: paints the README's pictures into docs/pictures/ from the Linux
# build in build/BUILD (default linux), building what is missing: editor.png is the editor
# after the main job's render (tandrel-render --snapshot through the plug-in file) and
# editor-200.png the same at 200% (--snapshot-size 200), morph-pad.png the ABCD morph pad
# with its handle at (0.3, 0.7), detector.png and detector-200.png the editor with its
# detector drawer open at 100% and 200% (kivpicture). The test
# entry_tandrel_mini_pictures_test paints them again and compares them with these files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
name="${1:-linux}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
KIV_TARGETS_REGEX='^(TandrelMini|tandrel-render|kivpicture)$' bash scripts/build.sh "$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build="$root/build/$name"
out="$root/docs/pictures"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$out"
for size in 100 200; do
  picture=editor.png
  [ "$size" = 100 ] || picture="editor-$size.png"
  "$build/tools/render/tandrel-render" "$build/entry/TandrelMini.so" tools/render/signals/programme.wav \
    "$scratch/programme-rendered.wav" --snapshot "$out/$picture" --snapshot-size "$size" \
    --set "Threshold (Processor 1)=-24 dB" --set-normalized "Ratio (Processor 1)=0.238095" | grep -E '^(set|snapshot)'
done
"$build/tools/picture/kivpicture" morph-pad 0.3 0.7 "$out/morph-pad.png"
"$build/tools/picture/kivpicture" detector "$out/detector.png"
"$build/tools/picture/kivpicture" detector 200 "$out/detector-200.png"
