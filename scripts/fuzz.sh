#!/usr/bin/env bash
# Fuzzes the file readers with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
#   scripts/fuzz.sh TARGET MINUTES   run one target that long; new inputs are kept in
#                                    build/fuzz/corpus/TARGET, a crash in build/fuzz/crashes/
#   scripts/fuzz.sh --ci             every target for a fixed number of runs from its seeds
#   scripts/fuzz.sh --list           the targets
# A crash, a leak, one input taking over 5 s or a run over 2 GB fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/fuzz
targets=(project_file texrelief_cfg bitmap palette dted text_altitudes coordinates batch_file
         ovsplit_cfg runway_file source_splitter)
limits=(-timeout=5 -rss_limit_mb=2048 -malloc_limit_mb=2048 -print_final_stats=1)

usage() { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
[ $# -ge 1 ] || usage
if [ "$1" = "--list" ]; then printf '%s\n' "${targets[@]}"; exit 0; fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
      -DORVANE_FUZZ=ON -DORVANE_GUI=OFF -DORVANE_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
seeds="$build/fuzz/seeds"
mkdir -p "$build/crashes"

run() {  # target, then libFuzzer options
  local t=$1; shift
  local work; work=$(mktemp -d)
  echo "== fuzz_$t"
  # Runs in its own folder: the targets write their input files into TMPDIR.
  if ! TMPDIR="$work" "$build/fuzz/fuzz_$t" "${limits[@]}" -artifact_prefix="$build/crashes/$t-" "$@" \
         "$work" "$seeds/$t" > "$work/log" 2>&1; then
    tail -n 60 "$work/log"
    rm -rf "$work"
    echo "fuzz_$t failed; the input is in $build/crashes/"
    return 1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" | tr '\n' ' '; echo
  rm -rf "$work"
}

if [ "$1" = "--ci" ]; then
  for t in "${targets[@]}"; do
    # Text formats looked up key by key cost more per byte: shorter inputs keep the stage short.
    case $t in ovsplit_cfg|runway_file) len=(-max_len=1024) ;; *) len=() ;; esac
    run "$t" -runs=20000 -seed=1 "${len[@]}"
  done
  exit 0
fi

[ $# -eq 2 ] || usage
t=$1
printf '%s\n' "${targets[@]}" | grep -qx "$t" || { echo "unknown target $t; see --list"; exit 2; }
corpus="$build/corpus/$t"
mkdir -p "$corpus"
echo "== fuzz_$t for $2 minute(s); corpus $corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TMPDIR="$work" "$build/fuzz/fuzz_$t" "${limits[@]}" -artifact_prefix="$build/crashes/$t-" \
  -max_total_time=$(( $2 * 60 )) "$corpus" "$seeds/$t"
