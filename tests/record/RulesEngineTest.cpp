#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

#include "RecordTestSupport.h"
#include "record/RulesEngine.h"

namespace velmora {
namespace {

using test::Picture;
using test::SameStones;
using test::SetBoard;

std::vector<CapturedStone> Captured(const RulesEngine& e) { return e.CapturedStones(); }

// Plays as every caller does: CheckMove, then PlayMove when legal; both must agree.
int CheckThenPlay(RulesEngine& e, int x, int y) {
    const BoardGrid before = e.Grid();
    const int checked = e.CheckMove(x, y);
    EXPECT_TRUE(SameStones(before, e.Grid())) << "CheckMove changed the stones at " << x << "," << y;
    if (!IsLegalMove(checked)) return checked;
    const std::vector<CapturedStone> listed = e.CapturedStones();
    const int checkedCount = e.LastCaptureCount();
    const int played = e.PlayMove(x, y);
    EXPECT_EQ(checked, played) << "at " << x << "," << y;
    EXPECT_EQ(listed, e.CapturedStones()) << "at " << x << "," << y;
    EXPECT_EQ(checkedCount, e.LastCaptureCount());
    return played;
}

TEST(RulesEngine, RefusesOccupiedAndOutsidePointsWithoutChange) {
    RulesEngine e;
    SetBoard(e, {"X"});
    e.SetColourToPlay(kWhite);
    const BoardGrid before = e.Grid();
    EXPECT_EQ(e.CheckMove(1, 1), kMoveOccupied);
    EXPECT_EQ(e.PlayMove(1, 1), kMoveOccupied);
    for (auto [x, y] : {std::pair{0, 5}, {20, 5}, {5, 0}, {5, 20}, {-1, -1}, {100, 3}}) {
        EXPECT_EQ(e.CheckMove(x, y), kMoveOutside);
        EXPECT_EQ(e.PlayMove(x, y), kMoveOutside);
    }
    EXPECT_TRUE(SameStones(before, e.Grid()));
    EXPECT_EQ(e.LastMovePoint(), GridPoint{});
}

TEST(RulesEngine, SuicideIsRefusedButTakingTheLastLibertyCaptures) {
    RulesEngine e;
    SetBoard(e, {"",
                 "",
                 "",
                 "....O",
                 "...O.O",
                 "....O"});
    const BoardGrid before = e.Grid();
    EXPECT_EQ(e.CheckMove(5, 5), kMoveSuicide);
    EXPECT_EQ(e.PlayMove(5, 5), kMoveSuicide);
    EXPECT_TRUE(SameStones(before, e.Grid()));
    EXPECT_TRUE(Captured(e).empty());

    // Now the upper white stone has (5, 5) as its last liberty.
    e.PutStone(4, 4, kBlack);
    e.PutStone(6, 4, kBlack);
    e.PutStone(5, 3, kBlack);
    EXPECT_EQ(CheckThenPlay(e, 5, 5), kMoveLegal);
    EXPECT_EQ(e.Grid().Get(5, 4), kEmpty);
    EXPECT_EQ(e.Grid().Get(5, 5), kBlack);
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{5, 4, kWhite}}));
    EXPECT_EQ(e.LastCaptureCount(), 1);
    EXPECT_EQ(e.LastCapturePoint(), (GridPoint{5, 4}));
    EXPECT_EQ(e.LastMovePoint(), (GridPoint{5, 5}));
}

TEST(RulesEngine, CapturesSeveralGroupsAtOnce) {
    RulesEngine e;
    SetBoard(e, {"",
                 "",
                 "....X",
                 "...XOX",
                 "",
                 "...XOX",
                 "...XOX",
                 "....X"});
    EXPECT_EQ(CheckThenPlay(e, 5, 5), kMoveLegal);
    EXPECT_EQ(Captured(e),
              (std::vector<CapturedStone>{{5, 4, kWhite}, {5, 6, kWhite}, {5, 7, kWhite}}));
    EXPECT_EQ(e.LastCaptureCount(), 3);
    EXPECT_EQ(Picture(e.Grid(), 6, 8)[3], "...X.X");
    EXPECT_EQ(Picture(e.Grid(), 6, 8)[6], "...X.X");
}

TEST(RulesEngine, GroupTouchingTheStoneOnSeveralSidesIsCountedOnce) {
    RulesEngine e;
    SetBoard(e, {"",
                 "",
                 "...XXX",
                 "..XOOOX",
                 "..XO.OX",
                 "...XXX"});
    EXPECT_EQ(CheckThenPlay(e, 5, 5), kMoveLegal);
    EXPECT_EQ(e.LastCaptureCount(), 5);
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{4, 4, kWhite},
                                                        {5, 4, kWhite},
                                                        {6, 4, kWhite},
                                                        {4, 5, kWhite},
                                                        {6, 5, kWhite}}));
    EXPECT_EQ(Picture(e.Grid(), 7, 6)[3], "..X...X");
}

