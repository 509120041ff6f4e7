#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "CliTestSupport.h"
#include "game/SgfFile.h"
#include "record/SgfWriter.h"

namespace velmora {

void PrintTo(const StoryPoint& s, std::ostream* os) {
    *os << "{" << s.moveNumber << ", " << s.boardIndex << ", \"" << s.name << "\", " << s.number
        << "}";
}

namespace {

// A board with its record file and stories, as the application links them.
struct Reader {
    BoardLogic board;
    SgfFile file;
    StoryList stories;
    Reader() {
        file.SetBoard(&board);
        file.SetStorySink(&stories);
    }
    SgfReadResult Open(const std::string& text) { return file.OpenText(text); }
    const GameRecord& Record() const { return board.Record(); }
    std::vector<ReferenceDiagram> Diagrams() const {
        std::vector<ReferenceDiagram> out;
        for (const auto& [key, d] : Record().StoredDiagramMap()) out.push_back(d);
        std::stable_sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.base < b.base; });
        return out;
    }
};

void Play(BoardLogic& board, int colour, int x, int y) {
    board.SetColourToPlay(colour);
    ASSERT_EQ(board.PlayMainLineMove(x, y, false), 1);
}

void PlayDiagram(BoardLogic& board, int colour, int x, int y) {
    board.SetColourToPlay(colour);
    ASSERT_EQ(board.PlayDiagramMove(x, y, false), 1);
}

TEST(SgfFile, ExtendedRecordReadsBackAsWritten) {
    Reader a;
    GameInfo& g = a.file.Info();
    g = GameInfo{
        "슈사쿠", "겐난", "혼인보", "이노우에", "4단", "8단",       "흑 2집승", "귀가 붉어진 한 수",
        "오사카", "1846", "09",     "11",       "0",   "3점접바둑", "1",        "30",
        "0",      "1",    "0",      "3",        {},    false,       false,      {},
        {},       {},     {},       false,       {},         {}};
    BoardLogic& board = a.board;
    board.SetBoardMode(kModePlay);
    Play(board, kBlack, 17, 4);
    Play(board, kWhite, 4, 3);
    Play(board, kBlack, 17, 16);
    Play(board, kWhite, 15, 3);
    board.Record().SetCommentary(2, "백의 소목 (걸침) [중요]\n둘째 줄");
    board.Record().SetCommentary(4, "역습\\ 하나");

    // Two diagrams at move 2, one at move 0; marks at the board's edge and on set-up stones.
    board.JumpToMove(2);
    board.EnterDiagramInput();
    board.Record().SetKindAndText(kDiagramProblem, "흑 차례");
    board.AddNaviStone(NaviStone{0, 0, kBlack, kNaviStoneOnly, {}});
    board.AddNaviStone(NaviStone{0, 0, -1, kNaviTriangle, {}});
    board.AddNaviStone(NaviStone{18, 5, -1, kNaviLabelCapital, "A"});
    PlayDiagram(board, kBlack, 3, 4);
    board.AddNaviStone(NaviStone{2, 3, -1, kNaviCircle, {}});
    PlayDiagram(board, kWhite, 3, 3);
    a.stories.AddStory(StoryPoint{2, 4, board.Record().CurrentDiagram().key, 201});
    const DiagramKey problem = board.FinishDiagram();
    ASSERT_FALSE(problem.empty());
    // The story was made inside the stored diagram: give it the stored key.
    a.stories.Clear();
    a.stories.AddStory(StoryPoint{2, 4, problem, 201});
    a.stories.AddStory(StoryPoint{3, 3, {}, 200});
    a.stories.AddStory(StoryPoint{3, 3, {}, 202});

    board.EnterDiagramInput();
    board.Record().SetKindAndText(kDiagramAnswer, "정답도-백이 좋다");
    PlayDiagram(board, kBlack, 10, 10);
    board.AddNaviStone(NaviStone{9, 9, -1, kNaviSquare, {}});
    board.AddNaviStone(NaviStone{8, 9, kWhite, kNaviCross, {}});
    ASSERT_FALSE(board.FinishDiagram().empty());
    board.JumpToMove(0);
    board.EnterDiagramInput();
    board.Record().SetKindAndText(kDiagramScene, "빈 판");
    PlayDiagram(board, kBlack, 11, 11);
    ASSERT_FALSE(board.FinishDiagram().empty());
    board.JumpToMove(4);

    const std::string text = a.file.ExtendedText(a.stories);
    Reader b;
    ASSERT_TRUE(b.Open(text).ok);

    const GameInfo& h = b.file.Info();
    EXPECT_EQ(std::tie(h.blackName, h.whiteName, h.blackSecondText, h.whiteSecondText, h.blackRank,
                       h.whiteRank, h.result, h.gameName, h.place, h.year, h.month, h.day),
              std::tie(g.blackName, g.whiteName, g.blackSecondText, g.whiteSecondText, g.blackRank,
                       g.whiteRank, g.result, g.gameName, g.place, g.year, g.month, g.day));
    EXPECT_EQ(
        std::tie(h.komiText, h.handicapText, h.mainTimeHours, h.mainTimeMinutes, h.mainTimeSeconds,
                 h.overtimeMinutes, h.overtimeSeconds, h.overtimeCountText),
        std::tie(g.komiText, g.handicapText, g.mainTimeHours, g.mainTimeMinutes, g.mainTimeSeconds,
                 g.overtimeMinutes, g.overtimeSeconds, g.overtimeCountText));

    // A 3-stone handicap is placed before the moves; none of the four moves touches those points.
    ASSERT_EQ(b.Record().MainLineLength(), 4);
    for (int n = 1; n <= 4; ++n) {
        const MoveRecord x = *a.Record().GetMainLineMove(n);
        const MoveRecord y = *b.Record().GetMainLineMove(n);
        EXPECT_EQ(std::tie(x.x, x.y, x.colour, x.number), std::tie(y.x, y.y, y.colour, y.number));
    }
    EXPECT_EQ(b.Record().GetCommentary(2), "백의 소목 (걸침) [중요]\n둘째 줄");
    EXPECT_EQ(b.Record().GetCommentary(4), "역습\\ 하나");

    const std::vector<ReferenceDiagram> was = a.Diagrams();
    const std::vector<ReferenceDiagram> now = b.Diagrams();
    ASSERT_EQ(now.size(), 3u);
    for (std::size_t i = 0; i < now.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(now[i].base, was[i].base);
        EXPECT_EQ(now[i].kind, was[i].kind);
        EXPECT_EQ(DiagramComment(now[i].kind, now[i].text),
                  DiagramComment(was[i].kind, was[i].text));
        EXPECT_EQ(now[i].startList, was[i].startList);
        ASSERT_EQ(now[i].moves.size(), was[i].moves.size());
        for (const auto& [n, m] : was[i].moves) {
            const MoveRecord& r = now[i].moves.at(n);
            EXPECT_EQ(std::tie(r.x, r.y, r.colour, r.naviStones),
                      std::tie(m.x, m.y, m.colour, m.naviStones));
        }
    }
    // The story inside the diagram points at its new key.
    ASSERT_EQ(b.stories.Stories().size(), 3u);
    const auto& key =
        std::find_if(b.Record().StoredDiagramMap().begin(), b.Record().StoredDiagramMap().end(),
                     [](const auto& e) { return e.second.kind == kDiagramProblem; })
            ->first;
    EXPECT_EQ(b.stories.Stories(),
              (std::vector<StoryPoint>{{2, 4, key, 201}, {3, 3, {}, 200}, {3, 3, {}, 202}}));
    // Written again, the record gives the same text apart from the keys' order.
    EXPECT_EQ(b.file.PlainText().size(), a.file.PlainText().size())
        << a.file.PlainText() << "\n" << b.file.PlainText();
    EXPECT_EQ(b.board.CurrentMove(), 4);
    EXPECT_EQ(b.board.DiagramBase(), -1);
}

