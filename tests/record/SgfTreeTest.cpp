#include <gtest/gtest.h>

#include <random>
#include <string>

#include "record/SgfTree.h"

namespace velmora {
namespace {

// The tree's text written back, for comparing whole trees.
std::string RoundTrip(std::string_view text) {
    return WriteSgfTree(ReadSgfTree(text).tree);
}

int Attached(const GameTree& tree) {
    int count = 0;
    std::vector<NodeId> stack{tree.Root()};
    while (!stack.empty()) {
        const NodeId n = stack.back();
        stack.pop_back();
        ++count;
        for (NodeId c = tree.FirstChild(n); c != kNoNode; c = tree.NextSibling(c)) stack.push_back(c);
    }
    return count;
}

TEST(SgfTree, EveryNodeStaysWhereItStands) {
    // Set-up nodes at the top of one variation stay there, in their order.
    const std::string setup =
        "(;GM[1]FF[4]SZ[19](;C[Black setup stones]AB[aa][ab][ac];C[White setup stones]AW[ba][bb][bc];B[cc])"
        "(;B[pd]))";
    EXPECT_EQ(RoundTrip(setup), setup);
    const SgfTreeRead read = ReadSgfTree(setup);
    EXPECT_FALSE(read.oldLayout);
    EXPECT_EQ(read.tree.ChildCount(read.tree.Root()), 2);
    EXPECT_EQ(read.tree.FirstValue(1, "C"), "Black setup stones");
    EXPECT_EQ(read.tree.Values(1, "AB").size(), 3u);

    // Result-only variations, empty nodes and unknown properties are nodes like any other.
    const std::string results = "(;FF[4];B[aa](;C[a]RE[W+T])(;C[b]RE[B+R]XX[1][2])(;;;W[bb]))";
    EXPECT_EQ(RoundTrip(results), results);
    EXPECT_EQ(Attached(ReadSgfTree(results).tree), 7);

    // Branches differing only in marks stay two.
    const std::string marks = "(;FF[4];B[aa](;W[bb]TR[cc])(;W[bb]TR[cd]))";
    EXPECT_EQ(RoundTrip(marks), marks);
}

TEST(SgfTree, ValuesAreKeptAsTheyRead) {
    // An identifier repeated in one node gathers its values; a move with two values keeps both.
    EXPECT_EQ(RoundTrip("(;FF[4]AB[dd]AB[de]C[x]AB[df];B[ce][too much values])"),
              "(;FF[4]AB[dd][de][df]C[x];B[ce][too much values])");
    // Soft line breaks in every spelling vanish; escapes are resolved and written again.
    for (const char* soft : {"o\\\nk", "o\\\rk", "o\\\r\nk", "o\\\n\rk"}) {
        const SgfTreeRead read = ReadSgfTree(std::string("(;C[") + soft + "])");
        EXPECT_EQ(read.tree.FirstValue(0, "C"), "ok") << soft;
    }
    const SgfTreeRead escaped = ReadSgfTree("(;C[a\\]b\\\\c\\:d\nline])");
    EXPECT_EQ(escaped.tree.FirstValue(0, "C"), "a]b\\c:d\nline");
    EXPECT_EQ(WriteSgfTree(escaped.tree), "(;C[a\\]b\\\\c:d\nline])");
    // Old spelt-out identifiers, white space and prose around the game.
    EXPECT_EQ(RoundTrip("junk (\n ;AddBlack[aa] Comment [hi]\n ; B [bb] ) more"), "(;AB[aa]C[hi];B[bb])");
}

TEST(SgfTree, ShapesForbiddenByTheFormatAreTheOlderLayout) {
    // Nodes after a variation continue the line; the variation is a branch where it stands.
    const SgfTreeRead inserted = ReadSgfTree("(;GM[1]FF[4]SZ[19];B[pd](;W[dd];B[fc]);W[dp];B[pp])");
    EXPECT_TRUE(inserted.oldLayout);
    EXPECT_EQ(WriteSgfTree(inserted.tree), "(;GM[1]FF[4]SZ[19];B[pd](;W[dp];B[pp])(;W[dd];B[fc]))");
    // A variation opening without a node: its properties make one.
    const SgfTreeRead bare = ReadSgfTree("(;FF[4];B[pd](C[참고도-x];W[dd]))");
    EXPECT_TRUE(bare.oldLayout);
    EXPECT_EQ(WriteSgfTree(bare.tree), "(;FF[4];B[pd];C[참고도-x];W[dd])");
    // The header alone never decides.
    const SgfTreeRead header = ReadSgfTree("(;GM[1]FF[4]SZ[19]PB[A]PW[B];B[pd];W[dp];B[pp](;W[dd];B[fc])(;W[dc];B[ce]))");
    EXPECT_FALSE(header.oldLayout);
    EXPECT_EQ(Attached(header.tree), 8);
}

TEST(SgfTree, CollectionsAndCutTexts) {
    const std::string two = "(;GN[one];B[aa]) text (;GN[two];W[bb])";
    EXPECT_EQ(SgfGameStarts(two).size(), 2u);
    const SgfTreeRead second = ReadSgfTree(two, 2);
    EXPECT_EQ(second.games, 2);
    EXPECT_EQ(second.tree.FirstValue(0, "GN"), "two");
    EXPECT_EQ(ReadSgfTree(two, 3).tree.PropertyCount(0), 0);

    const SgfTreeRead cut = ReadSgfTree("(;FF[4];B[aa];C[unfinished");
    EXPECT_EQ(cut.end, std::string_view::npos);
    EXPECT_NE(cut.unclosedValue, std::string_view::npos);
    EXPECT_EQ(WriteSgfTree(cut.tree), "(;FF[4];B[aa];)");
}

TEST(SgfTree, DeepAndWideTreesNeedNoDeepStack) {
    std::string line = "(;SZ[19]";
    for (int i = 0; i < 10000; ++i) line += i % 2 ? ";W[cc]" : ";B[dd]";
    line += ")";
    EXPECT_EQ(RoundTrip(line), line);

    // A thousand side branches on one long variation.
    std::string wide = "(;FF[4](;B[aa]";
    for (int i = 0; i < 3000; ++i) {
        wide += i % 2 ? "(;W[bb]" : "(;B[cc]";
        if (i < 1000) wide += "(;C[side]B[dd])";
    }
    for (int i = 0; i < 3000; ++i) wide += ")";
    wide += ")(;B[ee]))";
    const SgfTreeRead read = ReadSgfTree(wide);
    EXPECT_EQ(Attached(read.tree), 1 + 1 + 3000 + 1000 + 1);
    EXPECT_EQ(ReadSgfTree(WriteSgfTree(read.tree)).tree.NodeCount(), read.tree.NodeCount());
}

TEST(SgfTree, EditsUndoExactly) {
    SgfTreeRead read = ReadSgfTree("(;FF[4];B[aa](;W[bb];B[cc])(;W[dd]))");
    GameTree& tree = read.tree;
    const std::string before = WriteSgfTree(tree);
    const NodeId b = 1;
    const NodeId cut = tree.FirstChild(b);
    std::vector<TreeEdit> undo;
    undo.push_back(tree.SetProperty(b, "C", {"comment"}));
    undo.push_back(tree.Detach(cut));
    const NodeId added = tree.AddNode(kNoNode);
    tree.AddValue(added, "W", "ee");
    undo.push_back(tree.Attach(added, b, 0));
    EXPECT_EQ(WriteSgfTree(tree), "(;FF[4];B[aa]C[comment](;W[ee])(;W[dd]))");
    std::vector<TreeEdit> redo;
    for (auto e = undo.rbegin(); e != undo.rend(); ++e) redo.push_back(tree.Apply(*e));
    EXPECT_EQ(WriteSgfTree(tree), before);
    for (auto e = redo.rbegin(); e != redo.rend(); ++e) tree.Apply(*e);
    EXPECT_EQ(WriteSgfTree(tree), "(;FF[4];B[aa]C[comment](;W[ee])(;W[dd]))");
}

}  // namespace
}  // namespace velmora
