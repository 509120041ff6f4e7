#pragma once

// A large game tree for tests and benchmarks: a main line of a real game, and branches from
// every move until the tree holds the nodes asked for, nested, with comments, marks, set-up
// nodes and passes as real teaching files have them.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::test {

// The moves of the 1846 game in the fixtures, as "B[qd]", "W[dc]", …
inline std::vector<std::string> FixtureGameMoves(const std::string& dataFolder) {
    std::ifstream in(dataFolder + "/sgf/ear-reddening.sgf");
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string game = whole.str();
    std::vector<std::string> moves;
    for (std::size_t at = game.find(";B["); at != std::string::npos; at = game.find(';', at + 1))
        if (game[at + 2] == '[' && (game[at + 1] == 'B' || game[at + 1] == 'W')) moves.push_back(game.substr(at + 1, 5));
    return moves;
}

// An SGF text of about `nodes` nodes whose main line is the first `mainLine` moves of moves
// (repeated when there are fewer), each main-line move with side branches after it.
inline std::string GeneratedTreeText(const std::vector<std::string>& moves, int nodes, int mainLine) {
    std::uint64_t seed = 0x9E3779B97F4A7C15ull;
    const auto next = [&seed](int bound) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return static_cast<int>(seed % static_cast<std::uint64_t>(bound));
    };
    const auto point = [&] {
        return std::string{static_cast<char>('a' + next(19)), static_cast<char>('a' + next(19))};
    };
    // One side line of about budget nodes from move m: moves, passes, set-up nodes, comments,
    // marks, and a split into two further lines half way.
    const auto side = [&](int m, int budget, std::string& out) {
        out += m % 7 == 0 ? "(;C[참고도-" + std::to_string(m + 1) + "수 변화]" : "(";
        bool black = m % 2 == 1;
        for (int i = 0; i < budget; ++i) {
            out += ";";
            if (next(40) == 0) {
                out += "AB[" + point() + "]AW[" + point() + "]C[배치]";
                continue;
            }
            out += black ? "B[" : "W[";
            out += next(60) == 0 ? "" : point();
            out += "]";
            black = !black;
            if (next(10) == 0) out += "C[수 " + std::to_string(i + 1) + "의 해설입니다.]";
            if (next(8) == 0) out += "TR[" + point() + "]LB[" + point() + ":A]";
            if (i == budget / 2 && budget > 6) {
                const int rest = budget - i - 1;
                for (int split = 0; split < 2; ++split) {
                    out += "(";
                    for (int j = 0; j < rest / 2; ++j) out += std::string(";") + ((black ^ (j % 2)) ? "B[" : "W[") + point() + "]";
                    out += ")";
                }
                break;
            }
        }
        out += ")";
    };
    std::string text = "(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[흑]PW[백]C[생성된 큰 나무]";
    for (int m = 0; m < mainLine; ++m) {
        text += ";" + moves[static_cast<std::size_t>(m) % moves.size()];
        if (m % 10 == 0) text += "C[" + std::to_string(m + 1) + "수]";
        if (m + 1 < mainLine) text += "(";
    }
    const int perMove = std::max(0, (nodes - mainLine - 1) / std::max(1, mainLine - 1));
    for (int m = mainLine - 2; m >= 0; --m) {
        text += ")";
        for (int left = perMove; left > 0;) {
            const int budget = std::min(left, 4 + next(30));
            side(m, budget, text);
            left -= budget;
        }
    }
    return text + ")";
}

}  // namespace velmora::test