TEST(RulesEngine, CornersAndEdgesHaveNoBorderLiberties) {
    RulesEngine e;
    SetBoard(e, {".O",
                 "O"});
    EXPECT_EQ(e.CheckMove(1, 1), kMoveSuicide);

    SetBoard(e, {"OX"});
    EXPECT_EQ(CheckThenPlay(e, 1, 2), kMoveLegal);
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{1, 1, kWhite}}));

    // Far corner: the column and row 20 are border, not liberties.
    SetBoard(e, {});
    e.PutStone(19, 19, kWhite);
    e.PutStone(18, 19, kBlack);
    EXPECT_EQ(CheckThenPlay(e, 19, 18), kMoveLegal);
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{19, 19, kWhite}}));

    // Edge: a white stone on the first row with black on both sides.
    SetBoard(e, {".........XOX"});
    EXPECT_EQ(CheckThenPlay(e, 11, 2), kMoveLegal);
    EXPECT_EQ(e.Grid().Get(11, 1), kEmpty);
}

TEST(RulesEngine, AtariIsReported) {
    RulesEngine e;
    SetBoard(e, {"",
                 "",
                 "",
                 "....X",
                 "...XO"});
    EXPECT_EQ(CheckThenPlay(e, 6, 5), kMoveAtari);
    EXPECT_EQ(e.AtariFlag(), 1);
    EXPECT_TRUE(IsLegalMove(kMoveAtari));
    // A quiet move clears the flag.
    EXPECT_EQ(CheckThenPlay(e, 15, 15), kMoveLegal);
    EXPECT_EQ(e.AtariFlag(), 0);
}

TEST(RulesEngine, KoRetakeIsRefusedUntilAMoveElsewhere) {
    RulesEngine e;
    SetBoard(e, {".....",
                 ".XO..",
                 "XO.O.",
                 ".XO.."});
    e.SetColourToPlay(kBlack);
    EXPECT_EQ(CheckThenPlay(e, 3, 3), kMoveLegal);
    EXPECT_EQ(e.LastCapturePoint(), (GridPoint{2, 3}));
    const BoardGrid afterCapture = e.Grid();

    e.SetColourToPlay(kWhite);
    EXPECT_EQ(e.CheckMove(2, 3), kMoveKo);
    EXPECT_EQ(e.PlayMove(2, 3), kMoveKo);
    EXPECT_TRUE(SameStones(afterCapture, e.Grid()));
    EXPECT_EQ(e.LastMovePoint(), (GridPoint{3, 3}));
    EXPECT_EQ(e.LastCapturePoint(), (GridPoint{2, 3}));
    EXPECT_EQ(e.LastCaptureCount(), 1);

    // White plays elsewhere, black answers; now the retake is allowed.
    EXPECT_EQ(CheckThenPlay(e, 10, 10), kMoveLegal);
    e.SetColourToPlay(kBlack);
    EXPECT_EQ(CheckThenPlay(e, 12, 12), kMoveLegal);
    e.SetColourToPlay(kWhite);
    EXPECT_EQ(CheckThenPlay(e, 2, 3), kMoveLegal);
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{3, 3, kBlack}}));
    // …and black's immediate retake is ko in turn.
    e.SetColourToPlay(kBlack);
    EXPECT_EQ(e.CheckMove(3, 3), kMoveKo);
}

TEST(RulesEngine, SnapbackIsNotKo) {
    RulesEngine e;
    SetBoard(e, {"..OX",
                 "OOX.",
                 "XX.."});
    e.SetColourToPlay(kBlack);
    EXPECT_EQ(CheckThenPlay(e, 1, 1), kMoveAtari);  // the throw-in has one liberty
    e.SetColourToPlay(kWhite);
    EXPECT_TRUE(IsLegalMove(CheckThenPlay(e, 2, 1)));
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{1, 1, kBlack}}));
    e.SetColourToPlay(kBlack);
    EXPECT_TRUE(IsLegalMove(CheckThenPlay(e, 1, 1)));
    EXPECT_EQ(e.LastCaptureCount(), 4);
    EXPECT_EQ(Picture(e.Grid(), 4, 3), (std::vector<std::string>{"X..X", "..X.", "XX.."}));
}

