#include "record/SgfHandicap.h"

namespace velmora {

std::vector<GridPoint> HandicapTable(int count) {
    static const GridPoint kPoints[8][9] = {
        {{16, 4}, {4, 16}},
        {{16, 4}, {4, 16}, {4, 4}},
        {{16, 4}, {4, 16}, {16, 16}, {4, 4}},
        {{16, 4}, {4, 16}, {16, 16}, {4, 4}, {10, 10}},
        {{16, 4}, {4, 16}, {16, 16}, {4, 4}, {16, 10}, {4, 10}},
        {{16, 4}, {4, 16}, {16, 16}, {4, 4}, {16, 10}, {4, 10}, {10, 10}},
        {{16, 4}, {4, 16}, {16, 16}, {4, 4}, {10, 4}, {10, 16}, {4, 10}, {16, 10}},
        {{16, 4}, {4, 16}, {16, 16}, {4, 4}, {10, 4}, {10, 16}, {4, 10}, {16, 10}, {10, 10}},
    };
    if (count < 2 || count > 9) return {};
    return std::vector<GridPoint>(kPoints[count - 2], kPoints[count - 2] + count);
}

}  // namespace velmora
