// The final position of a record, as velmora-cli board prints it, computed with @sabaki/sgf and
// @sabaki/go-board (run by bench/cli-vs-node.sh).
const sgf = require('@sabaki/sgf');
const Board = require('@sabaki/go-board');
const fs = require('fs');
const root = sgf.parse(fs.readFileSync(process.argv[2], 'utf8'))[0];
let board = Board.fromDimensions(19, 19);
let node = root;
let moves = 0;
while (node) {
  for (const [key, sign] of [['B', 1], ['W', -1]]) {
    if (node.data[key]) {
      const v = sgf.parseVertex(node.data[key][0]);
      board = board.makeMove(sign, v, {preventSuicide: true, preventKo: true});
      moves++;
    }
  }
  node = node.children[0];
}
let out = '';
for (let y = 0; y < 19; y++) {
  let row = '';
  for (let x = 0; x < 19; x++) { const s = board.get([x, y]); row += s === 1 ? 'X' : s === -1 ? 'O' : '.'; }
  out += row + '\n';
}
process.stdout.write(out);
