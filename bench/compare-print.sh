#!/usr/bin/env bash
# Whole-process comparison: velmora-cli printing the 600-move fixture split by 50, two to a
# page, against sgf2dg making its PDF diagrams of the same record with 50 moves each.
# Usage: bench/compare-print.sh [BUILD_DIR] [RUNS]   (sgf2dg is installed by hand)
set -euo pipefail
build=${1:-build}
runs=${2:-9}
root=$(cd "$(dirname "$0")/.." && pwd)
record=$root/tests/data/print/long600.sgf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$record" "$work/long600.sgf"
export QT_QPA_PLATFORM=offscreen

# Median wall-clock milliseconds of running "$@" $runs times in $work.
median_ms() {
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        (cd "$work" && "$@" >/dev/null 2>&1)
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

ours=$(median_ms "$root/$build/bin/velmora-cli" print long600.sgf --kind split --moves 50 \
    --per-page 2 -o velmora.pdf)
echo "velmora-cli print (6 pages): ${ours} ms median of $runs"
if command -v sgf2dg >/dev/null; then
    theirs=$(median_ms sgf2dg -converter PDF -m 50 long600.sgf)
    echo "sgf2dg -converter PDF -m 50: ${theirs} ms median of $runs"
    awk -v a="$theirs" -v b="$ours" 'BEGIN { printf "ratio sgf2dg / velmora-cli: %.2f\n", a / b }'
else
    echo "sgf2dg is not installed (apt install sgf2dg to compare)"
fi
