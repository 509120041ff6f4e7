#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "game/TreeHistory.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

TEST(TreeHistory, UndoingEveryKindOfChangeGivesTheSavedFileBack) {
    std::ifstream in(std::string(VELMORA_TEST_DATA) + "/sgf/nested-diagrams.sgf");
    std::stringstream text;
    text << in.rdbuf();
    SgfTreeRead read = ReadSgfTree(text.str());
    GameTree& tree = read.tree;
    const std::string saved = WriteSgfTree(tree);
    TreeHistory history;
    const NodeId second = tree.FirstChild(tree.FirstChild(tree.Root()));

    TreeHistory::Step play(tree, "착수", second);
    const NodeId played = play.AddNode(second, 0);
    play.SetProperty(played, "B", {"jj"});
    history.Record(std::move(play), played);
    TreeHistory::Step comment(tree, "해설 수정", played);
    comment.SetProperty(played, "C", {"새 해설"});
    comment.SetProperty(tree.Root(), "PB", {"다른 이름"});
    history.Record(std::move(comment), played);
    TreeHistory::Step cut(tree, "수순 자르기", second);
    cut.Detach(tree.Child(second, 1));
    history.Record(std::move(cut), second);
    history.Record(TreeHistory::Step(tree, "nothing", second), second);  // changes nothing: no step
    const std::string edited = WriteSgfTree(tree);
    EXPECT_NE(edited, saved);
    EXPECT_FALSE(history.AtSaved());
    EXPECT_EQ(history.UndoName(), "수순 자르기");

    EXPECT_EQ(history.Undo(tree), second);
    EXPECT_EQ(history.Undo(tree), played);
    EXPECT_EQ(history.Undo(tree), second);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(WriteSgfTree(tree), saved);
    EXPECT_TRUE(history.AtSaved());
    while (history.CanRedo()) history.Redo(tree);
    EXPECT_EQ(WriteSgfTree(tree), edited);

    // Saved here, two back, and then something else done: the saved state can't come back.
    history.MarkSaved();
    history.Undo(tree);
    history.Undo(tree);
    TreeHistory::Step other(tree, "착수", second);
    other.SetProperty(second, "C", {"x"});
    history.Record(std::move(other), second);
    EXPECT_FALSE(history.CanRedo());
    while (history.CanUndo()) {
        EXPECT_FALSE(history.AtSaved());
        history.Undo(tree);
    }
    EXPECT_EQ(WriteSgfTree(tree), saved);
}

}  // namespace
}  // namespace velmora
