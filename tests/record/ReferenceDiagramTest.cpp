#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "RecordTestSupport.h"
#include "record/GameRecord.h"

namespace velmora {
namespace {

MoveRecord DiagramMove(int n, int x, int y) { return test::MakeMove(n, x, y, 9); }

NaviStone Mark(int x, int y, int kind, int underlay = -1, const std::string& text = {}) {
    return {x, y, underlay, kind, text};
}

// An open diagram at base 10 with three moves, a description and one start mark.
void OpenSample(GameRecord& record) {
    record.OpenNewDiagram(10);
    record.SetKindAndText(kDiagramScene, "변화");
    for (int n = 1; n <= 3; ++n) record.AddDiagramMove(n, DiagramMove(n, n + 3, 4));
    record.SetNaviStone(10, Mark(2, 2, kNaviTriangle));
}

TEST(ReferenceDiagram, StoringTheSameDiagramTwiceGivesSame) {
    GameRecord record;
    EXPECT_EQ(record.StoreAsNew(), "");  // nothing open

    OpenSample(record);
    const std::string key = record.StoreAsNew();
    ASSERT_FALSE(key.empty());
    EXPECT_NE(key, "same");
    EXPECT_EQ(record.OpenDiagramBase(), 10);  // stays open, unkeyed
    EXPECT_EQ(record.CurrentDiagram().key, "");
    EXPECT_EQ(record.StoreAsNew(), "same");
    EXPECT_EQ(record.StoredDiagramMap().size(), 1u);

    // A rebuilt equal diagram is also "same".
    record.CloseDiagram();
    OpenSample(record);
    EXPECT_EQ(record.StoreAsNew(), "same");
    EXPECT_EQ(record.StoredDiagramMap().size(), 1u);

    // Once the stored one is changed or erased, the same diagram is new again.
    ReferenceDiagram changed = record.StoredDiagramMap().at(key);
    changed.text = "바뀜";
    ASSERT_TRUE(record.ReplaceStoredDiagram(key, changed));
    const std::string second = record.StoreAsNew();
    EXPECT_NE(second, "same");
    record.EraseStoredDiagram(second);
    EXPECT_NE(record.StoreAsNew(), "same");
    EXPECT_EQ(record.StoredDiagramMap().size(), 2u);
}

TEST(ReferenceDiagram, EqualityFollowsTheRecordsRules) {
    GameRecord record;
    OpenSample(record);
    ASSERT_NE(record.StoreAsNew(), "same");

    // Another captured stone colour inside a move: still the same (lengths only).
    MoveRecord m = *record.GetDiagramMove(2);
    m.captured.push_back({4, 5, kBlack, 0, 0, ""});
    record.AddDiagramMove(2, m);
    const std::string withCapture = record.StoreAsNew();
    ASSERT_NE(withCapture, "same");  // the list grew
    m.captured[0].colour = kWhite;
    record.AddDiagramMove(2, m);
    EXPECT_EQ(record.StoreAsNew(), "same");

    // Commentary of one diagram move differs: a new diagram.
    m.text = "다른 해설";
    record.AddDiagramMove(2, m);
    EXPECT_NE(record.StoreAsNew(), "same");

    // A start mark of another kind differs too (marks compare field by field).
    record.SetNaviStone(10, Mark(2, 2, kNaviCircle));
    EXPECT_NE(record.StoreAsNew(), "same");
    // So does the kind.
    record.SetKindAndText(kDiagramProblem, "변화");
    EXPECT_NE(record.StoreAsNew(), "same");
    EXPECT_EQ(record.StoredDiagramMap().size(), 5u);
}

TEST(ReferenceDiagram, KeysAreUniqueAndOrderedBytewise) {
    // Fixed widths: keys sort in the order they were made (a save writes diagrams so), also
    // when the counter gains a digit or the hour has one.
    std::vector<DiagramKey> made;
    for (int i = 0; i < 50; ++i) made.push_back(MakeDiagramKey(LocalTime{9, 5, 7, 42}));
    made.push_back(MakeDiagramKey(LocalTime{10, 0, 0, 0}));
    EXPECT_TRUE(std::is_sorted(made.begin(), made.end()));
    const std::set<DiagramKey> keys(made.begin(), made.end());
    EXPECT_EQ(keys.size(), 51u);
    EXPECT_EQ(made.front().rfind("090507042", 0), 0u) << made.front();

    // Stored within one millisecond, two diagrams still get keys of their own.
    GameRecord record;
    record.OpenNewDiagram(3);
    record.SetKindAndText(0, "a");
    const std::string first = record.StoreAsNew();
    record.SetKindAndText(0, "b");
    const std::string second = record.StoreAsNew();
    EXPECT_NE(first, second);
    EXPECT_EQ(record.StoredDiagramMap().size(), 2u);

    record.SetKindAndText(0, "c");
    record.StoreAsNew();
    const auto listed = record.DiagramsOfBase(3);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_LT(listed[0].first, listed[1].first);
    EXPECT_LT(listed[1].first, listed[2].first);
    EXPECT_TRUE(record.DiagramsOfBase(4).empty());
}

TEST(ReferenceDiagram, OpeningAStoredDiagramCopiesItWithItsKey) {
    GameRecord record;
    OpenSample(record);
    const std::string key = record.StoreAsNew();
    record.CloseDiagram();
    EXPECT_EQ(record.OpenDiagramBase(), -1);
    EXPECT_TRUE(record.CurrentDiagram().moves.empty());

    EXPECT_FALSE(record.OpenStoredDiagram("no such key"));
    ASSERT_TRUE(record.OpenStoredDiagram(key));
    EXPECT_EQ(record.CurrentDiagram().key, key);
    EXPECT_EQ(record.OpenDiagramBase(), 10);
    EXPECT_EQ(record.CurrentDiagram().kind, kDiagramScene);
    EXPECT_EQ(record.CurrentDiagram().moves.size(), 3u);
    EXPECT_EQ(record.CurrentDiagram().startList.size(), 1u);

    // Editing the open copy leaves the stored one alone.
    record.AddDiagramMove(4, DiagramMove(4, 9, 9));
    EXPECT_EQ(record.StoredDiagramMap().at(key).moves.size(), 3u);
    record.CutDiagramMoves(2);
    EXPECT_EQ(record.CurrentDiagram().moves.size(), 1u);

    record.EraseStoredDiagram(key);
    EXPECT_TRUE(record.StoredDiagramMap().empty());
    EXPECT_EQ(record.CurrentDiagram().key, key);  // the open copy keeps its name
}

TEST(ReferenceDiagram, KindWordsAndDisplayText) {
    EXPECT_EQ(KindFromWord("장면도"), 1);
    EXPECT_EQ(KindFromWord("실전진행"), 2);
    EXPECT_EQ(KindFromWord("문제도-정답도"), 3);  // first in the fixed order wins
    EXPECT_EQ(KindFromWord("정답도"), 4);
    EXPECT_EQ(KindFromWord("참고도"), 0);
    EXPECT_EQ(KindWord(-1), "참고도");
    EXPECT_EQ(KindWord(7), "참고도");

    GameRecord record;
    record.OpenNewDiagram(0);
    record.SetKindAndText(9, "x");
    EXPECT_EQ(record.CurrentDiagram().kind, 0);
    record.SetKindWordAndText("정답도", "참고도-흑 잡힘");
    EXPECT_EQ(record.CurrentDiagram().kind, 4);
    EXPECT_EQ(record.DisplayText(), "정답도-흑 잡힘");
    record.SetKindAndText(1, "문제도-");
    EXPECT_EQ(record.DisplayText(), "");
    EXPECT_EQ(DiagramComment(2, "장면도-a장면도-b"), "실전진행-ab");

    // Opening afresh keeps the kind but drops the text.
    record.OpenNewDiagram(5);
    EXPECT_EQ(record.CurrentDiagram().kind, 1);
    EXPECT_EQ(record.CurrentDiagram().text, "");
}

TEST(NaviStones, ListsFollowTheCurrentMove) {
    GameRecord record;
    // With no diagram open, and before an open one's base, the main line's own marks show.
    record.AddMainLineMove(9, DiagramMove(1, 4, 4));
    record.AddMainLineMark(9, Mark(3, 3, kNaviCircle));
    EXPECT_EQ(*record.NaviStones(9), (std::vector<NaviStone>{Mark(3, 3, kNaviCircle)}));
    EXPECT_TRUE(record.NaviStones(3)->empty());

    record.OpenNewDiagram(10);
    record.AddDiagramMove(1, DiagramMove(1, 5, 5));
    record.AddDiagramMove(2, DiagramMove(2, 6, 5));
    record.AddNaviStone(10, Mark(1, 1, kNaviSquare));
    EXPECT_TRUE(record.SetNaviStone(12, Mark(2, 2, kNaviCross)));
    EXPECT_FALSE(record.SetNaviStone(13, Mark(2, 2, kNaviCross)));  // no diagram move 3

    ASSERT_TRUE(record.NaviStones(10).has_value());
    EXPECT_EQ(*record.NaviStones(10), (std::vector<NaviStone>{Mark(1, 1, kNaviSquare)}));
    ASSERT_TRUE(record.NaviStones(12).has_value());
    EXPECT_EQ(*record.NaviStones(12), (std::vector<NaviStone>{Mark(2, 2, kNaviCross)}));
    EXPECT_TRUE(record.NaviStones(11)->empty());
    EXPECT_EQ(record.NaviStones(9)->size(), 1u);
    EXPECT_FALSE(record.NaviStones(13).has_value());
    EXPECT_EQ(record.NaviStoneCount(12), 1);
    EXPECT_EQ(record.NaviStoneCount(9), 0);
    EXPECT_TRUE(record.HasNaviStoneAt(12, 2, 2));
    EXPECT_FALSE(record.HasNaviStoneAt(10, 2, 2));

    EXPECT_FALSE(record.RemoveNaviStone(12, 7, 7));
    EXPECT_TRUE(record.RemoveNaviStone(12, 2, 2));
    EXPECT_EQ(record.NaviStoneCount(12), 0);
    EXPECT_TRUE(record.RemoveNaviStone(10, 1, 1));
    EXPECT_EQ(record.CurrentDiagram().startList.size(), 0u);

    // At base 0 the position before the first move shows the marks placed there.
    record.OpenNewDiagram(0);
    record.SetNaviStone(0, Mark(3, 3, kNaviCircle));
    EXPECT_EQ(record.CurrentDiagram().startList.size(), 1u);
    ASSERT_TRUE(record.NaviStones(0).has_value());
    EXPECT_EQ(*record.NaviStones(0), (std::vector<NaviStone>{Mark(3, 3, kNaviCircle)}));
}

// A point holds one mark of each kind: a label beside a triangle, a new triangle or label in
// place of the old one.
TEST(NaviStones, SettingReplacesTheSameKindAtThePointAndReopensBeforeTheBase) {
    GameRecord record;
    EXPECT_TRUE(record.SetNaviStone(7, Mark(4, 4, kNaviTriangle)));
    EXPECT_EQ(record.OpenDiagramBase(), 7);  // opened at the current move
    record.SetNaviStone(7, Mark(5, 5, kNaviCircle));
    record.SetNaviStone(7, Mark(4, 4, kNaviLabelCapital, -1, "A"));
    record.SetNaviStone(7, Mark(4, 4, kNaviTriangle, kBlack));
    record.SetNaviStone(7, Mark(4, 4, kNaviLabelDigit, -1, "1"));
    EXPECT_EQ(*record.NaviStones(7),
              (std::vector<NaviStone>{Mark(5, 5, kNaviCircle), Mark(4, 4, kNaviTriangle, kBlack),
                                      Mark(4, 4, kNaviLabelDigit, -1, "1")}));

    record.AddDiagramMove(1, DiagramMove(1, 3, 3));
    EXPECT_TRUE(record.SetNaviStone(5, Mark(1, 1, kNaviSquare)));
    EXPECT_EQ(record.OpenDiagramBase(), 5);
    EXPECT_TRUE(record.CurrentDiagram().moves.empty());
    EXPECT_EQ(*record.NaviStones(5), (std::vector<NaviStone>{Mark(1, 1, kNaviSquare)}));
}

TEST(NaviStones, ReaderMarkKeepsTheSetUpStoneBeneath) {
    GameRecord record;
    record.AddNaviStone(4, Mark(3, 3, kNaviStoneOnly, kBlack));
    EXPECT_EQ(record.OpenDiagramBase(), 4);
    record.AddNaviStone(4, Mark(3, 3, kNaviTriangle));
    EXPECT_EQ(*record.NaviStones(4), (std::vector<NaviStone>{Mark(3, 3, kNaviTriangle, kBlack)}));

    // On a diagram move, the mark goes to that move's list.
    record.AddDiagramMove(1, DiagramMove(1, 9, 9));
    record.AddNaviStone(5, Mark(6, 6, kNaviStoneOnly, kWhite));
    record.AddNaviStone(5, Mark(6, 6, kNaviLabelCapital, -1, "B"));
    EXPECT_EQ(*record.NaviStones(5),
              (std::vector<NaviStone>{Mark(6, 6, kNaviLabelCapital, kWhite, "B")}));
    EXPECT_EQ(record.CurrentDiagram().startList.size(), 1u);
}

TEST(RecordNotifier, ReportsReachTheInstalledHandler) {
    std::vector<std::string> seen;
    {
        test::NotifyCapture capture;
        NotifyRecord("err AddReference");
        seen = capture.texts;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"err AddReference"}));
}

}  // namespace
}  // namespace velmora
