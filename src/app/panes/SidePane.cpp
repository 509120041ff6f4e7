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

void SidePane::LoadControlText(int id, const std::string& text) {
    if (GetControlText(id) == text) return;
    loading_ = true;
    SetControlText(id, text);
    loading_ = false;
}

int SidePane::ShownDiagramMove() const {
    const BoardLogic& board = Board();
    const int base = board.DiagramBase();
    if (!ShowsDiagram(board.Mode()) || base < 0 || board.CurrentMove() <= base) return 0;
    const int n = board.CurrentMove() - base;
    return board.Record().GetDiagramMove(n) ? n : 0;
}

std::string SidePane::ShownCommentary(bool withNodes) const {
    const GameRecord& record = Board().Record();
    const int n = ShownDiagramMove();
    std::string text = n > 0 ? record.GetDiagramMove(n)->text : record.GetCommentary(DisplayedMove());
    if (!withNodes || (n == 0 && DisplayedMove() != Board().CurrentMove())) return text;
    for (const KeptProperty& p : record.NodeProperties(Board().CurrentMove()))
        if (p.id == "C" && !p.value.empty()) text += (text.empty() ? "" : "\n\n") + p.value;
    return text;
}

std::string SidePane::CommentaryCaption(const char* rest) const {
    const BoardLogic& board = Board();
    const GameRecord& record = board.Record();
    const int n = ShownDiagramMove();
    const std::optional<MoveRecord> shown =
        n > 0 ? record.GetDiagramMove(n) : record.GetMainLineMove(DisplayedMove());
    const std::string state = shown ? MoveStateText(*shown) : std::string();
    std::string caption = (n > 0 ? "참고도 " + std::to_string(n) : std::to_string(DisplayedMove())) +
                          "수 " + (state.empty() ? std::string() : "(" + state + ") ") + rest;
    // The node's name, as another program shows it beside the move.
    std::string name;
    for (const KeptProperty& p : record.NodeProperties(board.CurrentMove()))
        if (p.id == "N" && !p.value.empty()) name += (name.empty() ? "" : ", ") + p.value;
    if (!name.empty()) caption += " — " + name;
    return caption;
}

void SidePane::StoreCommentary(int id) {
    GameRecord& record = Board().Record();
    const std::string text = GetControlText(id);
    if (const int n = ShownDiagramMove(); n > 0) {
        if (record.GetDiagramMove(n)->text != text && record.SetDiagramMoveText(n, text))
            SetRecordModified(true);
        return;
    }
    const int move = DisplayedMove();
    if (record.GetCommentary(move) == text) return;
    // The record keeps commentary only where there is a move to hold it.
    record.SetCommentary(move, text);
    if (record.GetCommentary(move) == text) SetRecordModified(true);
}

}  // namespace velmora
