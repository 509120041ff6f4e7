#include "game/TreeHistory.h"

namespace velmora {

NodeId TreeHistory::Step::AddNode(NodeId parent, int index) {
    const NodeId n = tree_.AddNode(kNoNode);
    undo_.push_back(tree_.Attach(n, parent, index));
    return n;
}

void TreeHistory::Record(Step&& step, NodeId after) {
    if (step.Empty()) return;
    if (saved_ > static_cast<long>(done_)) saved_ = -1;  // the saved state can't come back
    steps_.resize(done_);
    steps_.push_back(Entry{std::move(step.name_), step.before_, after, std::move(step.undo_)});
    ++done_;
}

std::vector<TreeEdit> TreeHistory::ApplyBackwards(GameTree& tree, const std::vector<TreeEdit>& edits) {
    std::vector<TreeEdit> inverse;
    inverse.reserve(edits.size());
    for (auto e = edits.rbegin(); e != edits.rend(); ++e) inverse.push_back(tree.Apply(*e));
    return inverse;
}

NodeId TreeHistory::Undo(GameTree& tree) {
    if (!CanUndo()) return kNoNode;
    Entry& entry = steps_[--done_];
    entry.edits = ApplyBackwards(tree, entry.edits);
    return entry.before;
}

NodeId TreeHistory::Redo(GameTree& tree) {
    if (!CanRedo()) return kNoNode;
    Entry& entry = steps_[done_++];
    entry.edits = ApplyBackwards(tree, entry.edits);
    return entry.after;
}

void TreeHistory::Clear() {
    steps_.clear();
    done_ = 0;
    saved_ = 0;
}

}  // namespace velmora
