#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>

#include "platform/TextCodec.h"
#include "record/BoardGrid.h"
#include "record/InfoTexts.h"
#include "record/RulesEngine.h"
#include "record/SgfReader.h"

namespace velmora {

void PrintTo(const SgfEvent& e, std::ostream* os) {
    *os << (e.kind == SgfEvent::kOpenVariation    ? "("
            : e.kind == SgfEvent::kCloseVariation ? ")"
                                                  : e.id + "[" + e.value + "]");
}

namespace {

using Events = std::vector<SgfEvent>;

SgfEvent P(const std::string& id, const std::string& value) {
    return SgfEvent{SgfEvent::kProperty, id, value};
}
const SgfEvent kOpen{SgfEvent::kOpenVariation, {}, {}};
const SgfEvent kClose{SgfEvent::kCloseVariation, {}, {}};
const SgfEvent kAsRead{SgfEvent::kProperty, kBranchAsReadId, {}};

GameInfo InfoOf(const std::string& text) {
    GameInfo info;
    for (const SgfEvent& e : ParseSgfText(text).events) ApplyGameInfoProperty(info, e.id, e.value);
    return info;
}

TEST(SgfReader, PlayerFieldsSplitAtColons) {
    GameInfo info = InfoOf("(;PB[이창호:둘째:9단]PW[조훈현])");
    EXPECT_EQ(info.blackName, "이창호");
    EXPECT_EQ(info.blackSecondText, "둘째");
    EXPECT_EQ(info.blackRank, "9단");
    EXPECT_EQ(info.whiteName, "조훈현");
    EXPECT_EQ(info.whiteSecondText, "조훈현");
    EXPECT_EQ(info.whiteRank, "");  // no rank is made up

    info = InfoOf("(;PB[A:3단])");  // one colon: the rest is the rank, second text untouched
    EXPECT_EQ(info.blackName, "A");
    EXPECT_EQ(info.blackRank, "3단");
    EXPECT_EQ(info.blackSecondText, "");
}

TEST(SgfReader, TimesDatesAndHandicaps) {
    GameInfo info = InfoOf("(;TM[3661]OT[3:30]DT[1846-09-11]HA[4]KM[6.5])");
    EXPECT_EQ(info.mainTimeHours, "1");
    EXPECT_EQ(info.mainTimeMinutes, "1");
    EXPECT_EQ(info.mainTimeSeconds, "1");
    EXPECT_EQ(info.overtimeCountText, "3");
    EXPECT_EQ(info.overtimeMinutes, "0");
    EXPECT_EQ(info.overtimeSeconds, "30");
    EXPECT_EQ(info.year, "1846");
    EXPECT_EQ(info.month, "09");
    EXPECT_EQ(info.day, "11");
    EXPECT_EQ(info.handicapText, "4점접바둑");
    EXPECT_EQ(info.komiText, "6.5");

    info = InfoOf("(;OT[90]DT[어느 봄날]HA[1])");
    EXPECT_EQ(info.overtimeCountText, "");
    EXPECT_EQ(info.overtimeMinutes, "1");
    EXPECT_EQ(info.overtimeSeconds, "30");
    EXPECT_EQ(info.year, "");
    EXPECT_EQ(info.month, "");
    EXPECT_EQ(info.day, "어느 봄날");
    EXPECT_EQ(info.handicapText, "정선");
    EXPECT_EQ(InfoOf("(;HA[0])").handicapText, "호선");
    EXPECT_EQ(InfoOf("(;HA[5]HA[-2])").handicapText, "5점접바둑");  // negative leaves it
}

TEST(SgfReader, GameNameAndEventAreBothKept) {
    const GameInfo info = InfoOf("(;EV[대회]GN[기전])");
    EXPECT_EQ(std::tie(info.gameName, info.event), std::tie("기전", "대회"));
    EXPECT_EQ(ShownGameName(info), "대회 기전");
    EXPECT_EQ(ShownGameName(InfoOf("(;EV[대회])")), "대회");
}

TEST(SgfReader, AtoiRules) {
    EXPECT_EQ(AtoI("  -42x"), -42);
    EXPECT_EQ(AtoI("+7"), 7);
    EXPECT_EQ(AtoI("abc"), 0);
    EXPECT_EQ(AtoI(""), 0);
    EXPECT_EQ(AtoI("99999999999999"), 2147483647);
}

TEST(SgfReader, CoordinateLetters) {
    int x = 0;
    int y = 0;
    SgfPointOf("as", x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 19);
    SgfPointOf("yz", x, y);
    EXPECT_EQ(x, 25);
    EXPECT_EQ(y, -10);
    SgfPointOf("{z", x, y);
    EXPECT_EQ(x, 0);
    SgfPointOf("c", x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 0);
}

TEST(SgfReader, ValuesAfterValuesRepeatTheIdentifier) {
    EXPECT_EQ(ParseSgfText("(;B[dd](AB[aa][bb]\n [cc]))").events,
              (Events{P("B", "dd"), kOpen, P("AB", "aa"), P("AB", "bb"), P("AB", "cc"), kClose}));
    // White space between nodes and properties is no part of an identifier.
    EXPECT_EQ(ParseSgfText("(;B[aa]\r\n;W[bb] C[x])").events,
              (Events{P("B", "aa"), P("W", "bb"), P("C", "x")}));
}

TEST(SgfReader, EscapesInsideValues) {
    EXPECT_EQ(ParseSgfText("(;C[a \\] b \\\\ c\\\nd];B[aa])").events,
              (Events{P("C", "a ] b \\ cd"), P("B", "aa")}));
    // An opening bracket inside a value is text, not the start of another value.
    EXPECT_EQ(ParseSgfText("(;C[see [1\\] here];B[aa])").events,
              (Events{P("C", "see [1] here"), P("B", "aa")}));
}

TEST(SgfReader, OwnDialectVariationsAreDiagramsWhereTheyStand) {
    // After a move with more main line following, as the only child, and at the very end.
    EXPECT_EQ(
        ParseSgfText("(;GM[1]FF[4]SZ[19];B[aa](C[참고도-x];W[bb]);W[cc](;B[dd]))").events,
        (Events{P("GM", "1"), P("FF", "4"), P("SZ", "19"), P("B", "aa"), kOpen, P("C", "참고도-x"),
                P("W", "bb"), kClose, P("W", "cc"), kOpen, P("B", "dd"), kClose}));
    // Two diagrams at the last move of the own writer's file, the first without text.
    const Events own = ParseSgfText("(;GM[1]FF[4]SZ[19];B[aa](;W[bb])(;W[cc]))").events;
    EXPECT_EQ(own, (Events{P("GM", "1"), P("FF", "4"), P("SZ", "19"), P("B", "aa"), kOpen,
                           P("W", "bb"), kClose, kOpen, P("W", "cc"), kClose}));
    // Children that open with a property are diagrams in any file.
    EXPECT_EQ(ParseSgfText("(;FF[4]\n;B[aa](AB[cc];W[bb])(C[참고도-y];W[cc]))").events,
              (Events{P("FF", "4"), P("B", "aa"), kOpen, P("AB", "cc"), P("W", "bb"), kClose, kOpen,
                      P("C", "참고도-y"), P("W", "cc"), kClose}));
}

TEST(SgfReader, OtherProgramsBranchesContinueTheMainLine) {
    const SgfDocument doc = ParseSgfText(
        "(;FF[4]GM[1]\n;B[aa];W[bb]\n(;B[cc];W[dd](;B[ee])(;B[ff]))\n"
        "(;B[gg];W[hh](;B[ii])(;B[jj](;W[kk])(;W[ll]))))");
    // Every line of the side child at move 2 is a diagram of its own, holding its parent line,
    // and kept as read; a line says where it leaves the line it branches from.
    EXPECT_EQ(doc.events,
              (Events{P("FF", "4"), P("GM", "1"), P("B", "aa"), P("W", "bb"), kOpen, kAsRead,
                      P("B", "gg"), P("W", "hh"), P("B", "ii"), kClose, kOpen, kAsRead,
                      P("B", "gg"), P("W", "hh"), P(kBranchPointId, "0"), P("B", "jj"),
                      P("W", "kk"), kClose, kOpen, kAsRead, P("B", "gg"), P("W", "hh"),
                      P("B", "jj"), P(kBranchPointId, "1"), P("W", "ll"), kClose,
                      P("B", "cc"), P("W", "dd"), kOpen,        kAsRead,      P("B", "ff"), kClose,
                      P("B", "ee")}));
}

// The B and W values of the main line, outside every variation.
std::string MainLine(const std::string& text) {
    std::string moves;
    int depth = 0;
    for (const SgfEvent& e : ParseSgfText(text).events) {
        depth += e.kind == SgfEvent::kOpenVariation    ? 1
                 : e.kind == SgfEvent::kCloseVariation ? -1
                                                       : 0;
        if (depth == 0 && (e.id == "B" || e.id == "W")) moves += e.value + " ";
    }
    return moves;
}

TEST(SgfReader, TheTreesStructureTellsTheDialect) {
    // A compact standard tree that happens to open like the own writer's: its nested branch
    // makes it another program's, with or without white space.
    const std::string compact =
        "(;GM[1]FF[4]SZ[19];B[aa];W[bb](;B[cc];W[dd](;B[ee])(;B[ff]))(;B[gg]))";
    EXPECT_EQ(MainLine(compact), "aa bb cc dd ee ");
    EXPECT_EQ(MainLine("(;GM[1]FF[4]SZ[19]\n;B[aa];W[bb]\n(;B[cc];W[dd](;B[ee])(;B[ff]))(;B[gg]))"),
              "aa bb cc dd ee ");
    // Two plain variations at the last move: the exact header leaves them diagrams; any other
    // opening, or a property the own writer never writes, makes them branches.
    EXPECT_EQ(MainLine("(;GM[1]FF[4]SZ[19];B[aa](;W[bb])(;W[cc]))"), "aa ");
    EXPECT_EQ(MainLine("(;GM[1]FF[4]SZ[19]\n;B[aa](;W[bb])(;W[cc]))"), "aa ");
    EXPECT_EQ(MainLine("(;FF[4]GM[1]SZ[19];B[aa](;W[bb])(;W[cc]))"), "aa bb ");
    EXPECT_EQ(MainLine("(;GM[1]FF[4]SZ[19]AP[x:1];B[aa](;W[bb])(;W[cc]))"), "aa bb ");
    // A variation followed by more nodes is the own writer's, whatever else the file holds.
    EXPECT_EQ(MainLine("(;FF[4]AP[x];B[aa](;W[bb]);W[cc](;B[dd])(;B[ee]))"), "aa cc ");
    // A child that opens without a node, or holds nothing, continues nothing: the next child
    // that holds a node does, wherever it stands (written back, it is the first child).
    EXPECT_EQ(MainLine("(;FF[4]AP[x:1];B[aa]()(;W[bb])(;W[cc]))"), "aa bb ");
    EXPECT_EQ(MainLine("(;FF[4]AP[x:1];B[aa](;)(;W[bb])(;W[cc]))"), "aa bb ");
}

TEST(SgfReader, BranchCommentsStayWithTheirNodes) {
    const Events events = ParseSgfText(
                              "(;FF[4];B[aa](;W[ff])(;W[bb]C[first];B[cc];W[dd]C[third])"
                              "(;C[문제도-흑 차례]TR[aa];W[ee]C[e])(;C[not a kind]SQ[bb];W[gg]))")
                              .events;
    const Events texts = [&] {
        Events out;
        for (const SgfEvent& e : events)
            if (e.kind != SgfEvent::kProperty || e.id == "C" || e.id == kMoveCommentId ||
                e.id == kBranchAsReadId)
                out.push_back(e);
        return out;
    }();
    // Each move's comment its own; a first node without a move whose comment begins with a
    // kind word is a diagram made here, any other comment there is its branch's text.
    EXPECT_EQ(texts, (Events{kOpen, kAsRead, P(kMoveCommentId, "first"), P(kMoveCommentId, "third"),
                             kClose, kOpen, P("C", "문제도-흑 차례"), P(kMoveCommentId, "e"),
                             kClose, kOpen, kAsRead, P("C", "참고도-not a kind"), kClose}));
}

TEST(SgfReader, TheWritersTreeReadsBackAsMainLineAndDiagrams) {
    // Diagrams as further children of their base, the main line the first child; at the last
    // move and at the root a diagram made here is the only child, and stays a diagram.
    const std::string text =
        "(;GM[1]FF[4]SZ[19](;B[aa];W[bb](;B[cc](;C[참고도-]SQ[bb];W[dd]))"
        "(;C[장면도-x];B[ee]C[y]LB[ee:A]))(;C[참고도-root];B[ff]))";
    EXPECT_EQ(ParseSgfText(text).events, (Events{P("GM", "1"),
                                                 P("FF", "4"),
                                                 P("SZ", "19"),
                                                 kOpen,
                                                 P("C", "참고도-root"),
                                                 P("B", "ff"),
                                                 kClose,
                                                 P("B", "aa"),
                                                 P("W", "bb"),
                                                 kOpen,
                                                 P("C", "장면도-x"),
                                                 P("B", "ee"),
                                                 P(kMoveCommentId, "y"),
                                                 P("LB", "dd:A"),
                                                 kClose,
                                                 P("B", "cc"),
                                                 kOpen,
                                                 P("C", "참고도-"),
                                                 P("SQ", "aa"),
                                                 P("W", "dd"),
                                                 kClose}));
}

TEST(SgfReader, ADeeplyNestedVariationIsOneLine) {
    // Some programs write every move of a line as the single child of the one before.
    constexpr int kDepth = 200000;
    std::string text = "(;FF[4];B[pd](;W[dd])(;W[qq]";
    for (int i = 0; i < kDepth; ++i) text += "(;B[aa]";
    text += std::string(kDepth, ')') + "))";
    const SgfDocument doc = ParseSgfText(text);
    EXPECT_EQ(std::count(doc.events.begin(), doc.events.end(), kOpen), 1);
    EXPECT_EQ(doc.events.size(), 3u + kDepth + 4u);  // FF, pd, dd, then the side line
    EXPECT_EQ(doc.leftOutLines, 0);

    // A branch at every level of a side line: each line repeats its parent line, so the lines
    // would grow with the square of the depth. Past a budget they are left out and counted.
    constexpr int kLevels = 5000;
    std::string tree = "(;B[pd](;W[dd])(;W[qq]";
    for (int i = 0; i < kLevels; ++i) tree += i % 2 ? "(;W[aa]" : "(;B[bb]";
    for (int i = 0; i < kLevels; ++i) tree += i % 2 ? ")(;B[ss])" : ")(;W[ss])";
    tree += "))";
    const SgfDocument hostile = ParseSgfText(tree);
    EXPECT_GT(hostile.leftOutLines, kLevels / 2);
    EXPECT_LT(hostile.events.size(), 400000u);  // not the 12.5 million of every line whole
}

TEST(SgfReader, OldFilesSetUpStonesAndRanks) {
    const SgfDocument doc = ParseSgfText(
        "(;GaMe[1]FileFormat[3]AddBlack[aa][ss:sr]AddWhite[bb]AddEmpty[aa]Comment[x]PlayerBlack[A]"
        "BlackRank[1d*]WhiteRank[9p];Black[cc];AddBlack[dd]TRiangle[ee])");
    // Stones before the first move are the start position: board points as moves have them.
    EXPECT_EQ(doc.setup,
              (std::vector<SetupStone>{{19, 18, kBlack}, {19, 19, kBlack}, {2, 2, kWhite}}));
    // Other programs' mark letters become the board's point index, counted from 0.
    EXPECT_EQ(doc.events,
              (Events{P("GM", "1"), P("FF", "3"), P("C", "x"), P("PB", "A"), P("BR", "1d*"),
                      P("WR", "9p"), P("B", "cc"), P(";", ""), P("AB", "cc"), P("TR", "dd")}));
    GameInfo info;
    for (const SgfEvent& e : doc.events) ApplyGameInfoProperty(info, e.id, e.value);
    EXPECT_EQ(std::tie(info.blackName, info.blackRank, info.whiteRank),
              std::tie("A", "1단", "9단"));
    for (const auto& [western, own] :
         std::vector<std::pair<std::string, std::string>>{{"9d", "9단"},
                                                          {"3k", "3급"},
                                                          {"30k", "30급"},
                                                          {"9 dan", "9단"},
                                                          {"2 Kyu", "2급"},
                                                          {"7段", "7단"},
                                                          {"5급", "5급"},
                                                          {"프로", "프로"},
                                                          {"?", "?"},
                                                          {"d", "d"},
                                                          {"", ""}})
        EXPECT_EQ(NormalisedRank(western), own) << western;
}

TEST(SgfReader, DatesFillTheFieldsTheyNameAndOtherDatesStayWhole) {
    for (const auto& [date, fields] : std::vector<std::pair<std::string, std::string>>{
             {"1846", "1846||"}, {"1957-04", "1957|04|"}, {"1996-05-06,07", "1996|05|06"},
             {"April 14-15, 1957", "||April 14-15, 1957"}, {"봄-여름-가을", "||봄-여름-가을"}}) {
        const GameInfo info = InfoOf("(;DT[" + date + "])");
        EXPECT_EQ(info.year + "|" + info.month + "|" + info.day, fields);
        EXPECT_EQ(GameDateText(info), date);
    }
}

TEST(SgfReader, TextsWithoutAGameTreeAndSeveralGames) {
    for (const std::string text :
         {"", "plain notes (with brackets [1])", "\x01(\xff;\x07[", "no record here"})
        EXPECT_EQ(ParseSgfText(text).games, 0) << text;
    EXPECT_EQ(ParseSgfText("(;B[aa])").games, 1);
    EXPECT_EQ(ParseSgfText("notes (see below)\n(;C[(;)]B[aa])\n( ;B[bb](;W[cc]))\n(;)").games, 3);
    EXPECT_EQ(ParseSgfText("notes (see below)\n(;B[aa])").events, (Events{P("B", "aa")}));
}

TEST(SgfReader, FirstGameOnlyAndUnclosedVariations) {
    EXPECT_EQ(ParseSgfText("(;B[aa])(;B[bb])").events, (Events{P("B", "aa")}));
    // A text that ends inside a variation leaves it open.
    EXPECT_EQ(
        ParseSgfText("(;GM[1]FF[4]SZ[19];B[aa](;W[bb]").events,
        (Events{P("GM", "1"), P("FF", "4"), P("SZ", "19"), P("B", "aa"), kOpen, P("W", "bb")}));
    EXPECT_TRUE(ParseSgfText("no record here").events.empty());
    // An unterminated value is dropped; what stands before it is read.
    EXPECT_EQ(ParseSgfText("(;B[aa];W[bb").events, (Events{P("B", "aa")}));
}

// Any game of a file reads with every other one kept as text where it stands, a CA naming
// another encoding than UTF-8 aside (a save writes UTF-8); the chooser's summary follows the
// main line as the reader does.
TEST(SgfReader, AnyGameReadsWithTheOthersKeptInPlace) {
    const std::string first = "(;CA[UTF-8]PB[갑]BR[3d]PW[을]DT[2024-03-01]RE[B+R];B[aa];W[bb])";
    const std::string third = "(;PB[정];B[cc](;W[dd];B[ee])(;C[참고도-곁가지]AB[ff];W[gg]))";
    const std::string text =
        "머리말\n" + first + "\n사이 글 (설명)\n(;CA[EUC-KR]PB[병]RE[W+3.5];B[dd])\n" + third + "\n";
    SgfDocument doc = ParseSgfText(text, 2);
    EXPECT_EQ(doc.games, 3);
    EXPECT_EQ(doc.game, 2);
    EXPECT_TRUE(doc.refusal.empty());
    EXPECT_EQ(doc.events, (Events{P("CA", "EUC-KR"), P("PB", "병"), P("RE", "W+3.5"), P("B", "dd")}));
    EXPECT_EQ(doc.earlierGames, first + "\n사이 글 (설명)\n");
    EXPECT_EQ(doc.laterGames, "\n" + third + "\n");
    doc = ParseSgfText(text, 3);
    EXPECT_EQ(doc.earlierGames, first + "\n사이 글 (설명)\n(;PB[병]RE[W+3.5];B[dd])\n");
    EXPECT_EQ(doc.laterGames, "");
    doc = ParseSgfText(text);
    EXPECT_EQ(doc.earlierGames, "");
    EXPECT_EQ(doc.laterGames, "\n사이 글 (설명)\n(;PB[병]RE[W+3.5];B[dd])\n" + third + "\n");
    for (const int missing : {0, 4, -1}) {
        doc = ParseSgfText(text, missing);
        EXPECT_NE(doc.refusal.find("기보가 3개"), std::string::npos) << doc.refusal;
        EXPECT_TRUE(doc.events.empty());
    }

    const std::vector<GameSummary> games = SummariseGames(text);
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0].info.blackName, "갑");
    EXPECT_EQ(games[0].info.blackRank, "3단");
    EXPECT_EQ(games[0].info.whiteName, "을");
    EXPECT_EQ(GameDateText(games[0].info), "2024-03-01");
    EXPECT_EQ(games[0].info.result, "B+R");
    EXPECT_EQ(games[0].moves, 2);
    EXPECT_EQ(games[1].info.result, "W+3.5");
    EXPECT_EQ(games[1].moves, 1);
    // The main line goes on in the first branch; the diagram made here is no part of it.
    EXPECT_EQ(games[2].moves, 3);
    EXPECT_TRUE(SummariseGames("no record here").empty());
}

