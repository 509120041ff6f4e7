#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>

#include "record/RecordViews.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

TEST(RecordViews, TheMainLineStepsFromMoveToMoveAndPassesDiagramsMadeHere) {
    // A node without a move stays in the group of the move before it; a diagram made here at
    // the last move is no continuation, whichever child it is.
    const GameTree tree =
        ReadSgfTree("(;SZ[9];B[aa];C[둘]AB[cc];W[bb](;C[참고도-먼저];B[dd])(;B[ee];C[끝]RE[B+R]))").tree;
    const std::vector<NodeId> line = MainLineMoves(tree);
    ASSERT_EQ(line.size(), 4u);
    EXPECT_EQ(tree.FirstValue(line[3], "B"), "ee");
    EXPECT_EQ(tree.FirstValue(GroupEnd(tree, line[1]), "C"), "둘");
    EXPECT_EQ(tree.FirstValue(GroupEnd(tree, line[3]), "RE"), "B+R");
    const std::vector<TreeDiagram> diagrams = TreeDiagrams(tree, line);
    ASSERT_EQ(diagrams.size(), 1u);
    EXPECT_EQ(diagrams[0].base, 2);
    EXPECT_EQ(diagrams[0].text, "먼저");
    EXPECT_EQ(diagrams[0].moves, 1);
    EXPECT_TRUE(diagrams[0].madeHere);
}

TEST(RecordViews, DiagramsComeInTheOrderTheFileHoldsThemBranchesOfBranchesSharingTheirMoves) {
    std::ifstream in(std::string(VELMORA_TEST_DATA) + "/sgf/nested-diagrams.sgf");
    std::stringstream text;
    text << in.rdbuf();
    const GameTree tree = ReadSgfTree(text.str()).tree;
    // Base, kind, moves and parent, in the order the list has always shown this file's.
    std::vector<std::array<int, 4>> got;
    for (const TreeDiagram& d : TreeDiagrams(tree, MainLineMoves(tree)))
        got.push_back({d.base, d.kind, d.moves, d.parent});
    const std::vector<std::array<int, 4>> expected = {{2, 0, 3, -1}, {2, 0, 5, 0}, {2, 0, 5, 1},
                                                      {4, 0, 5, -1}, {4, 0, 5, 3}, {4, 0, 6, 4},
                                                      {4, 4, 3, 3}};
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace velmora
