#pragma once

#include <vector>

#include "record/RulesEngine.h"

namespace velmora {

// HandicapTable: the points (1-based column, row) of the handicap stones for count 2..9, in
// placing order; empty for any other count.
std::vector<GridPoint> HandicapTable(int count);

}  // namespace velmora
