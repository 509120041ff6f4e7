#!/usr/bin/env python3
"""Positions of set-up records, judged by GNU Go: tests/data/sgf/other/NAME.txt.

GNU Go loads the record at each given move and lists its stones (19 lines of X, O and ., top
row first, after "move N"). Its loadsgf adds HA's table stones to the root's own, so the copy
it reads leaves HA out: the stones are those the file sets up.

Run by hand (not in CI), needs the Debian package gnugo:
  scripts/make-setup-positions.py tests/data/sgf/other/free-handicap.sgf 0 1 10 20 31
"""
import re
import subprocess
import sys

COLS = "ABCDEFGHJKLMNOPQRST"


def positions(sgf, moves, out):
    text = open(sgf, encoding="utf-8").read()
    text = re.sub(r"HA\[\d+\]", "", text)   # GNU Go would add the table's stones itself
    tmp = "/tmp/velmora-gnugo-copy.sgf"
    open(tmp, "w", encoding="utf-8").write(text)
    p = subprocess.Popen(["/usr/games/gnugo", "--mode", "gtp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    def ask(cmd):
        p.stdin.write(cmd + "\n"); p.stdin.flush()
        lines = []
        while True:
            line = p.stdout.readline()
            if line.strip() == "" and lines: break
            if line.strip(): lines.append(line.strip())
        r = " ".join(lines)
        if not r.startswith("="): raise RuntimeError(cmd + ": " + r)
        return r[1:].strip()
    with open(out, "w") as f:
        for n in moves:
            ask(f"loadsgf {tmp} {n + 1}")
            grid = [["."] * 19 for _ in range(19)]
            for colour, ch in (("black", "X"), ("white", "O")):
                for v in ask(f"list_stones {colour}").split():
                    grid[19 - int(v[1:])][COLS.index(v[0])] = ch
            f.write(f"move {n}\n" + "".join("".join(r) + "\n" for r in grid))
    ask("quit")
sgf = sys.argv[1]
out = sgf[:-4] + ".txt"
positions(sgf, [int(m) for m in sys.argv[2:]], out)
