#include "engine/GtpText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using P = Position::Point;

// kata-analyze output as KataGo documents it: every key of a candidate, pvVisits after the
// line, and the whole-board ownership after the last candidate.
constexpr const char* kKataLine =
    "info move Q16 visits 132 edgeVisits 130 utility -0.0276 winrate 0.48746 scoreMean -0.34 "
    "scoreStdev 30.9 scoreLead -0.34 scoreSelfplay -0.45 prior 0.1624 lcb 0.4812 utilityLcb "
    "-0.043 weight 130.2 order 0 pv Q16 D4 Q3 D16 pvVisits 132 80 41 20 "
    "info move D4 visits 97 utility -0.031 winrate 0.4811 scoreMean -0.52 scoreLead -0.5 "
    "prior 0.158 lcb 0.47 order 1 isSymmetryOf Q16 pv D4 pass Q16 ownership 0.12 -0.4 0.9";

TEST(GtpTextTest, AnalysisLinesOfBothScales) {
    const std::vector<Candidate> kata = ParseAnalysisLine(kKataLine, 19, WinrateScale::kFraction);
    ASSERT_EQ(kata.size(), 2u);
    EXPECT_EQ(kata[0].point, Position::PointAt(16, 4));
    EXPECT_EQ(kata[0].visits, 132);
    EXPECT_NEAR(kata[0].winrate, 48.746, 1e-9);
    EXPECT_DOUBLE_EQ(*kata[0].scoreLead, -0.34);
    EXPECT_EQ(kata[0].line, (std::vector<P>{Position::PointAt(16, 4), Position::PointAt(4, 16),
                                            Position::PointAt(16, 17), Position::PointAt(4, 4)}));
    EXPECT_EQ(kata[1].order, 1);
    EXPECT_EQ(kata[1].line, (std::vector<P>{Position::PointAt(4, 16), Position::kNoPoint,
                                            Position::PointAt(16, 4)}));

    const std::vector<Candidate> lz = ParseAnalysisLine(
        "info move D16 visits 1024 winrate 5123 prior 1510 lcb 5066 order 0 pv D16 Q4 "
        "info move pass visits 3 winrate 120 prior 1 lcb 0 order 1 pv pass",
        19, WinrateScale::kHundredthPercent);
    ASSERT_EQ(lz.size(), 2u);
    EXPECT_DOUBLE_EQ(lz[0].winrate, 51.23);
    EXPECT_FALSE(lz[0].scoreLead);
    EXPECT_EQ(lz[1].point, Position::kNoPoint);

    // A move off the board ends the reading; text that is no analysis gives nothing.
    EXPECT_EQ(ParseAnalysisLine("info move D4 visits 3 info move K10 visits 2", 9,
                                WinrateScale::kFraction).size(), 1u);
    EXPECT_TRUE(ParseAnalysisLine("= D4 E5", 9, WinrateScale::kFraction).empty());
}

TEST(GtpTextTest, VerticesSkipIAndCountRowsFromTheBottom) {
    for (const int size : {2, 9, 19, 25})
        for (int x = 1; x <= size; ++x)
            for (int y = 1; y <= size; ++y)
                ASSERT_EQ(ParseGtpVertex(GtpVertex(Position::PointAt(x, y), size), size),
                          Position::PointAt(x, y));
    EXPECT_EQ(GtpVertex(Position::PointAt(9, 1), 19), "J19");
    EXPECT_EQ(ParseGtpVertex("q16", 19), Position::PointAt(16, 4));
    EXPECT_EQ(ParseGtpVertex("PASS", 9), Position::kNoPoint);
    for (const char* refused : {"resign", "I5", "K1", "A10", "A0", "A", "D4x", ""})
        EXPECT_FALSE(ParseGtpVertex(refused, 9)) << refused;
}

TEST(GtpTextTest, ScoresAndCommandLines) {
    EXPECT_DOUBLE_EQ(*ParseGtpScore("W+10.3 (upper bound: 10.3, lower: 10.3)"), -10.3);
    EXPECT_DOUBLE_EQ(*ParseGtpScore("B+3.5"), 3.5);
    EXPECT_DOUBLE_EQ(*ParseGtpScore("0"), 0);
    for (const char* refused : {"B+R", "W+Resign", "B+T", "", "X+3"}) EXPECT_FALSE(ParseGtpScore(refused));
    EXPECT_EQ(ScoreText(-4.5), "W+4.5");
    EXPECT_EQ(ScoreText(36.5), "B+36.5");
    EXPECT_EQ(ScoreText(0.04), "0");

    EXPECT_EQ(*SplitShellWords("/usr/games/gnugo  --mode gtp"),
              (std::vector<std::string>{"/usr/games/gnugo", "--mode", "gtp"}));
    EXPECT_EQ(*SplitShellWords(R"("my engine" --config 'a b.cfg' x\ y "q\"x\n" '')"),
              (std::vector<std::string>{"my engine", "--config", "a b.cfg", "x y", "q\"x\\n", ""}));
    EXPECT_FALSE(SplitShellWords("gnugo 'unclosed"));
    EXPECT_FALSE(SplitShellWords("gnugo \"unclosed"));
}

}  // namespace
}  // namespace velmora
