#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/GameTree.h"

namespace velmora {

// One step of a game's main line as the library keeps it, in 16 bits: a point (bits 0–9,
// y·size + x from 0; kStepNoPoint for a pass), a colour (bits 10–11: 0 empty, 1 white, 2 black)
// and whether the step is a move (bit 12; a move counts, a set-up stone or a capture does not)
// that the rules refused (bit 13: it counts but changes no stone). A move's captures follow it
// as steps that empty their points.
using LibraryStep = std::uint16_t;
inline constexpr int kStepNoPoint = 1023;
inline constexpr LibraryStep kStepMove = 1u << 12;
inline constexpr LibraryStep kStepRefused = 1u << 13;
constexpr LibraryStep MakeStep(int point, int colour, LibraryStep flags = 0) {
    return static_cast<LibraryStep>(point | (colour << 10) | flags);
}
constexpr int StepPoint(LibraryStep s) { return s & 1023; }
constexpr int StepColour(LibraryStep s) { return (s >> 10) & 3; }
constexpr bool IsMoveStep(LibraryStep s) { return (s & kStepMove) != 0; }

// Who won a game, as its RE says.
enum class GameWinner : std::uint8_t { kUnknown = 0, kWhite = 1, kBlack = 2, kDraw = 3 };

// What the library keeps of one game: its information as read and in forms to sort and
// filter by, the steps of its main line, its comments and a key shared by its duplicates.
struct GameDigest {
    std::string black, blackRank, white, whiteRank, event, round, date, result;
    std::string dateKey;  // "YYYY-MM-DD", unknown parts 00; "" without a year
    int year = 0;
    GameWinner winner = GameWinner::kUnknown;
    double margin = 0;  // points; 0 with a resignation, on time, or unknown
    bool hasMargin = false;
    double komi = 0;
    int handicap = 0;
    int size = 19;
    int moves = 0;  // move steps of the main line
    std::vector<LibraryStep> steps;
    std::string comments;  // every C of the tree, one a line
    // The same for games of the same size whose set-up stones and moves are the same up to one
    // of the board's 8 symmetries; 0 for a game without stones.
    std::uint64_t duplicateKey = 0;
};

// Digests tree (one game) → false with why (in Korean) when its board is not one the program
// reads (not square, not of 2 to 25 lines).
bool DigestGame(const GameTree& tree, GameDigest& digest, std::string& why);

// DT as "YYYY-MM-DD" with 00 for what it does not give ("2001년 5월" → "2001-05-00"): the first
// number of four digits is the year, the numbers after it month and day → "" without a year.
std::string DateKey(std::string_view date);

// Winner and margin of a result ("B+R", "W+3.5", "0", "Draw", "흑 불계승", "백 2집반승").
void ParseResult(std::string_view result, GameWinner& winner, double& margin, bool& hasMargin);

// The point (x, y), 0-based on a board of size lines, under symmetry s (0–7: bit 0 mirrors x,
// bit 1 mirrors y, bit 2 then swaps x and y) of a box of width w and height h; the inverse
// undoes it (w, h: the box before the symmetry).
void ApplySymmetry(int s, int w, int h, int& x, int& y);
void InvertSymmetry(int s, int w, int h, int& x, int& y);

// A player's name as the filter compares it: ASCII letters in lower case, spaces dropped.
std::string PlayerKey(std::string_view name);

}  // namespace velmora
