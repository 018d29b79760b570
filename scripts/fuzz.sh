#!/usr/bin/env bash
# fuzz.sh TARGET [SECONDS]: builds a libFuzzer target of tests/fuzz (xml_fuzz: the XML reader;
# state_fuzz: loading a plug-in state document) with clang, address and undefined-behaviour
# sanitizers and coverage in the libraries it uses, and runs it for a bounded time (default
# 60 s). All targets share one build folder. New inputs go to build/fuzz/corpus-TARGET, never
# into the seed corpus under tests/fuzz; a failing input is left in build/fuzz as crash-* or
# timeout-*.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="$1"
seconds="${2:-60}"
build="$root/build/fuzz"
seeds="$root/tests/fuzz/${target%_fuzz}_corpus"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIV_BUILD_FUZZERS=ON -DKIV_BUILD_TESTS=OFF -DKIV_BUILD_BENCHMARKS=OFF \
  -DKIV_SANITIZE="address;undefined" \
  -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
ninja -C "$build" -j"$(nproc)" "$target"

mkdir -p "$build/corpus-$target"
cd "$build"
# A hang counts as a failure: no single document may take longer than 10 s.
"$build/tests/fuzz/$target" "$build/corpus-$target" "$seeds" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1
