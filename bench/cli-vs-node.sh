#!/usr/bin/env bash
# Whole-process time of `velmora-cli board` against the same work in node (@sabaki/sgf and
# @sabaki/go-board), on a record of 4,000 moves with many captures, alternating in one run.
# Needs npm; the node packages go to a folder under /tmp, never into the tree.
# Usage: bench/cli-vs-node.sh [BUILD_DIR] [RUNS]   (default: build 9)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
runs=${2:-9}
bin=$(cd "$build" && pwd)/bin/velmora-cli
record=$here/../tests/data/sgf/long-captures.sgf
node_dir=${TMPDIR:-/tmp}/velmora-bench-node
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
