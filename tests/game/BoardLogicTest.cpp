#include <gtest/gtest.h>

#include "BoardTestSupport.h"
#include "game/BoardLogic.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

using test::Cells;
using test::PlaySparseGame;
using test::RecordingObserver;
using test::RecordingView;
using test::SparsePoint;

class BoardLogicTest : public ::testing::Test {
protected:
    BoardLogicTest() {
        board.SetView(&view);
        board.SetMainWindow(&mainWindow);
        board.SetParentObserver(&parent);
    }

    // Black surrounds three white stones on the top edge; move 9 (black at D2) takes them.
    void PlayThreeStoneCapture() {
        board.SetBoardMode(kModePlay);
        const int moves[][2] = {{1, 1}, {2, 1}, {5, 1}, {3, 1}, {2, 2}, {4, 1}, {3, 2}, {10, 10}};
        for (const auto& m : moves) ASSERT_EQ(board.PlayMainLineMove(m[0], m[1], false), 1);
        ASSERT_EQ(board.PlayMainLineMove(4, 2, false), 1);
    }

    ScriptedPrompter prompter;  // a stray question must never wait on a dialog
    BoardLogic board;
    RecordingView view;
    RecordingObserver mainWindow;
    RecordingObserver parent;
};

TEST_F(BoardLogicTest, StepsAreRefusedAtBothEndsOfTheLine) {
    EXPECT_EQ(board.StepBack(), 0);
    PlaySparseGame(board, 3);
    EXPECT_EQ(board.CurrentMove(), 3);
    EXPECT_EQ(board.StepForward(), 0);
    EXPECT_FALSE(board.HasNextMove());
    EXPECT_EQ(board.StepBack(), 1);
    EXPECT_TRUE(board.HasNextMove());
    EXPECT_EQ(board.StepForward(), 1);
    EXPECT_EQ(board.CurrentMove(), 3);
}

TEST_F(BoardLogicTest, PlayingMovesTheLastMoveMarkAndStoresTheMove) {
    board.SetBoardMode(kModePlay);
    ASSERT_EQ(board.PlayMainLineMove(4, 4, false), 1);
    ASSERT_EQ(board.PlayMainLineMove(16, 4, false), 1);
    EXPECT_EQ(board.Cell(3, 3), (PointCell{kBlack, 0, 1}));
    EXPECT_EQ(board.Cell(15, 3), (PointCell{kWhite, kFlagLastMove, 2}));
    EXPECT_EQ(board.LastMovePoint(), (PointIndex{15, 3}));
    EXPECT_EQ(board.ColourToPlay(), kBlack);
    const std::optional<MoveRecord> second = board.Record().GetMainLineMove(2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->colour, kWhite);
    EXPECT_EQ(second->number, 2);
    EXPECT_EQ(second->flags, 1);

    // An occupied point is refused and changes nothing.
    const auto before = Cells(board);
    EXPECT_EQ(board.PlayMainLineMove(4, 4, false), 0);
    EXPECT_EQ(Cells(board), before);
    EXPECT_EQ(board.CurrentMove(), 2);
    EXPECT_EQ(board.ColourToPlay(), kBlack);
}

TEST_F(BoardLogicTest, SteppingBackOverACaptureRestoresTheStonesAndTheLastMoveMark) {
    PlayThreeStoneCapture();
    board.StepBack();
    const auto beforeCapture = Cells(board);
    board.StepForward();
    const auto afterCapture = Cells(board);
    for (int x = 2; x <= 4; ++x) EXPECT_EQ(board.Cell(x - 1, 0).stone, kEmpty);
    const std::optional<MoveRecord> capture = board.Record().GetMainLineMove(9);
    ASSERT_TRUE(capture);
    EXPECT_EQ(capture->captured.size(), 3u);
    EXPECT_EQ(board.Rules().LastCaptureCount(), 3);

    ASSERT_EQ(board.StepBack(), 1);
    EXPECT_EQ(board.CurrentMove(), 8);
    EXPECT_EQ(board.Cell(1, 0), (PointCell{kWhite, 0, 2}));
    EXPECT_EQ(board.Cell(2, 0), (PointCell{kWhite, 0, 4}));
    EXPECT_EQ(board.Cell(3, 0), (PointCell{kWhite, 0, 6}));
    EXPECT_EQ(board.Cell(9, 9), (PointCell{kWhite, kFlagLastMove, 8}));
    EXPECT_EQ(board.Cell(3, 1), PointCell{});
    EXPECT_EQ(board.LastMovePoint(), (PointIndex{9, 9}));
    EXPECT_EQ(Cells(board), beforeCapture);
    EXPECT_EQ(board.ColourToPlay(), kBlack);
    for (int x = 2; x <= 4; ++x) EXPECT_EQ(board.Rules().Grid().Get(x, 1), kWhite);
    EXPECT_EQ(board.Rules().Grid().Get(4, 2), kEmpty);

    // Forward again gives the same picture as the first time.
    ASSERT_EQ(board.StepForward(), 1);
    EXPECT_EQ(Cells(board), afterCapture);
}

