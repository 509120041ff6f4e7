#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "record/SgfReader.h"

namespace velmora {
namespace {

using Events = std::vector<SgfEvent>;

SgfEvent P(const std::string& id, const std::string& value) {
    return SgfEvent{SgfEvent::kProperty, id, value};
}
const SgfEvent kOpen{SgfEvent::kOpenVariation, {}, {}};
const SgfEvent kClose{SgfEvent::kCloseVariation, {}, {}};

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

TEST(SgfReader, TheLaterOfGameNameAndEventWins) {
    EXPECT_EQ(InfoOf("(;GN[기전]EV[대회])").gameName, "대회");
    EXPECT_EQ(InfoOf("(;EV[대회]GN[기전])").gameName, "기전");
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
    SgfPointOf("tz", x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, -10);
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
    // Every line of the side child at move 2 is a diagram of its own, holding its parent line.
    EXPECT_EQ(doc.events,
              (Events{P("FF", "4"), P("GM", "1"), P("B", "aa"), P("W", "bb"),
                      kOpen, P("B", "gg"), P("W", "hh"), P("B", "ii"), kClose,
                      kOpen, P("B", "gg"), P("W", "hh"), P("B", "jj"), P("W", "kk"), kClose,
                      kOpen, P("B", "gg"), P("W", "hh"), P("B", "jj"), P("W", "ll"), kClose,
                      P("B", "cc"), P("W", "dd"), kOpen, P("B", "ff"), kClose, P("B", "ee")}));
}

TEST(SgfReader, FirstGameOnlyAndUnclosedVariations) {
    EXPECT_EQ(ParseSgfText("(;B[aa])(;B[bb])").events, (Events{P("B", "aa")}));
    // A text that ends inside a variation leaves it open.
    EXPECT_EQ(ParseSgfText("(;GM[1]FF[4]SZ[19];B[aa](;W[bb]").events,
              (Events{P("GM", "1"), P("FF", "4"), P("SZ", "19"), P("B", "aa"), kOpen, P("W", "bb")}));
    EXPECT_TRUE(ParseSgfText("no record here").events.empty());
    // An unterminated value is dropped; what stands before it is read.
    EXPECT_EQ(ParseSgfText("(;B[aa];W[bb").events, (Events{P("B", "aa")}));
}

TEST(SgfReader, BoardsOtherThanNineteenAreRefused) {
    EXPECT_FALSE(ParseSgfText("(;SZ[9];B[aa])").refusal.empty());
    EXPECT_TRUE(ParseSgfText("(;SZ[9];B[aa])").events.empty());
    EXPECT_FALSE(ParseSgfText("(;SZ[19:13])").refusal.empty());
    EXPECT_TRUE(ParseSgfText("(;SZ[19:19];B[aa])").refusal.empty());
    EXPECT_TRUE(ParseSgfText("(;B[aa])").refusal.empty());
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
}

TEST(SgfReader, OnlyFilesReadAsRecords) {
    EXPECT_EQ(ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/no-such-record.sgf"), std::nullopt);
    EXPECT_EQ(ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf"), std::nullopt);  // a folder
    EXPECT_EQ(ReadRecordFile(std::string(VELMORA_TEST_DATA) + "/sgf/size9.sgf").value_or("").substr(0, 1), "(");
}

}  // namespace
}  // namespace velmora
