#pragma once

#include <string>
#include <vector>

#include "record/BoardGrid.h"

namespace velmora {

// The star points of a board of size lines (1-based column, row), drawn as dots on the board
// and in diagrams:
// - from 7 lines up, the four points where the third lines from the edges cross (the fourth
//   lines from 13 lines up): 9×9 c3 g3 c7 g7, 13×13 d4 k4 d10 k10;
// - on odd boards from 5 lines up, the centre;
// - on odd boards from 15 lines up, also the four points where the middle lines cross those
//   star lines, so that 19×19 has its nine.
// Even boards have no centre point; boards of 2 to 4 and of 6 lines have no star points but
// the centre of 5×5.
std::vector<GridPoint> StarPoints(int size);

// The letter of column (1-based) on a board of size lines, as coordinates name it: up to 19
// lines 'A' onwards with no letter skipped; wider boards need more letters and take A–Z without
// I, as Go players write them.
char ColumnLetter(int column, int size);

// How the points of a board are named around it: not at all; the usual way (columns A–T and on
// without I on every board, rows counted from the bottom); or the editor's own (ColumnLetter,
// rows counted from the top).
enum class CoordinateStyle { kNone, kUsual, kClassic };
// The label of column (1-based) and of row (1 the top line) of a board of size lines in style;
// "" for kNone.
std::string ColumnLabel(CoordinateStyle style, int column, int size);
std::string RowLabel(CoordinateStyle style, int row, int size);

// How a size is named to the user: "19줄 (19×19)".
std::string BoardSizeName(int size);

}  // namespace velmora
