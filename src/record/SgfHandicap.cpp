#include "record/SgfHandicap.h"

namespace velmora {

int MaxHandicap(int size) {
    if (size < 7 || size > kMaxBoardSize) return 0;
    return size % 2 == 0 || size == 7 ? 4 : 9;
}

std::vector<GridPoint> HandicapTable(int count, int size) {
    // The 19×19 table in placing order, written with e (the star line near the edge), f (the
    // far one) and m (the middle line), which every size fills in for itself.
    enum : int { e = 1, f = 2, m = 3 };
    static const GridPoint kPoints[8][9] = {
        {{f, e}, {e, f}},
        {{f, e}, {e, f}, {e, e}},
        {{f, e}, {e, f}, {f, f}, {e, e}},
        {{f, e}, {e, f}, {f, f}, {e, e}, {m, m}},
        {{f, e}, {e, f}, {f, f}, {e, e}, {f, m}, {e, m}},
        {{f, e}, {e, f}, {f, f}, {e, e}, {f, m}, {e, m}, {m, m}},
        {{f, e}, {e, f}, {f, f}, {e, e}, {m, e}, {m, f}, {e, m}, {f, m}},
        {{f, e}, {e, f}, {f, f}, {e, e}, {m, e}, {m, f}, {e, m}, {f, m}, {m, m}},
    };
    if (count < 2 || count > MaxHandicap(size)) return {};
    const int edge = size >= 13 ? 4 : 3;
    const auto line = [&](int which) {
        return which == e ? edge : which == f ? size + 1 - edge : (size + 1) / 2;
    };
    std::vector<GridPoint> points;
    for (int k = 0; k < count; ++k) {
        const GridPoint p = kPoints[count - 2][k];
        points.push_back({line(p.x), line(p.y)});
    }
    return points;
}

}  // namespace velmora