TEST_F(BoardLogicTest, SteppingBackToMoveZeroLeavesNoLastMove) {
    PlaySparseGame(board, 1);
    ASSERT_EQ(board.StepBack(), 1);
    EXPECT_EQ(board.LastMovePoint(), PointIndex{});
    EXPECT_EQ(board.Cell(0, 0), PointCell{});
    EXPECT_EQ(board.ColourToPlay(), kBlack);
}

TEST_F(BoardLogicTest, AnOpenDiagramStopsSteppingBackAtItsBaseExceptInPlayMode) {
    PlaySparseGame(board, 40);
    board.JumpToMove(30);
    board.EnterDiagramInput();
    ASSERT_EQ(board.DiagramBase(), 30);
    for (int i = 40; i < 43; ++i) {
        const auto [x, y] = SparsePoint(i);
        ASSERT_EQ(board.PlayDiagramMove(x, y, false), 1);
    }
    ASSERT_EQ(board.CurrentMove(), 33);
    board.JumpToMove(31);
    EXPECT_EQ(board.StepBack(), 1);
    EXPECT_EQ(board.CurrentMove(), 30);
    EXPECT_EQ(board.StepBack(), 0);
    EXPECT_EQ(board.CurrentMove(), 30);

    // In play mode the diagram's base is no barrier.
    BoardLogic play;
    PlaySparseGame(play, 40);
    play.JumpToMove(31);
    play.Record().OpenNewDiagram(30);
    EXPECT_EQ(play.StepBack(), 1);
    EXPECT_EQ(play.StepBack(), 1);
    EXPECT_EQ(play.CurrentMove(), 29);
}

TEST_F(BoardLogicTest, DiagramMovesAreNumberedFromTheBaseAndHighlighted) {
    PlaySparseGame(board, 10);
    board.EnterDiagramInput();
    board.SetColourToPlay(kBlack);
    for (int i = 10; i < 12; ++i) {
        const auto [x, y] = SparsePoint(i);
        ASSERT_EQ(board.PlayDiagramMove(x, y, false), 1);
    }
    const auto [x1, y1] = SparsePoint(10);
    const auto [x2, y2] = SparsePoint(11);
    EXPECT_EQ(board.Cell(x1 - 1, y1 - 1), (PointCell{kBlack, kFlagHighlight, 1}));
    EXPECT_EQ(board.Cell(x2 - 1, y2 - 1), (PointCell{kWhite, kFlagHighlight | kFlagLastMove, 2}));
    const std::optional<MoveRecord> second = board.Record().GetDiagramMove(2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->flags, 9);
    EXPECT_EQ(second->number, 2);
    EXPECT_EQ(board.Record().MainLineLength(), 10);
}

TEST_F(BoardLogicTest, ForcedColourMakesEveryDiagramMoveThatColour) {
    PlaySparseGame(board, 5);
    board.EnterDiagramInput();
    board.SetForcedColour(kBlack);
    board.SetColourToPlay(kWhite);
    for (int i = 5; i < 8; ++i) {
        const auto [x, y] = SparsePoint(i);
        ASSERT_EQ(board.PlayDiagramMove(x, y, false), 1);
        EXPECT_EQ(board.Cell(x - 1, y - 1).stone, kBlack);
        EXPECT_EQ(board.Cell(x - 1, y - 1).number, i - 4);
        EXPECT_EQ(board.Rules().Grid().Get(x, y), kBlack);
        EXPECT_EQ(board.ColourToPlay(), kBlack);
    }
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(board.Record().GetDiagramMove(n)->colour, kBlack);
}

TEST_F(BoardLogicTest, QuietReplayStoresTheMoveWithoutShowingIt) {
    board.SetColourToPlay(kBlack);
    ASSERT_EQ(board.ReplayMoveQuiet(4, 4), 1);
    board.SetColourToPlay(kWhite);
    ASSERT_EQ(board.ReplayMoveQuiet(5, 4), 1);
    EXPECT_EQ(board.Record().MainLineLength(), 2);
    EXPECT_EQ(board.CurrentMove(), 2);
    ASSERT_FALSE(view.changes.empty());
    for (const auto& change : view.changes) EXPECT_FALSE(change.show);
    EXPECT_EQ(board.ReplayMoveQuiet(0, 5), 0);  // a pass written "tt" or an empty value
    EXPECT_EQ(board.CurrentMove(), 2);
}

