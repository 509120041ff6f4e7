#pragma once

#include <deque>
#include <vector>

#include "record/BoardGrid.h"

namespace velmora {

// Results of CheckMove and PlayMove. They are bit values: bit 0 alone says legal.
enum MoveResult : int {
    kMoveLegal = 1,
    kMoveAtari = 65,     // legal, and some group counted while judging has exactly one liberty
    kMoveOccupied = 2,
    kMoveSuicide = 4,    // no liberty and captures nothing
    kMoveKo = 16,        // retakes a single stone where a single stone was just captured
    kMoveOutside = 32,   // x or y outside 1..N
};

// True when a MoveResult allows the move.
constexpr bool IsLegalMove(int result) { return (result & 1) != 0; }

// A stone taken off the board by the last judged or played move.
struct CapturedStone {
    int x = 0;
    int y = 0;
    int colour = 0;
    bool operator==(const CapturedStone&) const = default;
};

// Judges and plays moves on its own BoardGrid: refuses occupied points, suicide and the
// immediate retake of a ko, removes captured stones and lists them. It knows no move numbers
// or turns: the caller sets ColourToPlay before each move and switches it afterwards.
//
// Every caller plays a move this way: SetColourToPlay; CheckMove; stop unless IsLegalMove;
// PlayMove at the same point; SetPointNumber; read GetCapturedStone(1..).
class RulesEngine {
public:
    // An empty board with black to play (ResetRules without preserving).
    RulesEngine();

    // Empties the stones layer and the work queue, black to play, no last move; unless preserve,
    // the last capture count becomes 0. The last capture point always survives.
    void ResetRules(bool preserve);

    // The board's number of lines (kDefaultBoardSize until SetBoardSize).
    int BoardSize() const { return grid_.Size(); }
    // Takes a board of n lines (2..25; others ignored): an empty board, no last move or capture.
    void SetBoardSize(int n);

    // The colour of the next stone (1 white, 2 black).
    int ColourToPlay() const { return colourToPlay_; }
    void SetColourToPlay(int colour) { colourToPlay_ = colour; }

    // Writes value at (x, y) without any rule (handicap stones, taking a stone back).
    void PutStone(int x, int y, int value) { grid_.Set(x, y, value); }
    // Writes the move number n into the numbers layer at (x, y).
    void SetPointNumber(int x, int y, int n) { grid_.SetNumber(x, y, n); }

    // Judges a stone of ColourToPlay at (x, y) and leaves the stones as they were; afterwards the
    // last move, last capture and captured list describe the move as if it had been played.
    // Sets the numbers layer at (x, y) to 0 when the point is free. → MoveResult.
    int CheckMove(int x, int y);
    // Places a stone of ColourToPlay at (x, y) and removes what it captures, or refuses it and
    // changes no stone. → MoveResult (the same code CheckMove gives for that point).
    int PlayMove(int x, int y);

    // A pass of ColourToPlay: no stone, nothing captured, and a ko is lifted (the stone just
    // taken may be retaken). The caller switches ColourToPlay afterwards, as after a move.
    void Pass();

    // The n-th captured stone (from 1) of the last judged or played move → 1, or 0 when absent.
    int GetCapturedStone(int n, int& x, int& y, int& colour) const;
    // The captured list itself, in the order the stones were found, each point once.
    const std::vector<CapturedStone>& CapturedStones() const { return captured_; }

    // 1 when some group counted while judging the last move had exactly one liberty.
    int AtariFlag() const { return atariFlag_; }
    // The point of the last judged or played move; (−1, −1) after a reset.
    GridPoint LastMovePoint() const { return lastMove_; }
    // The last stone counted as captured: the ko point while LastCaptureCount is 1.
    GridPoint LastCapturePoint() const { return lastCapture_; }
    // How many stones the last played move captured.
    int LastCaptureCount() const { return lastCaptureCount_; }
    // Puts back the last capture (the ko) a position had, as a step back to it does.
    void SetLastCapture(GridPoint point, int count) {
        lastCapture_ = point;
        lastCaptureCount_ = count;
    }

    // The position, for the board control to read.
    const BoardGrid& Grid() const { return grid_; }

    // Building blocks of the judgement, open for tools that need groups and liberties.
    // Fills the group at (x, y) of source into target: its colour on its points, 0 elsewhere.
    // Does nothing when (x, y) is not a playable point.
    void FillGroup(int x, int y, const BoardGrid& source, BoardGrid& target);
    // target := 4 on every playable point next to a non-zero point of group, 0 elsewhere.
    static void LibertyMap(const BoardGrid& group, BoardGrid& target);
    // Number of playable points where libertyMap holds 4 and board is empty; sets AtariFlag at 1.
    int CountLiberties(const BoardGrid& board, const BoardGrid& libertyMap);
    // Liberties of the group at (x, y) on board; 0 for an empty point (may set AtariFlag).
    int Liberties(int x, int y, const BoardGrid& board);

private:
    // Liberties counted only up to enough: a count below it is exact (and a group with none
    // leaves all its stones in groupStones_); enough means that many or more.
    int CountUpTo(int x, int y, const BoardGrid& board, int enough);

    struct Seed {
        int x;
        int y;
        bool up;
    };

    int Move(int x, int y, bool play);
    int Judge(int x, int y);
    int CaptureAroundLastMove(bool remove);
    int RemoveGroup(std::vector<GridPoint> stones, int colour, bool remove);
    void AddSeeds(int x, int y);
    void ScanSeed(const Seed& seed, const BoardGrid& source, BoardGrid& target);
    bool IsListed(int x, int y) const;

    BoardGrid grid_;
    int colourToPlay_ = kBlack;
    GridPoint lastMove_;
    GridPoint lastCapture_;
    int lastCaptureCount_ = 0;
    int atariFlag_ = 0;
    std::vector<CapturedStone> captured_;
    std::deque<Seed> workQueue_;

    // Liberties: the stones of the last group counted, and per-point marks of the current count
    // (a point is marked when its stamp equals stamp_).
    std::vector<GridPoint> groupStones_;
    std::array<std::uint32_t, BoardGrid::kSide * BoardGrid::kSide> stoneStamp_{};
    std::array<std::uint32_t, BoardGrid::kSide * BoardGrid::kSide> libertyStamp_{};
    std::uint32_t stamp_ = 0;
};

}  // namespace velmora
