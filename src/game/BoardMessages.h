#pragma once

#include "platform/MessageNumbers.h"  // UM_REFRESH_PANE, UM_STORY_QUERY, UM_BOARD_CLICKED

namespace velmora {

// Receives a board's notifications. The main window, a story card or a test implements it;
// a window-backed implementation forwards them as window messages.
class BoardObserver {
public:
    virtual ~BoardObserver() = default;
    // Handles message (a UM_ number) with its arguments; returns the handler's answer.
    virtual int OnBoardMessage(int message, int wparam, int lparam) = 0;
};

// The drawing side of a board: told of every change it has to show. The widget implements
// it; without one the board keeps its state alone.
class BoardView {
public:
    virtual ~BoardView() = default;
    // PointCell (column, row), 0-based, changed: redraw it; show it at once unless quiet replay.
    virtual void OnPointChanged(int column, int row, bool show) = 0;
    // Re-lay out and rebuild the whole picture (points, hints, marks); invalidate the window.
    virtual void OnRefresh() = 0;
    // Redraw every point (the numbering changed) and invalidate the window.
    virtual void OnRedrawPoints() = 0;
};

}  // namespace velmora
