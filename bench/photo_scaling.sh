#!/bin/sh
# orvane-cli photo (all texture levels and the SCASM source) on generated landscapes: wall time
# and peak memory by picture size and by DTED posts, beside reading the inputs (the baseline of
# the same run). Usage: bench/photo_scaling.sh [build dir] [largest size] [most posts]
set -eu
build=${1:-build/release}
largest=${2:-16384}
most=${3:-3601}
cli="$build/builder/orvane-cli"
work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-photo-scaling.XXXXXX")
trap 'rm -rf "$work"' EXIT

run() {   # size posts
    dir="$work/$1-$2"
    "$cli" demo-data --out "$dir" --size "$1" --points "$2" > "$dir.extents"
    value() { sed -n "s/^$1 //p" "$dir.extents"; }
    # The inputs just made are put on the disk first, as a user's inputs would be: the tiles'
    # one sync would otherwise write them too.
    sync
    start=$(date +%s.%N)
    cat "$(value bitmap)" "$(value dted)" > /dev/null
    copy=$(echo "$(date +%s.%N) - $start" | bc)
    /usr/bin/time -f "%e %M %U %S" -o "$dir.time" "$cli" photo --bitmap "$(value bitmap)" --dted "$(value dted)" \
        --north "$(value north)" --south "$(value south)" --east "$(value east)" --west "$(value west)" \
        --prefix bn --folder "$dir/scenery" --levels all --sca "$dir/scenery/bn.sca" > /dev/null 2> "$dir.err"
    read -r wall peak user system < "$dir.time"
    printf "%7s %7s %9.2f %9.2f %9.0f %9.3f %8.0f\n" "$1" "$2" "$wall" "$(echo "$user + $system" | bc -l)" \
        "$((peak / 1024))" "$copy" "$(echo "$wall / $copy" | bc -l)"
    # The run's files stay until the end: deleting thousands of tiles just before the next run
    # would make the file system's search for free inodes part of that run's time.
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%7s %7s %9s %9s %9s %9s %8s\n" pixels posts "wall (s)" "cpu (s)" "peak MB" "read (s)" ratio
for size in 2048 4096 8192 16384; do
    [ "$size" -le "$largest" ] && run "$size" 121
done
for posts in 1201 3601; do
    [ "$posts" -le "$most" ] && run 2048 "$posts"
done
[ "$largest" -ge 16384 ] && [ "$most" -ge 3601 ] && run 16384 3601
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
exit 0
