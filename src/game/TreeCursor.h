#pragma once

#include <vector>

#include "record/GameTree.h"
#include "record/Position.h"

namespace velmora {

// What a node's move did on the board.
struct NodeMove {
    enum class Kind : std::uint8_t { kNone, kPlayed, kPass, kRefused };
    Kind kind = Kind::kNone;
    int colour = 0;                            // 1 white, 2 black; 0 without a move
    Position::Point point = Position::kNoPoint;  // the stone's point (kNoPoint for a pass)
    PlayResult result = PlayResult::kLegal;    // why a refused move was refused
};

// Applies node n of tree to position, collecting the changes in undo: its set-up stones (AB,
// AW, AE; points or rectangles, in the order the node has them), PL, then its move (B or W).
// An empty move, or "tt" on a board of 19 lines or fewer, is a pass; a move the rules refuse
// (or off the board) changes no stone but gives the turn to the other colour, as a file
// that holds it means. → what the move did.
NodeMove ApplyNode(const GameTree& tree, NodeId n, Position& position, PositionUndo& undo);

// A walk through a GameTree with the position at its current node. Going anywhere undoes the
// path back to where the two nodes' paths meet and applies the rest: nothing is replayed
// from the root. The tree is not owned and must outlive the cursor; after an edit that
// changed nodes on the current path, call Refresh.
class TreeCursor {
  public:
    // At the root of tree, on an empty board of size lines, the root's set-up applied.
    TreeCursor(const GameTree& tree, int size);

    NodeId Node() const { return path_.back(); }
    // The nodes from the root to the current one.
    const std::vector<NodeId>& Path() const { return path_; }
    const Position& Board() const { return position_; }
    // What the current node's move did.
    const NodeMove& Move() const { return moves_.back(); }
    // What the move of the node at depth d of the path did (0 the root).
    const NodeMove& MoveAt(int d) const { return moves_[static_cast<std::size_t>(d)]; }

    // Goes to node n, which must hang in the tree.
    void GoTo(NodeId n);
    // To the child-th child of the current node → false (nothing moves) when it has none.
    bool Forward(int child = 0);
    // To the parent → false at the root.
    bool Back();
    // Starts again from the root on an empty board of size lines and goes back to the node
    // it was at (or the nearest of its ancestors still in the tree).
    void Refresh(int size);

  private:
    void Enter(NodeId n);
    void Leave();

    const GameTree& tree_;
    Position position_;
    std::vector<NodeId> path_;
    std::vector<NodeMove> moves_;
    std::vector<PositionUndo> undo_;  // one a node of the path; kept past it for reuse
    std::vector<NodeId> target_;
};

}  // namespace velmora
