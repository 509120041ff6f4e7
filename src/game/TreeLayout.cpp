#include "game/TreeLayout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace velmora {

namespace {

constexpr std::array<std::pair<std::string_view, BranchKind>, 5> kKindWords = {{
    {"참고도", BranchKind::kReference},
    {"장면도", BranchKind::kScene},
    {"실전진행", BranchKind::kActual},
    {"문제도", BranchKind::kProblem},
    {"정답도", BranchKind::kAnswer},
}};

// Orders ids by key, keeping the order of equal keys; start gets where each key's ids begin
// (buckets + 1 entries).
template <typename Key>
void StableBucket(std::vector<std::uint32_t>& ids, std::vector<std::uint32_t>& start, std::size_t buckets,
                  Key key) {
    start.assign(buckets + 1, 0);
    for (std::uint32_t id : ids) ++start[static_cast<std::size_t>(key(id)) + 1];
    for (std::size_t b = 0; b < buckets; ++b) start[b + 1] += start[b];
    std::vector<std::uint32_t> sorted(ids.size());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (std::uint32_t id : ids) sorted[fill[static_cast<std::size_t>(key(id))]++] = id;
    ids.swap(sorted);
}

}  // namespace

BranchKind BranchKindOf(const GameTree& tree, NodeId n) {
    const std::string_view comment = tree.FirstValue(n, "C");
    for (const auto& [word, kind] : kKindWords) {
        if (comment.size() > word.size() && comment.starts_with(word) && comment[word.size()] == '-') return kind;
    }
    return BranchKind::kPlain;
}

TreeLayout::TreeLayout(const GameTree& tree) : tree_(tree) { Relayout(); }

void TreeLayout::GrowNodes() {
    const std::size_t count = tree_.NodeCount();
    if (runOf_.size() >= count) return;
    runOf_.resize(count, kNone);
    slot_.resize(count, 0);
    moveNumber_.resize(count, 0);
    flags_.resize(count, 0);
}

std::uint32_t TreeLayout::NumberAfter(NodeId n, std::uint32_t before) const {
    if (!tree_.Has(n, "B") && !tree_.Has(n, "W")) return before;
    const std::string_view mn = tree_.FirstValue(n, "MN");
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(mn.data(), mn.data() + mn.size(), number);
    return !mn.empty() && error == std::errc() && end == mn.data() + mn.size() ? number : before + 1;
}

std::uint32_t TreeLayout::CountBelow(NodeId n) const {
    std::uint32_t count = 0;
    std::vector<NodeId> stack;
    for (NodeId c = tree_.FirstChild(n); c != kNoNode; c = tree_.NextSibling(c)) stack.push_back(c);
    while (!stack.empty()) {
        const NodeId m = stack.back();
        stack.pop_back();
        ++count;
        for (NodeId c = tree_.FirstChild(m); c != kNoNode; c = tree_.NextSibling(c)) stack.push_back(c);
    }
    return count;
}

