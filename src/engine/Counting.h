#pragma once

#include <array>
#include <string>
#include <vector>

#include "record/Position.h"

namespace velmora {

// How a finished game is counted: territory and captures (Korean and Japanese rules, the same
// count here), or area, stones on the board and territory (Chinese).
enum class CountingRules { kKorean, kJapanese, kChinese };

// The count of a finished position; arrays are indexed by colour (1 white, 2 black).
struct GameCount {
    double blackLead = 0;          // komi taken off: positive when Black wins
    std::array<int, 3> territory{};  // empty points surrounded by one colour alone (dead stones' points included)
    std::array<int, 3> captures{};   // stones taken by moves, and the opponent's dead stones
    std::array<int, 3> stones{};     // living stones on the board
    std::array<std::vector<Position::Point>, 3> dead{};  // each colour's dead stones
};

// Counts board with the dead stones given (points not holding a stone are ignored): the dead
// are taken off as prisoners; each region of empty points bordered by one colour only is its
// territory, one touching both or none is no one's.
GameCount CountGame(const Position& board, const std::vector<Position::Point>& dead, double komi,
                    CountingRules rules);

}  // namespace velmora
