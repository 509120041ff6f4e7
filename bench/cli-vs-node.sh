#!/usr/bin/env bash
# Whole-process time of `velmora-cli board` against the same work in node (@sabaki/sgf and
# @sabaki/go-board), alternating in one run: by default on a generated tree of 100,000 nodes with
# a 300-move main line (written by BUILD_DIR's bench_sgf_tree, a -DVELMORA_BENCH=ON build), or
# on RECORD (tests/data/sgf/long-captures.sgf: 4,000 moves with many captures).
# Needs npm; the node packages go to a folder under /tmp, never into the tree.
# Usage: bench/cli-vs-node.sh [BUILD_DIR] [RUNS] [RECORD]   (default: build-bench 9)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-bench}
runs=${2:-9}
bin=$(cd "$build" && pwd)/bin/velmora-cli
node_dir=${TMPDIR:-/tmp}/velmora-bench-node
mkdir -p "$node_dir"
record=${3:-$node_dir/tree-100k.sgf}
[ -n "${3:-}" ] || "$(dirname "$bin")/bench_sgf_tree" --write-tree "$record"
if [ ! -d "$node_dir/node_modules/@sabaki/go-board" ]; then
    mkdir -p "$node_dir"
    npm install --silent --prefix "$node_dir" @sabaki/sgf @sabaki/go-board
fi
cp "$here/node/board.js" "$node_dir/board.js"
# Both must see the same final position.
"$bin" board "$record" >"$node_dir/velmora.txt"
node "$node_dir/board.js" "$record" >"$node_dir/node.txt"
cmp -s "$node_dir/velmora.txt" "$node_dir/node.txt" ||
    { echo "velmora-cli and node disagree on the final position" >&2; exit 1; }
. "$here/common/alternate.sh"
alternate "$runs" "velmora-cli board" "$bin board $record" \
    "node @sabaki" "node $node_dir/board.js $record"