TEST(SgfFile, VariationAfterAMoveBecomesADiagram) {
    Reader r;
    ASSERT_TRUE(r.Open("(;GM[1]FF[4]SZ[19];B[pd](C[참고도-걸치면];W[qf];B[nc]))").ok);
    ASSERT_EQ(r.Diagrams().size(), 1u);
    const ReferenceDiagram d = r.Diagrams()[0];
    EXPECT_EQ(d.base, 1);
    EXPECT_EQ(d.kind, kDiagramReference);
    EXPECT_EQ(d.text, "걸치면");
    EXPECT_EQ(d.moves.size(), 2u);
    EXPECT_EQ(r.board.CurrentMove(), 1);
    EXPECT_EQ(r.board.DiagramBase(), -1);
    EXPECT_EQ(r.board.Mode(), kModeView);

    // A C without "-" inside a variation changes nothing; the kind word picks the kind.
    ASSERT_TRUE(r.Open("(;B[pd](C[장면도-앞];C[아무말];W[qf]))").ok);
    EXPECT_EQ(r.Diagrams()[0].kind, kDiagramScene);
    EXPECT_EQ(r.Diagrams()[0].text, "앞");
}

TEST(SgfFile, CommentaryMovesAndMarksOfTheMainLine) {
    Reader r;
    // Passes and a move on an occupied point keep their numbers.
    ASSERT_TRUE(r.Open("(;C[머리말];B[pd]C[첫 수]\n;W[tt];W[];W[dd];B[pd];B[dp]"
                       "TR[cc]AB[ee]HI[200]HI[201])")
                    .ok);
    EXPECT_EQ(r.Record().MainLineLength(), 6);
    EXPECT_EQ(r.Record().GetCommentary(1), "첫 수");
    EXPECT_EQ(r.Record().GetMainLineMove(4)->x, 4);
    EXPECT_EQ(r.Record().GetMainLineMove(5)->notPlayed, kMoveOccupied);
    EXPECT_EQ(r.Record().GetMainLineMove(6)->colour, kBlack);
    // Marks outside a variation belong to their main-line move, set-up stones are its own
    // stones; HI there is a main-line story.
    EXPECT_TRUE(r.Record().StoredDiagramMap().empty());
    EXPECT_EQ(r.Record().MainLineMarks(6), (std::vector<NaviStone>{{2, 2, -1, kNaviTriangle, {}}}));
    EXPECT_EQ(r.Record().GetMainLineMove(6)->properties, (std::vector<KeptProperty>{{"AB", "ee"}}));
    EXPECT_EQ(r.board.Cell(4, 4).stone, kBlack);
    EXPECT_EQ(r.stories.Stories(), (std::vector<StoryPoint>{{6, 6, {}, 200}, {6, 6, {}, 201}}));
    // and they leave no diagram open that would stop stepping back.
    EXPECT_EQ(r.board.DiagramBase(), -1);
    ASSERT_TRUE(r.Open("(;LB[aa:A];B[pd]TR[bb];W[dd]MA[cc])").ok);
    EXPECT_EQ(r.board.DiagramBase(), -1);
    r.board.JumpToMove(0);
    EXPECT_EQ(r.board.CurrentMove(), 0);

    // A mark read onto a set-up stone keeps the stone.
    ASSERT_TRUE(r.Open("(;B[pd](AB[cc]CR[cc];W[dd]))").ok);
    EXPECT_EQ(r.Diagrams()[0].startList,
              (std::vector<NaviStone>{NaviStone{3, 3, kBlack, kNaviCircle, {}}}));
}

TEST(SgfFile, EqualDiagramsAreStoredOnceAndKeepTheirStories) {
    Reader r;
    ASSERT_TRUE(r.Open("(;B[pd](C[참고도-a];W[dd]HI[200])(C[참고도-a];W[dd]HI[201]))").ok);
    ASSERT_EQ(r.Record().StoredDiagramMap().size(), 1u);
    const DiagramKey key = r.Record().StoredDiagramMap().begin()->first;
    EXPECT_EQ(r.stories.Stories(), (std::vector<StoryPoint>{{1, 2, key, 200}, {1, 2, key, 201}}));
}

