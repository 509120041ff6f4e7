#pragma once

#include <utility>
#include <vector>

#include "game/BoardLogic.h"

namespace velmora::test {

// Counts what the board asks its drawing side to do.
struct RecordingView : BoardView {
    struct Change {
        int column;
        int row;
        bool show;
    };
    std::vector<Change> changes;
    int refreshes = 0;
    int redraws = 0;

    void OnPointChanged(int column, int row, bool show) override {
        changes.push_back({column, row, show});
    }
    void OnRefresh() override { ++refreshes; }
    void OnRedrawPoints() override { ++redraws; }
    void Clear() {
        changes.clear();
        refreshes = 0;
        redraws = 0;
    }
};

// Remembers every notification, answering with `answer`.
struct RecordingObserver : BoardObserver {
    struct Message {
        int message;
        int wparam;
        int lparam;
    };
    std::vector<Message> messages;
    int answer = 1;

    int OnBoardMessage(int message, int wparam, int lparam) override {
        messages.push_back({message, wparam, lparam});
        return answer;
    }
    int Count(int message) const {
        int n = 0;
        for (const Message& m : messages) n += m.message == message;
        return n;
    }
};

// The i-th point (1-based) of a checkerboard pattern: stones there never touch, so moves on
// them never capture and are always legal.
inline std::pair<int, int> SparsePoint(int i) {
    int seen = 0;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            if ((x + y) % 2 != 0) continue;
            if (seen++ == i) return {x, y};
        }
    }
    return {0, 0};
}

// Plays `count` main-line moves on sparse points, black first, in play mode.
inline void PlaySparseGame(BoardLogic& board, int count) {
    board.SetBoardMode(kModePlay);
    for (int i = 0; i < count; ++i) {
        const auto [x, y] = SparsePoint(i);
        board.PlayMainLineMove(x, y, false);
    }
}

// The 361 cells of a board, for comparing positions.
inline std::vector<PointCell> Cells(const BoardLogic& board) {
    std::vector<PointCell> cells;
    for (int c = 0; c < 19; ++c) {
        for (int r = 0; r < 19; ++r) cells.push_back(board.Cell(c, r));
    }
    return cells;
}

}  // namespace velmora::test
