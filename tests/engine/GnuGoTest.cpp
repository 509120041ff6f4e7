#include <QEventLoop>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "engine/Evaluation.h"
#include "engine/GtpEngine.h"
#include "game/TreeCursor.h"
#include "record/SgfTree.h"

// GNU Go, the engine the program starts with, on small boards at its quickest level with a
// fixed seed: positions told to it as the record has them, its suggestions, its dead stones.

namespace velmora {
namespace {

const std::vector<std::string> kGnuGo = {"/usr/games/gnugo", "--mode", "gtp", "--level", "1", "--seed", "1"};

class GnuGoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kGnuGo.front())) GTEST_SKIP() << "GNU Go is not installed";
        ASSERT_EQ(StartEngine(engine), "");
    }
    // Brings the engine to the position at node → "" or why not.
    QString Bring(const GameTree& tree, NodeId node) {
        QEventLoop loop;
        QString why;
        board.Bring(engine, EnginePositionAt(tree, node), [&](const QString& w) {
            why = w;
            loop.quit();
        });
        loop.exec();
        return why;
    }
    std::optional<Evaluation> Evaluate(const GameTree& tree, NodeId node) {
        QEventLoop loop;
        std::optional<Evaluation> result;
        EvaluatePosition(engine, board, EnginePositionAt(tree, node), {},
                         [&](std::optional<Evaluation> e, const QString& why) {
                             EXPECT_EQ(why, "");
                             result = e;
                             loop.quit();
                         });
        loop.exec();
        return result;
    }

    GtpEngine engine{kGnuGo};
    EngineBoard board;
};

// The engine's stones of colour, as it lists them, as points.
std::vector<Position::Point> EngineStones(GtpEngine& engine, const char* colour, int size) {
    std::vector<Position::Point> points;
    std::istringstream words(CallEngine(engine, std::string("list_stones ") + colour).text);
    for (std::string w; words >> w;) points.push_back(*ParseGtpVertex(w, size));
    std::sort(points.begin(), points.end());
    return points;
}

// Handicap stones and a set-up stone in the middle of a game reach the engine (by loadsgf),
// later moves go on from where the engine is, and the board is what the record shows.
TEST_F(GnuGoTest, PositionsReachTheEngineAsTheRecordHasThem) {
    GameTree tree = ReadSgfTree("(;SZ[9]KM[0.5]HA[3]AB[cc][gc][cg]PL[W];W[fd];B[fc];W[ff]AW[ii];B[ce];W[gg];B[ec])").tree;
    for (int depth : {2, 4, 6}) {
        NodeId node = tree.Root();
        for (int i = 0; i < depth; ++i) node = tree.FirstChild(node);
        ASSERT_EQ(Bring(tree, node), "") << depth;
        TreeCursor cursor(tree, 9);
        cursor.GoTo(node);
        for (const auto& [colour, name] : {std::pair{kBlack, "black"}, std::pair{kWhite, "white"}}) {
            std::vector<Position::Point> ours;
            for (int p = 0; p < Position::kCells; ++p)
                if (cursor.Board().Colour(p) == colour) ours.push_back(p);
            EXPECT_EQ(EngineStones(engine, name, 9), ours) << depth << name;
        }
    }
    // A size the engine refuses is said with its answer.
    const GameTree wide = ReadSgfTree("(;SZ[25];B[aa])").tree;
    EXPECT_EQ(Bring(wide, wide.FirstChild(wide.Root())), "엔진이 25줄 바둑판을 받지 않습니다 (unacceptable size)");
}

// Three white stones in atari: the engine takes them, and counts Black ahead for it.
TEST_F(GnuGoTest, SuggestsTheCaptureAndCountsIt) {
    const GameTree tree =
        ReadSgfTree("(;SZ[9]KM[0]AW[cg][dg][eg]AB[bg][fg][ch][dh][eh][cf][df])").tree;
    const std::optional<Evaluation> e = Evaluate(tree, tree.Root());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->best, Position::PointAt(5, 6));
    EXPECT_EQ(e->line, std::vector<Position::Point>{Position::PointAt(5, 6)});
    EXPECT_FALSE(e->winrateGiven);
    EXPECT_GT(*e->blackLeadAfterBest, *e->blackLead);
    EXPECT_GT(e->blackWinrate, 50);
}

}  // namespace
}  // namespace velmora
