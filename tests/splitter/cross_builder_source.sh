#!/bin/sh
# Splits a source written by the builder's batch program and checks the documents against it.
# usage: cross_builder_source.sh ORVANE_CLI OVSPLIT_CLI
set -eu
orvane=$1
ovsplit=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$orvane" demo-data --out . --size 1024 --points 21 --name land --colors colors.pcf >/dev/null
"$orvane" photo --bitmap land.bmp --north 45:30:0 --south 45:0:0 --east 15:30:0 --west 15:0:0 \
  --prefix land --dted land.dt0 --folder out --sca out/land.sca >/dev/null

"$ovsplit" split out/land.sca "$work/split/Land.sca" 2>err.txt && fail "no split folder must fail"
mkdir split
"$ovsplit" split out/land.sca "$work/split/Land.sca" >/dev/null 2>err.txt || fail "split failed: $(cat err.txt)"
[ -s err.txt ] && fail "unexpected messages: $(cat err.txt)"

# Every document line ends in CR LF.
for f in split/Land_A.sca split/Land_B.sca split/Land_C.scm split/Land_D.scm split/Land_Compile.doc; do
  [ -f "$f" ] || fail "$f missing"
  lf=$(grep -c '' "$f"); crlf=$(grep -c "$(printf '\r')\$" "$f")
  [ "$lf" = "$crlf" ] || fail "$f has lines without CR LF"
done

line() { sed -n "$2p" "$1" | tr -d '\r'; }
src() { tr -d '\r' < out/land.sca | grep "$1" | tail -n 1; }
expect() { [ "$1" = "$2" ] || fail "expected [$2], got [$1]"; }

expect "$(line split/Land_A.sca 3)" "$(src '^Header(')"
expect "$(line split/Land_A.sca 4)" "$(src '^LatRange(')"
expect "$(line split/Land_A.sca 5)" "$(src '^set(')"
expect "$(line split/Land_B.sca 5)" "$(src '^Area(')"
expect "$(line split/Land_D.scm 2)" "$(src 'RefPoint(')"
expect "$(line split/Land_D.scm 4)" ":L000002"
expect "$(line split/Land_C.scm 4)" "$(printf '\t;START->Copied from Orvane generated file')"
expect "$(line split/Land_C.scm 5)" "$(printf '\t;END<-Copied from Orvane generated file')"
echo "ok"
