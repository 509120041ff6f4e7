#pragma once

#include "game/BoardLogic.h"

namespace velmora {

// The next-move quiz on the main line of a board's record: the user clicks where the next move
// was played; modes 4–7 of BoardLogic are its variants (hints on the next four moves, black's
// or white's moves with automatic replies, no hints).

// The notice of a wrong guess.
inline constexpr const char* kWrongGuessText = "틀렸습니다.";

// What a guess did.
enum class QuizAnswer {
    kIgnored,  // there is no next move (the end of the record), or the mode is not a quiz
    kRight,    // the move was played, with the automatic reply in modes 5 and 6
    kWrong,    // "틀렸습니다." was shown; the board is unchanged
};

// The colour played automatically in mode (white in 5, black in 6), 0 in every other mode.
int AutoReplyColour(int mode);

// Sets mode (4–7 starts a quiz, 0 ends one). In modes 5 and 6, when the next main-line move
// is of the automatic colour it is played first, so that the first guess is the user's; the
// hints are then recomputed and UM_REFRESH_PANE sent. Passes and moves not played, which have
// no point to guess, are stepped over wherever the quiz meets them (they keep their numbers).
void StartQuiz(BoardLogic& board, int mode);

// A guess at the 1-based point (column, row) in quiz modes → what happened. A right guess plays
// the move (and the automatic reply), recomputes the hints and sends UM_REFRESH_PANE; a wrong
// one shows kWrongGuessText in the program's pop-up with OK.
QuizAnswer GuessNextMove(BoardLogic& board, int column, int row);

}  // namespace velmora