// Two branches of another program's file that differ only in what the record keeps as read
// are two branches: neither is taken for a copy of the other and dropped.
TEST(SgfFile, BranchesDifferingInKeptPropertiesAreBothKept) {
    Reader r;
    ASSERT_TRUE(r.Open("(;B[pd];W[dd](;B[qq]V[1])(;B[qq]V[2])(;B[qq]V[3]))").ok);
    EXPECT_EQ(r.Record().StoredDiagramMap().size(), 2u);
    EXPECT_EQ(r.file.PlainText(), "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0];B[pd];W[dd]"
                                  "(;B[qq]V[1])(;B[qq]V[2])(;B[qq]V[3]))");
}

// A branch beside a node without a move (the main line goes on with that node) stays beside
// it: written after it, every reader would take the branch for the main line.
TEST(SgfFile, ABranchBesideANodeWithoutAMoveStaysBesideIt) {
    for (const std::string body : {"(;C[x])(;B[aa])", ";B[pd](;C[x])(;W[aa])",
                                   ";B[pd](;C[x];W[dd](;B[ee])(;B[ff]))(;W[aa])",
                                   ";B[pd];C[x](;W[aa])(;W[bb])"}) {
        Reader r;
        ASSERT_TRUE(r.Open("(;FF[4]" + body + ")").ok) << body;
        EXPECT_EQ(r.file.PlainText(), "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]" + body + ")");
    }
}

TEST(SgfFile, RefusedRecordsChangeNothing) {
    Reader r;
    ASSERT_TRUE(r.Open("(;GN[먼저];B[pd];W[dd])").ok);
    const SgfReadResult refused = r.Open("(;GN[나중]SZ[13:9];B[aa])");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("SZ[13:9]"), std::string::npos);
    EXPECT_EQ(r.file.Info().gameName, "먼저");
    EXPECT_EQ(r.Record().MainLineLength(), 2);
    EXPECT_EQ(r.board.Rules().Grid().Get(16, 4), kBlack);

    EXPECT_FALSE(r.file.Open(test::DataPath("sgf/no-such-file.sgf")).ok);
    EXPECT_EQ(r.Record().MainLineLength(), 2);
}

TEST(SgfFile, HandicapStonesFollowTheHaPropertyNotCommentTextAndOneStoneIsNone) {
    Reader r;
    // The program's older records left the stones to HA.
    ASSERT_TRUE(r.Open("(;GM[1]FF[4]SZ[19]HA[4]C[HA[9\\]];W[qp])").ok);
    EXPECT_EQ(r.board.HandicapStones().size(), 4u);
    EXPECT_EQ(r.board.Rules().Grid().Get(16, 4), kBlack);
    EXPECT_EQ(r.board.Rules().Grid().Get(17, 16), kWhite);
    EXPECT_EQ(r.file.Info().handicapText, "4점접바둑");
    ASSERT_TRUE(r.Open("(;HA[1];B[qp])").ok);
    EXPECT_TRUE(r.board.HandicapStones().empty());
}

TEST(SgfFile, OtherProgramsGameTrees) {
    Reader r;
    const SgfReadResult result = r.file.Open(test::DataPath("sgf/standard-tree.sgf"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.message, "");  // nothing is left out
    // Main line: pd dd pq dp fq cn jp.
    EXPECT_EQ(r.Record().MainLineLength(), 7);
    EXPECT_EQ(r.Record().GetCommentary(3), "Main line");
    EXPECT_EQ(r.Record().GetMainLineMove(7)->x, 10);
    // Every line of every branch, nested ones too, each move with its own comment.
    std::vector<std::tuple<int, std::size_t, std::string>> lines;
    for (const ReferenceDiagram& d : r.Diagrams())
        lines.push_back({d.base, d.moves.size(), d.moves.at(1).text});
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::tuple<int, std::size_t, std::string>>{
                         {2, 2, ""},
                         {2, 3, "Side at move 2"},
                         {2, 3, "Side at move 2"},
                         {5, 3, "Side at move 5"},
                         {5, 3, "Side at move 5"}}));
    EXPECT_EQ(r.board.CurrentMove(), 7);
}

TEST(SgfFile, ATextEndingInsideAVariationLeavesItOpenUnstored) {
    Reader r;
    ASSERT_TRUE(r.Open("(;GM[1]FF[4]SZ[19];B[pd];W[dd](;B[qf]").ok);
    EXPECT_TRUE(r.Record().StoredDiagramMap().empty());
    EXPECT_EQ(r.board.DiagramBase(), 2);
    // The next record's main line is a main line again.
    ASSERT_TRUE(r.Open("(;B[pd];W[dd])").ok);
    EXPECT_EQ(r.Record().MainLineLength(), 2);
}

// Positions judged by GNU Go: every listed move of every game must match.
void CheckPositions(const std::string& sgf, const std::string& txt) {
    Reader r;
    ASSERT_TRUE(r.file.Open(sgf).ok) << sgf;
    const auto positions = test::Positions(txt);
    ASSERT_FALSE(positions.empty()) << txt;
    for (const auto& [move, rows] : positions) {
        r.board.JumpToMove(move);
        ASSERT_EQ(r.board.CurrentMove(), move) << sgf;
        EXPECT_EQ(test::Rows(r.board), rows) << sgf << " move " << move;
    }
}

TEST(SgfFile, PositionsMatchAnIndependentEngine) {
    namespace fs = std::filesystem;
    int games = 0;
    for (const auto& entry : fs::directory_iterator(test::DataPath("gnugo"))) {
        if (entry.path().extension() != ".sgf") continue;
        fs::path txt = entry.path();
        txt.replace_extension(".txt");
        CheckPositions(entry.path().string(), txt.string());
        ++games;
    }
    EXPECT_GE(games, 20);
    CheckPositions(test::DataPath("sgf/ear-reddening.sgf"),
                   test::DataPath("sgf/ear-reddening.txt"));
}

