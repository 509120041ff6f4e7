// The views of the game tree against the record the board builds from the same file, for every
// sample and fixture: while the two models live side by side, they must show the same moves,
// comments, marks and diagrams.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "game/BoardLogic.h"
#include "game/SgfFile.h"
#include "game/TreeFile.h"
#include "record/RecordViews.h"
#include "record/SgfReader.h"

namespace velmora {
namespace {

std::string Describe(const std::vector<NaviStone>& marks) {
    std::ostringstream out;
    for (const NaviStone& s : marks) out << "(" << s.x << "," << s.y << " " << s.underlay << " " << s.kind << " " << s.text << ")";
    return out.str();
}

struct TreeMove {
    int x = 0;
    int y = 0;
    int colour = 0;
    std::string text;
    std::vector<NaviStone> marks;
};

// The moves of a line of nodes as the record keeps them: each move with the comment of its node
// and the marks of its group; the marks before the first move go to start.
std::vector<TreeMove> LineMoves(const GameTree& tree, const std::vector<NodeId>& line, int size,
                                MarkReading startReading, MarkReading reading,
                                std::vector<NaviStone>& start) {
    std::vector<TreeMove> moves;
    for (NodeId n : line) {
        if (HasMove(tree, n)) {
            TreeMove move;
            move.colour = tree.Has(n, "B") ? kBlack : kWhite;
            const std::string_view value = tree.FirstValue(n, move.colour == kBlack ? "B" : "W");
            if (!IsPassValue(value, size)) SgfPointOf(value, move.x, move.y);
            move.text = tree.FirstValue(n, "C");
            moves.push_back(move);
        }
        if (moves.empty()) {
            AddNodeMarks(tree, n, startReading, start);
        } else {
            AddNodeMarks(tree, n, reading, moves.back().marks);
        }
    }
    return moves;
}

void ExpectMovesMatch(const std::vector<TreeMove>& tree, const MainLine& old, const std::string& where) {
    ASSERT_EQ(tree.size(), old.size()) << where;
    int n = 1;
    for (const auto& [number, move] : old) {
        const TreeMove& t = tree[static_cast<std::size_t>(n - 1)];
        const std::string at = where + " move " + std::to_string(n);
        if (move.notPlayed == 0 || move.valueAsRead.empty()) {
            EXPECT_EQ(t.x, move.x) << at;
            EXPECT_EQ(t.y, move.y) << at;
        }
        EXPECT_EQ(t.colour, move.colour) << at;
        EXPECT_EQ(t.text, move.text) << at;
        EXPECT_EQ(Describe(t.marks), Describe(move.naviStones)) << at;
        ++n;
    }
}

TEST(TreeViews, ShowWhatTheBoardsRecordShowsForEverySampleAndFixture) {
    const std::filesystem::path data(VELMORA_TEST_DATA);
    std::vector<std::filesystem::path> files;
    for (const auto& folder : {data, data / ".." / ".." / "resources" / "samples"})
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.path().extension() == ".sgf" || entry.path().extension() == ".sgfx") files.push_back(entry.path());
    ASSERT_GT(files.size(), 50u);
    std::size_t diagramsSeen = 0;
    std::size_t movesSeen = 0;
    for (const std::filesystem::path& path : files) {
        const std::string name = path.filename().string();
        BoardLogic board;
        SgfFile file;
        file.SetBoard(&board);
        if (!file.Open(path.string()).ok) continue;
        const GameRecord& old = board.Record();
        const TreeRecord record = LoadTreeRecord(path.string());
        ASSERT_TRUE(record.refusal.empty()) << name;
        const GameTree& tree = record.read.tree;
        const bool index = record.read.oldLayout;

        // The main line, its marks always in the usual letters.
        std::vector<NodeId> line;
        for (NodeId n = tree.Root(); n != kNoNode; n = Continuation(tree, n)) line.push_back(n);
        std::vector<NaviStone> opening;
        const std::vector<TreeMove> moves = LineMoves(tree, line, record.size, {}, {}, opening);
        ExpectMovesMatch(moves, old.MainLineMoves(), name);
        movesSeen += moves.size();
        diagramsSeen += old.StoredDiagramMap().size();
        EXPECT_EQ(Describe(opening), Describe(old.MainLineMarks(0))) << name;
        EXPECT_EQ(tree.FirstValue(tree.Root(), "C"), old.OpeningCommentary()) << name;

        // The diagrams in the order the record made them.
        const std::vector<TreeDiagram> diagrams = TreeDiagrams(tree, record.mainLine);
        ASSERT_EQ(diagrams.size(), old.StoredDiagramMap().size()) << name;
        int i = 0;
        for (const auto& [key, stored] : old.StoredDiagramMap()) {
            const TreeDiagram& d = diagrams[static_cast<std::size_t>(i)];
            const std::string where = name + " diagram " + std::to_string(i);
            EXPECT_EQ(d.base, stored.base) << where;
            EXPECT_EQ(d.kind, stored.kind) << where;
            EXPECT_EQ(d.text, stored.text) << where;
            std::vector<NaviStone> start;
            const MarkReading reading{d.madeHere, index};
            std::vector<TreeMove> lineMoves =
                LineMoves(tree, DiagramLine(tree, diagrams, i), record.size, {true, index}, reading, start);
            ExpectMovesMatch(lineMoves, stored.moves, where);
            EXPECT_EQ(Describe(start), Describe(stored.startList)) << where;
            ++i;
        }
    }
    // Every fixture opened: the sample's 325 moves and its diagrams among them.
    EXPECT_GT(movesSeen, 10000u);
    EXPECT_GT(diagramsSeen, 40u);
}

}  // namespace
}  // namespace velmora
