#include <gtest/gtest.h>

#include "../game/BoardTestSupport.h"
#include "CanvasTestSupport.h"
#include "board/BoardInput.h"
#include "board/MarkLabels.h"
#include "game/RecordModified.h"
#include "platform/Prompter.h"

namespace velmora {
namespace {

using test::CanvasBoard;

struct InputBoard : CanvasBoard {
    BoardInput input{logic, canvas};
    test::RecordingObserver mainWindow;
    test::RecordingObserver parent;

    InputBoard() {
        logic.SetMainWindow(&mainWindow);
        logic.SetParentObserver(&parent);
    }
    // Marks belong to a move: one stone (at the corner) is played before placing any.
    void StartMarks() {
        test::PlaySparseGame(logic, 1);
        logic.SetBoardMode(kModeMarks);
    }
    void Click(int i, int j) {
        const QPoint p = Centre(i, j);
        input.LeftButtonDown(p.x(), p.y());
        input.LeftButtonUp();
    }
    void Move(int i, int j) {
        const QPoint p = Centre(i, j);
        input.PointerMoved(p.x(), p.y());
    }
    // Ten sparse moves, then a diagram of three moves down the first column, stepped back to
    // its first move.
    void DiagramBackAtItsFirstMove() {
        test::PlaySparseGame(logic, 10);
        logic.EnterDiagramInput();
        for (const int j : {1, 3, 5}) Click(0, j);
        EXPECT_EQ(logic.Record().CurrentDiagram().moves.size(), 3u);
        logic.StepBack();
        logic.StepBack();
    }
    std::vector<NaviStone> Marks() const {
        return logic.Record().NaviStones(logic.CurrentMove()).value_or(std::vector<NaviStone>{});
    }
};

TEST(InputMarkTool, LabelSetsWrapAround) {
    EXPECT_EQ(NextMarkLabel(kNaviLabelCapital, "Y"), "Z");
    EXPECT_EQ(NextMarkLabel(kNaviLabelCapital, "Z"), "A");
    EXPECT_EQ(NextMarkLabel(kNaviLabelSyllable, "가"), "나");
    EXPECT_EQ(NextMarkLabel(kNaviLabelSyllable, "하"), "가");
    EXPECT_EQ(NextMarkLabel(kNaviLabelDigit, "9"), "0");
    EXPECT_EQ(NextMarkLabel(kNaviLabelDigit, "0"), "1");
    EXPECT_EQ(NextMarkLabel(kNaviLabelSmall, "z"), "a");
    // Text outside the set starts it again; shapes carry no text.
    EXPECT_EQ(NextMarkLabel(kNaviLabelSmall, "A"), "a");
    EXPECT_EQ(NextMarkLabel(kNaviLabelSyllable, "?"), "가");
    EXPECT_EQ(NextMarkLabel(kNaviTriangle, "A"), "");
    // An empty text is found at the set's start, so it steps to the second character.
    EXPECT_EQ(NextMarkLabel(kNaviLabelCapital, ""), "B");
    EXPECT_EQ(NextMarkLabel(kNaviLabelSyllable, ""), "나");
}

TEST(InputMarkTool, ConfiguredFromTheThreeInputs) {
    EXPECT_EQ(FixedUnderlayFromText("흑만"), 2);
    EXPECT_EQ(FixedUnderlayFromText("백만 놓기"), 1);
    EXPECT_EQ(FixedUnderlayFromText("문자만"), -1);
    EXPECT_EQ(FixedUnderlayFromText("흑백 교대"), 0);
    EXPECT_EQ(MarkKindFromOptions({false, false, true, true, false, false, false, false, false}),
              2);
    EXPECT_EQ(MarkKindFromOptions({}), 0);

    MarkTool tool;
    tool.alternatingColour = kWhite;
    const std::array<std::string, 4> labels{"다", "C", "c", "3"};
    MarkTool configured = ConfigureMarkTool(tool, "백만", kNaviLabelSmall, labels);
    EXPECT_EQ(configured.fixedUnderlay, kWhite);
    EXPECT_EQ(configured.kind, kNaviLabelSmall);
    EXPECT_EQ(configured.text, "c");
    EXPECT_EQ(configured.alternatingColour, kWhite);
    EXPECT_EQ(ConfigureMarkTool(tool, "", kNaviCircle, labels).text, "");
    EXPECT_EQ(ConfigureMarkTool(tool, "", 12, labels).kind, 0);
}

TEST(InputMarks, CapitalLabelsRunFromYAcrossZToA) {
    InputBoard b;
    b.StartMarks();
    b.logic.SetMarkTool(MarkTool{kBlack, -1, kNaviLabelCapital, "Y"});
    b.Click(2, 2);
    b.Click(3, 2);
    b.Click(4, 2);
    const std::vector<NaviStone> marks = b.Marks();
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].text, "Y");
    EXPECT_EQ(marks[1].text, "Z");
    EXPECT_EQ(marks[2].text, "A");
    EXPECT_EQ(marks[2].underlay, -1);
    EXPECT_EQ(b.logic.Tool().text, "B");
    // Mark clicks notify no one.
    EXPECT_EQ(b.parent.Count(UM_BOARD_CLICKED), 0);
}