// Boards of 2 to 25 lines (GNU Go's games on 7 to 15 lines, hand-made ones on 2, 4, 21 and
// 25): each position matches, and a save read back holds the same size and the same end.
TEST(SgfFile, EveryBoardSizeReplaysAndComesBackFromASave) {
    namespace fs = std::filesystem;
    std::set<int> sizes;
    for (const auto& entry : fs::directory_iterator(test::DataPath("sizes"))) {
        if (entry.path().extension() != ".sgf") continue;
        fs::path txt = entry.path();
        txt.replace_extension(".txt");
        CheckPositions(entry.path().string(), txt.string());
        Reader r;
        ASSERT_TRUE(r.file.Open(entry.path().string()).ok);
        const int n = r.board.BoardSize();
        sizes.insert(n);
        const std::string saved = r.file.PlainText();
        EXPECT_NE(saved.find("SZ[" + std::to_string(n) + "]"), std::string::npos) << saved;
        Reader back;
        ASSERT_TRUE(back.Open(saved).ok) << saved;
        EXPECT_EQ(back.board.BoardSize(), n);
        EXPECT_EQ(back.Record().MainLineLength(), r.Record().MainLineLength()) << entry.path();
        EXPECT_EQ(test::Rows(back.board), test::Rows(r.board)) << entry.path();
        EXPECT_EQ(back.file.PlainText(), saved);
    }
    EXPECT_EQ(sizes, (std::set<int>{2, 4, 7, 9, 13, 15, 21, 25}));
}

// Positions of a fixture judged by GNU Go (tests/data/sgf/other/NAME.txt) on board.
void ExpectPositions(BoardLogic& board, const std::string& txt) {
    const auto positions = test::Positions(txt);
    ASSERT_FALSE(positions.empty()) << txt;
    for (const auto& [move, rows] : positions) {
        board.JumpToMove(move);
        ASSERT_EQ(board.CurrentMove(), move) << txt;
        EXPECT_EQ(test::Rows(board), rows) << txt << " move " << move;
    }
}

// The record read, written in the own dialect and read again: the same but for brackets.
void ReadBack(Reader& from, Reader& to) {
    ASSERT_TRUE(to.Open(from.file.PlainText()).ok);
    EXPECT_EQ(to.Record().StartPosition(), from.Record().StartPosition());
    EXPECT_EQ(to.Record().OpeningCommentary(), from.Record().OpeningCommentary());
    ASSERT_EQ(to.Record().MainLineLength(), from.Record().MainLineLength());
    for (int n = 1; n <= from.Record().MainLineLength(); ++n) {
        const MoveRecord a = *from.Record().GetMainLineMove(n);
        const MoveRecord b = *to.Record().GetMainLineMove(n);
        EXPECT_EQ(std::tie(a.x, a.y, a.colour), std::tie(b.x, b.y, b.colour)) << n;
        EXPECT_EQ(b.text, a.text);
    }
    // Keys are times, so equal bases may list in another order: compare in text order.
    const auto ordered = [](std::vector<ReferenceDiagram> list, bool written) {
        for (ReferenceDiagram& d : list)
            if (!written) d.text = d.text;
        std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return std::tie(a.base, a.text) < std::tie(b.base, b.text);
        });
        return list;
    };
    const auto was = ordered(from.Diagrams(), false);
    const auto now = ordered(to.Diagrams(), true);
    ASSERT_EQ(now.size(), was.size());
    for (std::size_t i = 0; i < was.size(); ++i) {
        EXPECT_EQ(std::tie(now[i].base, now[i].kind, now[i].startList),
                  std::tie(was[i].base, was[i].kind, was[i].startList));
        EXPECT_EQ(now[i].text, was[i].text);
        EXPECT_EQ(now[i].moves.size(), was[i].moves.size());
    }
}

TEST(SgfFile, AProblemFileKeepsItsSetUpEveryBranchAndReadsBackTheSame) {
    Reader r;
    ASSERT_TRUE(r.file.Open(test::DataPath("sgf/other/problem.sgf")).ok);
    EXPECT_EQ(r.Record().OpeningCommentary(), "흑 차례: 귀의 백을 잡으세요. (어려움)");
    EXPECT_EQ(r.Record().StartPosition().size(), 12u);
    EXPECT_TRUE(r.board.HandicapStones().size() == 7u);
    // The main line is the first solution; the set-up stones are captured like any others.
    ASSERT_EQ(r.Record().MainLineLength(), 3);
    EXPECT_EQ(r.Record().GetCommentary(3), "흑이 모두 잡았습니다.");
    ExpectPositions(r.board, test::DataPath("sgf/other/problem.txt"));
    // Every wrong line, the nested ones too, at move 0 with each move's comment and marks.
    std::vector<std::string> texts;
    for (const ReferenceDiagram& d : r.Diagrams()) {
        EXPECT_EQ(d.base, 0);
        std::string text;
        for (const auto& [n, move] : d.moves) text += std::to_string(n) + ":" + move.text + " ";
        texts.push_back(text);
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"1:실패: 백이 삽니다. 2:두 집이 납니다. ",
                                               "1:이것도 실패 2: 3:흑 잡음 [참고] ",
                                               "1:이것도 실패 2:백 삶 "}));
    for (const ReferenceDiagram& d : r.Diagrams()) {
        if (d.moves.at(1).text != "이것도 실패") continue;
        EXPECT_EQ(d.moves.at(1).naviStones,  // LB[ba:A] on the board's second column, top row
                  (std::vector<NaviStone>{NaviStone{1, 0, -1, kNaviLabelCapital, "A"}}));
    }

    Reader back;
    ReadBack(r, back);
    ExpectPositions(back.board, test::DataPath("sgf/other/problem.txt"));
    // Written again, it does not change any more (the diagrams' keys aside).
    EXPECT_EQ(back.file.PlainText().size(), r.file.PlainText().size());
}

