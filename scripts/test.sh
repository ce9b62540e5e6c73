#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, runs every test,
# then builds the core under AddressSanitizer + UndefinedBehaviorSanitizer and runs its tests.
# Ends with one line that adds up every suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Adds up the "N tests failed out of M" lines of every ctest run for the closing line.
summary() {
  local passed=0 failed=0 line
  for log in "$logs"/*.log; do
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1) || continue
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
  done
  echo "total: $passed passed, $failed failed"
}
run_ctest() {  # NAME ctest-arguments...
  local name=$1
  shift
  local status=0
  ctest "$@" 2>&1 | tee "$logs/$name.log" || status=$?
  [ "$status" -eq 0 ] || { summary; exit "$status"; }
}

# No file may include from a floor above its own.
scripts/check-layers.sh

# The same configuration as the main job (scripts/demo.sh), so running both builds once.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-Werror >/dev/null
cmake --build build/release -j "$jobs"
QT_QPA_PLATFORM=offscreen run_ctest release --test-dir build/release --output-on-failure -j "$jobs"
# Killed at random moments, orvane-cli leaves only old or complete new files (bounded, seconds).
scripts/kill-test.sh build/release 24

# What a user installs: prefix install, the validators, the Debian package.
scripts/test-install.sh build/release

# The sanitizer run covers the core and its file readers (GUI tests stay in the plain build).
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_GUI=OFF -DORVANE_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_ctest asan --test-dir build/asan --output-on-failure -L core -j "$jobs"

# Every file reader fuzzed for a fixed number of runs from its seeds (a few minutes in all).
scripts/fuzz.sh --ci

summary
