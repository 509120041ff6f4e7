#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "record/GameTree.h"

namespace velmora {

// What a branch of the tree stands for: a plain variation, or a reference diagram of one of the
// five kinds, named by the first word of its first node's comment ("참고도-…").
enum class BranchKind : std::uint8_t { kPlain, kReference, kScene, kActual, kProblem, kAnswer };

// The kind node n opens: the kind whose word and "-" begin its comment; kPlain otherwise.
BranchKind BranchKindOf(const GameTree& tree, NodeId n);

// How the pane lays the tree: the moves running across (depth → x, lanes ↓) or down (depth ↓,
// lanes → x).
enum class TreeOrientation : std::uint8_t { kHorizontal, kVertical };

// A cell of the pane's grid in screen order: x across, y down; {-1, -1} for none.
struct TreeCell {
    int x = -1;
    int y = -1;
    bool operator==(const TreeCell&) const = default;
};

// A straight run of cells: a chain of first children on one lane, from its first node at depth
// to depth + length − 1. A run other than the main line hangs from a node at depth − 1 on
// parentLane (above its own lane): the connector runs down that node's column to the lane
// before this one and then diagonally into the run's first cell.
struct TreeRun {
    std::uint32_t offset = 0;  // where its nodes begin in the layout's node order
    std::uint32_t length = 0;  // 0: a run an edit removed
    std::int32_t lane = 0;
    std::int32_t depth = 0;
    std::int32_t parentLane = -1;  // −1 for the main line
    BranchKind kind = BranchKind::kPlain;
};

// The tree pane's grid: each node shown is a cell at (depth, lane). The main line takes lane 0;
// the variations of a node follow below in order, each run on the first lane free over its
// depths and its connector, the deepest branch points first, so no connector crosses a node or
// another connector. Folding a node hides what hangs below it (it keeps the count). Walks the
// tree with stacks of its own: a line of any length is laid out. Some 24 bytes a node.
//
// The tree is not owned and must outlive the layout. After a change of the tree's shape, call
// NodeAdded or NodeDetached (cheap where the change allows, a full Relayout otherwise) or
// Relayout. An added leaf takes a free cell without moving any other node, so the picture may
// then differ from a fresh Relayout, without crossings all the same.
class TreeLayout {
  public:
    explicit TreeLayout(const GameTree& tree);

    // Lays out the whole tree again (folds and the current node are kept).
    void Relayout();

    // --- the grid ---
    void SetOrientation(TreeOrientation orientation) { orientation_ = orientation; }
    TreeOrientation Orientation() const { return orientation_; }
    // Depths and lanes the grid spans.
    int Depths() const { return depths_; }
    int Lanes() const { return lanes_; }
    // The grid's extent in screen cells.
    int Width() const { return orientation_ == TreeOrientation::kHorizontal ? depths_ : lanes_; }
    int Height() const { return orientation_ == TreeOrientation::kHorizontal ? lanes_ : depths_; }
    // Nodes shown.
    std::size_t CellCount() const { return cells_; }

    // The cell of n in screen order; {-1, -1} when n is hidden by a fold or not in the tree.
    TreeCell CellOf(NodeId n) const;
    // The node shown at cell → kNoNode for an empty cell.
    NodeId NodeAt(TreeCell cell) const;
    // The depth and lane of a shown node (−1 for others).
    int DepthOf(NodeId n) const;
    int LaneOf(NodeId n) const;
    // The node at (depth, lane) → kNoNode when none.
    NodeId NodeAtDepth(int depth, int lane) const;

    // --- runs, for painting ---
    const TreeRun& Run(std::uint32_t run) const { return runs_[run]; }
    // The i-th node of run (from 0).
    NodeId RunNode(const TreeRun& run, int i) const { return order_[run.offset + static_cast<std::uint32_t>(i)]; }
    // The run n's cell lies in → −1 when n is not shown.
    long RunOf(NodeId n) const;
    // Appends to out every run whose cells or connector meet depths [depth0, depth1] and lanes
    // [lane0, lane1], each once.
    void RunsMeeting(int depth0, int depth1, int lane0, int lane1, std::vector<std::uint32_t>& out) const;

