#!/bin/sh
# The ratio table of TandrelMini against its peers: defaults, each shape mode and a 5 ms
# look-ahead, against LSP Compressor Stereo and ZamCompX2 at their defaults (LSP also with
# its own 5 ms look-ahead). Usage: tandrel_ratio_table.sh BUILD_DIR [tandrel-bench options]
set -e
build=${1:?usage: tandrel_ratio_table.sh BUILD_DIR [--seconds S] [--rounds R]}
shift
plugin=$build/entry/TandrelMini.so
lsp=$(dpkg -L lsp-plugins-vst | grep '/compressor-stereo\.so$' | head -n 1)
zam=$(dpkg -L zam-plugins | grep '/ZamCompX2-vst\.so$' | head -n 1)
# Look-ahead's host value for 5 ms (its display starts at "Disabled", which text search cannot
# bisect); the table shows the display it gives.
"$build/tools/bench/tandrel/tandrel-bench" "$@" \
    "$plugin" \
    "$plugin" --set Mode=Linear \
    "$plugin" --set Mode=Squared \
    "$plugin" --set Mode=Logarithmic \
    "$plugin" --set "Look-ahead=#0.26591" \
    "$lsp" "$zam" \
    "$lsp" --set sla=5
