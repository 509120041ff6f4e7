#include <gtest/gtest.h>

#include <string>

#include "../common/GeneratedTree.h"
#include "game/TreeCursor.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

TEST(TreeCursor, StepsBackToTheKoItLeft) {
    // Black's first move takes the white stone at bb: a ko that white may not retake at once.
    const SgfTreeRead read = ReadSgfTree("(;SZ[5]AB[ba][ab][bc]AW[bb][ca][db][cc];B[cb];W[ee];B[dd];W[bb])");
    TreeCursor cursor(read.tree, 5);
    const Position::Point retake = Position::PointAt(2, 2);
    ASSERT_TRUE(cursor.Forward());
    EXPECT_EQ(cursor.Board().Check(retake, kWhite), PlayResult::kKo);
    ASSERT_TRUE(cursor.Forward());
    EXPECT_EQ(cursor.Board().KoPoint(), Position::kNoPoint);
    ASSERT_TRUE(cursor.Back());
    EXPECT_EQ(cursor.Board().Check(retake, kWhite), PlayResult::kKo);
    // The retake after the ko threats stands; back at the start nothing of it is left.
    cursor.GoTo(read.tree.LineEnd(read.tree.Root()));
    EXPECT_EQ(cursor.Move().kind, NodeMove::Kind::kPlayed);
    EXPECT_EQ(cursor.Board().CapturedBy(kWhite), 1);
    cursor.GoTo(read.tree.Root());
    EXPECT_EQ(cursor.Board(), TreeCursor(read.tree, 5).Board());
}

TEST(TreeCursor, JumpsGiveThePositionOfAWalkFromTheRoot) {
    const SgfTreeRead read =
        ReadSgfTree(test::GeneratedTreeText(test::FixtureGameMoves(VELMORA_TEST_DATA), 5000, 120));
    const GameTree& tree = read.tree;
    TreeCursor jumping(tree, 19);
    for (NodeId n = 1; n < tree.NodeCount(); n += 97) {
        jumping.GoTo(n);
        std::vector<NodeId> path;
        for (NodeId m = n; m != tree.Root(); m = tree.Parent(m)) path.push_back(m);
        TreeCursor walking(tree, 19);
        for (auto m = path.rbegin(); m != path.rend(); ++m) walking.Forward(tree.ChildIndex(*m));
        ASSERT_EQ(walking.Node(), n);
        EXPECT_EQ(jumping.Board(), walking.Board()) << "node " << n;
    }
    // Passes, refused moves and set-up nodes all undo: back at the root the board is empty.
    jumping.GoTo(tree.Root());
    EXPECT_EQ(jumping.Board().Hash(), 0u);
}

}  // namespace
}  // namespace velmora
