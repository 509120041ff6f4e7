#include "record/RecordViews.h"

#include <algorithm>

#include "record/BoardGrid.h"
#include "record/ReferenceDiagram.h"
#include "record/SgfReader.h"

namespace velmora {

bool HasMove(const GameTree& tree, NodeId n) {
    return tree.Has(n, "B") || tree.Has(n, "W");
}

bool BeginsWithKindWord(std::string_view comment) {
    for (std::string_view word : {"참고도-", "장면도-", "실전진행-", "문제도-", "정답도-"})
        if (comment.starts_with(word)) return true;
    return false;
}

bool IsKindNode(const GameTree& tree, NodeId n) {
    return !HasMove(tree, n) && BeginsWithKindWord(tree.FirstValue(n, "C"));
}

NodeId Continuation(const GameTree& tree, NodeId n) {
    NodeId c = tree.FirstChild(n);
    while (c != kNoNode && IsKindNode(tree, c)) c = tree.NextSibling(c);
    return c;
}

std::vector<NodeId> MainLineMoves(const GameTree& tree) {
    std::vector<NodeId> moves{tree.Root()};
    for (NodeId n = Continuation(tree, tree.Root()); n != kNoNode; n = Continuation(tree, n))
        if (HasMove(tree, n)) moves.push_back(n);
    return moves;
}

NodeId GroupEnd(const GameTree& tree, NodeId n) {
    for (NodeId next = Continuation(tree, n); next != kNoNode && !HasMove(tree, next);
         next = Continuation(tree, n))
        n = next;
    return n;
}

namespace {

// A branch met on the way down, waiting to become a diagram.
struct PendingBranch {
    NodeId first;
    int parent;      // −1: a branch of the main line
    int branchMove;  // the parent's moves it shares
};

// Pushes the branches that leave the line from first to last (kNoNode: to its end) onto pending,
// so that they come off it in the order the tree holds them: a node's branches after
// everything below its continuation, its own in their order. moves counts the line's moves
// up to each branch point.
void PushBranches(const GameTree& tree, NodeId first, NodeId last, int parent, int& moves,
                  std::vector<PendingBranch>& pending) {
    for (NodeId n = first; n != kNoNode;) {
        if (HasMove(tree, n)) ++moves;
        const NodeId next = n == last ? kNoNode : Continuation(tree, n);
        const std::size_t at = pending.size();
        for (NodeId c = tree.FirstChild(n); c != kNoNode; c = tree.NextSibling(c))
            if (c != next) pending.push_back({c, parent, moves});
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(at), pending.end());
        if (n == last) break;
        n = next;
    }
}

}  // namespace

std::vector<TreeDiagram> TreeDiagrams(const GameTree& tree, const std::vector<NodeId>& mainLine) {
    std::vector<TreeDiagram> diagrams;
    std::vector<PendingBranch> pending;  // a stack: the last pushed is taken first
    for (std::size_t move = 0; move < mainLine.size(); ++move) {
        int moves = 0;
        PushBranches(tree, mainLine[move], GroupEnd(tree, mainLine[move]), -1, moves, pending);
        // The main line's own continuation after the group is no diagram.
        if (move + 1 < mainLine.size())
            std::erase_if(pending, [&](const PendingBranch& b) { return b.first == mainLine[move + 1]; });
        while (!pending.empty()) {
            const PendingBranch branch = pending.back();
            pending.pop_back();
            TreeDiagram diagram;
            diagram.first = branch.first;
            diagram.base = static_cast<int>(move);
            diagram.parent = branch.parent;
            diagram.branchMove = branch.branchMove;
            diagram.madeHere = IsKindNode(tree, branch.first);
            if (diagram.madeHere) {
                const std::string_view comment = tree.FirstValue(branch.first, "C");
                const std::size_t dash = comment.find('-');
                diagram.kind = KindFromWord(std::string(comment.substr(0, dash)));
                diagram.text = comment.substr(dash + 1);
            } else if (branch.parent >= 0) {
                // A branch of a diagram shows that diagram's kind and text.
                diagram.kind = diagrams[static_cast<std::size_t>(branch.parent)].kind;
                diagram.text = diagrams[static_cast<std::size_t>(branch.parent)].text;
                diagram.madeHere = diagrams[static_cast<std::size_t>(branch.parent)].madeHere;
            } else if (!HasMove(tree, branch.first)) {
                diagram.text = tree.FirstValue(branch.first, "C");
            }
            const int index = static_cast<int>(diagrams.size());
            int moves = branch.parent >= 0 ? branch.branchMove : 0;
            PushBranches(tree, branch.first, kNoNode, index, moves, pending);
            diagram.moves = moves;
            diagrams.push_back(std::move(diagram));
        }
    }
    return diagrams;
}

