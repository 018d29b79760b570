#!/usr/bin/env bash
# Builds and runs every test suite: Linux, Linux with AddressSanitizer and UBSan, the thread
# tests under ThreadSanitizer, the Windows build under Wine, and bounded fuzz runs.
# The last line sums up all suites as "N passed, N failed".
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/install-deps.sh || { echo "dependency installation failed"; exit 1; }
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CTEST_OUTPUT_ON_FAILURE=1

total_passed=0
total_failed=0
failed_suites=()

# run_suite NAME BUILD-DIR [CTEST ARGS...]: runs ctest and adds its counts to the totals.
run_suite() {
  local name="$1" dir="$2"; shift 2
  echo "=== $name"
  local log="$root/build/$name.ctest.log"
  ctest --test-dir "$dir" -j"$(nproc)" --timeout "${KIV_CTEST_TIMEOUT:-300}" "$@" 2>&1 | tee "$log" | grep -E "tests passed|\*\*\*(Failed|Exception|Timeout)|Not Run" || true
  local summary
  summary=$(grep -E "[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "$name: no test summary"
    failed_suites+=("$name")
    total_failed=$((total_failed + 1))
    return
  fi
  local failed all
  failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
  all=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
  total_passed=$((total_passed + all - failed))
  total_failed=$((total_failed + failed))
  if [ "$failed" -ne 0 ]; then
    failed_suites+=("$name")
    # What each failing test printed (ctest puts it right after the test's result line), so
    # that a failure seen once on a fresh machine can be read from the CI log.
    awk '/\*\*\*(Failed|Exception|Timeout)/ { shown = 0; printing = 1; print "--- output of" $0; next }
         printing && /^ *[0-9]+\/[0-9]+ Test +#/ { printing = 0 }
         printing && shown < 80 { print; shown++ }' "$log"
  fi
}

build_or_fail() {
  local name="$1"; shift
  echo "=== build $name"
  if ! bash scripts/build.sh "$name" "$@" > "build/$name.build.log" 2>&1; then
    tail -n 40 "build/$name.build.log"
    failed_suites+=("build-$name")
    total_failed=$((total_failed + 1))
    return 1
  fi
}

mkdir -p build

if build_or_fail linux -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  run_suite linux build/linux
fi

if build_or_fail sanitize -DCMAKE_BUILD_TYPE=Debug "-DKIV_SANITIZE=address;undefined" -DKIV_BUILD_BENCHMARKS=OFF; then
  ASAN_OPTIONS=detect_leaks=1 run_suite sanitize build/sanitize
fi

# Every test that runs threads of its own or the plug-in's automation update thread beside the
# audio thread: threads, platform, the core and its effect, state, slots, the host bridge and
# adapters, editor refresh (meters, level history), the window systems (offscreen and X11
# under Xvfb, with their invalidator and selection threads), the preset and MIDI windows, and
# the built plug-in files in a host's hands (the entry tests; the longest renders among them
# take a shorter variant under ThreadSanitizer, see tests/support/kiv_sanitizer.h). ctest's
# regular expressions allow nine groups: this one, wrapped below, uses all of them.
tsan_tests='(threads|platform)_[A-Za-z0-9_]+|base_string|dynamics_(effect|editor|processing)_[A-Za-z0-9_]+|plugin_[A-Za-z0-9_]+|presets_(slots|editor)_[A-Za-z0-9_]+|gui_(controls|offscreen|x11)_[A-Za-z0-9_]+|hosts_(bridge|vst2)_[A-Za-z0-9_]+|hosts_vst3_(kiv_audio_plugin_vst3_adapter|tandrel_mini_(vst3|vst3_parameters|vst3_editor|side_chain|shape_point_automation))|entry_(kiv_pass_through_library|kiv_vst2_entry_without_version|tandrel_mini_[A-Za-z0-9_]+)'
if KIV_TARGETS_REGEX="^($tsan_tests)_test\$" build_or_fail tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIV_SANITIZE=thread -DKIV_BUILD_BENCHMARKS=OFF; then
  # Under ThreadSanitizer the concurrency tests run tens of times slower than in the other
  # builds (the editor's size test takes half a minute alone).
  KIV_CTEST_TIMEOUT=900 run_suite tsan build/tsan -R "^($tsan_tests)_test\."
fi

if build_or_fail windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DKIV_BUILD_BENCHMARKS=OFF; then
  # shellcheck source=scripts/wine-env.sh
  source scripts/wine-env.sh
  kiv_wine_start
  run_suite windows build/windows
  kiv_wine_stop
fi

# Bounded fuzz runs: each target must neither crash nor hang on anything it is fed.
for target in xml_fuzz state_fuzz; do
  echo "=== fuzz $target"
  if bash scripts/fuzz.sh "$target" "${KIV_FUZZ_SECONDS:-45}" > "build/$target.log" 2>&1; then
    total_passed=$((total_passed + 1))
  else
    tail -n 30 "build/$target.log"
    failed_suites+=("$target")
    total_failed=$((total_failed + 1))
  fi
done

[ ${#failed_suites[@]} -eq 0 ] || echo "failing: ${failed_suites[*]}"
echo "tests: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
