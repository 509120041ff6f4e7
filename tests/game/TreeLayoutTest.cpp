#include <gtest/gtest.h>

#include <string>

#include "../common/GeneratedTree.h"
#include "game/TreeLayout.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

// Root, aa, bb, cc, dd on the main line; ee a variation at cc; ff–gg and hh variations at aa.
constexpr const char* kSmall = "(;SZ[9];B[aa](;W[bb];B[cc](;W[dd])(;W[ee]))(;W[ff];B[gg])(;W[hh]))";

NodeId Find(const GameTree& tree, std::string_view move) {
    for (NodeId n = 0; n < tree.NodeCount(); ++n)
        if (tree.FirstValue(n, "B") == move || tree.FirstValue(n, "W") == move) return n;
    return kNoNode;
}

// Every attached node shown exactly where it belongs, unless a fold above hides it: at its
// depth, on its parent's lane when a first child, otherwise below its parent and its previous
// sibling with its connector's column and its own cell free of other nodes.
void ExpectSoundLayout(const GameTree& tree, const TreeLayout& layout) {
    std::size_t shown = 0;
    for (NodeId n = 0; n < tree.NodeCount(); ++n) {
        if (!tree.IsAttached(n)) continue;
        bool folded = false;
        for (NodeId m = tree.Parent(n); m != kNoNode; m = tree.Parent(m)) folded = folded || layout.Folded(m);
        ASSERT_EQ(layout.RunOf(n) < 0, folded) << n;
        if (folded) continue;
        ++shown;
        ASSERT_EQ(layout.NodeAt(layout.CellOf(n)), n);
        ASSERT_EQ(layout.DepthOf(n), tree.Depth(n));
        const NodeId parent = tree.Parent(n);
        if (parent == kNoNode) continue;
        const int lane = layout.LaneOf(n);
        if (tree.FirstChild(parent) == n) {
            ASSERT_EQ(lane, layout.LaneOf(parent)) << n;
            continue;
        }
        ASSERT_GT(lane, layout.LaneOf(tree.PreviousSibling(n))) << n;
        for (int l = layout.LaneOf(parent) + 1; l <= lane; ++l)
            ASSERT_EQ(layout.NodeAtDepth(layout.DepthOf(parent), l), kNoNode) << n << " crosses lane " << l;
    }
    EXPECT_EQ(layout.CellCount(), shown);
}

TEST(TreeLayout, PlacesTheMainLineFirstAndVariationsOnTheFirstFreeLanes) {
    const SgfTreeRead read = ReadSgfTree(kSmall);
    const GameTree& tree = read.tree;
    TreeLayout layout(tree);
    EXPECT_EQ(layout.CellOf(tree.Root()), (TreeCell{0, 0}));
    EXPECT_EQ(layout.CellOf(Find(tree, "dd")), (TreeCell{4, 0}));
    // The deepest branch point's variation comes first; ff's run then has to go below it.
    EXPECT_EQ(layout.CellOf(Find(tree, "ee")), (TreeCell{4, 1}));
    EXPECT_EQ(layout.CellOf(Find(tree, "gg")), (TreeCell{3, 2}));
    EXPECT_EQ(layout.CellOf(Find(tree, "hh")), (TreeCell{2, 3}));
    EXPECT_EQ(layout.Width(), 5);
    EXPECT_EQ(layout.Height(), 4);
    EXPECT_EQ(layout.NodeAt({3, 1}), kNoNode);
    EXPECT_EQ(layout.NodeAt({9, 9}), kNoNode);
    EXPECT_EQ(layout.MoveNumber(Find(tree, "gg")), 3);
    ExpectSoundLayout(tree, layout);

    layout.SetOrientation(TreeOrientation::kVertical);
    EXPECT_EQ(layout.CellOf(Find(tree, "gg")), (TreeCell{2, 3}));
    EXPECT_EQ(layout.NodeAt({2, 3}), Find(tree, "gg"));
    EXPECT_EQ(layout.Width(), 4);

    // Runs meeting an area: those with a cell in it and those whose connector crosses it.
    std::vector<std::uint32_t> runs;
    layout.RunsMeeting(1, 1, 1, 2, runs);  // only ff's and hh's connectors pass there
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(layout.RunNode(layout.Run(runs[0]), 0), Find(tree, "ff"));
    EXPECT_EQ(layout.RunNode(layout.Run(runs[1]), 0), Find(tree, "hh"));
}

