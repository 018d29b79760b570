#!/usr/bin/env bash
# fuzz-state.sh [SECONDS]: builds the state loading libFuzzer target with clang (address and
# undefined-behaviour sanitizers, coverage in the base and plug-in libraries) and runs it for a
# bounded time, default 60 s. New inputs go to build/fuzz-state/corpus, never into the seed
# corpus under tests/fuzz; a failing input is left in build/fuzz-state as crash-* or timeout-*.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build/fuzz-state"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIV_BUILD_FUZZERS=ON -DKIV_BUILD_TESTS=OFF -DKIV_BUILD_BENCHMARKS=OFF \
  -DKIV_SANITIZE="address;undefined" \
  -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
ninja -C "$build" -j2 state_fuzz

mkdir -p "$build/corpus"
cd "$build"
# A hang counts as a failure: no single document may take longer than 10 s.
"$build/tests/fuzz/state_fuzz" "$build/corpus" "$root/tests/fuzz/state_corpus" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1
