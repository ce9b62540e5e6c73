#!/usr/bin/env bash
# Kills orvane-cli photo and sca at random moments and checks what a kill may leave: every .prj
# and .sca is either the previous file or the complete new one, and no empty or temporary file
# remains. Bounded: a fixed number of rounds, the whole run well under a minute.
# usage: scripts/kill-test.sh [BUILD_DIR] [ROUNDS] [SEED]
set -euo pipefail
build=${1:-build/release}
rounds=${2:-24}
seed=${3:-$(date +%s)}
cli=$(cd "$build" && pwd)/builder/orvane-cli
[[ -x $cli ]] || { echo "kill-test: $cli not found" >&2; exit 1; }
RANDOM=$seed
echo "kill-test: $rounds rounds, seed $seed"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export SOURCE_DATE_EPOCH=946684800
"$cli" demo-data --out in --size 1024 --points 121 >/dev/null

# The argument lists; variant a or b differ in the prefix, so their complete results differ.
photoArgs() {
    args=(photo --bitmap in/landscape.bmp --north 45:30 --south 45 --east 15.5 --west 15
          --prefix "p$1" --folder out --dted in/landscape.dt0 --project out/p.prj --sca out/p.sca)
}
scaArgs() { args=(sca "ref/$1.prj" out/s.sca); }
photo() { photoArgs "$1"; "$cli" "${args[@]}"; }
sca() { scaArgs "$1"; "$cli" "${args[@]}"; }

# The complete results of each variant, made in the same folder as the killed runs.
mkdir -p ref
for v in a b; do
    photo "$v" >/dev/null 2>&1
    cp out/p.prj "ref/$v.prj"; cp out/p.sca "ref/$v.sca"
done
for v in a b; do
    sca "$v" >/dev/null 2>&1
    cp out/s.sca "ref/s$v.sca"
done
cmp -s ref/a.prj ref/b.prj && { echo "kill-test: the two variants give the same project" >&2; exit 1; }

# One complete run, timed, bounds the moments at which the kills fall.
start=$(date +%s%N); photo a >/dev/null 2>&1; end=$(date +%s%N)
span=$(( (end - start) / 1000000 + 50 ))

isOneOf() {   # FILE REF...: the file equals one of the references
    local file=$1; shift
    for r in "$@"; do cmp -s "$file" "$r" && return 0; done
    return 1
}

failures=0
for ((round = 1; round <= rounds; round++)); do
    variant=$([[ $((RANDOM % 2)) == 0 ]] && echo a || echo b)
    delay=$((RANDOM % span))
    if ((round % 3 == 0)); then scaArgs "$variant"; else photoArgs "$variant"; fi
    # The program itself is the background job, so the signal reaches it and not a shell.
    "$cli" "${args[@]}" >/dev/null 2>&1 &
    pid=$!
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true

    problem=""
    isOneOf out/p.prj ref/a.prj ref/b.prj || problem+=" out/p.prj is neither the old nor a complete new project;"
    isOneOf out/p.sca ref/a.sca ref/b.sca || problem+=" out/p.sca is neither the old nor a complete new source;"
    isOneOf out/s.sca ref/sa.sca ref/sb.sca || problem+=" out/s.sca is neither the old nor a complete new source;"
    leftovers=$(find out -name '*.part~' -o -type f -size 0 | head -5)
    [[ -z $leftovers ]] || problem+=" left behind: $(echo $leftovers);"
    if [[ -n $problem ]]; then
        echo "kill-test: round $round (kill after ${delay} ms):$problem" >&2
        failures=$((failures + 1))
    fi
done
((failures == 0)) || { echo "kill-test: $failures of $rounds rounds failed (seed $seed)" >&2; exit 1; }
echo "kill-test: all $rounds rounds left old or complete new files only"
