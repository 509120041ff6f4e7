#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "game/BoardLogic.h"

namespace velmora::test {

// What one run of the command line gave.
struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs velmora-cli on args, capturing both streams.
inline CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun r;
    r.status = RunCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline std::string DataPath(const std::string& name) {
    return std::string(VELMORA_TEST_DATA) + "/" + name;
}

// The board's stones as N rows of X (black), O (white) and . (empty), top row first.
inline std::vector<std::string> Rows(const BoardLogic& board) {
    std::vector<std::string> rows;
    const int n = board.BoardSize();
    for (int y = 1; y <= n; ++y) {
        std::string row;
        for (int x = 1; x <= n; ++x) {
            const int v = board.Rules().Grid().Get(x, y);
            row += v == kBlack ? 'X' : v == kWhite ? 'O' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// The positions of a fixture: "move N" followed by the board's rows (as many as the first
// row is long), as (N, rows) pairs.
inline std::vector<std::pair<int, std::vector<std::string>>> Positions(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::pair<int, std::vector<std::string>>> positions;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("move ", 0) != 0) continue;
        positions.push_back({std::stoi(line.substr(5)), {}});
        std::size_t lines = 1;
        for (std::size_t i = 0; i < lines && std::getline(in, line); ++i) {
            positions.back().second.push_back(line);
            lines = line.size();
        }
    }
    return positions;
}

}  // namespace velmora::test
