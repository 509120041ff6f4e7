#include <gtest/gtest.h>

#include "BoardTestSupport.h"
#include "game/NextMoveQuiz.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

using test::Cells;
using test::PlaySparseGame;
using test::RecordingObserver;
using test::SparsePoint;

class QuizTest : public ::testing::Test {
  protected:
    QuizTest() { board.SetMainWindow(&mainWindow); }

    // Plays count legal moves, black first, on points spread over the board; captures happen.
    void PlayLongGame(int count) {
        board.SetBoardMode(kModePlay);
        for (int n = 0; n < count; ++n) {
            int played = 0;
            for (int t = 0; t < 361 && !played; ++t) {
                const int p = (n * 37 + t * 11) % 361;
                played = board.PlayMainLineMove(p % 19 + 1, p / 19 + 1, false);
            }
            ASSERT_EQ(played, 1) << "move " << n + 1;
        }
    }
    // Plays moves of the given colours on sparse points, in play mode.
    void PlayColours(std::initializer_list<int> colours) {
        board.SetBoardMode(kModePlay);
        int i = 0;
        for (int colour : colours) {
            const auto [x, y] = SparsePoint(i++);
            board.SetColourToPlay(colour);
            ASSERT_EQ(board.PlayMainLineMove(x, y, false), 1);
        }
    }
    GridPoint MovePoint(int n) const {
        const std::optional<MoveRecord> move = board.Record().GetMainLineMove(n);
        return move ? GridPoint{move->x, move->y} : GridPoint{};
    }
    QuizAnswer Guess(int n) {
        const GridPoint p = MovePoint(n);
        return GuessNextMove(board, p.x, p.y);
    }
    void StartAt(int move, int mode) {
        board.SetBoardMode(kModeView);
        board.JumpToMove(move);
        StartQuiz(board, mode);
    }

    ScriptedPrompter prompter;
    BoardLogic board;
    RecordingObserver mainWindow;
};

TEST_F(QuizTest, AllMovesModeHintsTheNextFourAndMovesThemOnWithARightGuess) {
    PlayLongGame(200);
    StartAt(10, kModeQuizFour);
    ASSERT_EQ(board.Mode(), kModeQuizFour);
    ASSERT_TRUE(board.ShowHints());
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(board.Hints()[k - 1], k <= 4 ? MovePoint(10 + k) : GridPoint{}) << k;

    // A wrong guess says so and changes nothing.
    const std::vector<PointCell> before = Cells(board);
    const GridPoint right = MovePoint(11);
    EXPECT_EQ(GuessNextMove(board, right.x % 19 + 1, right.y), QuizAnswer::kWrong);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "popup");
    EXPECT_EQ(prompter.asked()[0].text, "틀렸습니다.");
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsOk);
    EXPECT_EQ(Cells(board), before);
    EXPECT_EQ(board.CurrentMove(), 10);

    mainWindow.messages.clear();
    EXPECT_EQ(Guess(11), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 11);
    EXPECT_EQ(board.Cell(right.x - 1, right.y - 1).flags & kFlagLastMove, kFlagLastMove);
    EXPECT_EQ(mainWindow.Count(UM_REFRESH_PANE), 1);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(board.Hints()[k - 1], MovePoint(11 + k)) << k;
    EXPECT_EQ(board.Hints()[4], GridPoint{});

    // At the end of the record the hints are empty and clicks do nothing.
    board.JumpToMove(200);
    for (const GridPoint& hint : board.Hints()) EXPECT_EQ(hint, GridPoint{});
    EXPECT_EQ(GuessNextMove(board, 1, 1), QuizAnswer::kIgnored);
    EXPECT_EQ(prompter.asked().size(), 1u);
}

TEST_F(QuizTest, BlackModePlaysWhiteFirstAndAnswersEveryRightGuess) {
    PlaySparseGame(board, 30);  // odd moves black, even moves white
    StartAt(11, kModeQuizBlack);
    EXPECT_EQ(board.CurrentMove(), 12);  // white's move 12 was played for the user
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(board.Hints()[k - 1], k % 2 ? MovePoint(12 + k) : GridPoint{}) << k;

    EXPECT_EQ(Guess(13), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 14);
    const GridPoint reply = MovePoint(14);
    EXPECT_EQ(board.Cell(reply.x - 1, reply.y - 1), (PointCell{kWhite, kFlagLastMove, 14}));
    EXPECT_EQ(Guess(15), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 16);

    // Started before a black move, nothing is played for the user.
    StartQuiz(board, kModeView);
    StartAt(20, kModeQuizBlack);
    EXPECT_EQ(board.CurrentMove(), 20);
}

