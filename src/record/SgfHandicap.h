#pragma once

#include <vector>

#include "record/RulesEngine.h"

namespace velmora {

// The most handicap stones a board of size lines has fixed points for: none below 7 lines,
// 4 on 7 lines and on even sizes, 9 on odd sizes from 9 lines up.
int MaxHandicap(int size);

// HandicapTable: the points (1-based column, row) of the handicap stones for count
// 2..MaxHandicap(size) on a board of size lines, in placing order; empty for any other count.
// The points lie on the third line from each edge (the fourth from 13 lines up), on the middle
// lines between them and at the centre; 19×19 keeps its table.
std::vector<GridPoint> HandicapTable(int count, int size);

}  // namespace velmora
