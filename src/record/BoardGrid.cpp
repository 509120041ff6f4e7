#include "record/BoardGrid.h"

namespace velmora {

namespace {

constexpr bool InNumbers(int x, int y) {
    return x >= 0 && x < BoardGrid::kSide && y >= 0 && y < BoardGrid::kSide;
}

}  // namespace

int BoardGrid::Number(int x, int y) const { return InNumbers(x, y) ? numbers_[Index(x, y)] : 0; }

void BoardGrid::SetNumber(int x, int y, int n) {
    // Callers pass 1..19; a stray point must not write past the array.
    if (InNumbers(x, y)) numbers_[Index(x, y)] = n;
}

}  // namespace velmora
