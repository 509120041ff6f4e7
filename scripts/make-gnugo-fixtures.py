#!/usr/bin/env python3
"""Makes the rules fixtures checked by the record tests, with GNU Go as the independent judge.

Each game is played out through GNU Go's GTP interface: mostly random legal moves near the
stones already on the board (so groups die, get captured and ko fights arise), mixed with GNU
Go's own moves. GNU Go decides which moves are legal and reports the position at several
moves and at the end. The games go to tests/data/gnugo/game_NN.sgf and the positions to
game_NN.txt, as 19 lines of X (black), O (white) and . (empty), top row first.

Run by hand (not in CI): scripts/make-gnugo-fixtures.py [--games 30] [--seed 7305]
Needs the Debian package gnugo.
"""
import argparse
import os
import random
import subprocess

COLS = "ABCDEFGHJKLMNOPQRST"
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "data", "gnugo")


class Gtp:
    def __init__(self, seed):
        exe = "/usr/games/gnugo" if os.path.exists("/usr/games/gnugo") else "gnugo"
        self.p = subprocess.Popen([exe, "--mode", "gtp", "--level", "0", "--seed", str(seed)],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, cmd):
        self.p.stdin.write(cmd + "\n")
        self.p.stdin.flush()
        lines = []
        while True:
            line = self.p.stdout.readline()
            if line.strip() == "" and lines:
                break
            if line.strip():
                lines.append(line.strip())
        reply = " ".join(lines)
        if not reply.startswith("="):
            raise RuntimeError(f"{cmd}: {reply}")
        return reply[1:].strip()

    def close(self):
        self.ask("quit")
        self.p.wait()


def to_sgf(vertex):
    col = COLS.index(vertex[0])
    row = int(vertex[1:])
    return chr(ord("a") + col) + chr(ord("a") + 19 - row)


def position(gtp):
    grid = [["."] * 19 for _ in range(19)]
    for colour, ch in (("black", "X"), ("white", "O")):
        for v in gtp.ask(f"list_stones {colour}").split():
            x = COLS.index(v[0])
            y = 19 - int(v[1:])
            grid[y][x] = ch
    return ["".join(r) for r in grid]


def neighbours_of_stones(stones):
    near = set()
    for v in stones:
        x, y = COLS.index(v[0]), int(v[1:])
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < 19 and 1 <= y + dy <= 19:
                    near.add(COLS[x + dx] + str(y + dy))
    return near


def play_game(index, rng, length):
    gtp = Gtp(rng.randrange(1 << 30))
    gtp.ask("boardsize 19")
    gtp.ask("clear_board")
    moves = []
    checkpoints = {}
    colour = "black"
    for n in range(1, length + 1):
        legal = gtp.ask(f"all_legal {colour}").split()
        if not legal:
            break
        stones = gtp.ask("list_stones black").split() + gtp.ask("list_stones white").split()
        near = [v for v in legal if v in neighbours_of_stones(stones)]
        if rng.random() < 0.25 and n > 10:
            move = gtp.ask(f"reg_genmove {colour}")
            if move.upper() in ("PASS", "RESIGN") or move not in legal:
                move = rng.choice(legal)
        else:
            move = rng.choice(near if near and rng.random() < 0.85 else legal)
        gtp.ask(f"play {colour} {move}")
        moves.append((colour, move))
        if n % 50 == 0:
            checkpoints[n] = position(gtp)
        colour = "white" if colour == "black" else "black"
    checkpoints[len(moves)] = position(gtp)
    gtp.close()

    name = f"game_{index:02d}"
    body = "".join(f";{'B' if c == 'black' else 'W'}[{to_sgf(v)}]" for c, v in moves)
    with open(os.path.join(OUT, name + ".sgf"), "w", encoding="utf-8") as f:
        f.write(f"(;GM[1]FF[4]SZ[19]GN[규칙 검사 {index}]PB[흑]PW[백]{body})\n")
    with open(os.path.join(OUT, name + ".txt"), "w", encoding="utf-8") as f:
        for n in sorted(checkpoints):
            f.write(f"move {n}\n")
            f.write("\n".join(checkpoints[n]) + "\n")
    return len(moves)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--games", type=int, default=30)
    ap.add_argument("--seed", type=int, default=7305)
    ap.add_argument("--length", type=int, default=260)
    args = ap.parse_args()
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(args.seed)
    for i in range(1, args.games + 1):
        n = play_game(i, rng, args.length)
        print(f"game {i}: {n} moves")


if __name__ == "__main__":
    main()