TEST(TreeLayout, FoldsBranchesAndFollowsTheCurrentPath) {
    const SgfTreeRead read = ReadSgfTree(kSmall);
    const GameTree& tree = read.tree;
    TreeLayout layout(tree);
    const NodeId aa = Find(tree, "aa");
    layout.Fold(aa);
    EXPECT_EQ(layout.CellCount(), 2u);
    EXPECT_EQ(layout.HiddenCount(aa), 7);
    EXPECT_EQ(layout.CellOf(Find(tree, "ee")), TreeCell{});
    layout.Unfold(aa);
    EXPECT_EQ(layout.CellCount(), 9u);

    // Off the path to ee: ff's run folds to its first node (a leaf like hh stays as it is) and
    // takes the lane it no longer shares with gg.
    const NodeId ee = Find(tree, "ee");
    layout.FoldOffPath(ee);
    EXPECT_TRUE(layout.Folded(Find(tree, "ff")));
    EXPECT_EQ(layout.HiddenCount(Find(tree, "ff")), 1);
    EXPECT_EQ(layout.CellOf(Find(tree, "ff")), (TreeCell{2, 1}));
    EXPECT_EQ(layout.CellOf(Find(tree, "hh")), (TreeCell{2, 2}));
    EXPECT_EQ(layout.CellOf(Find(tree, "dd")), (TreeCell{4, 0}));
    ExpectSoundLayout(tree, layout);

    layout.SetCurrent(ee);
    EXPECT_TRUE(layout.OnPath(Find(tree, "cc")) && layout.OnPath(tree.Root()));
    EXPECT_FALSE(layout.OnPath(Find(tree, "dd")));
    layout.SetCurrent(Find(tree, "hh"));
    EXPECT_FALSE(layout.OnPath(ee) || layout.OnPath(Find(tree, "cc")));
    EXPECT_TRUE(layout.OnPath(aa));
}

TEST(TreeLayout, ColoursADiagramBranchByTheKindItsFirstCommentNames) {
    const SgfTreeRead read =
        ReadSgfTree("(;;B[aa](;W[bb])(;C[장면도-돌려보기]W[cc];B[dd](;W[ee])(;W[ff]))(;C[참고도]W[gg])"
                    "(;C[정답도-]W[hh])(;C[실전진행-1]W[ii](;B[jj])(;C[문제도-a]B[kk])))");
    const GameTree& tree = read.tree;
    const TreeLayout layout(tree);
    EXPECT_EQ(layout.KindOf(Find(tree, "bb")), BranchKind::kPlain);
    EXPECT_EQ(layout.KindOf(Find(tree, "dd")), BranchKind::kScene);
    EXPECT_EQ(layout.KindOf(Find(tree, "ff")), BranchKind::kScene);  // a variation inside it
    EXPECT_EQ(layout.KindOf(Find(tree, "gg")), BranchKind::kPlain);  // the word alone names none
    EXPECT_EQ(layout.KindOf(Find(tree, "hh")), BranchKind::kAnswer);
    EXPECT_EQ(layout.KindOf(Find(tree, "jj")), BranchKind::kActual);
    EXPECT_EQ(layout.KindOf(Find(tree, "kk")), BranchKind::kProblem);
}

