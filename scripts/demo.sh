#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -x scripts/run-demo.sh ]; then
  exec scripts/run-demo.sh build/release
fi
echo "Built: build/release/builder/orvane (the builder), build/release/splitter/ovsplit (the split tool)."
