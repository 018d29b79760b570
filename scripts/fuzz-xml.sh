#!/usr/bin/env bash
# fuzz-xml.sh [SECONDS]: builds the XML reader's libFuzzer target with clang (address and
# undefined-behaviour sanitizers, coverage in the whole base library) and runs it for a
# bounded time, default 60 s. New inputs go to build/fuzz-xml/corpus, never into the seed
# corpus under tests/fuzz; a failing input is left in build/fuzz-xml as crash-* or timeout-*.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build/fuzz-xml"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIV_BUILD_FUZZERS=ON -DKIV_BUILD_TESTS=OFF -DKIV_BUILD_BENCHMARKS=OFF \
  -DKIV_SANITIZE="address;undefined" \
  -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
ninja -C "$build" -j2 xml_fuzz

mkdir -p "$build/corpus"
cd "$build"
# A hang counts as a failure: no single document may take longer than 10 s.
"$build/tests/fuzz/xml_fuzz" "$build/corpus" "$root/tests/fuzz/xml_corpus" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1