// A text cut short says where: at the value left open (line and column in characters), else
// where the game tree ends without its ")"; what stands before is read as always.
TEST(SgfReader, ATextCutShortSaysWhere) {
    SgfDocument doc = ParseSgfText("(;GM[1]FF[4]\n;B[aa];W[bb]\n;C[가나]B[cc]C[설명이 끊");
    EXPECT_EQ(doc.events.back(), P("C", "가나"));
    EXPECT_NE(doc.cutNotice.find("3번째 줄 13번째 글자에서 연 값이 ']'로 닫히지 않았습니다"),
              std::string::npos)
        << doc.cutNotice;
    EXPECT_NE(doc.cutNotice.find("본 줄기 3수"), std::string::npos) << doc.cutNotice;
    doc = ParseSgfText("(;B[aa];W[bb](;B[cc])\n  \n");
    EXPECT_NE(doc.cutNotice.find("')'로 닫히지 않은 채 1번째 줄 21번째 글자에서 끝납니다"),
              std::string::npos)
        << doc.cutNotice;
    EXPECT_NE(doc.cutNotice.find("본 줄기 3수"), std::string::npos) << doc.cutNotice;
    // Only the game read counts: a later game cut short is kept as text.
    EXPECT_EQ(ParseSgfText("(;B[aa])(;B[bb]", 1).cutNotice, "");
    EXPECT_NE(ParseSgfText("(;B[aa])(;B[bb]", 2).cutNotice, "");
    EXPECT_EQ(ParseSgfText("(;B[aa];W[bb](;B[cc]))").cutNotice, "");
}

