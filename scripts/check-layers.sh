#!/usr/bin/env bash
# Fails when a file includes a header from a floor above its own.
#
# Builder floors, bottom up:
#   base      services every subsystem uses; includes only base/
#   middle    project altitude imagery output synth view wizards import; base/ and each other
#   app       start-up, configuration, main frame; anything below
#   cli       the batch program; anything but windows
# A core file (outside ui/) never includes a ui/ header or Qt; a ui/ file may include the
# ui/ folders of its own floor and below.
# The split tool: its core (splitter/*.h, *.cpp but main.cpp) and its batch program never
# include its windows.
#
# Usage: scripts/check-layers.sh [ROOT]   (ROOT defaults to the repository)
set -uo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root" || exit 2

middle="project altitude imagery output synth view wizards import"
failures=0

floor_of() {  # folder name under builder/ -> floor number
  case "$1" in
    base) echo 0 ;;
    app) echo 2 ;;
    cli) echo 3 ;;
    *) for m in $middle; do [ "$1" = "$m" ] && { echo 1; return; }; done; echo 9 ;;
  esac
}

complain() {
  echo "layer check: $1:$2: $3" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  rel="${file#builder/}"
  sub="${rel%%/*}"
  own=$(floor_of "$sub")
  [ "$own" = 9 ] && continue
  in_ui=0
  case "$rel" in */ui/*) in_ui=1 ;; esac
  while IFS=: read -r line text; do
    inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">].*/\1/' <<<"$text")
    case "$text" in
      *'#'*include*'<Q'*)
        [ "$in_ui" = 0 ] && [ "$sub" != app ] && complain "$file" "$line" "Qt header <$inc> in core code"
        continue ;;
      *'#'*include*'"'*) ;;
      *) continue ;;
    esac
    target="${inc%%/*}"
    [ "$target" = "$inc" ] && continue   # a header beside the file
    theirs=$(floor_of "$target")
    [ "$theirs" = 9 ] && continue
    if [ "$theirs" -gt "$own" ]; then
      complain "$file" "$line" "includes \"$inc\" from a higher floor"
    fi
    case "$inc" in */ui/*)
      [ "$in_ui" = 0 ] && complain "$file" "$line" "core code includes window code \"$inc\"" ;;
    esac
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find builder -path 'builder/resources' -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print | sort)

# GDAL is seen only by the import stage's own sources, and the import stage (a library of its own
# that orvane_core does not link) only by windows, the batch program and the stage itself.
while IFS= read -r file; do
  rel="${file#builder/}"
  while IFS=: read -r line text; do
    case "$rel" in import/*.cpp) case "$rel" in import/ui/*) ;; *) continue ;; esac ;; esac
    complain "$file" "$line" "GDAL header outside the import stage's sources"
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(gdal|cpl_|ogr_|ogrsf_)' "$file")
  case "$rel" in import/*|cli/*|*/ui/*) continue ;; esac
  while IFS=: read -r line _; do
    complain "$file" "$line" "core code includes the import stage, which it does not link"
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"import/' "$file")
done < <(find builder -path 'builder/resources' -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print | sort)

# The split tool's core and batch program stay clear of its windows.
while IFS= read -r file; do
  while IFS=: read -r line _; do
    complain "$file" "$line" "split tool core includes its windows"
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui/' "$file")
  if [ "$(dirname "$file")" != splitter/ui ]; then
    while IFS=: read -r line _; do
      complain "$file" "$line" "split tool core includes Qt"
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file")
  fi
done < <(find splitter -maxdepth 2 -type f \( -name '*.h' -o -name '*.cpp' \) ! -path 'splitter/ui/*' ! -name main.cpp | sort)

if [ "$failures" -gt 0 ]; then
  echo "layer check: $failures include(s) go against the floors" >&2
  exit 1
fi
echo "layer check: every include looks down"
