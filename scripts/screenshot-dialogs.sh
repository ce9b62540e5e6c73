#!/usr/bin/env bash
# Pictures of every window of both programs (builder and OVSplit), each tab and wizard page,
# at scale factor 1 and 2 on a 1920 x 1080 offscreen screen, without a display. The same run
# checks each layout: a control cut off, two controls on top of each other or a window larger
# than the screen is reported and makes the script fail.
# Usage: scripts/screenshot-dialogs.sh [output folder]   (default: build/screenshots/dialogs)
# BUILD_DIR selects the build folder (default build/release); it is configured and built as needed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build/release}"
out="$(realpath -m "${1:-build/screenshots/dialogs}")"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target gui_DialogGalleryTest splitter_gui_test_layout_gallery >/dev/null
mkdir -p "$out"
screen="offscreen:configfile=$(pwd)/tests/support/screen-1080p.json"
status=0
for scale in 1 2; do
  for program in "$build/tests/gui_DialogGalleryTest" "$build/tests/splitter/splitter_gui_test_layout_gallery"; do
    QT_QPA_PLATFORM="$screen" QT_SCALE_FACTOR="$scale" ORVANE_SHOT_DIR="$out" ORVANE_NO_SPLASH=1 \
      "$program" -o -,txt || status=1
  done
done
echo "pictures in $out: $(find "$out" -name '*.png' | wc -l)"
exit "$status"