TEST(SgfReader, SquareBoardsOfTwoToTwentyFiveLinesOpenOthersAreRefusedByName) {
    for (const auto& [text, size] : {std::pair{"(;SZ[9];B[aa])", 9}, {"(;SZ[2])", 2},
                                     {"(;SZ[25];B[yy])", 25}, {"(;SZ[13:13])", 13},
                                     {"(;B[aa])", 19}}) {
        const SgfDocument doc = ParseSgfText(text);
        EXPECT_TRUE(doc.refusal.empty()) << text;
        EXPECT_EQ(doc.size, size) << text;
    }
    for (const char* text : {"(;SZ[26];B[aa])", "(;SZ[1])", "(;SZ[0])", "(;SZ[52])"}) {
        const SgfDocument doc = ParseSgfText(text);
        EXPECT_NE(doc.refusal.find("2줄부터 25줄까지"), std::string::npos) << text;
        EXPECT_NE(doc.refusal.find(std::string(text).substr(2, 6)), std::string::npos) << text;
        EXPECT_TRUE(doc.events.empty()) << text;
    }
    const SgfDocument oblong = ParseSgfText("(;SZ[19:13];B[aa])");
    EXPECT_NE(oblong.refusal.find("SZ[19:13]"), std::string::npos) << oblong.refusal;
    EXPECT_NE(oblong.refusal.find("정사각형"), std::string::npos) << oblong.refusal;
}