TEST(SgfFile, MarksPropertiesAndPassesOfAnotherProgramShowAndComeBack) {
    Reader r;
    const SgfReadResult result = r.file.Open(test::DataPath("sgf/other/kept.sgf"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.passes, 1);
    EXPECT_EQ(result.refusedMoves, 0);
    ASSERT_EQ(r.Record().MainLineLength(), 5);  // the pass is a move
    EXPECT_TRUE(IsPassMove(*r.Record().GetMainLineMove(3)));
    EXPECT_EQ(r.Record().GetCommentary(3), "흑 쉼");
    EXPECT_EQ(r.Record().GetMainLineMove(4)->colour, kWhite);
    EXPECT_EQ(std::tie(r.file.Info().gameName, r.file.Info().event),
              std::tie("결승 1국", "제3회 온라인 기전"));
    EXPECT_EQ(r.file.Info().overtimeMinutes, "");  // "5x30 byo-yomi" is kept whole instead
    // Marks show with the move they follow, on the board's 0-based points.
    using Marks = std::vector<NaviStone>;
    r.board.JumpToMove(0);
    EXPECT_EQ(r.board.Marks(), (Marks{{3, 3, -1, kNaviLabelCapital, "A"}}));
    r.board.JumpToMove(2);
    EXPECT_EQ(r.board.Marks(), (Marks{{3, 3, -1, kNaviCircle, {}},
                                      {0, 0, -1, kNaviSquare, {}},
                                      {18, 18, -1, kNaviCross, {}}}));
    r.board.JumpToMove(4);
    EXPECT_EQ(r.board.Marks().size(), 2u);
    EXPECT_EQ(r.Record().GetMainLineMove(1)->properties,
              (std::vector<KeptProperty>{{"BL", "1795"}, {"N", "첫 수"}}));

    // Written and read again: the same record, the same text. Players named alone stay alone,
    // with the file's words for their ranks while these say the same; an edited rank is the
    // program's.
    EXPECT_EQ(r.file.Info().blackRank, "2급");
    EXPECT_NE(r.file.PlainText().find("PB[Black Player]BR[2k]PW[White Player]WR[3d]"),
              std::string::npos);
    r.file.Info().blackRank = "1급";
    EXPECT_NE(r.file.PlainText().find("PB[Black Player]BR[1급]"), std::string::npos);
    r.file.Info().blackRank = "2급";
    Reader back;
    ASSERT_TRUE(back.Open(r.file.PlainText()).ok);
    EXPECT_EQ(back.file.PlainText(), r.file.PlainText());
    EXPECT_EQ(back.file.Info().otherProperties, r.file.Info().otherProperties);
    EXPECT_EQ(back.Record().OpeningProperties(), r.Record().OpeningProperties());
    // Marks are written one identifier a kind, so their order may change.
    const auto marks = [](const Reader& reader, int n) {
        std::vector<NaviStone> list = reader.Record().MainLineMarks(n);
        std::sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return std::tie(a.x, a.y) < std::tie(b.x, b.y);
        });
        return list;
    };
    for (int n = 0; n <= 5; ++n) {
        EXPECT_EQ(marks(back, n), marks(r, n)) << n;
        if (n == 0) continue;
        EXPECT_EQ(back.Record().GetMainLineMove(n)->properties,
                  r.Record().GetMainLineMove(n)->properties)
            << n;
    }
    // A diagram at the last move stays a diagram, though other programs' properties would
    // make an unnamed tree continue its main line there.
    r.board.EnterDiagramInput();
    PlayDiagram(r.board, kBlack, 17, 17);
    r.board.FinishDiagram();
    ASSERT_TRUE(back.Open(r.file.PlainText()).ok);
    EXPECT_EQ(back.Record().MainLineLength(), 5);
    EXPECT_EQ(back.Diagrams().size(), 1u);

    // A side line opening with a pass has it for its first move.
    ASSERT_TRUE(r.Open("(;B[pd];W[dd](;B[qq])(;B[];W[qq]))").ok);
    ASSERT_EQ(r.Diagrams().size(), 1u);
    ASSERT_EQ(r.Diagrams()[0].moves.size(), 2u);
    EXPECT_TRUE(IsPassMove(r.Diagrams()[0].moves.at(1)));
    EXPECT_EQ(r.file.PlainText(),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0];B[pd];W[dd](;B[qq])(;B[];W[qq]))");

    // The program's own records keep nothing more.
    ASSERT_TRUE(r.Open("(;GM[1]FF[4]SZ[19]GN[x];B[pd])").ok);
    EXPECT_EQ(r.file.PlainText(), "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]GN[x];B[pd])");
}