// A pass has no point to guess: the quiz steps over it, whoever passed, and it keeps its number.
TEST_F(QuizTest, PassesAreSteppedOverAndKeepTheirNumbers) {
    int i = 0;
    for (const auto& [colour, pass] : {std::pair{kBlack, false}, {kWhite, true}, {kBlack, false},
                                       {kWhite, false}, {kBlack, true}, {kWhite, false},
                                       {kBlack, false}}) {
        const auto [x, y] = SparsePoint(i++);
        board.SetColourToPlay(colour);
        ASSERT_EQ(board.ReadMove(pass ? 0 : x, pass ? 0 : y, false), kMoveLegal);
    }
    StartAt(1, kModeQuizBlack);
    EXPECT_EQ(board.CurrentMove(), 2);  // white's pass stepped over
    EXPECT_EQ(board.Hints()[2], GridPoint{});  // black's pass is no hint
    EXPECT_EQ(Guess(3), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 6);  // white's 4, black's pass and white's 6
    EXPECT_EQ(Guess(7), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 7);
}

TEST_F(QuizTest, WhiteModeLeavesTwoWhiteMovesInARowToTheUser) {
    PlayColours({kBlack, kWhite, kWhite, kBlack, kWhite, kBlack});
    StartAt(1, kModeQuizWhite);
    EXPECT_EQ(board.CurrentMove(), 1);
    EXPECT_EQ(board.Hints()[0], MovePoint(2));
    EXPECT_EQ(board.Hints()[1], MovePoint(3));
    EXPECT_EQ(board.Hints()[2], GridPoint{});
    EXPECT_EQ(Guess(2), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 2);  // move 3 is white again: the user's
    EXPECT_EQ(Guess(3), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 4);  // black's move 4 answered
    EXPECT_EQ(Guess(5), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 6);
}

TEST_F(QuizTest, PlainModeShowsNoHintsButTakesGuesses) {
    PlaySparseGame(board, 12);
    StartAt(3, kModeQuizPlain);
    for (const GridPoint& hint : board.Hints()) EXPECT_EQ(hint, GridPoint{});
    EXPECT_EQ(Guess(4), QuizAnswer::kRight);
    EXPECT_EQ(Guess(5), QuizAnswer::kRight);
    EXPECT_EQ(board.CurrentMove(), 5);
    // Outside a quiz a guess is not taken.
    StartQuiz(board, kModeView);
    EXPECT_EQ(Guess(6), QuizAnswer::kIgnored);
    EXPECT_EQ(board.CurrentMove(), 5);
}

// A reference diagram shown on the board must not be where the automatic first move is taken:
// the quiz runs on the main line.
TEST_F(QuizTest, StartingFromAnOpenDiagramPlaysTheMainLineReply) {
    PlaySparseGame(board, 20);
    board.SetBoardMode(kModeView);
    board.JumpToMove(11);
    board.EnterDiagramInput();
    const auto [x, y] = SparsePoint(150);
    board.SetColourToPlay(kWhite);
    ASSERT_EQ(board.PlayDiagramMove(x, y, false), 1);
    const DiagramKey key = board.FinishDiagram();
    board.JumpToMove(11);
    ASSERT_TRUE(board.OpenStoredDiagram(key));
    ASSERT_EQ(board.StepForward(), 1);  // the diagram's white move is on the board

    StartQuiz(board, kModeQuizBlack);
    EXPECT_EQ(board.DiagramBase(), -1);
    EXPECT_EQ(board.CurrentMove(), 12);
    const GridPoint main = MovePoint(12);
    EXPECT_EQ(board.Cell(main.x - 1, main.y - 1).stone, kWhite);
    EXPECT_EQ(board.Cell(x - 1, y - 1).stone, 0);
}

}  // namespace
}  // namespace velmora
