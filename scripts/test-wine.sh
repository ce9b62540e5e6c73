#!/usr/bin/env bash
# Runs the tests that start Windows stand-ins (built with mingw during the tests) through wine,
# the way a user with the real SCASM and Catgen meets them.
# Usage: scripts/test-wine.sh [--with-32bit]
#   --with-32bit  also installs wine's 32-bit part (wine32:i386), so 32-bit stand-ins run too;
#                 without it the 32-bit cases check that the programs say what to install.
# Installs what is missing (as root, or through sudo), builds build/release and runs the tests
# labelled "wine". BUILD_DIR selects another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
with32=0
for arg in "$@"; do
  case "$arg" in
    --with-32bit) with32=1 ;;
    -h|--help) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "test-wine.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done
scripts/install-deps.sh

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
packages=(wine wine64 gcc-mingw-w64-x86-64 gcc-mingw-w64-i686)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "$with32" -eq 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
fi
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
build="${BUILD_DIR:-build/release}"
if [[ " ${missing[*]-} " == *" wine32:i386 "* ]]; then
  # A wine prefix made before the 32-bit part was there cannot run 32-bit programs.
  rm -rf "$build/wine-prefix"
  [ -d "${WINEPREFIX:-$HOME/.wine}" ] &&
    echo "note: a wine prefix made before wine32 was installed must be made again: move ${WINEPREFIX:-$HOME/.wine} away if 32-bit programs fail there"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-Werror >/dev/null
cmake --build "$build" -j "$(nproc)"
# The tests keep their own wine prefix in the build folder; the first start there takes a while.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -L wine -j "$(nproc)"
