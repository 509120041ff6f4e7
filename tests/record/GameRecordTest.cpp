#include <gtest/gtest.h>

#include <algorithm>

#include "RecordTestSupport.h"
#include "record/GameInfo.h"
#include "record/GameRecord.h"

namespace velmora {
namespace {

MoveRecord Move(int n, int x, int y, const std::string& text = {}) {
    return test::MakeMove(n, x, y, 1, text);
}

// Stores one single-move diagram per base, so that diagrams are told apart.
void StoreDiagramAt(GameRecord& record, int base) {
    record.OpenNewDiagram(base);
    record.SetKindAndText(kDiagramReference, "base " + std::to_string(base));
    record.AddDiagramMove(1, Move(1, 3, 3));
    ASSERT_FALSE(record.StoreAsNew().empty());
    record.CloseDiagram();
}

std::vector<int> StoredBases(const GameRecord& record) {
    std::vector<int> bases;
    for (const auto& [key, d] : record.StoredDiagramMap()) bases.push_back(d.base);
    std::sort(bases.begin(), bases.end());
    return bases;
}

TEST(GameRecord, MainLineStoresCopiesAndReplaces) {
    GameRecord record;
    EXPECT_FALSE(record.GetMainLineMove(5).has_value());
    record.AddMainLineMove(5, Move(5, 1, 1, "first"));
    record.AddMainLineMove(5, Move(5, 2, 2, "second"));
    EXPECT_EQ(record.MainLineLength(), 1);
    ASSERT_TRUE(record.GetMainLineMove(5).has_value());
    EXPECT_EQ(record.GetMainLineMove(5)->x, 2);
    EXPECT_EQ(record.GetCommentary(5), "second");

    // What the caller does with its copy does not reach the record.
    MoveRecord copy = *record.GetMainLineMove(5);
    copy.text = "changed";
    EXPECT_EQ(record.GetCommentary(5), "second");
}

TEST(GameRecord, CommentaryOfAbsentMovesIsIgnored) {
    GameRecord record;
    record.AddMainLineMove(1, Move(1, 4, 4));
    record.SetCommentary(2, "nobody");
    EXPECT_EQ(record.MainLineLength(), 1);
    EXPECT_EQ(record.GetCommentary(2), "");
    record.SetCommentary(1, "해설");
    EXPECT_EQ(record.GetCommentary(1), "해설");
}

TEST(GameRecord, CutRemovesLaterMovesAndTheirDiagrams) {
    GameRecord record;
    for (int n = 1; n <= 8; ++n) record.AddMainLineMove(n, Move(n, n, 1));
    for (int base : {0, 4, 5, 8, 12}) StoreDiagramAt(record, base);

    record.CutMainLine(5);
    EXPECT_EQ(record.MainLineLength(), 4);
    EXPECT_TRUE(record.GetMainLineMove(4).has_value());
    EXPECT_FALSE(record.GetMainLineMove(5).has_value());
    EXPECT_EQ(StoredBases(record), (std::vector<int>{0, 4}));

    // Beyond the last move no move goes, but diagrams based there still do.
    StoreDiagramAt(record, 10);
    record.CutMainLine(9);
    EXPECT_EQ(record.MainLineLength(), 4);
    EXPECT_EQ(StoredBases(record), (std::vector<int>{0, 4}));

    record.CutMainLine(1);
    EXPECT_EQ(record.MainLineLength(), 0);
    EXPECT_EQ(StoredBases(record), (std::vector<int>{0}));  // base 0 comes before move 1
}

TEST(GameRecord, ClearAllEmptiesEverythingAndMarksTheKind) {
    GameRecord record;
    record.AddMainLineMove(1, Move(1, 4, 4));
    StoreDiagramAt(record, 1);
    record.OpenNewDiagram(1);
    record.SetKindAndText(kDiagramAnswer, "open");
    record.AddDiagramMove(1, Move(1, 5, 5));

    record.ClearAll();
    EXPECT_EQ(record.MainLineLength(), 0);
    EXPECT_TRUE(record.StoredDiagramMap().empty());
    EXPECT_EQ(record.OpenDiagramBase(), -1);
    EXPECT_EQ(record.CurrentDiagram().kind, -1);
    EXPECT_TRUE(record.CurrentDiagram().moves.empty());
    EXPECT_TRUE(record.CurrentDiagram().text.empty());
    EXPECT_EQ(record.DisplayText(), "");
}

TEST(MoveRecord, EqualityComparesListLengthsOnly) {
    MoveRecord a = Move(3, 4, 5, "text");
    a.captured.push_back({1, 1, kWhite, 2, 1, ""});
    a.naviStones.push_back({0, 0, -1, kNaviTriangle, ""});
    MoveRecord b = a;
    b.captured[0].colour = kBlack;
    b.naviStones[0].kind = kNaviSquare;
    EXPECT_TRUE(MoveRecordsEqual(a, b));

    b.captured.push_back({});
    EXPECT_FALSE(MoveRecordsEqual(a, b));
    b = a;
    b.text = "other";
    EXPECT_FALSE(MoveRecordsEqual(a, b));
    b = a;
    b.flags = 9;
    EXPECT_FALSE(MoveRecordsEqual(a, b));
}

TEST(GameInfo, RankTextsAndChoices) {
    EXPECT_EQ(RankText(28), "프로");
    EXPECT_EQ(RankText(27), "9단");
    EXPECT_EQ(RankText(19), "1단");
    EXPECT_EQ(RankText(18), "1급");
    EXPECT_EQ(RankText(1), "18급");
    EXPECT_EQ(RankText(29), "-10급");

    const std::vector<std::string> choices = RankChoices();
    ASSERT_EQ(choices.size(), 27u);
    EXPECT_EQ(choices.front(), "9단");
    EXPECT_EQ(choices[8], "1단");
    EXPECT_EQ(choices[9], "1급");
    EXPECT_EQ(choices.back(), "18급");

    const GameInfo empty;
    EXPECT_TRUE(empty.blackName.empty() && empty.handicapText.empty() &&
                empty.overtimeCountText.empty());
}

}  // namespace
}  // namespace velmora