// Every node of another program's tree shows what it holds and comes back as it was: set-up
// stones after a move are real stones from that move on (and gone again before it), on the
// main line and in a diagram; marks of two kinds share a point; territory, arrows and lines
// are drawn; names and comments stay in their nodes.
TEST(SgfFile, SetUpMarksAndDrawingsOfEveryNodeShowAndComeBack) {
    Reader r;
    const SgfReadResult result = r.file.Open(test::DataPath("sgf/other/nodes.sgf"));
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.refusedMoves, 0);
    ASSERT_EQ(r.Record().MainLineLength(), 5);
    BoardLogic& board = r.board;
    const auto stone = [&board](int x, int y) { return board.Cell(x - 1, y - 1).stone; };
    const auto legal = [&board](int x, int y) { return IsLegalMove(board.Rules().CheckMove(x, y)); };

    // Move 2 is W[pp]; the node after it puts B on qq and pq and takes pp off again, in the
    // same step.
    board.JumpToMove(1);
    EXPECT_EQ(std::tuple(stone(16, 16), stone(17, 17), stone(16, 17)), std::tuple(0, 0, 0));
    board.JumpToMove(2);
    EXPECT_EQ(std::tuple(stone(16, 16), stone(17, 17), stone(16, 17)), std::tuple(0, kBlack, kBlack));
    EXPECT_FALSE(legal(17, 17));
    EXPECT_TRUE(legal(16, 16));
    board.JumpToMove(3);
    EXPECT_EQ(board.Cell(3, 15).number, 3);  // W[dp] is move 3: the set-up took no number
    using Kept = std::vector<KeptProperty>;
    EXPECT_EQ(board.Drawings(), (Kept{{"TB", "aa:bb"}, {"TB", "cc"}, {"TW", "ss"},
                                      {"AR", "dd:jj"}, {"LN", "ad:dj"}}));
    board.JumpToMove(2);
    EXPECT_TRUE(board.Drawings().empty());
    board.JumpToMove(1);
    EXPECT_EQ(std::tuple(stone(16, 16), stone(17, 17), stone(16, 17)), std::tuple(0, 0, 0));
    EXPECT_TRUE(legal(17, 17));
    // A triangle and a label on one point.
    EXPECT_EQ(board.Marks(), (std::vector<NaviStone>{{3, 3, -1, kNaviTriangle, {}},
                                                    {3, 3, -1, kNaviLabelCapital, "1"}}));

    // The diagram at move 3: each move's own comment and marks; its set-up node takes qq off
    // and puts W on rp with its move 2, and stepping back puts them as they were.
    ASSERT_EQ(r.Diagrams().size(), 2u);
    const auto diagram = std::find_if(
        r.Record().StoredDiagramMap().begin(), r.Record().StoredDiagramMap().end(),
        [](const auto& entry) { return entry.second.moves.size() == 3; });
    ASSERT_NE(diagram, r.Record().StoredDiagramMap().end());
    ASSERT_TRUE(board.OpenStoredDiagram(diagram->first));
    board.JumpToMove(4);
    EXPECT_EQ(r.Record().GetDiagramMove(1)->text, "참고 첫 수");
    EXPECT_EQ(board.Marks(), (std::vector<NaviStone>{{16, 14, -1, kNaviTriangle, {}},
                                                    {16, 14, -1, kNaviLabelCapital, "A"}}));
    EXPECT_EQ(std::tuple(stone(17, 17), stone(18, 16)), std::tuple(kBlack, 0));
    board.JumpToMove(5);
    EXPECT_EQ(r.Record().GetDiagramMove(2)->text, "둘째");
    EXPECT_EQ(board.Marks(), (std::vector<NaviStone>{{16, 16, -1, kNaviSquare, {}}}));
    EXPECT_EQ(std::tuple(stone(17, 17), stone(18, 16)), std::tuple(0, kWhite));
    EXPECT_EQ(board.Drawings(), (Kept{{"AR", "ro:qq"}}));
    board.JumpToMove(6);
    EXPECT_EQ(std::tuple(stone(17, 17), stone(18, 16), stone(18, 17)), std::tuple(0, kWhite, kBlack));
    board.JumpToMove(4);
    EXPECT_EQ(std::tuple(stone(17, 17), stone(18, 16), stone(18, 17)), std::tuple(kBlack, 0, 0));
    board.LeaveDiagram();

    // Written back node for node, and read again the same.
    const std::string text = r.file.PlainText();
    for (const char* node :
         {";B[dd]C[첫 수]TR[dd]LB[dd:1];W[pp];AB[qq][pq]AE[pp]C[백 돌을 들어냈습니다]N[배치]"
          ";W[dp]TB[aa:bb][cc]TW[ss]AR[dd:jj]LN[ad:dj]",
          ";B[qo]C[참고 첫 수]TR[qo]LB[qo:A];W[ro]C[둘째]SQ[qq]AR[ro:qq];AE[qq]AW[rp]C[설정];B[rq]C[셋째])",
          "(;AB[sa];AE[sa]PL[B];PL[W])", ";W[kk]C[마지막]N[끝]", "N[대국 시작]"})
        EXPECT_NE(text.find(node), std::string::npos) << node << "\n" << text;
    Reader back;
    ASSERT_TRUE(back.Open(text).ok);
    EXPECT_EQ(back.file.PlainText(), text);
}

TEST(SgfFile, AFreeHandicapPlacesTheFilesStonesAndRoundTrips) {
    Reader r;
    ASSERT_TRUE(r.file.Open(test::DataPath("sgf/other/free-handicap.sgf")).ok);
    EXPECT_EQ(r.file.Info().handicapText, "3점접바둑");
    EXPECT_EQ(std::tie(r.file.Info().blackRank, r.file.Info().whiteRank), std::tie("3급", "2단"));
    EXPECT_EQ(r.Record().MainLineLength(), 31);
    ExpectPositions(r.board, test::DataPath("sgf/other/free-handicap.txt"));
    Reader back;
    ReadBack(r, back);
    ExpectPositions(back.board, test::DataPath("sgf/other/free-handicap.txt"));
    // Other programs place only what AB names: HA's stones are written as AB, also when the
    // file placed them by HA alone.
    ASSERT_TRUE(r.Open("(;HA[2]AB[pd][dp];W[qp])").ok);
    EXPECT_EQ(r.file.PlainText(),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]HA[2]AB[pd][dp];W[qp])");
    ASSERT_TRUE(r.Open("(;GM[1]FF[4]SZ[19]HA[3]AB[dd][pd][dp];W[jj])").ok);
    EXPECT_EQ(r.file.PlainText(),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]HA[3]AB[dd][pd][dp];W[jj])");
    ASSERT_TRUE(r.Open("(;GM[1]FF[4]SZ[19]HA[2];W[qp])").ok);
    EXPECT_EQ(r.board.HandicapStones().size(), 2u);
    EXPECT_EQ(r.file.PlainText(),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]HA[2]AB[pd][dp];W[qp])");
}

