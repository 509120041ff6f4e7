#!/bin/sh
# Whole-process time of `velmora-cli board` against the same work in node (@sabaki/sgf and
# @sabaki/go-board), on a record of 4,000 moves with many captures. Needs hyperfine and npm;
# the node packages go to a folder under /tmp, never into the tree.
# Usage: bench/cli-vs-node.sh [build folder]   (default: build)
set -e
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-build}/bin/velmora-cli
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
hyperfine -N --warmup 3 "$bin board $record" "node $node_dir/board.js $record"