TEST_F(BoardLogicTest, JumpToMoveReloadsAndNotifiesTheMainWindow) {
    PlaySparseGame(board, 12);
    mainWindow.messages.clear();
    mainWindow.answer = 7;
    EXPECT_EQ(board.JumpToMove(5), 7);
    EXPECT_EQ(board.CurrentMove(), 5);
    EXPECT_EQ(mainWindow.Count(UM_REFRESH_PANE), 1);
    EXPECT_EQ(board.JumpToMove(50), 7);
    EXPECT_EQ(board.CurrentMove(), 12);
    EXPECT_EQ(board.JumpToMove(-1), 0);
    EXPECT_EQ(mainWindow.Count(UM_REFRESH_PANE), 2);
    EXPECT_TRUE(parent.messages.empty());
}

TEST_F(BoardLogicTest, SetBoardModeWithTheCurrentModeDoesNothing) {
    board.SetBoardMode(kModeMarks);
    view.Clear();
    EXPECT_EQ(board.SetBoardMode(kModeMarks), 0);
    EXPECT_EQ(view.refreshes, 0);
    EXPECT_EQ(board.SetBoardMode(kModeView), 1);
    EXPECT_GT(view.refreshes, 0);
}

TEST_F(BoardLogicTest, LeavingForPlayModeReturnsToTheBaseAndClosesTheDiagram) {
    PlaySparseGame(board, 8);
    board.EnterDiagramInput();
    const auto [x, y] = SparsePoint(20);
    board.PlayDiagramMove(x, y, false);
    ASSERT_EQ(board.CurrentMove(), 9);
    board.SetBoardMode(kModePreview);  // previews keep the diagram
    EXPECT_EQ(board.DiagramBase(), 8);
    board.SetBoardMode(kModeDiagram);
    board.SetBoardMode(kModePlay);
    EXPECT_EQ(board.DiagramBase(), -1);
    EXPECT_EQ(board.CurrentMove(), 8);
    EXPECT_EQ(board.Cell(x - 1, y - 1), PointCell{});
    EXPECT_TRUE(board.Marks().empty());
}

TEST_F(BoardLogicTest, NumberDisplayCycleAndMenuTexts) {
    EXPECT_EQ(board.NumberDisplay(), kNumbersDiagram);
    board.CycleNumberDisplay();
    EXPECT_EQ(board.NumberDisplay(), kNumbersAll);
    board.CycleNumberDisplay();
    EXPECT_EQ(board.NumberDisplay(), kNumbersNone);
    board.CycleNumberDisplay();
    EXPECT_EQ(board.NumberDisplay(), kNumbersAll);  // from 0 outside mode 2
    board.SetNumberDisplay(kNumbersNone);
    board.SetBoardMode(kModeDiagram);
    board.CycleNumberDisplay();
    EXPECT_EQ(board.NumberDisplay(), kNumbersDiagram);  // from 0 in mode 2

    board.SetNumberDisplayFromText("실전+참고도 보기");
    EXPECT_EQ(board.NumberDisplay(), kNumbersAll);
    board.SetNumberDisplayFromText("수순 감추기");
    EXPECT_EQ(board.NumberDisplay(), kNumbersNone);
    board.SetNumberDisplayFromText("참고도만 보기");
    EXPECT_EQ(board.NumberDisplay(), kNumbersDiagram);
    view.Clear();
    board.SetNumberDisplayFromText("something else");
    EXPECT_EQ(board.NumberDisplay(), kNumbersDiagram);
    EXPECT_EQ(view.redraws, 1);
}

TEST_F(BoardLogicTest, ResetEmptiesEverythingTheLastCaptureToo) {
    board.PlaceHandicapStone(3, 3);
    PlayThreeStoneCapture();
    board.ShowCoordinates(true);
    board.SetNumberDisplay(kNumbersAll);
    board.SetForcedColour(kWhite);
    board.ResetBoard();
    EXPECT_EQ(board.Rules().LastCaptureCount(), 0);
    EXPECT_EQ(board.CurrentMove(), 0);
    EXPECT_EQ(board.ColourToPlay(), kBlack);
    EXPECT_EQ(Cells(board), std::vector<PointCell>(361));
    EXPECT_EQ(board.Rules().Grid().Get(4, 4), kEmpty);
    EXPECT_EQ(board.LastMovePoint(), PointIndex{});
    EXPECT_FALSE(board.CoordinatesShown());
    EXPECT_EQ(board.NumberDisplay(), kNumbersDiagram);
    EXPECT_EQ(board.ForcedColour(), 0);
    EXPECT_EQ(board.Record().MainLineLength(), 0);
    EXPECT_TRUE(board.HandicapStones().empty());
    for (const GridPoint& hint : board.Hints()) EXPECT_EQ(hint, GridPoint{});
}

