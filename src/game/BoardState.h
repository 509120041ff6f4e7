#pragma once

#include <array>
#include <string>

#include "record/RulesEngine.h"

namespace velmora {

// Display flags of a PointCell (a bit set).
enum PointFlag : int {
    kFlagLastMove = 1,     // the last-move mark
    kFlagBlackSquare = 2,  // small black square
    kFlagWhiteSquare = 4,  // small white square
    kFlagHighlight = 8,    // the stone belongs to the open reference diagram
};

// What one point of the board shows.
struct PointCell {
    int stone = 0;   // 0 empty, 1 white, 2 black
    int flags = 0;   // PointFlag bits
    int number = 0;  // the move number drawn on the stone; 0 for none
    bool operator==(const PointCell&) const = default;
};

// Input modes of a board.
enum BoardMode : int {
    kModeView = 0,
    kModePlay = 1,        // play on the main line
    kModeDiagram = 2,     // reference-diagram input
    kModeMarks = 3,       // mark placing
    kModeQuizFour = 4,    // quiz: every move, hints on the next four
    kModeQuizBlack = 5,   // quiz: black's moves, white replies automatically
    kModeQuizWhite = 6,   // quiz: white's moves, black replies automatically
    kModeQuizPlain = 7,   // quiz: every move, no hints
    kModePreview = 8,     // a story card's preview board
};

// True for the modes that show an open reference diagram and its marks (0, 2, 3).
constexpr bool ShowsDiagram(int mode) {
    return mode == kModeView || mode == kModeDiagram || mode == kModeMarks;
}
// True for the four quiz modes (4..7).
constexpr bool IsQuizMode(int mode) { return mode >= kModeQuizFour && mode <= kModeQuizPlain; }

// Values of a board's NumberDisplay: which stones show their numbers.
enum : int {
    kNumbersNone = 0,
    kNumbersDiagram = 1,  // only stones with kFlagHighlight
    kNumbersAll = 2,      // every stone with a number above 0
};

// Numbering of a move range (split and print boards): when on, only stones numbered
// first..last are numbered, and they show n + (start − first).
struct RangeNumbering {
    bool on = false;
    int first = 1;
    int last = 1;
    int start = 1;
    bool operator==(const RangeNumbering&) const = default;
};

// The settings a click in mark-placing mode uses.
struct MarkTool {
    int alternatingColour = kBlack;  // underlay when no fixed one is set; alternates per placement
    int fixedUnderlay = 0;           // 0 none, 2 black only, 1 white only, −1 letters only
    int kind = 0;                    // NaviKind 0..8
    std::string text;                // the next label (kinds 1..4)
    bool operator==(const MarkTool&) const = default;
};

// The quiz's red X marks: slot k − 1 holds the 1-based point of move current + k, or (−1, −1).
using HintPoints = std::array<GridPoint, 8>;

}  // namespace velmora
