#include "record/Position.h"

#include <algorithm>

namespace velmora {

namespace {

using Point = Position::Point;
constexpr int kStride = Position::kStride;
constexpr int kCells = Position::kCells;
constexpr int kNeighbours[4] = {-1, -kStride, 1, kStride};

constexpr std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

// The stone keys by point and colour (0 for empty, so that a change of colour is two xors),
// and after them the key of black to play.
struct HashKeys {
    std::array<std::array<std::uint64_t, 3>, kCells> stone{};
    std::uint64_t blackToPlay = 0;
};

constexpr HashKeys MakeHashKeys() {
    HashKeys keys;
    std::uint64_t state = Position::kHashSeed;
    for (int y = 1; y <= kMaxBoardSize; ++y) {
        for (int x = 1; x <= kMaxBoardSize; ++x) {
            for (int colour : {kWhite, kBlack})
                keys.stone[y * kStride + x][colour] = SplitMix64(state);
        }
    }
    keys.blackToPlay = SplitMix64(state);
    return keys;
}

constexpr HashKeys kKeys = MakeHashKeys();

// Work space of the group floods, one per thread so that const members may use it.
struct Scratch {
    std::array<std::uint32_t, kCells> marks{};  // a point is seen when it holds the stamp
    std::uint32_t stamp = 0;
    std::array<std::uint16_t, kCells> stones{};  // the group's stones in the order found
};

Scratch& ThreadScratch() {
    thread_local Scratch scratch;
    return scratch;
}

struct Flood {
    int stones = 0;
    int liberties = 0;
};

// Floods the group at p (which holds a stone) without recursion and counts its liberties, up
// to enough: a count below enough is exact and leaves all the group's stones in
// scratch.stones[0, stones).
Flood FloodGroup(const std::array<std::uint8_t, kCells>& cells, Point p, int enough,
                 Scratch& scratch) {
    if (++scratch.stamp == 0) {
        scratch.marks.fill(0);
        scratch.stamp = 1;
    }
    const std::uint32_t stamp = scratch.stamp;
    const std::uint8_t colour = cells[p];
    Flood flood;
    scratch.marks[p] = stamp;
    scratch.stones[flood.stones++] = static_cast<std::uint16_t>(p);
    for (int i = 0; i < flood.stones; ++i) {
        const int q = scratch.stones[i];
        for (int step : kNeighbours) {
            const int n = q + step;
            if (scratch.marks[n] == stamp) continue;
            if (cells[n] == colour) {
                scratch.marks[n] = stamp;
                scratch.stones[flood.stones++] = static_cast<std::uint16_t>(n);
            } else if (cells[n] == kEmpty) {
                scratch.marks[n] = stamp;
                if (++flood.liberties >= enough) return flood;
            }
        }
    }
    return flood;
}

bool IsStoneColour(int colour) {
    return colour == kWhite || colour == kBlack;
}

}  // namespace

Position::Position(int size) : size_(IsBoardSize(size) ? size : kDefaultBoardSize) {
    cells_.fill(kOffBoard);
    for (int y = 1; y <= size_; ++y) std::fill_n(cells_.begin() + y * kStride + 1, size_, kEmpty);
}

std::uint64_t Position::HashWithToPlay() const {
    return toPlay_ == kBlack ? hash_ ^ kKeys.blackToPlay : hash_;
}

PlayResult Position::Check(Point p, int colour) const {
    if (!IsStoneColour(colour)) return PlayResult::kNotColour;
    if (!Contains(p)) return PlayResult::kOutside;
    if (cells_[p] != kEmpty) return PlayResult::kOccupied;
    if (p == ko_ && colour == koColour_) return PlayResult::kKo;
    for (int step : kNeighbours) {
        if (cells_[p + step] == kEmpty) return PlayResult::kLegal;
    }
    // No liberty of its own: legal when it joins a group with another liberty or takes the
    // last liberty of an opponent's group.
    Scratch& scratch = ThreadScratch();
    for (int step : kNeighbours) {
        const int n = p + step;
        if (cells_[n] == colour) {
            if (FloodGroup(cells_, n, 2, scratch).liberties >= 2) return PlayResult::kLegal;
        } else if (cells_[n] == Opponent(colour)) {
            if (FloodGroup(cells_, n, 2, scratch).liberties == 1) return PlayResult::kLegal;
        }
    }
    return PlayResult::kSuicide;
}

void Position::Save(PositionUndo& undo) const {
    if (undo.saved_) return;
    undo.saved_ = true;
    undo.hash_ = hash_;
    undo.captured_ = captured_;
    undo.ko_ = ko_;
    undo.koColour_ = koColour_;
    undo.toPlay_ = toPlay_;
}

void Position::Put(Point p, int colour, PositionUndo& undo) {
    const int old = cells_[p];
    undo.Add({static_cast<std::uint16_t>(p), static_cast<std::uint8_t>(old)});
    hash_ ^= kKeys.stone[p][old] ^ kKeys.stone[p][colour];
    cells_[p] = static_cast<std::uint8_t>(colour);
}

PlayResult Position::Play(Point p, int colour, PositionUndo& undo) {
    const PlayResult result = Check(p, colour);
    if (result != PlayResult::kLegal) return result;
    Save(undo);
    Put(p, colour, undo);
    const int other = Opponent(colour);
    Scratch& scratch = ThreadScratch();
    int taken = 0;
    Point lastTaken = kNoPoint;
    for (int step : kNeighbours) {
        // A group already taken through another neighbour reads empty here.
        if (cells_[p + step] != other) continue;
        const Flood flood = FloodGroup(cells_, p + step, 1, scratch);
        if (flood.liberties > 0) continue;
        for (int i = 0; i < flood.stones; ++i) Put(scratch.stones[i], kEmpty, undo);
        taken += flood.stones;
        lastTaken = scratch.stones[0];
    }
    LiftKo();
    if (taken == 1) {
        int friends = 0;
        int liberties = 0;
        for (int step : kNeighbours) {
            friends += cells_[p + step] == colour;
            liberties += cells_[p + step] == kEmpty;
        }
        if (friends == 0 && liberties == 1) {
            ko_ = lastTaken;
            koColour_ = other;
        }
    }
    captured_[colour] += taken;
    toPlay_ = other;
    return PlayResult::kLegal;
}

void Position::Pass(int colour, PositionUndo& undo) {
    Save(undo);
    LiftKo();
    if (IsStoneColour(colour)) toPlay_ = Opponent(colour);
}

bool Position::Setup(Point p, int colour, PositionUndo& undo) {
    if (!Contains(p) || (colour != kEmpty && !IsStoneColour(colour))) return false;
    if (cells_[p] == colour) return true;
    Save(undo);
    Put(p, colour, undo);
    LiftKo();
    return true;
}

void Position::SetToPlay(int colour, PositionUndo& undo) {
    if (!IsStoneColour(colour)) return;
    Save(undo);
    toPlay_ = colour;
}

void Position::Undo(PositionUndo& undo) {
    if (!undo.saved_) return;
    for (int i = undo.Size() - 1; i >= 0; --i) cells_[undo[i].point] = undo[i].colour;
    hash_ = undo.hash_;
    captured_ = undo.captured_;
    ko_ = undo.ko_;
    koColour_ = undo.koColour_;
    toPlay_ = undo.toPlay_;
    undo.Clear();
}

std::vector<Point> Position::Group(Point p) const {
    if (Colour(p) == kEmpty) return {};
    Scratch& scratch = ThreadScratch();
    const Flood flood = FloodGroup(cells_, p, kCells, scratch);
    std::vector<Point> points(scratch.stones.begin(), scratch.stones.begin() + flood.stones);
    std::sort(points.begin(), points.end());
    return points;
}

int Position::Liberties(Point p) const {
    if (Colour(p) == kEmpty) return 0;
    return FloodGroup(cells_, p, kCells, ThreadScratch()).liberties;
}

}  // namespace velmora