void TreeLayout::Relayout() {
    GrowNodes();
    runs_.clear();
    order_.clear();
    hidden_.clear();
    std::fill(runOf_.begin(), runOf_.end(), kNone);
    lanes_ = 0;

    // A run to lay out: its first node, and what it takes from the node it hangs from.
    struct Task {
        NodeId first;
        std::int32_t depth;
        std::int32_t parentLane;
        std::uint32_t numberBefore;
        BranchKind kind;
    };
    std::vector<Task> tasks{{tree_.Root(), 0, -1, 0, BranchKind::kPlain}};
    std::vector<std::uint32_t> nextFree;  // by depth: the first lane free from there down
    std::vector<NodeId> siblings;
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        TreeRun run;
        run.offset = static_cast<std::uint32_t>(order_.size());
        run.depth = task.depth;
        run.parentLane = task.parentLane;
        run.kind = task.kind;
        if (task.parentLane >= 0) {
            const BranchKind own = BranchKindOf(tree_, task.first);
            if (own != BranchKind::kPlain) run.kind = own;
        }
        const auto id = static_cast<std::uint32_t>(runs_.size());
        std::uint32_t number = task.numberBefore;
        for (NodeId n = task.first; n != kNoNode; n = tree_.FirstChild(n)) {
            number = NumberAfter(n, number);
            moveNumber_[n] = number;
            slot_[n] = static_cast<std::uint32_t>(order_.size());
            runOf_[n] = id;
            order_.push_back(n);
            if (flags_[n] & kFolded) {
                hidden_[n] = CountBelow(n);
                break;
            }
        }
        run.length = static_cast<std::uint32_t>(order_.size()) - run.offset;

        // The first lane free over the run's depths and the column of its connector.
        const auto from = static_cast<std::size_t>(task.parentLane < 0 ? task.depth : task.depth - 1);
        const std::size_t to = static_cast<std::size_t>(task.depth) + run.length - 1;
        if (nextFree.size() <= to) nextFree.resize(to + 1, 0);
        const std::uint32_t lane = *std::max_element(nextFree.begin() + static_cast<long>(from),
                                                      nextFree.begin() + static_cast<long>(to) + 1);
        std::fill(nextFree.begin() + static_cast<long>(from), nextFree.begin() + static_cast<long>(to) + 1, lane + 1);
        run.lane = static_cast<std::int32_t>(lane);
        lanes_ = std::max(lanes_, run.lane + 1);
        runs_.push_back(run);

        // The variations below the run: the deepest branch point's come out first, each
        // node's in order, so that every connector passes left of what was laid out before.
        for (std::uint32_t i = 0; i < run.length; ++i) {
            const NodeId m = order_[run.offset + i];
            if (flags_[m] & kFolded) continue;
            const NodeId first = tree_.FirstChild(m);
            if (first == kNoNode) continue;
            siblings.clear();
            for (NodeId c = tree_.NextSibling(first); c != kNoNode; c = tree_.NextSibling(c)) siblings.push_back(c);
            for (auto c = siblings.rbegin(); c != siblings.rend(); ++c)
                tasks.push_back({*c, run.depth + static_cast<std::int32_t>(i) + 1, run.lane, moveNumber_[m], run.kind});
        }
    }
    cells_ = order_.size();
    depths_ = static_cast<int>(nextFree.size());
    BuildIndexes();
}

void TreeLayout::BuildIndexes() {
    std::vector<std::uint32_t> live;
    for (std::uint32_t r = 0; r < runs_.size(); ++r)
        if (runs_[r].length > 0) live.push_back(r);
    std::vector<std::uint32_t> scratch;
    const auto lane = [this](std::uint32_t r) { return runs_[r].lane; };
    const auto depth = [this](std::uint32_t r) { return runs_[r].depth; };
    byLane_ = live;
    StableBucket(byLane_, scratch, static_cast<std::size_t>(depths_), depth);
    StableBucket(byLane_, laneStart_, static_cast<std::size_t>(lanes_), lane);
    byDepth_ = std::move(live);
    StableBucket(byDepth_, scratch, static_cast<std::size_t>(lanes_), lane);
    StableBucket(byDepth_, depthStart_, static_cast<std::size_t>(depths_), depth);
}

std::uint32_t TreeLayout::RunAt(int depth, int lane) const {
    if (lane < 0 || lane >= lanes_ || depth < 0) return kNone;
    const auto begin = byLane_.begin() + laneStart_[static_cast<std::size_t>(lane)];
    const auto end = byLane_.begin() + laneStart_[static_cast<std::size_t>(lane) + 1];
    // The last run of the lane starting at depth or before.
    const auto after = std::partition_point(begin, end, [&](std::uint32_t r) { return runs_[r].depth <= depth; });
    if (after == begin) return kNone;
    const TreeRun& run = runs_[*(after - 1)];
    return depth < run.depth + static_cast<int>(run.length) ? *(after - 1) : kNone;
}

bool TreeLayout::ConnectorThrough(int depth, int lane) const {
    // Runs starting at depth + 1 hang from this column; per column their spans do not overlap
    // but for siblings', which share one.
    const int first = depth + 1;
    if (first <= 0 || first >= depths_) return false;
    const auto begin = byDepth_.begin() + depthStart_[static_cast<std::size_t>(first)];
    const auto end = byDepth_.begin() + depthStart_[static_cast<std::size_t>(first) + 1];
    const auto at = std::partition_point(begin, end, [&](std::uint32_t r) { return runs_[r].lane < lane; });
    return at != end && runs_[*at].parentLane < lane;
}

long TreeLayout::RunOf(NodeId n) const {
    return n < runOf_.size() && runOf_[n] != kNone ? static_cast<long>(runOf_[n]) : -1;
}