TEST_F(BoardLogicTest, HandicapStonesAreBlackWithoutFlagsOrNumbers) {
    board.PlaceHandicapStone(3, 15);
    board.PlaceHandicapStone(15, 3);
    EXPECT_EQ(board.Cell(3, 15), (PointCell{kBlack, 0, 0}));
    EXPECT_EQ(board.Rules().Grid().Get(16, 4), kBlack);
    board.PlaceHandicapStone(19, 0);  // off the board
    EXPECT_EQ(board.HandicapStones().size(), 2u);
}

TEST_F(BoardLogicTest, HintsFollowTheQuizMode) {
    PlaySparseGame(board, 20);
    board.SetBoardMode(kModeView);
    board.JumpToMove(10);
    board.SetBoardMode(kModeQuizFour);
    EXPECT_TRUE(board.ShowHints());
    for (int k = 1; k <= 8; ++k) {
        const auto [x, y] = SparsePoint(10 + k - 1);
        const GridPoint expected = k <= 4 ? GridPoint{x, y} : GridPoint{};
        EXPECT_EQ(board.Hints()[k - 1], expected) << k;
    }
    board.SetBoardMode(kModeQuizBlack);  // move 11 is black, 12 white, …
    for (int k = 1; k <= 8; ++k) {
        const auto [x, y] = SparsePoint(10 + k - 1);
        EXPECT_EQ(board.Hints()[k - 1], (k % 2 ? GridPoint{x, y} : GridPoint{})) << k;
    }
    board.SetBoardMode(kModeQuizPlain);
    for (const GridPoint& hint : board.Hints()) EXPECT_EQ(hint, GridPoint{});
    board.SetBoardMode(kModePlay);
    EXPECT_FALSE(board.ShowHints());
}

TEST_F(BoardLogicTest, ARefusedReplayEndsAStepInsteadOfLooping) {
    PlaySparseGame(board, 3);
    // A stored move on an occupied point (a damaged record) cannot be replayed.
    MoveRecord bad = *board.Record().GetMainLineMove(1);
    bad.number = 4;
    board.Record().AddMainLineMove(4, bad);
    EXPECT_EQ(board.StepForward(), 0);
    EXPECT_EQ(board.CurrentMove(), 3);
}

TEST_F(BoardLogicTest, AMissingRecordWhileSteppingBackIsReportedAndTouchesNothing) {
    PlaySparseGame(board, 3);
    board.Record().CutMainLine(3);
    const auto before = Cells(board);
    EXPECT_EQ(board.StepBack(), 0);
    EXPECT_EQ(board.CurrentMove(), 3);
    EXPECT_EQ(Cells(board), before);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text.rfind("앞 수로 돌아가지 못했습니다: ", 0), 0u);
}

// Black's cb takes the white stone at bb: a ko that white may not retake at once, however
// the board came back to it; a new record starts without it.
TEST_F(BoardLogicTest, AKoHoldsWhenSteppedBackToAndNotInTheNextRecord) {
    board.SetBoardSize(5);
    for (const SetupStone& s : {SetupStone{2, 1, kBlack}, SetupStone{1, 2, kBlack}, SetupStone{2, 3, kBlack},
                                SetupStone{2, 2, kWhite}, SetupStone{3, 1, kWhite}, SetupStone{4, 2, kWhite},
                                SetupStone{3, 3, kWhite}})
        board.PlaceSetupStone(s);
    ASSERT_EQ(board.ReplayMoveQuiet(3, 2), 1);
    ASSERT_EQ(board.ReplayMoveQuiet(5, 5), 1);
    ASSERT_EQ(board.ReplayMoveQuiet(4, 4), 1);
    EXPECT_TRUE(IsLegalMove(board.Rules().CheckMove(2, 2)));
    board.JumpToMove(1);
    EXPECT_EQ(board.Rules().CheckMove(2, 2), kMoveKo);
}

}  // namespace
}  // namespace velmora
