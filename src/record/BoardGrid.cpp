#include "record/BoardGrid.h"

namespace velmora {

namespace {

constexpr bool InNumbers(int x, int y) {
    return x >= 0 && x < BoardGrid::kSide && y >= 0 && y < BoardGrid::kSide;
}

}  // namespace

void BoardGrid::SetSize(int n) {
    if (!IsBoardSize(n)) return;
    size_ = n;
    stones_.fill(0);
    numbers_.fill(0);
}

int BoardGrid::Number(int x, int y) const { return InNumbers(x, y) ? numbers_[Index(x, y)] : 0; }

void BoardGrid::SetNumber(int x, int y, int n) {
    // Callers pass 1..N; a stray point must not write past the array.
    if (InNumbers(x, y)) numbers_[Index(x, y)] = n;
}

}  // namespace velmora
