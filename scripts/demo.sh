#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The same configuration as the tests (scripts/test.sh), so running both builds once.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-Werror >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -x scripts/run-demo.sh ]; then
  exec scripts/run-demo.sh build/release
fi
echo "Built: build/release/builder/orvane (the builder), build/release/splitter/ovsplit (the split tool)."
