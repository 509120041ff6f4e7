#include "game/NextMoveQuiz.h"

#include "platform/Prompter.h"

namespace velmora {

namespace {

// Steps over the passes and moves not played next on the main line: there is no point to
// guess for them → true if any was stepped over.
bool StepOverMovesWithoutStone(BoardLogic& board) {
    bool stepped = false;
    for (;;) {
        const std::optional<MoveRecord> next = board.Record().GetMainLineMove(board.CurrentMove() + 1);
        if (!next || PutsStone(*next) || board.StepForward() != 1) return stepped;
        stepped = true;
    }
}

// Steps over moves without a stone, then plays the next main-line move when it is of the
// colour the mode answers with; a pass after that reply leaves the next move to the mode
// again → true if anything was played.
bool PlayAutoReply(BoardLogic& board) {
    const int colour = AutoReplyColour(board.Mode());
    bool stepped = StepOverMovesWithoutStone(board);
    for (;;) {
        const std::optional<MoveRecord> next = board.Record().GetMainLineMove(board.CurrentMove() + 1);
        if (colour == 0 || !next || next->colour != colour || board.StepForward() != 1) return stepped;
        stepped = true;
        if (!StepOverMovesWithoutStone(board)) return stepped;
    }
}

}  // namespace

int AutoReplyColour(int mode) {
    if (mode == kModeQuizBlack) return kWhite;
    if (mode == kModeQuizWhite) return kBlack;
    return 0;
}

void StartQuiz(BoardLogic& board, int mode) {
    // The mode goes first: it leaves an open reference diagram, so that the automatic first
    // step below is taken on the main line and not inside the diagram.
    board.SetBoardMode(mode);
    if (IsQuizMode(board.Mode()) && PlayAutoReply(board)) {
        board.RecomputeHints();
        board.Notify(UM_REFRESH_PANE);
    }
}

QuizAnswer GuessNextMove(BoardLogic& board, int column, int row) {
    if (!IsQuizMode(board.Mode())) return QuizAnswer::kIgnored;
    const std::optional<MoveRecord> next = board.Record().GetMainLineMove(board.CurrentMove() + 1);
    if (!next) return QuizAnswer::kIgnored;
    if (next->x != column || next->y != row) {
        Prompter::Current().Popup(kWrongGuessText, kButtonsOk);
        return QuizAnswer::kWrong;
    }
    board.StepForward();
    PlayAutoReply(board);
    board.RecomputeHints();
    board.Notify(UM_REFRESH_PANE);
    return QuizAnswer::kRight;
}

}  // namespace velmora
