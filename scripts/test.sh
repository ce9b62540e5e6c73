#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, runs every test,
# then builds the core under AddressSanitizer + UndefinedBehaviorSanitizer and runs its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

# No file may include from a floor above its own.
scripts/check-layers.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-Werror >/dev/null
cmake --build build/release -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build/release --output-on-failure -j "$jobs"
# Killed at random moments, orvane-cli leaves only old or complete new files (bounded, seconds).
scripts/kill-test.sh build/release 24

# The sanitizer run covers the core and its file readers (GUI tests stay in the plain build).
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_GUI=OFF -DORVANE_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/asan --output-on-failure -L core -j "$jobs"
