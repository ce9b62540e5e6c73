#!/usr/bin/env bash
# The demonstration: makes a photographic scenery from generated data with orvane-cli.
#   scripts/run-demo.sh BUILD_DIR
# Generates a 2048-pixel-high true-colour aerial photo of a landscape as a GeoTIFF in UTM and a DTED
# file of its heights, imports the photo (warped to latitude/longitude, 256 colours, extents from
# its georeferencing), makes the project (all three texture levels), writes the SCASM source and, when a scasm.exe lies in the folder the
# script was started from, compiles the BGL. Prints what it made, where, and how long each stage took.
set -euo pipefail

build=${1:?usage: scripts/run-demo.sh BUILD_DIR}
build=$(cd "$build" && pwd)
cli="$build/builder/orvane-cli"
if [ ! -x "$cli" ]; then
  echo "run-demo: $cli is missing; build first (cmake --build $build)" >&2
  exit 1
fi
start_dir=$(pwd)

# The program reads TexRelief.cfg, colors.pcf, default.bmp and scasm.exe from its current folder:
# that is the demo folder, which takes the configuration and SCASM from the starting folder.
demo="$build/demo"
rm -rf "$demo"
mkdir -p "$demo"
scasm=""
for name in scasm.exe SCASM.EXE Scasm.exe; do
  if [ -f "$start_dir/$name" ]; then scasm="$start_dir/$name"; break; fi
done
[ -n "$scasm" ] && cp "$scasm" "$demo/scasm.exe"
[ -f "$start_dir/TexRelief.cfg" ] && cp "$start_dir/TexRelief.cfg" "$demo/"
cd "$demo"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
timings=()

t0=$(now)
"$cli" demo-data --out "$demo/input" --size 2048 --points 121 --colors "$demo/colors.pcf" \
  --photo "$demo/input/landscape.tif" > "$demo/input.txt"
t1=$(now)
timings+=("generate data      $(elapsed "$t0" "$t1") s")

photo="$demo/input/landscape.tif"
bitmap="$demo/input/landscape_photo.bmp"
dted="$demo/input/landscape.dt0"
root="$demo/scenery-root"
source="$root/scenery/landscape.sca"
bgl="$root/scenery/landscape.bgl"

compile_args=()
[ -n "$scasm" ] && compile_args=(--bgl "$bgl")
t2=$(now)
"$cli" photo --image "$photo" --bitmap "$bitmap" --dither \
  --folder "$root" --prefix ls --dted "$dted" --levels all --sca "$source" \
  --project "$root/landscape.prj" "${compile_args[@]}" | tee "$demo/photo.txt"
t3=$(now)
what="photo import, DTED, three tile levels, source"
[ -n "$scasm" ] && what="$what, BGL"
timings+=("make scenery       $(elapsed "$t2" "$t3") s   ($what, project)")

north=$(awk '$1 == "north" { print $2 }' "$demo/photo.txt")
south=$(awk '$1 == "south" { print $2 }' "$demo/photo.txt")
east=$(awk '$1 == "east" { print $2 }' "$demo/photo.txt")
west=$(awk '$1 == "west" { print $2 }' "$demo/photo.txt")
size=$(sed -nE 's/^  bitmap: .*: ([0-9]+ x [0-9]+) pixels.*/\1/p' "$demo/photo.txt" | head -1)
tiles3=$(ls "$root/texture" | grep -c -E '^ls[0-9]{4}3[0-9]{2}\.' || true)
tiles2=$(ls "$root/texture" | grep -c -E '^ls[0-9]{4}2[0-9]\.' || true)
tiles1=$(ls "$root/texture" | grep -c -E '^ls[0-9]{4}1\.' || true)

echo
echo "Made:"
photo_size=$(sed -nE 's/^  image: .*: ([0-9]+ x [0-9]+) pixels.*/\1/p' "$demo/photo.txt" | head -1)
echo "  input photo     $photo ($photo_size, true colour, UTM zone 33N)"
echo "  project bitmap  $bitmap ($size, 256 colours, warped to latitude/longitude)"
echo "  input heights   $dted (121 x 121 DTED points)"
echo "  extents         $south to $north N, $west to $east E"
echo "  project         $root/landscape.prj"
echo "  texture tiles   $root/texture: $tiles3 level 3, $tiles2 level 2, $tiles1 level 1"
echo "  SCASM source    $source ($(wc -c < "$source") bytes, $(grep -c '^Area(' "$source") area blocks)"
if [ -n "$scasm" ]; then
  echo "  BGL             $bgl"
else
  echo "  BGL             not compiled: no scasm.exe in $start_dir."
  echo "                  Put SCASM's scasm.exe there and run this again, or compile the project with"
  echo "                  (cd <folder with scasm.exe> && $cli compile $root/landscape.prj $bgl)"
fi
echo
echo "Stages:"
for line in "${timings[@]}"; do echo "  $line"; done
grep -E '^  (bitmap:|altitude: main map|level [0-9]:|source:|compile:|project:|total:)' "$demo/photo.txt" |
  sed -E 's/^  ([a-z0-9 ]+): .*\(([0-9.]+ s)\)$/    \1: \2/; s/^  total: (.*)$/    total: \1/'

# --- Synthetic scenery: the starter texture library and a 16 x 16 grid built from it ---------------
# Self-contained: its own heights, and the library folder carries its own TexRelief.cfg, so
# orvane-cli runs there as the builder would.
synth="$demo/synthetic"
s0=$(now)
"$cli" demo-data --library "$synth" > "$demo/library.txt"
"$cli" demo-data --out "$synth/input" --size 1024 --points 61 --colors "$synth/colors.pcf" > "$demo/synth-input.txt"
synth_south=$(awk '$1 == "south" { print $2 }' "$demo/synth-input.txt")
synth_west=$(awk '$1 == "west" { print $2 }' "$demo/synth-input.txt")
(cd "$synth" && "$cli" synth --columns 16 --rows 16 --south "$synth_south" --west "$synth_west" --seed 1 \
  --dted "$synth/input/landscape.dt0" --sca "$synth/synthetic.sca" --project "$synth/synthetic.prj") > "$demo/synth.txt"
s1=$(now)
no_match=$(awk '$1 == "no" && $2 == "match:" { print $3 }' "$demo/synth.txt")
echo
echo "Synthetic scenery:"
echo "  texture library $synth ($(awk '$1 == "textures" { print $2 }' "$demo/library.txt") textures, TexRelief.cfg)"
echo "  project         $synth/synthetic.prj (16 x 16 chunks, 2.0 m/pixel, seed 1)"
echo "  SCASM source    $synth/synthetic.sca ($(grep -c '^Area(' "$synth/synthetic.sca") area blocks)"
echo "  no match        $no_match chunks without a fitting texture"
echo "  time            $(elapsed "$s0" "$s1") s (library, heights and scenery)"
