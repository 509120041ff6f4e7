#include <gtest/gtest.h>

#include "BoardTestSupport.h"
#include "game/BoardPanelLogic.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

using test::Cells;
using test::PlaySparseGame;
using test::RecordingObserver;
using test::RecordingView;
using test::SparsePoint;

struct RecordingPanelObserver : BoardPanelObserver {
    std::vector<int> forwarded;
    std::vector<bool> forwardButtons;
    int quizStops = 0;
    BoardLogic* board = nullptr;  // stopped as the view pane stops it, when set
    void OnForwardedCommand(int id) override { forwarded.push_back(id); }
    void OnForwardButtonsEnabled(bool enabled) override { forwardButtons.push_back(enabled); }
    void OnQuizStopRequested() override {
        ++quizStops;
        if (board) board->SetBoardMode(kModeView);
    }
};

class BoardPanelLogicTest : public ::testing::Test {
protected:
    BoardPanelLogicTest() : panel(&board) {
        board.SetView(&view);
        board.SetMainWindow(&mainWindow);
        board.SetParentObserver(&parent);
        panel.SetObserver(&observer);
    }

    // Stores a diagram of `moves` sparse moves (the first a triangle-marked start) at base.
    DiagramKey StoreDiagram(int base, int moves) {
        board.SetBoardMode(kModeView);
        board.JumpToMove(base);
        board.EnterDiagramInput();
        board.AddNaviStone(NaviStone{0, 0, -1, kNaviTriangle, {}});
        for (int i = 0; i < moves; ++i) {
            const auto [x, y] = SparsePoint(100 + base * 5 + i);
            board.PlayDiagramMove(x, y, false);
        }
        return board.FinishDiagram();
    }

    ScriptedPrompter prompter;  // a stray question must never wait on a dialog
    BoardLogic board;
    BoardPanelLogic panel;
    RecordingView view;
    RecordingObserver mainWindow;
    RecordingObserver parent;
    RecordingPanelObserver observer;
};

TEST_F(BoardPanelLogicTest, NavigationCommandsStepAndStopAtTheEnds) {
    PlaySparseGame(board, 25);
    board.SetBoardMode(kModeView);
    board.JumpToMove(4);
    mainWindow.messages.clear();
    EXPECT_TRUE(panel.OnCommand(kCmdBackTen));
    EXPECT_EQ(board.CurrentMove(), 0);
    EXPECT_EQ(Cells(board), std::vector<PointCell>(361));
    EXPECT_EQ(mainWindow.Count(UM_REFRESH_PANE), 1);
    EXPECT_TRUE(panel.ForwardButtonsEnabled());

    panel.OnCommand(kCmdForwardTen);
    EXPECT_EQ(board.CurrentMove(), 10);
    panel.OnCommand(kCmdForward);
    EXPECT_EQ(board.CurrentMove(), 11);
    panel.OnCommand(kCmdBack);
    EXPECT_EQ(board.CurrentMove(), 10);
    panel.OnCommand(kCmdToEnd);
    EXPECT_EQ(board.CurrentMove(), 25);
    EXPECT_FALSE(panel.ForwardButtonsEnabled());
    EXPECT_EQ(observer.forwardButtons.back(), false);
    panel.OnCommand(kCmdForwardTen);
    EXPECT_EQ(board.CurrentMove(), 25);
    panel.OnCommand(kCmdToStart);
    EXPECT_EQ(board.CurrentMove(), 0);
    EXPECT_TRUE(observer.forwardButtons.back());
}

TEST_F(BoardPanelLogicTest, MainWindowCommandsAreForwarded) {
    for (int id : {119, 121, 122, 123, 124, 130}) EXPECT_TRUE(panel.OnCommand(id));
    EXPECT_EQ(observer.forwarded, (std::vector<int>{119, 121, 122, 123, 124, 130}));
    EXPECT_FALSE(panel.OnCommand(120));
    EXPECT_EQ(observer.forwarded.size(), 6u);
}

TEST_F(BoardPanelLogicTest, NavigationDuringAQuizAsksToStopItAndStepsOnlyWhenStopped) {
    PlaySparseGame(board, 10);
    board.JumpToMove(3);
    board.SetBoardMode(kModeQuizFour);
    prompter.Answer(kAnswerNo);
    panel.OnCommand(kCmdForward);
    EXPECT_EQ(board.CurrentMove(), 3);
    EXPECT_EQ(observer.quizStops, 0);
    // A stop that leaves the quiz running (nobody to stop it) takes no step either.
    prompter.Answer(kAnswerYes);
    panel.OnCommand(kCmdForward);
    EXPECT_EQ(board.CurrentMove(), 3);
    EXPECT_EQ(observer.quizStops, 1);
    observer.board = &board;
    prompter.Answer(kAnswerYes);
    panel.OnCommand(kCmdForward);
    EXPECT_EQ(board.Mode(), kModeView);
    EXPECT_EQ(board.CurrentMove(), 4);
    EXPECT_EQ(observer.quizStops, 2);
    ASSERT_EQ(prompter.asked().size(), 3u);
    EXPECT_EQ(prompter.asked()[0].text, BoardPanelLogic::kQuizInterruptQuestion);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsYesNo);
}

TEST_F(BoardPanelLogicTest, ThePanelsBoardSendsNoClickNotifications) {
    EXPECT_TRUE(board.SuppressClickNotify());
}