TEST(InputMarks, PlainStonesAlternateUnlessTheUnderlayIsFixed) {
    InputBoard b;
    b.StartMarks();
    b.Click(1, 1);
    b.Click(2, 1);
    b.Click(3, 1);
    std::vector<NaviStone> marks = b.Marks();
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].underlay, kBlack);
    EXPECT_EQ(marks[1].underlay, kWhite);
    EXPECT_EQ(marks[2].underlay, kBlack);
    EXPECT_EQ(b.Back().Pixel(b.Centre(2, 1).x(), b.Centre(2, 1).y()), test::kStoneWhite);

    b.logic.SetMarkTool(ConfigureMarkTool(b.logic.Tool(), "흑만", kNaviStoneOnly, {}));
    b.Click(1, 5);
    b.Click(2, 5);
    marks = b.Marks();
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_EQ(marks[3].underlay, kBlack);
    EXPECT_EQ(marks[4].underlay, kBlack);
}

TEST(InputMarks, RightClickRemovesOnlyInMarkMode) {
    InputBoard b;
    b.StartMarks();
    b.Click(4, 4);
    const QPoint p = b.Centre(4, 4);
    b.logic.SetBoardMode(kModeDiagram);
    b.input.RightButtonDown(p.x(), p.y());
    EXPECT_EQ(b.Marks().size(), 1u);
    b.logic.SetBoardMode(kModeMarks);
    b.input.RightButtonDown(p.x(), p.y());
    EXPECT_TRUE(b.Marks().empty());
    EXPECT_TRUE(test::ShowsBareBoard(b, 4, 4));
}

// While other marks stay on the move, the removed one must leave the picture too.
TEST(InputMarks, RightClickRemovalIsRedrawnBesideOtherMarks) {
    InputBoard b;
    b.StartMarks();
    b.Click(4, 4);
    b.Click(6, 6);
    const QPoint p = b.Centre(4, 4);
    b.input.RightButtonDown(p.x(), p.y());
    ASSERT_EQ(b.Marks().size(), 1u);
    EXPECT_EQ(b.logic.Marks().size(), 1u);
    EXPECT_TRUE(test::ShowsBareBoard(b, 4, 4));
    EXPECT_FALSE(test::ShowsBareBoard(b, 6, 6));
}

