#include "record/BoardLines.h"

namespace velmora {

std::vector<GridPoint> StarPoints(int size) {
    std::vector<GridPoint> points;
    if (!IsBoardSize(size)) return points;
    if (size < 7) {
        if (size % 2 == 1 && size >= 5) points.push_back({(size + 1) / 2, (size + 1) / 2});
        return points;
    }
    const int near = size >= 13 ? 4 : 3;
    const int far = size + 1 - near;
    const int middle = (size + 1) / 2;
    const bool odd = size % 2 == 1;
    const bool sides = odd && size >= 15;
    // Row by row, top to bottom.
    for (int y : {near, middle, far}) {
        for (int x : {near, middle, far}) {
            const bool xMiddle = x == middle;
            const bool yMiddle = y == middle;
            if (xMiddle && yMiddle) {
                if (odd) points.push_back({x, y});
            } else if (xMiddle || yMiddle) {
                if (sides) points.push_back({x, y});
            } else {
                points.push_back({x, y});
            }
        }
    }
    return points;
}

char ColumnLetter(int column, int size) {
    if (column < 1) return '?';
    if (size <= 19) return static_cast<char>('A' + column - 1);
    const int skipped = column >= 9 ? column : column - 1;  // past H comes J
    return skipped < 26 ? static_cast<char>('A' + skipped) : '?';
}

std::string ColumnLabel(CoordinateStyle style, int column, int size) {
    switch (style) {
        case CoordinateStyle::kUsual:
            // The letters of the widest boards skip I on every board.
            return std::string(1, ColumnLetter(column, kMaxBoardSize));
        case CoordinateStyle::kClassic:
            return std::string(1, ColumnLetter(column, size));
        default:
            return {};
    }
}

std::string RowLabel(CoordinateStyle style, int row, int size) {
    switch (style) {
        case CoordinateStyle::kUsual:
            return std::to_string(size + 1 - row);
        case CoordinateStyle::kClassic:
            return std::to_string(row);
        default:
            return {};
    }
}

std::string BoardSizeName(int size) {
    const std::string n = std::to_string(size);
    return n + "줄 (" + n + "×" + n + ")";
}

}  // namespace velmora
