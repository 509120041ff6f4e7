#pragma once

#include <array>
#include <cstdint>

namespace velmora {

// Stone values of the stones layer. Work grids also use kGroupMark and kLibertyMark.
enum StoneColour : int { kEmpty = 0, kWhite = 1, kBlack = 2 };

// The opponent of colour c (1 ↔ 2).
constexpr int Opponent(int c) { return 3 - c; }

// True when (x, y) is a playable point, both in 1..19.
constexpr bool OnBoard(int x, int y) { return x >= 1 && x <= 19 && y >= 1 && y <= 19; }

// A point of the 21×21 grid, 1-based: playable points are 1..19 in both, as moves, the rules
// and the handicap table count them; (−1, −1) stands for none.
struct GridPoint {
    int x = -1;
    int y = -1;
    bool operator==(const GridPoint&) const = default;
};

// A point of the board's 19×19 cells, 0-based (0..18), as the board's display, its marks and
// set-up lists index them; (−1, −1) stands for none.
struct PointIndex {
    int x = -1;
    int y = -1;
    bool operator==(const PointIndex&) const = default;
};

// True when i is one of the board's cells, both in 0..18.
constexpr bool OnBoard(PointIndex i) {
    return i.x >= 0 && i.x <= 18 && i.y >= 0 && i.y <= 18;
}

// The cell of grid point p (one column left, one row up); none stays none.
constexpr PointIndex ToPointIndex(GridPoint p) {
    return p == GridPoint{} ? PointIndex{} : PointIndex{p.x - 1, p.y - 1};
}
// The grid point of cell i (one column right, one row down); none stays none.
constexpr GridPoint ToGridPoint(PointIndex i) {
    return i == PointIndex{} ? GridPoint{} : GridPoint{i.x + 1, i.y + 1};
}

// One position of a 19×19 board: playable points 1..19 inside a 21×21 grid whose border
// (0 and 20) is never occupied. Two layers, both stored with x as the major index:
// stones (0 empty, 1 white, 2 black) and numbers (the owner's move number on each point).
// The implicit copy copies both layers.
class BoardGrid {
public:
    static constexpr int kSide = 21;
    static constexpr int kBoardSize = 19;
    static constexpr int kGroupMark = 8;    // work grids: a point of the group being filled
    static constexpr int kLibertyMark = 4;  // work grids: a point next to the group

    // Stones-layer value at (x, y); 0 when x or y lies outside 0..19 (so row and column 20 read empty).
    int Get(int x, int y) const { return InGrid(x, y) ? stones_[Index(x, y)] : 0; }
    // Writes the stones layer; ignored when x or y lies outside 0..19.
    void Set(int x, int y, int value) {
        if (InGrid(x, y)) stones_[Index(x, y)] = value;
    }
    // Numbers-layer value at (x, y); 0 outside the 21×21 grid.
    int Number(int x, int y) const;
    // Writes the numbers layer at (x, y), 0..20 in both; ignored outside the grid.
    void SetNumber(int x, int y, int n);
    // Empties the stones layer; the numbers layer keeps its values.
    void Clear() { stones_.fill(0); }

private:
    static constexpr bool InGrid(int x, int y) { return x >= 0 && x <= 19 && y >= 0 && y <= 19; }
    static constexpr int Index(int x, int y) { return x * kSide + y; }

    std::array<std::int32_t, kSide * kSide> stones_{};
    std::array<std::int32_t, kSide * kSide> numbers_{};
};

}  // namespace velmora
