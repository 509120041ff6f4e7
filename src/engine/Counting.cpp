#include "engine/Counting.h"

namespace velmora {

GameCount CountGame(const Position& board, const std::vector<Position::Point>& dead, double komi,
                    CountingRules rules) {
    GameCount count;
    std::array<int, Position::kCells> colour{};
    for (int y = 1; y <= board.Size(); ++y)
        for (int x = 1; x <= board.Size(); ++x) colour[Position::PointAt(x, y)] = board.Colour(Position::PointAt(x, y));
    for (const Position::Point p : dead) {
        const int c = board.Colour(p);
        if (!c || colour[p] == 0) continue;
        colour[p] = 0;
        count.dead[c].push_back(p);
        ++count.captures[Opponent(c)];
    }
    for (const int c : {kWhite, kBlack}) count.captures[c] += board.CapturedBy(c);

    std::array<bool, Position::kCells> seen{};
    std::vector<Position::Point> stack;
    for (int y = 1; y <= board.Size(); ++y) {
        for (int x = 1; x <= board.Size(); ++x) {
            const Position::Point start = Position::PointAt(x, y);
            if (colour[start]) {
                ++count.stones[colour[start]];
                continue;
            }
            if (seen[start]) continue;
            // One empty region: its size and the colours on its border.
            int size = 0;
            int borders = 0;  // bit 1 white, bit 2 black
            stack.assign(1, start);
            seen[start] = true;
            while (!stack.empty()) {
                const Position::Point p = stack.back();
                stack.pop_back();
                ++size;
                for (const int step : {1, -1, Position::kStride, -Position::kStride}) {
                    const Position::Point q = p + step;
                    if (!board.Contains(q)) continue;
                    if (colour[q]) {
                        borders |= colour[q];
                    } else if (!seen[q]) {
                        seen[q] = true;
                        stack.push_back(q);
                    }
                }
            }
            if (borders == kWhite || borders == kBlack) count.territory[borders] += size;
        }
    }
    const auto points = [&](int c) {
        return rules == CountingRules::kChinese ? count.territory[c] + count.stones[c]
                                                : count.territory[c] + count.captures[c];
    };
    count.blackLead = points(kBlack) - points(kWhite) - komi;
    return count;
}

}  // namespace velmora
