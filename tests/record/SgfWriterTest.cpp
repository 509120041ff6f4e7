#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "RecordTestSupport.h"
#include "record/SgfReader.h"
#include "record/SgfWriter.h"

namespace velmora {
namespace {

constexpr const char* kHead = "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]";

std::string Body(const GameRecord& record, StoryQuery* stories = nullptr) {
    const std::string text = SgfRecordText(GameInfo{}, &record, stories);
    return text.substr(std::string(kHead).size(), text.size() - std::string(kHead).size() - 1);
}

// Stores a diagram at base with the given text, marks and moves.
DiagramKey Store(GameRecord& record, int base, const std::string& text,
                 const std::vector<NaviStone>& start, const std::vector<MoveRecord>& moves) {
    record.OpenNewDiagram(base);
    record.SetKindWordAndText("참고도", text);
    for (const NaviStone& s : start) record.AddNaviStone(base, s);
    for (std::size_t j = 0; j < moves.size(); ++j)
        record.AddDiagramMove(static_cast<int>(j) + 1, moves[j]);
    const DiagramKey key = record.StoreAsNew();
    record.CloseDiagram();
    return key;
}

TEST(SgfWriter, EmptyRecordAndHeaderOrder) {
    EXPECT_EQ(SgfRecordText(GameInfo{}, nullptr, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0])");
    GameInfo info;
    info.blackName = "흑";
    info.whiteName = "백";
    info.whiteSecondText = "s";
    info.whiteRank = "9단";
    info.result = "흑 2집승";
    info.mainTimeHours = "1";
    info.mainTimeMinutes = "30";
    info.mainTimeSeconds = "5";
    info.overtimeCountText = "3";
    info.overtimeSeconds = "30";
    info.year = "1846";
    info.month = "09";
    info.day = "11";
    info.komiText = "0";
    info.handicapText = "정선";
    info.gameName = "대국";
    info.place = "에도";
    EXPECT_EQ(SgfRecordText(info, nullptr, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]PB[흑::]PW[백:s:9단]RE[흑 "
              "2집승]TM[5405]OT[3:30]DT[1846-09-11]"
              "KM[0]HA[1]GN[대국]PC[에도])");
    info = GameInfo{};
    info.handicapText = "호선";
    EXPECT_EQ(SgfRecordText(info, nullptr, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]HA[0])");
    info.handicapText = "접바둑 아님";
    EXPECT_EQ(SgfRecordText(info, nullptr, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]HA[0])");
    info.handicapText = "3점접바둑";
    EXPECT_EQ(SgfRecordText(info, nullptr, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]HA[3])");
}

TEST(SgfWriter, GameInfoEscapesWhatTheReaderWouldSplit) {
    GameInfo info;
    info.gameName = "제1국] \\끝";
    const std::string text = SgfRecordText(info, nullptr, nullptr);
    EXPECT_EQ(text, "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]GN[제1국\\] \\\\끝])");
    GameInfo back;
    for (const SgfEvent& e : ParseSgfText(text).events) ApplyGameInfoProperty(back, e.id, e.value);
    EXPECT_EQ(back.gameName, info.gameName);
}

TEST(SgfWriter, DiagramsAreFurtherChildrenOfTheirBaseInKeyOrder) {
    GameRecord record;
    record.AddMainLineMove(1, test::MakeMove(1, 16, 4, 1, "첫 수 (화점) [좋다] \\ 끝"));
    record.AddMainLineMove(2, test::MakeMove(2, 4, 16, 1, "[]"));
    const DiagramKey a = Store(record, 0, "빈 판", {}, {test::MakeMove(1, 10, 10, 9)});
    const DiagramKey b =
        Store(record, 2, "", {NaviStone{0, 3, -1, kNaviTriangle, {}}},
              {test::MakeMove(1, 3, 3, 9, "둘째 (a]"), test::MakeMove(2, 17, 17, 9)});
    const DiagramKey c = Store(record, 2, "참고도-두번째", {}, {test::MakeMove(1, 4, 4, 9)});
    ASSERT_LT(b, c);
    // The main line is the first child of the root, the diagram based there the second; at
    // the last move an empty node goes first, so that every reader sees the game end there,
    // and the diagrams follow it. Each opens with its kind and text.
    const std::string body = Body(record);
    EXPECT_EQ(body,
              "(;B[pd]C[첫 수 (화점) [좋다\\] \\\\ 끝];W[dp]C[[\\]]"
              "(;)(;C[참고도-]TR[ad];B[cc]C[둘째 (a\\]];W[qq])(;C[참고도-두번째];B[dd]))"
              "(;C[참고도-빈 판];B[jj])");
    // Every text comes back exactly, brackets and backslashes too.
    std::vector<std::string> comments;
    for (const SgfEvent& e : ParseSgfText(std::string(kHead) + body + ")").events)
        if (e.id == "C" || e.id == kMoveCommentId) comments.push_back(e.value);
    EXPECT_EQ(comments, (std::vector<std::string>{"참고도-빈 판", "첫 수 (화점) [좋다] \\ 끝", "[]",
                                                  "참고도-", "둘째 (a]", "참고도-두번째"}));
}

TEST(SgfWriter, AnotherProgramsBranchesAreWrittenAsTheyWereRead) {
    // Read one diagram per line, each repeating the line it branched from up to where it
    // branched, a branch joins into its tree again; lines that only look alike stay apart. No
    // kind node is added, and a first node's comment stays its own.
    GameRecord record;
    record.AddMainLineMove(1, test::MakeMove(1, 16, 4, 1));
    record.AddMainLineMove(2, test::MakeMove(2, 4, 16, 1));
    const auto line = [&](const std::string& text, const std::vector<MoveRecord>& moves,
                          const DiagramKey& parent = {}, int branchMove = 0) {
        record.OpenNewDiagram(1);
        record.AddKeptProperty(1, KeptProperty{kBranchAsReadId, {}});
        if (!text.empty()) record.SetKindAndText(kDiagramReference, text);
        for (std::size_t j = 0; j < moves.size(); ++j)
            record.AddDiagramMove(static_cast<int>(j) + 1, moves[j]);
        record.AddKeptProperty(2, KeptProperty{kMoveCommentId, "a"});
        if (!parent.empty()) record.SetOpenDiagramBranch(parent, branchMove);
        const DiagramKey key = record.StoreAsNew();
        record.CloseDiagram();
        return key;
    };
    const DiagramKey first = line("", {test::MakeMove(2, 3, 3, 9), test::MakeMove(3, 5, 5, 9)});
    line("", {test::MakeMove(2, 3, 3, 9), test::MakeMove(3, 6, 6, 9)}, first, 1);
    line("", {test::MakeMove(2, 3, 3, 9), test::MakeMove(3, 8, 8, 9)});
    line("", {test::MakeMove(2, 7, 7, 9)});
    line("머리", {test::MakeMove(2, 7, 7, 9)});
    EXPECT_EQ(Body(record), ";B[pd](;W[dp])(;W[cc]C[a](;B[ee])(;B[ff]))(;W[cc]C[a];B[hh])"
                            "(;W[gg]C[a])(;C[머리];W[gg]C[a])");
}

TEST(SgfWriter, StartPositionOpeningCommentaryAndWholeDates) {
    GameInfo info;
    info.handicapText = "3점접바둑";
    info.day = "April 14-15, 1957";  // a date read whole
    GameRecord record;
    for (const SetupStone& s :
         {SetupStone{4, 4, kBlack}, SetupStone{16, 4, kBlack}, SetupStone{4, 16, kBlack}})
        record.SetStartStone(s);
    record.SetOpeningCommentary("머리말 (1) [2]");
    record.AddMainLineMove(1, test::MakeMove(2, 17, 16, 1));
    // Other programs place only the stones AB names: HA's stones are written as AB.
    EXPECT_EQ(SgfRecordText(info, &record, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]DT[April 14-15, 1957]HA[3]AB[dd][pd][dp]"
              "C[머리말 (1) [2\\]];W[qp])");
    // A free placement, or stones of both colours, are written out.
    record.SetStartStone(SetupStone{4, 4, kEmpty});
    record.SetStartStone(SetupStone{10, 10, kBlack});
    record.SetStartStone(SetupStone{3, 3, kWhite});
    record.SetOpeningCommentary({});
    EXPECT_EQ(SgfRecordText(info, &record, nullptr),
              "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]DT[April 14-15, "
              "1957]HA[3]AB[pd][dp][jj]AW[cc];W[qp])");
    // And they read back as the start position.
    EXPECT_EQ(ParseSgfText(SgfRecordText(info, &record, nullptr)).setup, record.StartPosition());
}

TEST(SgfWriter, MarksLabelsAndSetUpStones) {
    GameRecord record;
    record.AddMainLineMove(1, test::MakeMove(1, 16, 4, 1));
    MoveRecord m = test::MakeMove(1, 3, 3, 9);
    m.naviStones = {
        NaviStone{4, 4, kBlack, kNaviCircle, {}}, NaviStone{5, 5, -1, kNaviLabelSyllable, "가"},
        NaviStone{6, 6, kWhite, kNaviStoneOnly, {}}, NaviStone{19, 20, -1, kNaviCross, {}}};
    Store(record, 1, "표시", {NaviStone{1, 1, -1, kNaviSquare, {}}}, {m});
    // Marks in the usual letters, one line down and right of the board's 0-based points; the
    // reader puts every mark back on its point.
    const std::string text = SgfRecordText(GameInfo{}, &record, nullptr);
    EXPECT_EQ(text, std::string(kHead) +
                        ";B[pd](;)(;C[참고도-표시]SQ[bb];B[cc]AB[ee]AW[gg]CR[ee]MA[zz]LB[ff:가]))");
    std::vector<SgfEvent> marks;
    for (const SgfEvent& e : ParseSgfText(text).events)
        if (e.id == "SQ" || e.id == "LB" || e.id == "AW") marks.push_back(e);
    EXPECT_EQ(marks, (std::vector<SgfEvent>{{SgfEvent::kProperty, "SQ", "aa"},
                                            {SgfEvent::kProperty, "AW", "ff"},
                                            {SgfEvent::kProperty, "LB", "ee:가"}}));
}

struct ScriptedStories : StoryQuery {
    std::vector<std::tuple<int, int, DiagramKey, int>> stories;  // move, index, name, number
    std::vector<bool> written;
    std::optional<int> NextStoryNumber(int move, int index, const DiagramKey& name) override {
        written.resize(stories.size());
        for (std::size_t i = 0; i < stories.size(); ++i) {
            const auto& [m, b, n, number] = stories[i];
            if (written[i] || m != move || b != index || (!name.empty() && n != name)) continue;
            written[i] = true;
            return number;
        }
        return std::nullopt;
    }
};

TEST(SgfWriter, ExtendedFormCarriesStoryNumbers) {
    GameRecord record;
    record.AddMainLineMove(1, test::MakeMove(1, 16, 4, 1, "해설"));
    record.AddMainLineMove(2, test::MakeMove(2, 4, 16, 1));
    const DiagramKey plain = Store(record, 2, "", {}, {test::MakeMove(1, 3, 3, 9)});
    const DiagramKey marked = Store(record, 0, "x", {NaviStone{2, 2, -1, kNaviSquare, {}}},
                                    {test::MakeMove(1, 5, 5, 9), test::MakeMove(2, 6, 6, 9)});
    ScriptedStories stories;
    // A story at a diagram's start stays there, although the main line's node at the same
    // point, written first, asks for any story of its point.
    stories.stories = {{1, 1, "", 201},   {1, 1, "", 200},  {0, 2, marked, 202},
                       {0, 0, marked, 7}, {2, 3, plain, 9}, {2, 2, plain, 11}};
    EXPECT_EQ(Body(record, &stories),
              "(;B[pd]C[해설]HI[201][200];W[dp](;)(;C[참고도-]HI[11];B[cc]HI[9]))"
              "(;C[참고도-x]SQ[cc]HI[7];B[ee];W[ff]HI[202])");
    EXPECT_EQ(Body(record).find("HI"), std::string::npos);
}

TEST(SgfWriter, BytesAreUtf8WithCa) {
    GameInfo info;
    info.gameName = "바둑 囲碁 🀄";
    const std::string text = SgfRecordText(info, nullptr, nullptr);
    EXPECT_EQ(text, "(;GM[1]FF[4]CA[UTF-8]SZ[19]AP[Velmora:1.0]GN[바둑 囲碁 🀄])");
    EXPECT_EQ(DecodeRecordBytes(text), text);
}

}  // namespace
}  // namespace velmora