int TreeLayout::DepthOf(NodeId n) const {
    const long run = RunOf(n);
    if (run < 0) return -1;
    const TreeRun& r = runs_[static_cast<std::size_t>(run)];
    return r.depth + static_cast<int>(slot_[n] - r.offset);
}

int TreeLayout::LaneOf(NodeId n) const {
    const long run = RunOf(n);
    return run < 0 ? -1 : runs_[static_cast<std::size_t>(run)].lane;
}

TreeCell TreeLayout::CellOf(NodeId n) const {
    const int depth = DepthOf(n);
    if (depth < 0) return {};
    const int lane = LaneOf(n);
    return orientation_ == TreeOrientation::kHorizontal ? TreeCell{depth, lane} : TreeCell{lane, depth};
}

NodeId TreeLayout::NodeAtDepth(int depth, int lane) const {
    const std::uint32_t run = RunAt(depth, lane);
    return run == kNone ? kNoNode : RunNode(runs_[run], depth - runs_[run].depth);
}

NodeId TreeLayout::NodeAt(TreeCell cell) const {
    return orientation_ == TreeOrientation::kHorizontal ? NodeAtDepth(cell.x, cell.y) : NodeAtDepth(cell.y, cell.x);
}

void TreeLayout::RunsMeeting(int depth0, int depth1, int lane0, int lane1, std::vector<std::uint32_t>& out) const {
    lane0 = std::max(lane0, 0);
    lane1 = std::min(lane1, lanes_ - 1);
    depth0 = std::max(depth0, 0);
    depth1 = std::min(depth1, depths_ - 1);
    if (lane0 > lane1 || depth0 > depth1) return;
    for (int lane = lane0; lane <= lane1; ++lane) {
        const auto begin = byLane_.begin() + laneStart_[static_cast<std::size_t>(lane)];
        const auto end = byLane_.begin() + laneStart_[static_cast<std::size_t>(lane) + 1];
        auto at = std::partition_point(begin, end, [&](std::uint32_t r) {
            return runs_[r].depth + static_cast<int>(runs_[r].length) <= depth0;
        });
        for (; at != end && runs_[*at].depth <= depth1; ++at) out.push_back(*at);
    }
    // Runs beside or below the area whose connectors cross it: those hanging from its columns.
    for (int column = depth0; column <= depth1 && column + 1 < depths_; ++column) {
        const auto begin = byDepth_.begin() + depthStart_[static_cast<std::size_t>(column) + 1];
        const auto end = byDepth_.begin() + depthStart_[static_cast<std::size_t>(column) + 2];
        auto at = std::partition_point(begin, end, [&](std::uint32_t r) { return runs_[r].lane < lane0; });
        for (; at != end && runs_[*at].parentLane <= lane1; ++at) {
            const TreeRun& run = runs_[*at];
            if (run.lane > lane1 || run.depth > depth1) out.push_back(*at);
        }
    }
}

BranchKind TreeLayout::KindOf(NodeId n) const {
    const long run = RunOf(n);
    return run < 0 ? BranchKind::kPlain : runs_[static_cast<std::size_t>(run)].kind;
}

int TreeLayout::HiddenCount(NodeId n) const {
    const auto at = hidden_.find(n);
    return at == hidden_.end() ? 0 : static_cast<int>(at->second);
}

void TreeLayout::Fold(NodeId n) {
    GrowNodes();
    flags_[n] |= kFolded;
    Relayout();
}

void TreeLayout::Unfold(NodeId n) {
    GrowNodes();
    flags_[n] &= static_cast<std::uint8_t>(~kFolded);
    Relayout();
}

void TreeLayout::FoldOffPath(NodeId n) {
    GrowNodes();
    std::vector<NodeId> path;
    for (NodeId m = n; m != kNoNode; m = tree_.Parent(m)) path.push_back(m);
    std::reverse(path.begin(), path.end());
    for (NodeId m = tree_.FirstChild(n); m != kNoNode; m = tree_.FirstChild(m)) path.push_back(m);
    for (std::size_t i = 0; i < path.size(); ++i) {
        flags_[path[i]] &= static_cast<std::uint8_t>(~kFolded);
        const NodeId next = i + 1 < path.size() ? path[i + 1] : kNoNode;
        for (NodeId c = tree_.FirstChild(path[i]); c != kNoNode; c = tree_.NextSibling(c))
            if (c != next && tree_.FirstChild(c) != kNoNode) flags_[c] |= kFolded;
    }
    Relayout();
}