TEST_F(BoardPanelLogicTest, ShowingAStoredDiagramStepsToItsEndAndBackToTheMainLine) {
    PlaySparseGame(board, 20);
    const DiagramKey key = StoreDiagram(12, 3);
    ASSERT_FALSE(key.empty());
    board.JumpToMove(12);

    panel.ShowStoredDiagram(key);
    EXPECT_EQ(board.DiagramBase(), 12);
    EXPECT_EQ(board.CurrentMove(), 15);
    EXPECT_EQ(board.Record().CurrentDiagram().key, key);
    const auto [x, y] = SparsePoint(100 + 12 * 5 + 2);
    EXPECT_EQ(board.Cell(x - 1, y - 1).flags & kFlagHighlight, kFlagHighlight);
    EXPECT_FALSE(panel.ForwardButtonsEnabled());

    mainWindow.messages.clear();
    panel.ShowStoredDiagram("원래대로");
    EXPECT_EQ(board.DiagramBase(), -1);
    EXPECT_EQ(board.CurrentMove(), 12);
    EXPECT_EQ(board.Cell(x - 1, y - 1), PointCell{});
    EXPECT_TRUE(panel.ForwardButtonsEnabled());
    EXPECT_EQ(mainWindow.Count(UM_REFRESH_PANE), 1);
}

TEST_F(BoardPanelLogicTest, ADiagramOpenedAwayFromItsBaseIsShownFromItsBase) {
    PlaySparseGame(board, 20);
    const DiagramKey key = StoreDiagram(6, 2);
    board.JumpToMove(18);
    panel.ShowStoredDiagram(key);
    EXPECT_EQ(board.CurrentMove(), 8);
    const auto [x, y] = SparsePoint(10);  // main-line move 11 is not on the board
    EXPECT_EQ(board.Cell(x - 1, y - 1), PointCell{});
}

TEST_F(BoardPanelLogicTest, FinishingTheSameDiagramTwiceStoresItOnce) {
    PlaySparseGame(board, 10);
    const DiagramKey first = StoreDiagram(5, 2);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(board.Mode(), kModeView);
    EXPECT_EQ(board.CurrentMove(), 5);
    EXPECT_EQ(board.DiagramBase(), -1);
    EXPECT_EQ(StoreDiagram(5, 2), "same");
    EXPECT_EQ(board.Record().StoredDiagramMap().size(), 1u);
}

TEST_F(BoardPanelLogicTest, CommittingADiagramLeavesItAndRefreshesThePane) {
    PlaySparseGame(board, 10);
    board.EnterDiagramInput();
    const auto [x, y] = SparsePoint(50);
    board.PlayDiagramMove(x, y, false);
    mainWindow.messages.clear();
    const std::string key = board.CommitDiagram();
    EXPECT_FALSE(key.empty());
    EXPECT_EQ(board.DiagramBase(), -1);
    EXPECT_EQ(board.CurrentMove(), 10);
    EXPECT_EQ(mainWindow.Count(UM_REFRESH_PANE), 1);
    mainWindow.messages.clear();
    EXPECT_EQ(board.CommitDiagram(), "");  // nothing open: nothing sent
    EXPECT_TRUE(mainWindow.messages.empty());
    board.EnterDiagramInput();  // neither moves nor text: nothing to store
    EXPECT_EQ(board.CommitDiagram(), "");
    EXPECT_EQ(board.Record().StoredDiagramMap().size(), 1u);
}

TEST_F(BoardPanelLogicTest, CopyPositionRebuildsTheSamePositionWithTheDiagram) {
    board.PlaceHandicapStone(3, 3);
    board.SetColourToPlay(kWhite);
    board.SetBoardMode(kModePlay);
    for (int i = 1; i <= 20; ++i) {
        const auto [x, y] = SparsePoint(i + 30);
        board.PlayMainLineMove(x, y, false);
    }
    const DiagramKey key = StoreDiagram(14, 3);
    board.JumpToMove(14);
    panel.ShowStoredDiagram(key);
    ASSERT_EQ(board.CurrentMove(), 17);
    board.JumpToMove(16);

    BoardLogic card;
    RecordingObserver cardMain;
    card.SetMainWindow(&cardMain);
    card.SetBoardMode(kModePreview);
    board.CopyPositionTo(card, key);
    EXPECT_EQ(card.CurrentMove(), 16);
    EXPECT_EQ(card.DiagramBase(), 14);
    EXPECT_EQ(Cells(card), Cells(board));
    EXPECT_EQ(card.LastMovePoint(), board.LastMovePoint());
    EXPECT_EQ(card.Record().MainLineLength(), 14);
    EXPECT_EQ(card.Record().CurrentDiagram().moves.size(), 3u);
    EXPECT_EQ(card.Record().CurrentDiagram().key, key);
    EXPECT_EQ(card.Mode(), kModeDiagram);

    // The start marks show at the base; copying again onto the same card gives the same.
    board.JumpToMove(14);
    board.CopyPositionTo(card, key);
    EXPECT_EQ(Cells(card), Cells(board));
    EXPECT_EQ(card.Marks(), board.Marks());
    ASSERT_EQ(card.Marks().size(), 1u);

    // The main line alone.
    panel.ShowStoredDiagram("원래대로");
    board.JumpToMove(20);
    board.CopyPositionTo(card, "");
    EXPECT_EQ(Cells(card), Cells(board));
    EXPECT_EQ(card.DiagramBase(), -1);
}

}  // namespace
}  // namespace velmora
