#pragma once

#include <optional>
#include <string>

#include "app/panes/DisplayMenu.h"
#include "skin/SkinWindow.h"

namespace velmora {

class BoardLogic;

// What the three side panes share: the shortcut buttons 800–802, which select the tabs
// 200–202 of the main window (the pane's parent), the display menu (302) with the pane's own
// choices, the move-number entry (300, 301), a refresh after every change, and the
// commentary box of the displayed move.
class SidePane : public SkinWindow {
    Q_OBJECT
public:
    using SkinWindow::SkinWindow;
    // Shows the record's state for the move on the board.
    virtual void Refresh() {}
    // The pane's display choices (its menu's check marks).
    PaneDisplay& Display();

protected:
    // Handles 302, the display items, 301 and 800–802; other ids are ignored.
    void onCommand(int id) override;
    // Which pane this is, for its display menu's items and initial choices.
    virtual DisplayPane DisplayKind() const = 0;
    // Jumps the board to the number typed in control 300 (command 301).
    virtual void JumpToTypedMove();
    // The main board (through the main window).
    BoardLogic& Board() const;
    // The move the pane speaks of: the current move, or an open diagram's base at or past it.
    int DisplayedMove() const;
    // The move-number entry (300) shows the displayed move, unless the user is typing there.
    void ShowMoveInEntry();

    // Sets the text of control id as the program, not the user: no change is reported, and
    // an equal text is left alone so that the caret stays where it is.
    void LoadControlText(int id, const std::string& text);
    // True while LoadControlText runs: a change notification then is the program's own.
    bool Loading() const { return loading_; }
    // Stores the text of commentary box id as the displayed move's commentary (the box shows
    // that move's, so that is the one it edits); nothing where the record keeps none.
    void StoreCommentary(int id);
    // A caption of move: its number followed by rest ("12" + "수 해설 보기").
    static std::string MoveLabel(int move, const char* rest) { return std::to_string(move) + rest; }
    // The caption of the main-line move's commentary box: "12수 해설 보기", naming what the move
    // is when it puts no stone ("12수 (흑 패스) 해설 보기", "12수 (둘 수 없는 수: 자충수) …").
    std::string CommentaryCaption(int move, const char* rest) const;

private:
    void ShowDisplayMenu();

    bool loading_ = false;
    std::optional<PaneDisplay> display_;
};

}  // namespace velmora
