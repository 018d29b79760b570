#!/usr/bin/env bash
# wine-run.sh PROGRAM [ARGS...]: how CTest starts a Windows test program (the cross build's
# emulator). It runs the program under Wine and passes on its output and exit code.
#
# Once in some thousands of starts, Wine itself ends within a few milliseconds with an error
# and without starting the program: a start takes Wine at least 30 ms even when it only
# reports that the file is missing, and about 0.2 s for a program that runs. A start that
# ends with an error sooner than that never ran any of the program's code, so it is made
# once more, and said so in the test's output: a failure of the program itself, however
# rare, still fails its test.
set -u
fast_ms=20
started=$EPOCHREALTIME
wine "$@"
code=$?
if [ "$code" -ne 0 ]; then
  elapsed_us=$(( (${EPOCHREALTIME/./} - ${started/./}) ))
  if [ "$elapsed_us" -lt $((fast_ms * 1000)) ]; then
    echo "wine-run: Wine ended with code $code after $((elapsed_us / 1000)) ms without starting $1; starting it again" >&2
    exec wine "$@"
  fi
fi
exit "$code"