TEST(InputPlay, CutAtMoveFortyAsksFirst) {
    ScriptedPrompter prompter;
    InputBoard b;
    test::PlaySparseGame(b.logic, 100);
    b.logic.JumpToMove(40);
    b.mainWindow.messages.clear();
    const auto cells = test::Cells(b.logic);
    SetRecordModified(false);

    prompter.Answer(kAnswerCancel);
    b.Click(0, 1);  // an empty point (column 1, row 2)
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].kind, "popup");
    EXPECT_EQ(prompter.asked()[0].text, BoardInput::kCutQuestion);
    EXPECT_EQ(prompter.asked()[0].buttons, kButtonsOkCancel);
    EXPECT_EQ(b.logic.Record().MainLineLength(), 100);
    EXPECT_EQ(b.logic.CurrentMove(), 40);
    EXPECT_EQ(test::Cells(b.logic), cells);
    EXPECT_EQ(b.mainWindow.Count(UM_STORY_QUERY), 0);
    EXPECT_EQ(b.mainWindow.Count(UM_REFRESH_PANE), 0);
    EXPECT_EQ(b.parent.Count(UM_BOARD_CLICKED), 0);

    prompter.Answer(kAnswerOk);
    b.Click(0, 1);
    EXPECT_EQ(b.logic.Record().MainLineLength(), 41);
    EXPECT_EQ(b.logic.CurrentMove(), 41);
    const std::optional<MoveRecord> move = b.logic.Record().GetMainLineMove(41);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->x, 1);
    EXPECT_EQ(move->y, 2);
    ASSERT_EQ(b.mainWindow.Count(UM_STORY_QUERY), 1);
    for (const auto& m : b.mainWindow.messages) {
        if (m.message == UM_STORY_QUERY) {
            EXPECT_EQ(m.wparam, 40);
        }
    }
    EXPECT_EQ(b.mainWindow.Count(UM_REFRESH_PANE), 1);
    EXPECT_EQ(b.parent.Count(UM_BOARD_CLICKED), 1);
    EXPECT_TRUE(RecordModified());
}

TEST(InputPlay, EndOfLineAsksNothingAndNotifiesTheParent) {
    ScriptedPrompter prompter;
    InputBoard b;
    b.logic.SetBoardMode(kModePlay);
    b.Click(3, 3);
    b.Click(3, 3);  // occupied: refused silently
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_EQ(b.logic.CurrentMove(), 1);
    EXPECT_EQ(b.parent.Count(UM_BOARD_CLICKED), 2);
    b.logic.SetSuppressClickNotify(true);
    b.Click(4, 4);
    EXPECT_EQ(b.parent.Count(UM_BOARD_CLICKED), 2);

    // A click off the board changes nothing, but is still a click.
    b.logic.SetSuppressClickNotify(false);
    b.input.LeftButtonDown(0, 0);
    EXPECT_EQ(b.logic.CurrentMove(), 2);
    EXPECT_EQ(b.parent.Count(UM_BOARD_CLICKED), 3);
}

TEST(InputDiagram, ClickInsideTheDiagramCutsItsLaterMoves) {
    InputBoard b;
    b.DiagramBackAtItsFirstMove();
    b.Click(0, 7);
    const OpenDiagram& diagram = b.logic.Record().CurrentDiagram();
    ASSERT_EQ(diagram.moves.size(), 2u);
    EXPECT_EQ(diagram.moves.at(2).y, 8);
    EXPECT_EQ(b.logic.Cell(0, 7).number, 2);
    EXPECT_EQ(b.logic.Cell(0, 7).flags, kFlagLastMove | kFlagHighlight);
}

TEST(InputDiagram, ARefusedPointKeepsTheLaterMoves) {
    InputBoard b;
    b.DiagramBackAtItsFirstMove();
    b.Click(0, 1);  // occupied by diagram move 1
    EXPECT_EQ(b.logic.Record().CurrentDiagram().moves.size(), 3u);
    EXPECT_EQ(b.logic.CurrentMove(), 11);
}

