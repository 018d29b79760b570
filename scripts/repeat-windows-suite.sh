#!/usr/bin/env bash
# repeat-windows-suite.sh [RUNS] [CTEST ARGS...]: runs the whole Windows test suite (an
# existing build/windows) under Wine RUNS times in a row (20 unless given) and stops at the
# first run with a failing test. Each run is the suite as scripts/test.sh runs it: every test
# once, no retries. Logs go to build/windows-repeat/run-N.log; the last line says how many
# runs in a row passed. Set KIV_WINEPREFIX to use a prefix of your own.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
runs="${1:-20}"
[ $# -gt 0 ] && shift
logs="$root/build/windows-repeat"
mkdir -p "$logs"
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
kiv_wine_start
trap kiv_wine_stop EXIT
passed=0
for run in $(seq 1 "$runs"); do
  log="$logs/run-$run.log"
  ctest --test-dir build/windows --output-on-failure -j"$(nproc)" --timeout "${KIV_CTEST_TIMEOUT:-300}" "$@" > "$log" 2>&1
  summary=$(grep -E "tests passed, [0-9]+ tests failed out of" "$log" | tail -n 1)
  echo "run $run: ${summary:-no test summary}"
  if ! grep -qE "100% tests passed, 0 tests failed" "$log"; then
    grep -E "\*\*\*(Failed|Exception|Timeout)|Not Run" "$log"
    break
  fi
  passed=$((passed + 1))
done
echo "windows suite: $passed of $runs runs in a row passed"
[ "$passed" -eq "$runs" ]