TEST(SgfFile, AnOldFileWithLongIdentifiers) {
    Reader r;
    ASSERT_TRUE(r.file.Open(test::DataPath("sgf/other/ff3-long.sgf")).ok);
    const GameInfo& g = r.file.Info();
    EXPECT_EQ(
        std::tie(g.blackName, g.blackRank, g.whiteName, g.whiteRank, g.result, g.year, g.place),
        std::tie("Honinbo Shusaku", "4단", "Inoue Genan", "8단", "B+2", "1846", "Osaka"));
    EXPECT_EQ(r.Record().MainLineLength(), 7);
    EXPECT_EQ(r.Record().GetCommentary(0),
              "An old record written with long names (the first moves only).");
    EXPECT_EQ(r.Record().GetCommentary(7), "The usual answer.");
    ASSERT_EQ(r.Diagrams().size(), 1u);
    EXPECT_EQ(r.Diagrams()[0].base, 5);
    EXPECT_EQ(r.Diagrams()[0].moves.at(1).text, "A side line");
    EXPECT_NE(r.file.PlainText().find("DT[1846]"), std::string::npos);
}

// The words of every comment in the file at path (brackets as the writer turns them).
std::vector<std::string> CommentWords(const std::string& path) {
    std::vector<std::string> words;
    const SgfDocument doc = ParseSgfText(ReadRecordFile(path).value_or(""));
    std::istringstream all([&] {
        std::string text;
        for (const SgfEvent& e : doc.events)
            if (e.id == "C") text += e.value + " ";
        return text;
    }());
    for (std::string w; all >> w;) words.push_back(w);
    return words;
}

TEST(SgfFile, ConvertingKeepsEveryWordOfEveryComment) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files = {test::DataPath("sgf/standard-tree.sgf")};
    for (const char* folder : {"sgf/other", "sgf/encodings"})
        for (const auto& entry : fs::directory_iterator(test::DataPath(folder)))
            if (entry.path().extension() == ".sgf") files.push_back(entry.path());
    for (const fs::path& file : files) {
        Reader r;
        ASSERT_TRUE(r.file.Open(file.string()).ok) << file;
        Reader back;
        ASSERT_TRUE(back.Open(r.file.PlainText()).ok) << file;
        std::string kept = back.Record().OpeningCommentary();
        for (const auto& [n, move] : back.Record().MainLineMoves()) kept += " " + move.text;
        for (const ReferenceDiagram& d : back.Diagrams()) kept += " " + d.text;
        for (const std::string& word : CommentWords(file.string()))
            EXPECT_NE(kept.find(word.starts_with("참고도-") ? word.substr(10) : word),
                      std::string::npos)
                << file << ": " << word;
    }
}

// Another program's file with passes (B[], W[tt]), a suicide and moves on occupied points,
// one of them where a branch opens and one a branch's first move: every move keeps its number,
// colour, comment and marks, steps without a stone, and is written back where it stood.
TEST(SgfFile, PassesAndMovesTheBoardCannotPlayKeepTheirPlaces) {
    Reader r;
    const SgfReadResult result = r.file.Open(test::DataPath("sgf/other/passes.sgf"));
    ASSERT_TRUE(result.ok);
    // HA[3] without stones is read as written: W[dd] finds its point empty.
    EXPECT_EQ(result.refusedMoves, 2);
    EXPECT_NE(result.message.find("둘 수 없는 수가 2개"), std::string::npos) << result.message;
    const GameRecord& record = r.Record();
    ASSERT_EQ(record.MainLineLength(), 10);
    const auto state = [&](int n) { return MoveStateText(*record.GetMainLineMove(n)); };
    EXPECT_EQ(state(1), "");
    EXPECT_EQ(state(3), "백 패스");
    EXPECT_EQ(state(5), "둘 수 없는 수: 자충수");
    EXPECT_EQ(state(6), "흑 패스");
    EXPECT_EQ(state(7), "");
    EXPECT_EQ(state(9), "백 패스");
    EXPECT_EQ(record.GetCommentary(3), "백이 쉽니다");
    EXPECT_EQ(record.GetCommentary(6), "흑도 쉽니다");
    EXPECT_EQ(record.GetCommentary(7), "화점에 이미 흑돌");
    EXPECT_EQ(record.MainLineMarks(5), (std::vector<NaviStone>{{0, 0, -1, kNaviTriangle, {}}}));
    ASSERT_EQ(r.Diagrams().size(), 1u);
    EXPECT_EQ(r.Diagrams()[0].base, 7);
    EXPECT_EQ(r.Diagrams()[0].moves.at(1).notPlayed, kMoveOccupied);
    EXPECT_EQ(r.Diagrams()[0].moves.at(1).text, "참고: 이미 둔 자리");

    // Stepping: a pass and a refused move put no stone and leave no last-move mark; stepping
    // back over them gives the mark back to the stone before.
    BoardLogic& board = r.board;
    board.JumpToMove(3);
    EXPECT_EQ(board.CurrentMove(), 3);
    EXPECT_EQ(board.LastMovePoint(), PointIndex{});
    EXPECT_EQ(board.Cell(16, 16).stone, kWhite);
    board.JumpToMove(5);
    EXPECT_EQ(board.Cell(0, 0).stone, kEmpty);  // the suicide
    board.JumpToMove(7);
    EXPECT_EQ(board.Cell(3, 3).stone, kWhite);
    EXPECT_EQ(board.Rules().ColourToPlay(), kBlack);
    board.JumpToMove(4);
    EXPECT_EQ(board.LastMovePoint(), (PointIndex{1, 0}));
    board.JumpToMove(10);
    EXPECT_EQ(board.CurrentMove(), 10);
    EXPECT_EQ(board.Cell(16, 14).stone, kBlack);

    // Written: passes empty, the refused moves where they stood, then read back the same.
    const std::string text = r.file.PlainText();
    EXPECT_NE(text.find(";W[]C[백이 쉽니다];B[ba];W[aa]C[자충수]TR[aa];B[]C[흑도 쉽니다];"
                        "W[dd]C[화점에 이미 흑돌]SQ[dd](;B[qp];W[];B[qo]C[끝])"
                        "(;B[ab]C[참고: 이미 둔 자리];W[cc]))"),
              std::string::npos)
        << text;
    Reader back;
    ASSERT_TRUE(back.Open(text).ok);
    EXPECT_EQ(back.file.PlainText(), text);
    for (int n = 1; n <= 10; ++n)
        EXPECT_TRUE(MoveRecordsEqual(*back.Record().GetMainLineMove(n), *record.GetMainLineMove(n)))
            << n;

    // A pass lifts a ko: after two passes the stone taken may be taken back. A value no
    // letters give back is kept as it was read.
    ASSERT_TRUE(r.Open("(;AB[ba][ab][bc]AW[ca][bb][db][cc];B[cb];W[];B[];W[bb];B[a:b])").ok);
    EXPECT_EQ(r.Record().GetMainLineMove(4)->notPlayed, 0);
    EXPECT_EQ(r.board.Cell(2, 1).stone, kEmpty);
    EXPECT_EQ(r.Record().GetMainLineMove(5)->notPlayed, kMoveOutside);
    EXPECT_NE(r.file.PlainText().find(";W[bb];B[a:b])"), std::string::npos);
    // "tt" is a point, not a pass, only on boards larger than 19 lines.
    EXPECT_TRUE(IsPassValue("tt", 19));
    EXPECT_FALSE(IsPassValue("tt", 21));
}

