#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for a
# bounded time (default 30 s each):   ./fuzz.sh [seconds] [target-name-filter]
set -euo pipefail
cd "$(dirname "$0")"
secs=${1:-30}
filter=${2:-}

./tools/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRASP_FUZZ=ON -DRASP_TESTS=OFF -DRASP_BENCH=OFF >/dev/null
cmake --build build-fuzz

# A sanitizer report aborts the fuzzer (a failure), and leaks of Qt's own
# start-up are not ours to report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-abort_on_error=1:halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

status=0
while IFS= read -r fuzzer; do
  name=$(basename "$fuzzer")
  [[ -n $filter && $name != *"$filter"* ]] && continue
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="tests/fuzz-seeds/$name"
  echo "== $name ($secs s)"
  args=("$corpus")
  [[ -d $seeds ]] && args+=("$seeds")
  if ! "$fuzzer" -max_total_time="$secs" -rss_limit_mb=2048 -malloc_limit_mb=512 \
       -print_final_stats=0 "${args[@]}" 2>"build-fuzz/$name.log"; then
    echo "FAILED: $name (see build-fuzz/$name.log)"; tail -40 "build-fuzz/$name.log"; status=1
  fi
done < <(find build-fuzz -type f -name '*_fuzzer' -perm -u+x | sort)
exit $status