namespace {

// The 0-based point of a mark's value: its first two letters, read as reading says.
void MarkPoint(std::string_view value, MarkReading reading, int& x, int& y) {
    SgfPointOf(value, x, y);
    // "a".."y" name the lines 1..25 (the index 0..24); any other letter stands as it is.
    if (!reading.indexLetters) {
        if (value.size() > 0 && value[0] >= 'a' && value[0] <= 'y') --x;
        if (value.size() > 1 && value[1] >= 'a' && value[1] <= 'y') --y;
    }
}

}  // namespace

void AddNodeMarks(const GameTree& tree, NodeId n, MarkReading reading, std::vector<NaviStone>& list) {
    for (int i = 0; i < tree.PropertyCount(n); ++i) {
        const std::string_view id = tree.PropertyId(n, i);
        int kind = -1;
        int underlay = -1;
        if (id == "SQ") kind = kNaviSquare;
        if (id == "CR") kind = kNaviCircle;
        if (id == "TR") kind = kNaviTriangle;
        if (id == "MA") kind = kNaviCross;
        if (id == "LB") kind = kNaviLabelCapital;
        if (reading.stonesAsMarks && (id == "AB" || id == "AW")) {
            kind = kNaviStoneOnly;
            underlay = id == "AB" ? kBlack : kWhite;
        }
        if (kind < 0) continue;
        for (int v = 0; v < tree.ValueCount(n, i); ++v) {
            const std::string_view value = tree.Value(n, i, v);
            const auto place = [&](std::string_view point) {
                NaviStone stone{0, 0, underlay, kind, {}};
                MarkPoint(point, reading, stone.x, stone.y);
                PlaceMark(list, stone, true);
            };
            if (kind == kNaviLabelCapital) {
                NaviStone stone{0, 0, -1, kind, {}};
                MarkPoint(value, reading, stone.x, stone.y);
                if (const std::size_t colon = value.find(':'); colon != std::string_view::npos)
                    stone.text = value.substr(colon + 1);
                PlaceMark(list, stone, true);
            } else {
                for (const std::string& point : SgfPointList(value)) place(point);
            }
        }
    }
}

std::vector<NodeId> DiagramLine(const GameTree& tree, const std::vector<TreeDiagram>& diagrams, int index) {
    int top = index;
    while (diagrams[static_cast<std::size_t>(top)].parent >= 0) top = diagrams[static_cast<std::size_t>(top)].parent;
    const NodeId first = diagrams[static_cast<std::size_t>(top)].first;
    std::vector<NodeId> line;
    for (NodeId n = diagrams[static_cast<std::size_t>(index)].first; n != first; n = tree.Parent(n)) line.push_back(n);
    line.push_back(first);
    std::reverse(line.begin(), line.end());
    for (NodeId n = Continuation(tree, line.back()); n != kNoNode; n = Continuation(tree, n)) line.push_back(n);
    return line;
}

int DeclaredBoardSize(const GameTree& tree) {
    if (!tree.Has(tree.Root(), "SZ")) return kDefaultBoardSize;
    const std::string_view value = tree.FirstValue(tree.Root(), "SZ");
    const int n = AtoI(value);
    const std::size_t colon = value.find(':');
    const bool square = colon == std::string_view::npos || AtoI(value.substr(colon + 1)) == n;
    return square ? n : 0;
}

std::string BoardSizeRefusal(const GameTree& tree) {
    if (IsBoardSize(DeclaredBoardSize(tree))) return {};
    return SizeRefusalText(std::string(tree.FirstValue(tree.Root(), "SZ")), DeclaredBoardSize(tree));
}

GameInfo RootGameInfo(const GameTree& tree) {
    GameInfo info;
    const NodeId root = tree.Root();
    for (int i = 0; i < tree.PropertyCount(root); ++i) {
        const std::string id(tree.PropertyId(root, i));
        for (int v = 0; v < tree.ValueCount(root, i); ++v)
            ApplyGameInfoProperty(info, id, std::string(tree.Value(root, i, v)));
    }
    return info;
}

}  // namespace velmora
