#!/usr/bin/env bash
# Makes the pictures of the user guide (docs/images) from the programs' real windows on the
# offscreen platform: the main window with a photo project made by orvane-cli, and every dialog,
# tab and wizard page as the layout gallery shows them at scale 1.
# Usage: scripts/guide-pictures.sh [--check] [BUILD_DIR]
#   --check  makes the pictures in a temporary folder only and fails when a picture the guide
#            shows did not come out (run by the tests, so a window that stops opening breaks
#            the build, not the guide).
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [ "${1:-}" = "--check" ]; then check=1; shift; fi
build="$(realpath -m "${1:-${BUILD_DIR:-build/release}}")"
guide=docs/user-guide.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shots="$work/shots"
mkdir -p "$shots"

if [ "$check" -eq 0 ]; then
  cmake --build "$build" --target orvane-cli gui_DialogGalleryTest gui_MainWindowScreenshot \
    splitter_gui_test_layout_gallery >/dev/null
fi

# A photo project with tiles and heights, made as a user would from the command line.
(
  cd "$work"
  "$build/builder/orvane-cli" demo-data --out in --size 1024 --points 11 >/dev/null
  "$build/builder/orvane-cli" photo --bitmap in/landscape.bmp --north 45.1 --south 45 --east 15.1 \
    --west 15 --prefix demo --folder scenery --dted in/landscape.dt0 >/dev/null 2>&1
)
export QT_QPA_PLATFORM="offscreen:configfile=$(pwd)/tests/support/screen-1080p.json"
export ORVANE_NO_SPLASH=1
unset QT_SCALE_FACTOR
"$build/tests/gui_MainWindowScreenshot" "$shots/orvane-main-project-x1.png" "$work/scenery/demo.prj" >/dev/null
for program in "$build/tests/gui_DialogGalleryTest" "$build/tests/splitter/splitter_gui_test_layout_gallery"; do
  ORVANE_SHOT_DIR="$shots" "$program" -o "$work/gallery.txt,txt" >/dev/null ||
    { cat "$work/gallery.txt"; exit 1; }
done

# Every picture the guide shows, by its name in docs/images.
mapfile -t wanted < <(grep -o 'images/[A-Za-z0-9_.-]*\.png' "$guide" | sed 's|images/||' | sort -u)
[ ${#wanted[@]} -gt 0 ] || { echo "guide-pictures: $guide shows no pictures" >&2; exit 1; }
status=0
for name in "${wanted[@]}"; do
  shot="$shots/${name%.png}-x1.png"
  if [ ! -s "$shot" ]; then
    echo "guide-pictures: no picture $name (the window did not open)" >&2
    status=1
  elif [ "$check" -eq 1 ]; then
    [ -s "docs/images/$name" ] || { echo "guide-pictures: docs/images/$name is missing: run scripts/guide-pictures.sh" >&2; status=1; }
  else
    mkdir -p docs/images
    cp "$shot" "docs/images/$name"
  fi
done
[ "$status" -eq 0 ] && echo "guide-pictures: ${#wanted[@]} pictures $([ "$check" -eq 1 ] && echo checked || echo "in docs/images")"
exit "$status"
