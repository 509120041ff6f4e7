#include "app/panes/SidePane.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "app/panes/PaneIds.h"
#include "app/panes/ReferenceList.h"
#include "board/BoardControl.h"
#include "game/BoardLogic.h"
#include "game/NextMoveQuiz.h"
#include "game/RecordModified.h"
#include "platform/Messages.h"
#include "record/InfoTexts.h"
#include "skin/SkinButton.h"

namespace velmora {
void SidePane::onCommand(int id) {
    if (id >= kPaneViewTabButton && id <= kPaneReferenceTabButton) {
        SendCommand(parentWidget(), kTabView + (id - kPaneViewTabButton));
    } else if (id == kCmdDisplayMenu) {
        ShowDisplayMenu();
    } else if (id == kCmdJumpToTyped) {
        // After the jump the keys step on from there, and the entry follows the board again.
        if (auto* entry = FindControlAs<QLineEdit>(kPaneMoveEntry); entry && entry->hasFocus())
            if (BoardControl* board = MainWindow::Instance()->Board().Control()) board->setFocus();
        JumpToTypedMove();
        ShowMoveInEntry();
    } else {
        Display().Apply(id, Board());
    }
}

PaneDisplay& SidePane::Display() {
    // The kind is a virtual of the derived pane, so the choices are made on first use.
    if (!display_) display_.emplace(DisplayKind());
    return *display_;
}

void SidePane::ShowDisplayMenu() {
    QWidget* button = FindControl(kCmdDisplayMenu);
    const QPoint at = button ? button->mapToGlobal(QPoint(0, button->height())) : QPoint();
    const int chosen = RunDisplayMenu(Display().Menu(), at);
    if (chosen) Display().Apply(chosen, Board());
}

void SidePane::JumpToTypedMove() {
    Board().JumpToMove(TypedMoveNumber(GetControlText(kPaneMoveEntry)));
}

BoardLogic& SidePane::Board() const { return MainWindow::Instance()->Board().Logic(); }

int SidePane::DisplayedMove() const { return Board().DisplayedMove(); }

void SidePane::ShowMoveInEntry() {
    // A number left from another record, or from before the last steps, would jump to the
    // wrong place.
    if (auto* e = FindControlAs<QLineEdit>(kPaneMoveEntry); e && !e->hasFocus())
        LoadControlText(kPaneMoveEntry, std::to_string(DisplayedMove()));
}

std::string SidePane::CommentaryCaption(int move, const char* rest) const {
    const std::optional<MoveRecord> shown = Board().Record().GetMainLineMove(move);
    const std::string state = shown ? MoveStateText(*shown) : std::string();
    return std::to_string(move) + "수 " + (state.empty() ? std::string() : "(" + state + ") ") + rest;
}

void SidePane::LoadControlText(int id, const std::string& text) {
    if (GetControlText(id) == text) return;
    loading_ = true;
    SetControlText(id, text);
    loading_ = false;
}

void SidePane::StoreCommentary(int id) {
    GameRecord& record = Board().Record();
    const int move = DisplayedMove();
    const std::string text = GetControlText(id);
    if (record.GetCommentary(move) == text) return;
    // The record keeps commentary only where there is a move to hold it.
    record.SetCommentary(move, text);
    if (record.GetCommentary(move) == text) SetRecordModified(true);
}

}  // namespace velmora
