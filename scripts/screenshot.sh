#!/usr/bin/env bash
# Makes a PNG of the builder's main window with a project open, without a display.
# Usage: scripts/screenshot.sh [output.png]   (default: build/screenshots/main-window.png)
# BUILD_DIR selects the build folder (default build/release); it is configured and built as needed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build/release}"
out="${1:-build/screenshots/main-window.png}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target gui_MainWindowScreenshot >/dev/null
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen ORVANE_NO_SPLASH=1 "$build/tests/gui_MainWindowScreenshot" "$(realpath -m "$out")"
