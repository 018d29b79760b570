#!/usr/bin/env bash
# build.sh NAME [CMAKE OPTIONS...]: configures and builds into build/NAME with Ninja.
# KIV_TARGETS_REGEX, when set, builds only the targets whose names match it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
name="$1"; shift
cmake -S "$root" -B "$root/build/$name" -G Ninja "$@" >/dev/null
if [ -n "${KIV_TARGETS_REGEX:-}" ]; then
  mapfile -t targets < <(ninja -C "$root/build/$name" -t targets all | sed -E 's/:.*//' | grep -E "$KIV_TARGETS_REGEX" || true)
  [ ${#targets[@]} -eq 0 ] || ninja -C "$root/build/$name" -j"$(nproc)" "${targets[@]}"
else
  ninja -C "$root/build/$name" -j"$(nproc)"
fi
