#include <gtest/gtest.h>

#include "record/InfoTexts.h"

namespace velmora {
namespace {

GameInfo SampleInfo() {
    GameInfo info;
    info.gameName = "명인전";
    info.place = "서울";
    info.year = "2026";
    info.month = "12";
    info.day = "";
    info.mainTimeHours = "1";
    info.mainTimeSeconds = "30";
    info.overtimeSeconds = "30";
    info.overtimeCountText = "3";
    info.blackName = "이름";
    info.blackRank = "3단";
    info.whiteRank = "1급";
    info.komiText = "6.5";
    info.handicapText = "호선";
    info.result = "흑 불계승";
    return info;
}

// Empty fields print nothing: no stray units, dashes, brackets or slashes in the header.
TEST(InfoTexts, PrintTextsLeaveOutEmptyFields) {
    const PrintTexts t = MakePrintTexts(SampleInfo());
    EXPECT_EQ(t[kPrintGameName], "명인전");
    EXPECT_EQ(t[kPrintPlace], "서울");
    EXPECT_EQ(t[kPrintDate], "2026-12");
    EXPECT_EQ(t[kPrintTimeLimit], "1시간30초");
    EXPECT_EQ(t[kPrintBlackPlayer], "이름(3단)");
    EXPECT_EQ(t[kPrintWhitePlayer], "1급");
    EXPECT_EQ(t[kPrintKomiHandicap], "6.5/호선");
    EXPECT_EQ(t[kPrintResult], "흑 불계승");
    for (const std::string& text : MakePrintTexts(GameInfo{})) EXPECT_EQ(text, "");
    GameInfo komiOnly;
    komiOnly.komiText = "6.5";
    EXPECT_EQ(MakePrintTexts(komiOnly)[kPrintKomiHandicap], "6.5");
    EXPECT_EQ(MakeViewTexts(komiOnly).komiHandicap, "6.5");
}

// The pane leaves out the units of empty fields, says nothing of a player without a name and
// shows a player without a rank by the name alone.
TEST(InfoTexts, ViewTextsDropEmptyParts) {
    const ViewTexts t = MakeViewTexts(SampleInfo());
    EXPECT_EQ(t.black, "이름(3단)");
    EXPECT_FALSE(t.white.has_value());
    EXPECT_EQ(t.date, "2026-12");
    EXPECT_EQ(t.mainTime, "1시간30초");
    EXPECT_EQ(t.overtime, "30초3회");
    EXPECT_EQ(t.komiHandicap, "6.5/호선");
    EXPECT_EQ(MakeViewTexts(GameInfo{}).mainTime, "");
    GameInfo unranked;
    unranked.whiteName = "Kim";
    EXPECT_EQ(MakeViewTexts(unranked).white, "Kim");
}

TEST(InfoTexts, HandicapChoices) {
    EXPECT_EQ(HandicapFromChoice("호선"), 0);
    EXPECT_EQ(HandicapFromChoice("정선"), 1);
    EXPECT_EQ(HandicapFromChoice("3점접바둑"), 3);
    EXPECT_EQ(HandicapFromChoice("접바둑"), 0);
}

}  // namespace
}  // namespace velmora
