#!/usr/bin/env bash
# Whole-process comparison: velmora-cli printing the 600-move fixture split by 50, two to a
# page, into a PDF, against sgf2dg making its PDF diagrams of the same record with 50 moves
# each, alternating in one run.
# Usage: bench/compare-print.sh [BUILD_DIR] [RUNS]   (default: build 9; sgf2dg makes PDFs with libpdf-create-perl)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here/../tests/data/print/long600.sgf" "$work/long600.sgf"
cd "$work"
export QT_QPA_PLATFORM=offscreen
ours="$build/bin/velmora-cli print long600.sgf --kind split --moves 50 --per-page 2 -o velmora.pdf"
if ! command -v sgf2dg >/dev/null; then
    echo "sgf2dg is not installed (apt install sgf2dg libpdf-create-perl to compare)"
    sh -c "$ours" && echo "velmora-cli print wrote $(stat -c %s velmora.pdf) bytes"
    exit 0
fi
. "$here/common/alternate.sh"
alternate "$runs" "velmora-cli print" "$ours" "sgf2dg PDF" "sgf2dg -converter PDF -m 50 long600.sgf"