TEST(SgfReader, HandicapIsTheOneTheGameInformationKeeps) {
    EXPECT_EQ(ParseSgfText("(;C[HA[7\\]]HA[4];B[aa](;HA[-1]))").handicap, 4);
    EXPECT_EQ(ParseSgfText("(;HA[4];B[aa](C[x]HA[2]))").handicap, 2);
    EXPECT_EQ(ParseSgfText("(;KM[6.5];B[aa])").handicap, 0);
}

TEST(SgfReader, DecodingFollowsCaThenUtf8ThenCp949) {
    const std::string korean = "(;C[흑 좋은 수]\r\n)";
    const std::string cp949 = *EncodeText(korean, "CP949");
    EXPECT_EQ(DecodeRecordBytes(cp949), "(;C[흑 좋은 수]\n)");
    EXPECT_EQ(DecodeRecordBytes("\xEF\xBB\xBF" + korean), "(;C[흑 좋은 수]\n)");
    const std::string eucWithCa = *EncodeText("(;CA[EUC-KR]C[바둑])", "CP949");
    EXPECT_EQ(DecodeRecordBytes(eucWithCa), "(;CA[EUC-KR]C[바둑])");
    // CA[UTF-8] wins even when the bytes would also pass as something else.
    EXPECT_EQ(DecodeRecordBytes("(;CA[UTF-8]C[바둑])"), "(;CA[UTF-8]C[바둑])");
    // Bytes no encoding accepts still give valid text.
    const std::string broken = DecodeRecordBytes("(;C[\xFF\xFE ok]\n;B[aa])");
    EXPECT_TRUE(IsValidUtf8(broken));
    EXPECT_NE(broken.find(";B[aa])"), std::string::npos);
    // A file declared UTF-8 keeps its right texts; each broken byte becomes U+FFFD, and the
    // user is told. (F5 and a cut sequence are never UTF-8; ED A0 80 would be a surrogate.)
    std::string notice;
    EXPECT_EQ(DecodeRecordBytes("(;CA[UTF-8]C[바\xF5\x92 \xED\xA0\x80 둑\xEB\xB0])", &notice),
              "(;CA[UTF-8]C[바\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD 둑\uFFFD\uFFFD])");
    EXPECT_FALSE(notice.empty());
    const std::optional<SgfDocument> found =
        ReadSgfFile(std::string(VELMORA_TEST_DATA) + "/../../fuzz/corpus/sgf/invalid-utf8.sgf");
    ASSERT_TRUE(found);
    EXPECT_NE(found->notice.find("U+FFFD"), std::string::npos);
    notice.clear();
    DecodeRecordBytes("(;CA[UTF-8]C[바둑])", &notice);
    EXPECT_EQ(notice, "");
}

