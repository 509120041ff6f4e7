#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "record/BoardGrid.h"

namespace velmora {

// What Check and Play say of a stone at a point.
enum class PlayResult : std::uint8_t {
    kLegal,
    kOccupied,
    kSuicide,    // no liberty and captures nothing (a group that would lose its last one too)
    kKo,         // retakes at once the single stone just captured by a single stone
    kOutside,    // not a point of this board
    kNotColour,  // the colour is neither white nor black
};

// One point a step changed, with its colour before (0 empty, 1 white, 2 black).
struct PositionChange {
    std::uint16_t point = 0;
    std::uint8_t colour = 0;
};

// What undoing one or more steps (moves, passes, set-up stones, the colour to play) needs:
// the points they changed with their colours before, and the ko point, colour to play,
// capture counts and hash from before the first. Steps collect into the record until it is
// undone or cleared, so a node's set-up stones and its move are undone as one. Up to
// kInline changes are held without allocating (a move and five captured stones); a record
// kept and reused (one per step of a path, say) does not allocate again once it has grown. A
// record is undone on the position that filled it, as that position left it.
class PositionUndo {
public:
    static constexpr int kInline = 6;

    // True when no step has been collected.
    bool Empty() const { return !saved_; }
    // Forgets the collected steps (keeps the memory).
    void Clear() {
        count_ = 0;
        more_.clear();
        saved_ = false;
    }
    // The changed points in the order changed: a move's point (was empty) before its captured
    // stones.
    int Size() const { return count_; }
    const PositionChange& operator[](int i) const {
        return i < kInline ? inline_[i] : more_[i - kInline];
    }

private:
    friend class Position;
    void Add(PositionChange change) {
        if (count_ < kInline)
            inline_[count_] = change;
        else
            more_.push_back(change);
        ++count_;
    }

    std::array<PositionChange, kInline> inline_{};
    std::vector<PositionChange> more_;
    int count_ = 0;
    bool saved_ = false;
    // The position's scalars before the first step.
    std::uint64_t hash_ = 0;
    std::array<int, 3> captured_{};
    int ko_ = 0;
    int koColour_ = 0;
    int toPlay_ = 0;
};

// One position of a square board of kMinBoardSize..kMaxBoardSize lines: the stones (0 empty,
// 1 white, 2 black), the ko point, the stones each colour has captured, the colour to play and
// a hash of the stones. Rules: an occupied point, suicide (of one stone or of a group) and the
// immediate retake of a ko are refused. Plain data: copying a position copies all of it, and
// == compares all of it. Const members share no work space between threads: a position nobody
// changes may be read from several threads at once.
//
// A point is y·kStride + x for 1-based x, y in 1..Size() (rows and columns 0 and Size()+1 are
// off the board); kNoPoint (0) stands for none.
class Position {
public:
    using Point = int;
    static constexpr int kStride = kMaxBoardSize + 2;
    static constexpr int kCells = kStride * kStride;
    static constexpr Point kNoPoint = 0;

    // The point (x, y), 1-based; kNoPoint when x or y lies outside 1..kMaxBoardSize.
    static constexpr Point PointAt(int x, int y) {
        return x >= 1 && x <= kMaxBoardSize && y >= 1 && y <= kMaxBoardSize ? y * kStride + x
                                                                            : kNoPoint;
    }
    static constexpr Point PointAt(GridPoint p) { return PointAt(p.x, p.y); }
    static constexpr Point PointAt(PointIndex i) { return PointAt(i.x + 1, i.y + 1); }
    // The 1-based column and row of point p.
    static constexpr int X(Point p) { return p % kStride; }
    static constexpr int Y(Point p) { return p / kStride; }

    // An empty board of size lines (kDefaultBoardSize when size is no board size), black to
    // play, no ko, nothing captured.
    explicit Position(int size = kDefaultBoardSize);

    // The number of lines.
    int Size() const { return size_; }
    // True when p is a point of this board.
    bool Contains(Point p) const { return p > 0 && p < kCells && cells_[p] != kOffBoard; }
    // The stone at p: 0 empty, 1 white, 2 black; 0 for a point off the board.
    int Colour(Point p) const { return Contains(p) ? cells_[p] : 0; }
    // The colour to play: black at first, then the opponent of the last move or pass.
    int ToPlay() const { return toPlay_; }
    // The point where KoColour may not play now, or kNoPoint.
    Point KoPoint() const { return ko_; }
    // The colour the ko forbids, 0 without a ko.
    int KoColour() const { return koColour_; }
    // The stones colour has taken off the board by its moves (set-up removals not counted).
    int CapturedBy(int colour) const {
        return colour == kWhite || colour == kBlack ? captured_[colour] : 0;
    }

    // A Zobrist hash of the stones alone (no board size, colour to play, ko or captures): the
    // empty board's is 0, equal stones give equal hashes however they were reached. Stored in
    // databases, so it never changes: the key of a stone of colour c (1, 2) at (x, y) is output
    // number 2·(25·(y−1) + (x−1)) + c − 1, counted from 0, of splitmix64 seeded with
    // kHashSeed; the hash is the exclusive or of the keys of the stones on the board.
    static constexpr std::uint64_t kHashSeed = 0x56454c4d4f524131;
    std::uint64_t Hash() const { return hash_; }
    // Hash() with the colour to play: exclusive or output number 1250 when black is to play.
    std::uint64_t HashWithToPlay() const;

    // Judges a stone of colour at p without changing anything.
    PlayResult Check(Point p, int colour) const;
    // Plays a stone of colour at p when Check allows it: removes the groups it leaves without
    // liberties, sets the ko point (a single stone capturing a single stone and left with that
    // point as its only liberty), counts the captures and gives the turn to the opponent; the
    // changes are added to undo. Otherwise nothing changes. → Check's result.
    PlayResult Play(Point p, int colour, PositionUndo& undo);
    // A pass of colour: the ko is lifted and the opponent is to play; added to undo.
    void Pass(int colour, PositionUndo& undo);
    // Sets point p to colour (0 empties it) without any rule, as set-up stones do; a changed
    // stone lifts the ko. Added to undo. → false (nothing changes) when p is off the board or
    // colour is not 0, 1 or 2.
    bool Setup(Point p, int colour, PositionUndo& undo);
    // Sets the colour to play (1 or 2; others are ignored); added to undo.
    void SetToPlay(int colour, PositionUndo& undo);
    // Puts back the position from before the steps collected in undo, exactly (stones, ko,
    // captures, colour to play, hash), and clears undo. Records are undone last one first.
    void Undo(PositionUndo& undo);

    // The points of the group at p, ascending; empty when p holds no stone.
    std::vector<Point> Group(Point p) const;
    // The number of liberties of the group at p; 0 when p holds no stone.
    int Liberties(Point p) const;

    bool operator==(const Position&) const = default;

private:
    static constexpr std::uint8_t kOffBoard = 3;

    void Save(PositionUndo& undo) const;
    void Put(Point p, int colour, PositionUndo& undo);
    void LiftKo() {
        ko_ = kNoPoint;
        koColour_ = 0;
    }

    std::array<std::uint8_t, kCells> cells_{};
    std::uint64_t hash_ = 0;
    std::array<int, 3> captured_{};
    int size_ = kDefaultBoardSize;
    Point ko_ = kNoPoint;
    int koColour_ = 0;
    int toPlay_ = kBlack;
};

}  // namespace velmora