// HA places no stones: a file with HA and no AB opens as written, says so, and is saved
// without stones it never had.
TEST(SgfFile, HandicapWithoutStonesIsOpenedAsWrittenAndTold) {
    Reader r;
    SgfReadResult result = r.Open("(;FF[4]AP[OtherGo:1]HA[2];W[qq])");
    ASSERT_TRUE(result.ok);
    EXPECT_NE(result.message.find("HA[2])이지만 접바둑 돌(AB)이 적혀 있지 않아"), std::string::npos);
    EXPECT_TRUE(r.Record().StartPosition().empty());
    EXPECT_NE(r.file.PlainText().find("HA[2];W[qq]"), std::string::npos);
    // A file that names the stones opens without the notice.
    EXPECT_EQ(r.Open("(;FF[4]AP[OtherGo:1]HA[2]AB[pd][dp];W[qq])").message, "");
    const test::CliRun cli = test::Cli({"board", test::DataPath("sgf/other/passes.sgf"), "--move", "0"});
    EXPECT_EQ(std::count(cli.out.begin(), cli.out.end(), 'X'), 0);
    EXPECT_NE(cli.err.find("HA[3])이지만"), std::string::npos);
}

TEST(SgfFile, RefusedMovesAndSeveralGamesAreReported) {
    Reader r;
    // A stone on an occupied point and a suicide are counted; passes are not.
    SgfReadResult result = r.Open("(;AB[ab][ba];B[dd];W[dd];W[aa];W[tt];B[];B[ee](;B[ee]))");
    EXPECT_EQ(result.refusedMoves, 3);
    EXPECT_NE(result.message.find("3개"), std::string::npos);
    EXPECT_EQ(r.Record().MainLineLength(), 7);  // every move keeps its place
    result = r.Open("(;B[aa])\n(;B[bb])\n(;CA[Shift_JIS]B[cc])\n");
    EXPECT_EQ(result.games, 3);
    EXPECT_NE(result.message.find("기보가 3개"), std::string::npos);
    EXPECT_EQ(r.Record().MainLineLength(), 1);
    // Saving keeps the later games; the file's one encoding is the first game's.
    EXPECT_EQ(r.file.PlainText(),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0];B[aa])\n(;B[bb])\n(;B[cc])\n");
    EXPECT_EQ(r.Open("(;B[aa];W[bb])").message, "");
}

TEST(SgfFile, FilesWithoutARecordAreRefused) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "velmora-not-records";
    fs::create_directories(dir);
    std::string random(4096, '\0');
    std::mt19937 bytes(17);
    for (char& c : random) c = static_cast<char>(bytes() & 0xFF);
    Reader r;
    ASSERT_TRUE(r.Open("(;GN[먼저];B[pd])").ok);
    for (const auto& [name, content] : std::vector<std::pair<std::string, std::string>>{
             {"empty.sgf", ""},
             {"notes.sgf", "바둑 메모 (첫째 판) [중요]\n"},
             {"random.sgf", random}}) {
        const std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << content;
        const SgfReadResult result = r.file.Open(path);
        EXPECT_FALSE(result.ok) << name;
        EXPECT_EQ(result.message, "SGF 기보 파일이 아닙니다: " + path);
        EXPECT_EQ(r.file.Info().gameName, "먼저");
        EXPECT_EQ(r.Record().MainLineLength(), 1);
        const test::CliRun cli = test::Cli({"info", path});
        EXPECT_EQ(cli.status, 1);
        EXPECT_EQ(cli.err, "velmora-cli: SGF 기보 파일이 아닙니다: " + path + "\n");
    }
    fs::remove_all(dir);
}

TEST(SgfFile, TheCommandLineShowsTheStartPositionAndTheMainLine) {
    test::CliRun r = test::Cli({"board", test::DataPath("sgf/other/problem.sgf"), "--move", "0"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, 3 * 20),
              "...OX..............\nOOOOX..............\nXXXXX..............\n");
    // A text that ends inside a variation: what was read of it continues the main line.
    const std::string path =
        (std::filesystem::temp_directory_path() / "velmora-open-end.sgf").string();
    std::ofstream(path) << "(;GM[1]FF[4]SZ[19];B[pd];W[dd](;B[qf]";
    r = test::Cli({"board", path});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'X'), 2);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'O'), 1);
    // What the read leaves to know goes to standard error, a line each.
    std::ofstream(path) << "(;B[aa];W[aa])\n(;B[bb])";
    r = test::Cli({"board", path});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(
        r.err,
        "velmora-cli: 규칙에 맞지 않아 둘 수 없는 수가 1개 있습니다 (이미 돌이 있는 자리, 자충수 "
        "등). 기보의 제자리에 그대로 두고, 판에는 놓지 않은 채 '둘 수 없는 수'로 보여 줍니다."
        "\nvelmora-cli: 이 파일에는 기보가 2개 들어 있습니다. 첫 번째 기보를 열었고, 저장할 "
        "때 나머지도 그대로 함께 저장합니다.\n");
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace velmora
