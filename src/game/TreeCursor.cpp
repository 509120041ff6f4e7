#include "game/TreeCursor.h"

#include <algorithm>

#include "record/SgfReader.h"

namespace velmora {

namespace {

// Calls f for each point a set-up value names: one point, or each point of a rectangle "aa:cc".
template <class F>
void ForEachSetupPoint(std::string_view value, F f) {
    int x0 = 0;
    int y0 = 0;
    SgfPointOf(value, x0, y0);
    int x1 = x0;
    int y1 = y0;
    if (value.size() == 5 && value[2] == ':') SgfPointOf(value.substr(3), x1, y1);
    if (x0 < 1 || y0 < 1 || x1 < 1 || y1 < 1) return;
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) f(Position::PointAt(x, y));
}

}  // namespace

NodeMove ApplyNode(const GameTree& tree, NodeId n, Position& position, PositionUndo& undo) {
    NodeMove move;
    const int count = tree.PropertyCount(n);
    int moveProperty = -1;
    for (int i = 0; i < count; ++i) {
        const std::string_view id = tree.PropertyId(n, i);
        const int colour = id == "AB" ? kBlack : id == "AW" ? kWhite : id == "AE" ? kEmpty : -1;
        if (colour >= 0) {
            for (int v = 0; v < tree.ValueCount(n, i); ++v)
                ForEachSetupPoint(tree.Value(n, i, v), [&](Position::Point p) { position.Setup(p, colour, undo); });
        } else if (id == "PL") {
            const std::string_view value = tree.Value(n, i);
            position.SetToPlay(value == "B" || value == "b" ? kBlack : kWhite, undo);
        } else if ((id == "B" || id == "W") && moveProperty < 0) {
            moveProperty = i;
        }
    }
    if (moveProperty < 0) return move;
    move.colour = tree.PropertyId(n, moveProperty) == "B" ? kBlack : kWhite;
    const std::string_view value = tree.ValueCount(n, moveProperty) > 0 ? tree.Value(n, moveProperty) : "";
    if (IsPassValue(value, position.Size())) {
        move.kind = NodeMove::Kind::kPass;
        position.Pass(move.colour, undo);
        return move;
    }
    int x = 0;
    int y = 0;
    SgfPointOf(value, x, y);
    move.point = x >= 1 && y >= 1 && x <= position.Size() && y <= position.Size() ? Position::PointAt(x, y)
                                                                                : Position::kNoPoint;
    move.result = move.point == Position::kNoPoint ? PlayResult::kOutside : position.Play(move.point, move.colour, undo);
    if (move.result == PlayResult::kLegal) {
        move.kind = NodeMove::Kind::kPlayed;
    } else {
        move.kind = NodeMove::Kind::kRefused;
        position.SetToPlay(Opponent(move.colour), undo);
    }
    return move;
}

TreeCursor::TreeCursor(const GameTree& tree, int size) : tree_(tree), position_(size) {
    Enter(tree_.Root());
}

void TreeCursor::Enter(NodeId n) {
    const std::size_t depth = path_.size();
    if (undo_.size() <= depth) undo_.resize(depth + 1);
    undo_[depth].Clear();
    path_.push_back(n);
    moves_.push_back(ApplyNode(tree_, n, position_, undo_[depth]));
}

void TreeCursor::Leave() {
    position_.Undo(undo_[path_.size() - 1]);
    path_.pop_back();
    moves_.pop_back();
}

void TreeCursor::GoTo(NodeId n) {
    target_.clear();
    for (NodeId m = n; m != kNoNode; m = tree_.Parent(m)) target_.push_back(m);
    std::reverse(target_.begin(), target_.end());
    std::size_t common = 0;
    while (common < path_.size() && common < target_.size() && path_[common] == target_[common]) ++common;
    while (path_.size() > std::max<std::size_t>(common, 1)) Leave();
    for (std::size_t i = path_.size(); i < target_.size(); ++i) Enter(target_[i]);
}

bool TreeCursor::Forward(int child) {
    const NodeId next = tree_.Child(Node(), child);
    if (next == kNoNode) return false;
    Enter(next);
    return true;
}

bool TreeCursor::Back() {
    if (path_.size() <= 1) return false;
    Leave();
    return true;
}

void TreeCursor::Refresh(int size) {
    NodeId at = Node();
    while (at != kNoNode && !tree_.IsAttached(at)) at = tree_.Parent(at);
    if (at == kNoNode) at = tree_.Root();
    path_.clear();
    moves_.clear();
    position_ = Position(size);
    Enter(tree_.Root());
    GoTo(at);
}

}  // namespace velmora
