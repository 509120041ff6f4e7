#pragma once

#include <array>
#include <cstdint>

namespace velmora {

// Stone values of the stones layer. Work grids also use kGroupMark and kLibertyMark.
enum StoneColour : int { kEmpty = 0, kWhite = 1, kBlack = 2 };

// The opponent of colour c (1 ↔ 2).
constexpr int Opponent(int c) { return 3 - c; }

// Boards are square, of kMinBoardSize to kMaxBoardSize lines; a record that names no size has
// kDefaultBoardSize.
inline constexpr int kMinBoardSize = 2;
inline constexpr int kMaxBoardSize = 25;
inline constexpr int kDefaultBoardSize = 19;

// True when n lines make a board this program plays on.
constexpr bool IsBoardSize(int n) { return n >= kMinBoardSize && n <= kMaxBoardSize; }

// True when (x, y) is a playable point of a board of size lines, both in 1..size.
constexpr bool OnBoard(int x, int y, int size) {
    return x >= 1 && x <= size && y >= 1 && y <= size;
}

// A point of the (N+2)×(N+2) grid of an N-line board, 1-based: playable points are 1..N in
// both, as moves, the rules and the handicap table count them; (−1, −1) stands for none.
struct GridPoint {
    int x = -1;
    int y = -1;
    bool operator==(const GridPoint&) const = default;
};

// A point of the board's N×N cells, 0-based (0..N−1), as the board's display, its marks and
// set-up lists index them; (−1, −1) stands for none.
struct PointIndex {
    int x = -1;
    int y = -1;
    bool operator==(const PointIndex&) const = default;
};

// True when i is one of the cells of a board of size lines, both in 0..size−1.
constexpr bool OnBoard(PointIndex i, int size) {
    return i.x >= 0 && i.x < size && i.y >= 0 && i.y < size;
}

// The cell of grid point p (one column left, one row up); none stays none.
constexpr PointIndex ToPointIndex(GridPoint p) {
    return p == GridPoint{} ? PointIndex{} : PointIndex{p.x - 1, p.y - 1};
}
// The grid point of cell i (one column right, one row down); none stays none.
constexpr GridPoint ToGridPoint(PointIndex i) {
    return i == PointIndex{} ? GridPoint{} : GridPoint{i.x + 1, i.y + 1};
}

// One position of an N×N board (N = Size()): playable points 1..N inside an (N+2)×(N+2)
// grid whose border (0 and N+1) is never occupied. Two layers, both stored with x as the major
// index: stones (0 empty, 1 white, 2 black) and numbers (the owner's move number on each
// point). The implicit copy copies both layers and the size.
class BoardGrid {
public:
    static constexpr int kSide = kMaxBoardSize + 2;
    static constexpr int kGroupMark = 8;    // work grids: a point of the group being filled
    static constexpr int kLibertyMark = 4;  // work grids: a point next to the group

    // The number of lines, kDefaultBoardSize until SetSize.
    int Size() const { return size_; }
    // Takes n lines (sizes outside kMinBoardSize..kMaxBoardSize are ignored) and empties both
    // layers.
    void SetSize(int n);
    // True when (x, y) is one of this board's playable points.
    bool OnBoard(int x, int y) const { return velmora::OnBoard(x, y, size_); }

    // Stones-layer value at (x, y); 0 when x or y lies outside 0..N (so row and column N+1 read
    // empty).
    int Get(int x, int y) const { return InGrid(x, y) ? stones_[Index(x, y)] : 0; }
    // Writes the stones layer; ignored when x or y lies outside 0..N.
    void Set(int x, int y, int value) {
        if (InGrid(x, y)) stones_[Index(x, y)] = value;
    }
    // Numbers-layer value at (x, y); 0 outside the grid.
    int Number(int x, int y) const;
    // Writes the numbers layer at (x, y), 0..N+1 in both; ignored outside the grid.
    void SetNumber(int x, int y, int n);
    // Empties the stones layer; the numbers layer keeps its values.
    void Clear() { stones_.fill(0); }

private:
    bool InGrid(int x, int y) const { return x >= 0 && x <= size_ && y >= 0 && y <= size_; }
    static constexpr int Index(int x, int y) { return x * kSide + y; }

    std::array<std::int32_t, kSide * kSide> stones_{};
    std::array<std::int32_t, kSide * kSide> numbers_{};
    int size_ = kDefaultBoardSize;
};

}  // namespace velmora
