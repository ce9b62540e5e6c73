#!/usr/bin/env bash
# Lists what this machine has and lacks for each step of making scenery with Orvane.
# Usage: scripts/doctor.sh [FOLDER]   FOLDER: where the builder will be started (default: here).
# Exit status: 0 when everything needed for a BGL is there, 1 otherwise.
set -uo pipefail
folder="${1:-$PWD}"
missing=0
have() { printf '  [ok]      %s\n' "$1"; }
lack() { printf '  [missing] %s\n' "$1"; missing=1; }
note() { printf '  [note]    %s\n' "$1"; }

find_program() {  # NAME: a program on the PATH or beside this script's build
  command -v "$1" 2>/dev/null && return 0
  local here
  here="$(cd "$(dirname "$0")/.." && pwd)"
  for candidate in "$here/build/release/builder/$1" "$here/build/release/splitter/$1"; do
    [ -x "$candidate" ] && { echo "$candidate"; return 0; }
  done
  return 1
}

find_any_case() {  # FOLDER NAME: the file whose name matches in any letter case
  find "$1" -maxdepth 1 -type f -iname "$2" -print -quit 2>/dev/null
}

echo "Programs"
for p in orvane orvane-cli ovsplit ovsplit-cli; do
  if path=$(find_program "$p"); then have "$p: $path"; else lack "$p (install the package or build it)"; fi
done

echo "Windows"
plugins=$(find /usr/lib/*/qt6/plugins/platforms -name 'libq*.so' 2>/dev/null | xargs -r -n1 basename | tr '\n' ' ')
if [ -n "$plugins" ]; then have "Qt platform plugins: $plugins"; else lack "Qt platform plugins (apt-get install qt6-base-dev or libqt6gui6)"; fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then have "a display ($DISPLAY${WAYLAND_DISPLAY:-})"; else note "no display: the windows open only with QT_QPA_PLATFORM=offscreen; the batch programs need none"; fi

echo "Outside programs (SCASM makes the BGL, Catgen the scenery library)"
if command -v wine >/dev/null 2>&1; then
  have "wine: $(wine --version 2>/dev/null)"
  if dpkg -s wine32:i386 >/dev/null 2>&1; then have "32-bit wine (wine32:i386)"; else note "no 32-bit wine: a 32-bit scasm.exe needs 'dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386', then a new wine prefix (move ${WINEPREFIX:-$HOME/.wine} away)"; fi
else
  lack "wine (apt-get install wine) to run scasm.exe and catgen.exe"
fi
if scasm=$(find_any_case "$folder" scasm.exe) && [ -n "$scasm" ]; then have "scasm.exe: $scasm"; else lack "scasm.exe in $folder (the builder looks in the folder it is started from)"; fi
if catgen=$(find_any_case "$folder" catgen.exe) && [ -n "$catgen" ]; then have "catgen.exe: $catgen"; else note "catgen.exe not in $folder (OVSplit asks for it when compiling)"; fi

echo "Configuration files in $folder"
for f in TexRelief.cfg colors.pcf default.bmp OVSPLIT.cfg; do
  if [ -f "$folder/$f" ]; then have "$f"; else note "$f not there (the programs use their defaults; colors.pcf and default.bmp are needed for .r8 tiles)"; fi
done

echo "Folders"
if [ -w "$folder" ]; then have "$folder is writable"; else lack "$folder is not writable (sca.bat and the source are written there)"; fi
tmp="${TMPDIR:-/tmp}"
if [ -w "$tmp" ]; then have "$tmp is writable"; else lack "$tmp is not writable"; fi

exit "$missing"