TEST(RulesEngine, RetakingOneStoneAfterATwoStoneCaptureIsNotKo) {
    RulesEngine e;
    SetBoard(e, {".O.O.",
                 ".XOX.",
                 ".XOX.",
                 "..X.."});
    e.SetColourToPlay(kBlack);
    EXPECT_TRUE(IsLegalMove(CheckThenPlay(e, 3, 1)));
    EXPECT_EQ(e.LastCaptureCount(), 2);
    e.SetColourToPlay(kWhite);
    EXPECT_TRUE(IsLegalMove(CheckThenPlay(e, 3, 2)));
    EXPECT_EQ(Captured(e), (std::vector<CapturedStone>{{3, 1, kBlack}}));
}

TEST(RulesEngine, CapturedStonesAreReadFromOne) {
    RulesEngine e;
    int x = 0, y = 0, colour = 0;
    EXPECT_EQ(e.GetCapturedStone(1, x, y, colour), 0);
    SetBoard(e, {"OX"});
    ASSERT_EQ(CheckThenPlay(e, 1, 2), kMoveLegal);
    EXPECT_EQ(e.GetCapturedStone(1, x, y, colour), 1);
    EXPECT_EQ((std::vector<int>{x, y, colour}), (std::vector<int>{1, 1, kWhite}));
    EXPECT_EQ(e.GetCapturedStone(0, x, y, colour), 0);
    EXPECT_EQ(e.GetCapturedStone(2, x, y, colour), 0);
}

TEST(RulesEngine, ResetKeepsTheCaptureStateOnlyWhenAsked) {
    RulesEngine e;
    SetBoard(e, {"OX"});
    ASSERT_EQ(CheckThenPlay(e, 1, 2), kMoveLegal);
    e.SetColourToPlay(kWhite);
    e.SetPointNumber(1, 2, 7);

    e.ResetRules(true);
    EXPECT_EQ(e.ColourToPlay(), kBlack);
    EXPECT_EQ(e.LastMovePoint(), GridPoint{});
    EXPECT_EQ(e.LastCaptureCount(), 1);
    EXPECT_EQ(e.LastCapturePoint(), (GridPoint{1, 1}));
    EXPECT_EQ(e.Grid().Get(1, 2), kEmpty);
    EXPECT_EQ(e.Grid().Number(1, 2), 7);  // the numbers layer is the owner's

    e.ResetRules(false);
    EXPECT_EQ(e.LastCaptureCount(), 0);
    EXPECT_EQ(e.LastCapturePoint(), (GridPoint{1, 1}));
}

TEST(BoardGrid, ReadsOutsideAreEmptyAndWritesOutsideAreIgnored) {
    BoardGrid g;
    g.Set(20, 5, kBlack);
    g.Set(-1, 5, kBlack);
    g.Set(5, 21, kBlack);
    g.SetNumber(40, 40, 9);  // must not write past the grid
    EXPECT_EQ(g.Get(20, 5), 0);
    EXPECT_EQ(g.Get(-1, 5), 0);
    EXPECT_EQ(g.Number(40, 40), 0);
    g.Set(19, 19, kWhite);
    g.SetNumber(19, 19, 3);
    g.Clear();
    EXPECT_EQ(g.Get(19, 19), 0);
    EXPECT_EQ(g.Number(19, 19), 3);
}

// --- against an independent, plainly written rule set ---

using Stones = std::set<std::pair<int, int>>;

Stones GroupOf(const BoardGrid& g, int x, int y) {
    Stones group;
    const int c = g.Get(x, y);
    if (c == 0) return group;
    std::vector<std::pair<int, int>> todo{{x, y}};
    while (!todo.empty()) {
        auto [px, py] = todo.back();
        todo.pop_back();
        if (!g.OnBoard(px, py) || g.Get(px, py) != c || !group.insert({px, py}).second) continue;
        todo.insert(todo.end(), {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}});
    }
    return group;
}

int LibertiesOf(const BoardGrid& g, const Stones& group) {
    Stones libs;
    for (auto [x, y] : group)
        for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}})
            if (g.OnBoard(nx, ny) && g.Get(nx, ny) == 0) libs.insert({nx, ny});
    return static_cast<int>(libs.size());
}

Stones FilledPoints(const BoardGrid& fill) {
    Stones filled;
    for (int i = 0; i <= 20; ++i)
        for (int j = 0; j <= 20; ++j)
            if (fill.Get(i, j) != 0) filled.insert({i, j});
    return filled;
}