TEST(TreeLayout, BigTreesHaveNoCrossingsAndEditsKeepItSo) {
    SgfTreeRead read = ReadSgfTree(test::GeneratedTreeText(test::FixtureGameMoves(VELMORA_TEST_DATA), 5000, 120));
    GameTree& tree = read.tree;
    TreeLayout layout(tree);
    ExpectSoundLayout(tree, layout);

    // A move at the end of the main line and a new variation at its fifth move take free cells;
    // nothing else moves.
    const NodeId end = tree.LineEnd(tree.Root());
    NodeId fifth = tree.Root();
    for (int i = 0; i < 5; ++i) fifth = tree.FirstChild(fifth);
    const TreeCell before = layout.CellOf(tree.Child(fifth, 1));
    const NodeId played = tree.AddNode(end);
    tree.AddValue(played, "W", "aa");
    layout.NodeAdded(played);
    EXPECT_EQ(layout.CellOf(played), (TreeCell{layout.CellOf(end).x + 1, 0}));
    EXPECT_EQ(layout.MoveNumber(played), layout.MoveNumber(end) + 1);
    const NodeId variation = tree.AddNode(fifth);
    tree.AddValue(variation, "B", "ss");
    layout.NodeAdded(variation);
    EXPECT_EQ(layout.CellOf(tree.Child(fifth, 1)), before);
    ExpectSoundLayout(tree, layout);

    // Cutting a variation and the end of a line takes their cells away and nothing else;
    // putting them back as undo does lays them out again.
    const NodeId second = tree.Child(fifth, 1);
    const NodeId tail = tree.FirstChild(tree.FirstChild(second));
    tree.Detach(variation);
    layout.NodeDetached(variation);
    tree.Detach(tail);
    layout.NodeDetached(tail);
    EXPECT_EQ(layout.CellOf(second), before);
    EXPECT_EQ(layout.CellOf(variation), TreeCell{});
    ExpectSoundLayout(tree, layout);
    tree.Attach(tail, tree.FirstChild(second), 0);
    layout.NodeAdded(tail);
    // The first child taken away: the second becomes the line, laid out again.
    const NodeId first = tree.FirstChild(fifth);
    tree.Detach(first);
    layout.NodeDetached(first);
    ExpectSoundLayout(tree, layout);

    // Leaves added anywhere, variations and leaves cut anywhere, many taking the cheap way.
    std::uint32_t seed = 7;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1103515245u + 12345u;
        const NodeId at = (seed >> 8) % static_cast<std::uint32_t>(tree.NodeCount());
        if (!tree.IsAttached(at)) continue;
        if (i % 3 == 2 && at != tree.Root() && (tree.FirstChild(at) == kNoNode || tree.ChildIndex(at) > 0)) {
            tree.Detach(at);
            layout.NodeDetached(at);
        } else {
            layout.NodeAdded(tree.AddNode(at));
        }
        if (i % 100 == 99) ExpectSoundLayout(tree, layout);
    }
}

TEST(TreeLayout, LaysOutALineOfAHundredThousandMovesWithoutRecursion) {
    GameTree tree;
    NodeId n = tree.Root();
    for (int i = 0; i < 100000; ++i) {
        n = tree.AddNode(n);
        tree.AddValue(n, i % 2 ? "W" : "B", "dd");
    }
    const NodeId branch = tree.AddNode(tree.Parent(n));
    tree.AddValue(branch, "B", "ee");
    TreeLayout layout(tree);
    EXPECT_EQ(layout.CellOf(n), (TreeCell{100000, 0}));
    EXPECT_EQ(layout.CellOf(branch), (TreeCell{100000, 1}));
    EXPECT_EQ(layout.MoveNumber(n), 100000);
    layout.SetCurrent(branch);
    layout.FoldOffPath(branch);
    EXPECT_EQ(layout.CellCount(), tree.NodeCount());
    layout.Fold(tree.FirstChild(tree.Root()));
    EXPECT_EQ(layout.HiddenCount(tree.FirstChild(tree.Root())), 100000);
    EXPECT_LE(TreeLayout(tree).MemoryUsed(), 40u * tree.NodeCount());
}

}  // namespace
}  // namespace velmora