void TreeLayout::SetCurrent(NodeId n) {
    GrowNodes();
    // The path is kept as marked, not walked again: an edit may have cut it off since.
    for (NodeId m : path_) flags_[m] &= static_cast<std::uint8_t>(~kOnPath);
    path_.clear();
    current_ = n;
    for (NodeId m = n; m != kNoNode && m < flags_.size(); m = tree_.Parent(m)) path_.push_back(m);
    for (NodeId m : path_) flags_[m] |= kOnPath;
}

void TreeLayout::InsertIndexed(std::uint32_t id) {
    const TreeRun& run = runs_[id];
    if (laneStart_.size() < static_cast<std::size_t>(lanes_) + 1) laneStart_.resize(static_cast<std::size_t>(lanes_) + 1, laneStart_.back());
    if (depthStart_.size() < static_cast<std::size_t>(depths_) + 1) depthStart_.resize(static_cast<std::size_t>(depths_) + 1, depthStart_.back());
    const auto insert = [this](std::vector<std::uint32_t>& ids, std::vector<std::uint32_t>& start, int bucket, auto before) {
        const auto begin = ids.begin() + start[static_cast<std::size_t>(bucket)];
        const auto end = ids.begin() + start[static_cast<std::size_t>(bucket) + 1];
        ids.insert(std::partition_point(begin, end, before), static_cast<std::uint32_t>(runs_.size() - 1));
        for (std::size_t b = static_cast<std::size_t>(bucket) + 1; b < start.size(); ++b) ++start[b];
    };
    insert(byLane_, laneStart_, run.lane, [&](std::uint32_t r) { return runs_[r].depth < run.depth; });
    insert(byDepth_, depthStart_, run.depth, [&](std::uint32_t r) { return runs_[r].lane < run.lane; });
}

void TreeLayout::InsertLane(int lane) {
    for (TreeRun& run : runs_) {
        if (run.lane >= lane) ++run.lane;
        if (run.parentLane >= lane) ++run.parentLane;
    }
    laneStart_.insert(laneStart_.begin() + lane, laneStart_[static_cast<std::size_t>(lane)]);
    ++lanes_;
}

bool TreeLayout::ExtendRun(NodeId parent, NodeId n) {
    TreeRun& run = runs_[runOf_[parent]];
    if (slot_[parent] != run.offset + run.length - 1) return false;
    const int depth = run.depth + static_cast<int>(run.length);
    if (!Free(depth, run.lane)) return false;
    if (run.offset + run.length != order_.size()) {
        // The run moves to the end of the node order, so that it can grow there.
        const auto offset = static_cast<std::uint32_t>(order_.size());
        for (std::uint32_t i = 0; i < run.length; ++i) {
            const NodeId m = order_[run.offset + i];
            order_.push_back(m);
            slot_[m] = offset + i;
        }
        run.offset = offset;
    }
    slot_[n] = static_cast<std::uint32_t>(order_.size());
    order_.push_back(n);
    ++run.length;
    runOf_[n] = runOf_[parent];
    moveNumber_[n] = NumberAfter(n, moveNumber_[parent]);
    ++cells_;
    if (depth >= depths_) {
        depths_ = depth + 1;
        depthStart_.resize(static_cast<std::size_t>(depths_) + 1, depthStart_.back());
    }
    return true;
}

bool TreeLayout::AddBranch(NodeId parent, NodeId n) {
    const int depth = DepthOf(parent) + 1;
    const int parentLane = LaneOf(parent);
    const NodeId previous = tree_.PreviousSibling(n);
    const int previousLane = previous == tree_.FirstChild(parent) ? parentLane : LaneOf(previous);
    if (previousLane < parentLane || (previousLane > parentLane && RunAt(depth - 1, previousLane) != kNone))
        return false;
    // The connector goes on down the parent's column to the first free cell beside it. Where a
    // node stands in that column first, a new lane opens above it: what crosses the lane there
    // grows by a cell, and only a connector in n's own column could then cross n.
    int lane = previousLane + 1;
    for (; lane < lanes_; ++lane) {
        if (RunAt(depth - 1, lane) != kNone) {
            if (ConnectorThrough(depth, lane)) return false;
            InsertLane(lane);
            break;
        }
        if (Free(depth, lane)) break;
    }
    TreeRun run;
    run.offset = static_cast<std::uint32_t>(order_.size());
    run.length = 1;
    run.lane = lane;
    run.depth = depth;
    run.parentLane = parentLane;
    run.kind = BranchKindOf(tree_, n);
    if (run.kind == BranchKind::kPlain) run.kind = KindOf(parent);
    runOf_[n] = static_cast<std::uint32_t>(runs_.size());
    slot_[n] = run.offset;
    order_.push_back(n);
    moveNumber_[n] = NumberAfter(n, moveNumber_[parent]);
    runs_.push_back(run);
    lanes_ = std::max(lanes_, lane + 1);
    depths_ = std::max(depths_, depth + 1);
    ++cells_;
    InsertIndexed(static_cast<std::uint32_t>(runs_.size() - 1));
    return true;
}