TEST(RulesEngine, GroupsAndLibertiesMatchAPlainFloodFill) {
    test::Random random(7);
    RulesEngine e;
    BoardGrid fill;
    for (int round = 0; round < 60; ++round) {
        BoardGrid board;
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) board.Set(x, y, random.Below(10) < 7 ? 1 + random.Below(2) : 0);
        for (int k = 0; k < 20; ++k) {
            const int x = 1 + random.Below(19), y = 1 + random.Below(19);
            const Stones expected = GroupOf(board, x, y);
            e.FillGroup(x, y, board, fill);
            const Stones filled = FilledPoints(fill);
            for (auto [i, j] : filled) EXPECT_EQ(fill.Get(i, j), board.Get(i, j));
            ASSERT_EQ(filled, expected) << "round " << round << " at " << x << "," << y;
            EXPECT_EQ(e.Liberties(x, y, board), expected.empty() ? 0 : LibertiesOf(board, expected));
        }
    }
}

TEST(RulesEngine, FillFollowsSpiralsAndTurns) {
    RulesEngine e;
    SetBoard(e, {"XXXXXXXXX",
                 "........X",
                 ".XXXXXX.X",
                 ".X....X.X",
                 ".X.XX.X.X",
                 ".X..X.X.X",
                 ".XXXX.X.X",
                 "......X.X",
                 "XXXXXXX.X"});
    BoardGrid fill;
    e.FillGroup(1, 1, e.Grid(), fill);
    EXPECT_EQ(FilledPoints(fill).size(), 17u);
    EXPECT_EQ(FilledPoints(fill), GroupOf(e.Grid(), 1, 1));
    e.FillGroup(4, 5, e.Grid(), fill);
    EXPECT_EQ(FilledPoints(fill).size(), 28u);
    EXPECT_EQ(FilledPoints(fill), GroupOf(e.Grid(), 4, 5));
    e.FillGroup(1, 2, e.Grid(), fill);  // an empty point fills nothing
    EXPECT_TRUE(FilledPoints(fill).empty());
}

// Captures, suicide and the single-stone ko, written the plain way.
struct PlainRules {
    BoardGrid board;
    std::pair<int, int> koPoint{-1, -1};
    std::size_t lastCount = 0;

    bool Play(int x, int y, int colour, Stones& captured) {
        captured.clear();
        if (board.Get(x, y) != 0) return false;
        BoardGrid next = board;
        next.Set(x, y, colour);
        for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
            if (!next.OnBoard(nx, ny) || next.Get(nx, ny) != Opponent(colour)) continue;
            const Stones group = GroupOf(next, nx, ny);
            if (LibertiesOf(next, group) == 0) captured.insert(group.begin(), group.end());
        }
        for (auto [cx, cy] : captured) next.Set(cx, cy, 0);
        if (captured.empty() && LibertiesOf(next, GroupOf(next, x, y)) == 0) return false;
        if (lastCount == 1 && captured.size() == 1 && koPoint == std::pair{x, y}) return false;
        board = next;
        lastCount = captured.size();
        if (lastCount == 1) koPoint = *captured.begin();
        return true;
    }
};

TEST(RulesEngine, LongRandomGamesAgreeWithPlainRules) {
    int kos = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        test::Random random(seed);
        RulesEngine e;
        PlainRules plain;
        int colour = kBlack, played = 0;
        std::size_t taken = 0;
        std::pair<int, int> retake{0, 0};
        for (int attempt = 0; attempt < 3000; ++attempt) {
            // Right after a single-stone capture, try the retake: that is where ko lives.
            int x = 1 + random.Below(19), y = 1 + random.Below(19);
            if (retake.first != 0) std::tie(x, y) = std::exchange(retake, {0, 0});
            e.SetColourToPlay(colour);
            const int code = CheckThenPlay(e, x, y);
            Stones expected;
            const bool legal = plain.Play(x, y, colour, expected);
            ASSERT_EQ(IsLegalMove(code), legal) << "seed " << seed << " attempt " << attempt;
            kos += code == kMoveKo;
            if (!legal) continue;
            Stones captured;
            for (const CapturedStone& s : e.CapturedStones()) {
                captured.insert({s.x, s.y});
                EXPECT_EQ(s.colour, Opponent(colour));
            }
            ASSERT_EQ(captured, expected) << "seed " << seed << " attempt " << attempt;
            ASSERT_TRUE(SameStones(e.Grid(), plain.board));
            taken += captured.size();
            if (captured.size() == 1) retake = *captured.begin();
            ++played;
            colour = Opponent(colour);
        }
        EXPECT_GT(played, 400);
        EXPECT_GT(taken, 100u);
    }
    EXPECT_GT(kos, 0);
}

}  // namespace
}  // namespace velmora