TEST(InputPreview, FollowsThePointerOnlyWhereAStoneCouldGo) {
    InputBoard b;
    b.logic.SetBoardMode(kModePlay);
    b.Move(5, 5);
    EXPECT_EQ(b.logic.HoverPoint(), (PointIndex{5, 5}));
    EXPECT_FALSE(test::ShowsBareBoard(b, 5, 5));
    b.Move(6, 5);
    EXPECT_TRUE(test::ShowsBareBoard(b, 5, 5));
    EXPECT_EQ(b.logic.HoverPoint(), (PointIndex{6, 5}));
    b.input.PointerLeft();
    EXPECT_TRUE(test::ShowsBareBoard(b, 6, 5));
    EXPECT_EQ(b.logic.HoverPoint(), PointIndex{});

    // Occupied: black at (3,3).
    b.Click(3, 3);
    b.Move(3, 3);
    EXPECT_EQ(b.logic.HoverPoint(), PointIndex{});

    // Suicide for white at the corner (0,0) walled in by black.
    b.logic.SetColourToPlay(kBlack);
    b.logic.PlayMainLineMove(2, 1, false);
    b.logic.SetColourToPlay(kBlack);
    b.logic.PlayMainLineMove(1, 2, false);
    ASSERT_EQ(b.logic.ColourToPlay(), kWhite);
    b.Move(0, 0);
    EXPECT_EQ(b.logic.HoverPoint(), PointIndex{});
    EXPECT_TRUE(test::ShowsBareBoard(b, 0, 0));
}

TEST(InputPreview, NeverOnAMarkNorOutsideModesOneAndTwo) {
    InputBoard b;
    b.StartMarks();
    b.Click(8, 8);
    b.logic.SetBoardMode(kModeDiagram);
    b.Move(8, 8);
    EXPECT_EQ(b.logic.HoverPoint(), PointIndex{});
    b.Move(9, 9);
    EXPECT_EQ(b.logic.HoverPoint(), (PointIndex{9, 9}));
    b.input.PointerLeft();

    for (int mode : {kModeView, kModeMarks, kModeQuizFour, kModeQuizBlack, kModeQuizWhite,
                     kModeQuizPlain, kModePreview}) {
        b.logic.SetBoardMode(mode);
        b.Move(10, 10);
        SCOPED_TRACE(mode);
        EXPECT_EQ(b.logic.HoverPoint(), PointIndex{});
        EXPECT_TRUE(test::ShowsBareBoard(b, 10, 10));
    }
}

TEST(InputPreview, TakesTheForcedColourOfADiagram) {
    InputBoard b;
    b.logic.SetBoardMode(kModePlay);
    test::PlaySparseGame(b.logic, 1);
    ASSERT_EQ(b.logic.ColourToPlay(), kWhite);
    b.logic.SetBoardMode(kModeDiagram);
    b.logic.SetForcedColour(kBlack);
    // A black preview darkens the wood beside the point's centre (off the lines); a white
    // one would lighten it.
    const int off = b.canvas.Geometry().cell / 4;
    const auto centreGrey = [&] {
        const QPoint c = b.Centre(9, 9) + QPoint(off, off);
        return qGray(static_cast<QRgb>(b.Back().Pixel(c.x(), c.y())));
    };
    const int bare = centreGrey();
    b.Move(9, 9);
    ASSERT_EQ(b.logic.HoverPoint(), (PointIndex{9, 9}));
    EXPECT_LT(centreGrey(), bare - 20);
    // A recomposed picture keeps the preview in the same colour.
    b.canvas.Compose();
    EXPECT_LT(centreGrey(), bare - 20);
}

TEST(InputPreview, HoveringLeavesTheKoRuleAlone) {
    InputBoard b;
    b.logic.SetBoardMode(kModePlay);
    // White takes the black stone at (6,5) with (5,5): a ko black may not retake at once.
    const int moves[][3] = {{kBlack, 5, 4}, {kWhite, 6, 4}, {kBlack, 4, 5}, {kWhite, 7, 5},
                            {kBlack, 5, 6}, {kWhite, 6, 6}, {kBlack, 6, 5}, {kWhite, 5, 5}};
    for (const auto& m : moves) {
        b.logic.SetColourToPlay(m[0]);
        ASSERT_EQ(b.logic.PlayMainLineMove(m[1], m[2], false), 1);
    }
    ASSERT_EQ(b.logic.Cell(5, 4).stone, 0);
    b.Move(9, 9);
    b.Move(10, 10);
    EXPECT_EQ(b.logic.HoverPoint(), (PointIndex{10, 10}));
    EXPECT_EQ(b.logic.PlayMainLineMove(6, 5, false), 0);
}

}  // namespace
}  // namespace velmora