TEST(SgfReader, EveryEncodingDecodesNamesAndComments) {
    std::ifstream expected(std::string(VELMORA_TEST_DATA) + "/sgf/encodings/expected.txt");
    std::string line;
    int files = 0;
    while (std::getline(expected, line)) {
        std::vector<std::string> f;
        for (std::size_t at = 0, bar;
             (bar = line.find('|', at)) != std::string::npos || at <= line.size(); at = bar + 1) {
            f.push_back(line.substr(at, bar == std::string::npos ? bar : bar - at));
            if (bar == std::string::npos) break;
        }
        ASSERT_EQ(f.size(), 4u) << line;
        const std::optional<std::string> text =
            ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/encodings/" + f[0] + ".sgf");
        ASSERT_TRUE(text) << f[0];
        const GameInfo info = InfoOf(*text);
        EXPECT_EQ(info.blackName, f[1]) << f[0];
        EXPECT_EQ(info.whiteName, f[2]) << f[0];
        EXPECT_EQ(info.gameName, f[0]);
        EXPECT_NE(text->find("C[" + f[3] + "];B[pd]C[" + f[3] + "]"), std::string::npos) << f[0];
        ++files;
    }
    EXPECT_GE(files, 17);
    // Korean is kept whenever the detector is not clearly sure of something else.
    for (const char* korean :
         {"뷁", "흑 1로 붙이면", "좌하귀 정석", "바둑", "한국기원 제5회 명인전"})
        EXPECT_EQ(GuessLegacyEncoding(*EncodeText(std::string("(;C[") + korean + "])", "CP949")),
                  "CP949")
            << korean;
}

