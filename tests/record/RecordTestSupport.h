#pragma once

#include <string>
#include <vector>

#include "record/MoveRecord.h"
#include "record/RecordNotifier.h"
#include "record/RulesEngine.h"

namespace velmora::test {

// Puts a picture on the engine's board: rows are y = 1, 2, …, characters x = 1, 2, …;
// 'X' black, 'O' white, anything else empty. The rest of the board is emptied.
inline void SetBoard(RulesEngine& engine, const std::vector<std::string>& rows) {
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) engine.PutStone(x, y, kEmpty);
    for (int y = 1; y <= static_cast<int>(rows.size()); ++y) {
        const std::string& row = rows[y - 1];
        for (int x = 1; x <= static_cast<int>(row.size()); ++x) {
            if (row[x - 1] == 'X') engine.PutStone(x, y, kBlack);
            if (row[x - 1] == 'O') engine.PutStone(x, y, kWhite);
        }
    }
}

// The top-left `width` × `height` corner of the board as rows in SetBoard's letters.
inline std::vector<std::string> Picture(const BoardGrid& grid, int width, int height) {
    std::vector<std::string> rows;
    for (int y = 1; y <= height; ++y) {
        std::string row;
        for (int x = 1; x <= width; ++x) {
            const int v = grid.Get(x, y);
            row += v == kBlack ? 'X' : v == kWhite ? 'O' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// True when both grids hold the same stones on every point of 0..20.
inline bool SameStones(const BoardGrid& a, const BoardGrid& b) {
    for (int x = 0; x <= 20; ++x)
        for (int y = 0; y <= 20; ++y)
            if (a.Get(x, y) != b.Get(x, y)) return false;
    return true;
}

// Move n at (x, y), black on odd numbers; flags 1 for the main line, 9 for a diagram.
inline MoveRecord MakeMove(int n, int x, int y, int flags, const std::string& text = {}) {
    MoveRecord m;
    m.x = x;
    m.y = y;
    m.colour = n % 2 ? kBlack : kWhite;
    m.number = n;
    m.flags = flags;
    m.text = text;
    return m;
}

// Collects what the record reports while it lives.
class NotifyCapture {
public:
    NotifyCapture() {
        SetRecordNotifyHandler([this](const std::string& text) { texts.push_back(text); });
    }
    ~NotifyCapture() { SetRecordNotifyHandler(nullptr); }
    std::vector<std::string> texts;
};

// A small deterministic generator (xorshift) so that game-like tests repeat exactly.
class Random {
public:
    explicit Random(unsigned seed) : state_(seed * 2654435761u + 1) {}
    unsigned Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<unsigned>(n)); }

private:
    unsigned state_;
};

}  // namespace velmora::test