void TreeLayout::NodeAdded(NodeId n) {
    GrowNodes();
    const NodeId parent = tree_.Parent(n);
    if (parent == kNoNode) return;
    // Cheap when a leaf joins a shown, unfolded node as its only or its last child and the
    // cell it needs is free; anything else reshapes more than one run.
    const bool cheap = tree_.FirstChild(n) == kNoNode && tree_.NextSibling(n) == kNoNode &&
                       RunOf(parent) >= 0 && !Folded(parent) && order_.size() < 2 * cells_ + 4096;
    if (cheap && (tree_.FirstChild(parent) == n ? ExtendRun(parent, n) : AddBranch(parent, n))) return;
    Relayout();
}

void TreeLayout::HideBelow(NodeId n, std::vector<std::uint32_t>& deadRuns) {
    std::vector<NodeId> stack{n};
    while (!stack.empty()) {
        const NodeId m = stack.back();
        stack.pop_back();
        if (RunOf(m) < 0) continue;  // hidden by a fold, and so is all below it
        if (slot_[m] == runs_[runOf_[m]].offset) deadRuns.push_back(runOf_[m]);
        runOf_[m] = kNone;
        --cells_;
        for (NodeId c = tree_.FirstChild(m); c != kNoNode; c = tree_.NextSibling(c)) stack.push_back(c);
    }
}

void TreeLayout::RemoveRuns(const std::vector<std::uint32_t>& dead) {
    for (std::uint32_t r : dead) runs_[r].length = 0;
    const auto compact = [this](std::vector<std::uint32_t>& ids, std::vector<std::uint32_t>& start) {
        std::uint32_t kept = 0;
        for (std::size_t b = 0; b + 1 < start.size(); ++b) {
            const std::uint32_t end = start[b + 1];
            for (std::uint32_t k = std::exchange(start[b], kept); k < end; ++k)
                if (runs_[ids[k]].length > 0) ids[kept++] = ids[k];
        }
        start.back() = kept;
        ids.resize(kept);
    };
    compact(byLane_, laneStart_);
    compact(byDepth_, depthStart_);
}

void TreeLayout::NodeDetached(NodeId n) {
    const long run = RunOf(n);
    if (run < 0) {
        Relayout();  // it was hidden below a fold, whose count changes
        return;
    }
    TreeRun& r = runs_[static_cast<std::size_t>(run)];
    const std::uint32_t index = slot_[n] - r.offset;
    std::vector<std::uint32_t> dead;
    if (index == 0 && r.parentLane >= 0) {
        HideBelow(n, dead);  // a variation goes, with all of its cells
    } else if (index > 0 && tree_.FirstChild(order_[slot_[n] - 1]) == kNoNode) {
        HideBelow(n, dead);  // the end of a line goes and nothing takes its place
        runs_[static_cast<std::size_t>(run)].length = index;
    } else {
        Relayout();  // the next variation becomes the line
        return;
    }
    RemoveRuns(dead);
}

std::size_t TreeLayout::MemoryUsed() const {
    const auto bytes = [](const auto& v) { return v.capacity() * sizeof(v[0]); };
    return sizeof(*this) + bytes(runs_) + bytes(order_) + bytes(runOf_) + bytes(slot_) + bytes(moveNumber_) +
           bytes(flags_) + bytes(path_) + bytes(laneStart_) + bytes(byLane_) + bytes(depthStart_) + bytes(byDepth_) +
           hidden_.bucket_count() * sizeof(void*) + hidden_.size() * (sizeof(NodeId) + 4 + 2 * sizeof(void*));
}

}  // namespace velmora
