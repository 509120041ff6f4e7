#!/bin/sh
# The whole-game review with GNU Go at its default level: one engine process against two
# (--jobs 2), on the 65-move 13×13 game of the tests (and on any records given instead). The
# runs alternate, RUNS of each (default 3); prints the median seconds and the ratio jobs 2 /
# jobs 1, which should stay at 0.6 or below on a machine with two free cores.
# Usage: bench/review-jobs.sh [build folder] [runs] [record...]   (default: build 3)
set -e
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
[ $# -ge 2 ] && shift 2 || shift $#
cli=$build/bin/velmora-cli
[ -x "$cli" ] || { echo "no $cli: build first" >&2; exit 1; }
[ $# -gt 0 ] || set -- "$here/../tests/data/sizes/gnugo-13-handicap5.sgf"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
seconds() {  # seconds of one review of $1 with --jobs $2
    start=$(date +%s.%N)
    "$cli" review "$1" -o "$out/r.sgf" --jobs "$2" 2>/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
for record in "$@"; do
    : >"$out/1"; : >"$out/2"
    i=0
    while [ $i -lt "$runs" ]; do
        seconds "$record" 1 >>"$out/1"
        seconds "$record" 2 >>"$out/2"
        i=$((i + 1))
    done
    one=$(median <"$out/1")
    two=$(median <"$out/2")
    printf '%s: jobs 1 %.2f s, jobs 2 %.2f s, ratio %.2f\n' "$(basename "$record")" "$one" "$two" \
        "$(echo "$two / $one" | bc -l)"
done