    // --- what the cells show ---
    // Moves played from the root down to n (a node with B or W counts, MN renumbers it).
    int MoveNumber(NodeId n) const { return static_cast<int>(moveNumber_[n]); }
    // The kind of the branch n lies on (the nearest run above it that names one).
    BranchKind KindOf(NodeId n) const;

    // --- folding ---
    bool Folded(NodeId n) const { return n < flags_.size() && (flags_[n] & kFolded); }
    // Nodes hidden below the folded node n (0 for others).
    int HiddenCount(NodeId n) const;
    // Hides or shows again what hangs below n, and lays out again.
    void Fold(NodeId n);
    void Unfold(NodeId n);
    // Folds every branch off the path to n and the line that follows n; unfolds that path.
    void FoldOffPath(NodeId n);

    // --- the current node ---
    // Sets the current node, whose path from the root is highlighted (kNoNode: none).
    void SetCurrent(NodeId n);
    NodeId Current() const { return current_; }
    bool OnPath(NodeId n) const { return n < flags_.size() && (flags_[n] & kOnPath); }

    // --- after an edit of the tree ---
    // n was just attached (a move played, a node added, an undo putting a branch back).
    void NodeAdded(NodeId n);
    // n was just detached; the layout still knows where it stood.
    void NodeDetached(NodeId n);

    // Bytes the layout holds, for measuring.
    std::size_t MemoryUsed() const;

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    static constexpr std::uint8_t kFolded = 1;
    static constexpr std::uint8_t kOnPath = 2;

    void GrowNodes();
    std::uint32_t NumberAfter(NodeId n, std::uint32_t before) const;
    std::uint32_t CountBelow(NodeId n) const;
    void BuildIndexes();
    // The run covering (depth, lane) → kNone.
    std::uint32_t RunAt(int depth, int lane) const;
    // Whether a connector at column depth passes lane (between its parent's lane and its run's).
    bool ConnectorThrough(int depth, int lane) const;
    bool Free(int depth, int lane) const { return RunAt(depth, lane) == kNone && !ConnectorThrough(depth, lane); }
    bool ExtendRun(NodeId parent, NodeId n);
    bool AddBranch(NodeId parent, NodeId n);
    // Opens an empty lane at lane, moving the lanes from there down by one.
    void InsertLane(int lane);
    void InsertIndexed(std::uint32_t run);
    void RemoveRuns(const std::vector<std::uint32_t>& dead);
    void HideBelow(NodeId n, std::vector<std::uint32_t>& deadRuns);

    const GameTree& tree_;
    TreeOrientation orientation_ = TreeOrientation::kHorizontal;
    std::vector<TreeRun> runs_;
    std::vector<NodeId> order_;              // the runs' nodes, each run's in a row
    std::vector<std::uint32_t> runOf_;       // by node: its run, kNone when not shown
    std::vector<std::uint32_t> slot_;        // by node: its place in order_
    std::vector<std::uint32_t> moveNumber_;  // by node
    std::vector<std::uint8_t> flags_;        // by node: kFolded, kOnPath
    std::unordered_map<NodeId, std::uint32_t> hidden_;  // folded node → nodes hidden below it
    // Runs by lane, each lane's by depth; runs by first depth, each depth's by lane.
    std::vector<std::uint32_t> laneStart_, byLane_;
    std::vector<std::uint32_t> depthStart_, byDepth_;
    int depths_ = 0;
    int lanes_ = 0;
    std::size_t cells_ = 0;
    NodeId current_ = kNoNode;
    std::vector<NodeId> path_;  // the current node and its ancestors
};

}  // namespace velmora