TEST(SgfReader, OnlyFilesReadAsRecords) {
    EXPECT_EQ(ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/no-such-record.sgf"),
              std::nullopt);
    EXPECT_EQ(ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf"), std::nullopt);  // a folder
    EXPECT_EQ(
        ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/size9.sgf").value_or("").substr(0, 1),
        "(");
}

const std::string kSamples = std::string(VELMORA_TEST_DATA) + "/../../resources/samples/";

// The sample's diagrams replayed on the rules: every label stands on an empty point of the
// position it is shown with, and the problem's labels include the point the game's next move
// answers it with.
TEST(SgfReader, TheSamplesLabelsStandWhereItsCommentaryPutsThem) {
    for (const char* name : {"sample.sgf", "sample.sgfx"}) {
        const SgfDocument doc = ParseSgfText(ReadRecordFile(kSamples + name).value_or(""));
        RulesEngine main;
        std::optional<RulesEngine> diagram;
        std::string text;
        std::vector<std::pair<int, int>> labels;   // board points of the open diagram
        std::vector<std::pair<int, int>> problem;  // labels of the problem just closed
        int checked = 0;
        for (const SgfEvent& e : doc.events) {
            if (e.kind == SgfEvent::kOpenVariation) {
                diagram = main;
                text.clear();
                labels.clear();
            } else if (e.kind == SgfEvent::kCloseVariation) {
                for (const auto& [x, y] : labels) {
                    EXPECT_EQ(diagram->Grid().Get(x, y), kEmpty) << name << " " << text;
                    ++checked;
                }
                if (text.starts_with("문제도-")) problem = labels;
                diagram.reset();
            } else if (e.id == "C" && diagram) {
                text = e.value;
            } else if (e.id == "LB" && diagram) {
                // Diagram marks arrive as 0-based point indices; the board counts from 1.
                labels.emplace_back(SgfCoordinate(e.value[0]) + 1, SgfCoordinate(e.value[1]) + 1);
            } else if (e.id == "B" || e.id == "W") {
                RulesEngine& engine = diagram ? *diagram : main;
                int x = 0;
                int y = 0;
                SgfPointOf(e.value, x, y);
                if (!diagram && !problem.empty()) {
                    EXPECT_NE(std::find(problem.begin(), problem.end(), std::pair{x, y}),
                              problem.end())
                        << name << ": the problem's answer " << e.value << " has no label";
                    problem.clear();
                    ++checked;
                }
                engine.SetColourToPlay(e.id == "B" ? kBlack : kWhite);
                ASSERT_NE(engine.PlayMove(x, y), 0) << name << " " << e.value;
            }
        }
        EXPECT_EQ(checked, 7) << name;
    }
}

// The older layout (each diagram inserted into the main line, its marks in 0-based letters,
// CP949 without CA) reads as the sample in the new layout does, but for the two labels that
// the old file put one point off.
TEST(SgfReader, TheOlderLayoutReadsAsTheNewOne) {
    for (const std::string name : {"sample.sgf", "sample.sgfx"}) {
        Events old =
            ParseSgfText(ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/old-layout-" + name)
                             .value_or(""))
                .events;
        Events now = ParseSgfText(ReadRecordFile(kSamples + name).value_or("")).events;
        std::erase(now, P("CA", "UTF-8"));
        std::erase(now, P("AP", "Velmora:1.0"));
        ASSERT_EQ(old.size(), now.size()) << name;
        std::map<std::string, std::string> moved;
        for (std::size_t i = 0; i < old.size(); ++i)
            if (old[i] != now[i]) moved[old[i].value] = now[i].value;
        EXPECT_EQ(moved, (std::map<std::string, std::string>{{"jj:a", "ii:a"}, {"lj:b", "ki:b"}}))
            << name;
    }
}

}  // namespace
}  // namespace velmora
