#include "game/BoardPanelLogic.h"

#include <algorithm>
#include <limits>

#include "platform/Prompter.h"

namespace velmora {

BoardPanelLogic::BoardPanelLogic(BoardLogic* board) { SetBoard(board); }

void BoardPanelLogic::SetBoard(BoardLogic* board) {
    board_ = board;
    if (board_) board_->SetSuppressClickNotify(true);
}

bool BoardPanelLogic::OnCommand(int id) {
    switch (id) {
        case kCmdToStart:
        case kCmdBackTen:
        case kCmdBack:
        case kCmdForward:
        case kCmdForwardTen:
        case kCmdToEnd:
            if (!board_) return true;
            if (IsQuizMode(board_->Mode())) {
                InterruptQuiz();
                // Yes stopped the quiz; the step asked for is taken too, so it need not be asked again.
                if (IsQuizMode(board_->Mode())) return true;
            }
            Navigate(id);
            return true;
        case kCmdSplit:
        case kCmdOpen:
        case kCmdScreenshot:
        case kCmdSave:
        case kCmdPrint:
        case kCmdAddStory:
            if (observer_) observer_->OnForwardedCommand(id);
            return true;
        default:
            return false;
    }
}

void BoardPanelLogic::Navigate(int id) {
    BoardLogic& board = *board_;
    const int current = board.CurrentMove();
    int target = current;
    switch (id) {
        case kCmdToStart:
            target = 0;
            break;
        case kCmdBackTen:
            target = std::max(0, current - 10);
            break;
        case kCmdBack:
            target = std::max(0, current - 1);
            break;
        case kCmdForward:
            target = current + 1;
            break;
        case kCmdForwardTen:
            target = current + 10;
            break;
        case kCmdToEnd:
            target = std::numeric_limits<int>::max();
            break;
        default:
            return;
    }
    // A target past either end stops where stepping does.
    board.JumpToMove(target);
    UpdateForwardButtons();
}

void BoardPanelLogic::InterruptQuiz() {
    if (quizInterrupt_) {
        quizInterrupt_();
        return;
    }
    if (Prompter::Current().Popup(kQuizInterruptQuestion, kButtonsYesNo) == kAnswerYes && observer_)
        observer_->OnQuizStopRequested();
}

void BoardPanelLogic::UpdateForwardButtons() {
    forwardEnabled_ = board_ && board_->HasNextMove();
    if (observer_) observer_->OnForwardButtonsEnabled(forwardEnabled_);
}

void BoardPanelLogic::ShowStoredDiagram(const std::string& keyText) {
    if (!board_) return;
    BoardLogic& board = *board_;
    if (keyText.find("원래대로") != std::string::npos) {
        board.LeaveDiagram();
        UpdateForwardButtons();
        board.Notify(UM_REFRESH_PANE);
        board.Refresh();
        return;
    }
    board.SetForcedColour(0);
    if (const std::optional<MoveRecord> current = board.BoardMove(board.CurrentMove()))
        board.SetColourToPlay(Opponent(current->colour));
    board.OpenStoredDiagram(keyText);
    // A branch of another diagram opens where it branches.
    const OpenDiagram& open = board.Record().CurrentDiagram();
    if (open.key == keyText && board.Record().IsNested(open)) {
        board.JumpToMove(open.base + open.branchMove);
        UpdateForwardButtons();
        return;
    }
    OnCommand(kCmdToEnd);
}

}  // namespace velmora
