#include "record/GameTree.h"

#include <algorithm>
#include <cassert>

namespace velmora {

GameTree::GameTree() {
    nodes_.push_back(Node{});
}

NodeId GameTree::PreviousSibling(NodeId n) const {
    const NodeId parent = nodes_[n].parent;
    if (parent == kNoNode) return kNoNode;
    NodeId previous = kNoNode;
    for (NodeId c = nodes_[parent].firstChild; c != n && c != kNoNode; c = nodes_[c].nextSibling) previous = c;
    return previous;
}

int GameTree::ChildCount(NodeId n) const {
    int count = 0;
    for (NodeId c = nodes_[n].firstChild; c != kNoNode; c = nodes_[c].nextSibling) ++count;
    return count;
}

NodeId GameTree::Child(NodeId n, int index) const {
    NodeId c = nodes_[n].firstChild;
    for (; c != kNoNode && index > 0; --index) c = nodes_[c].nextSibling;
    return index < 0 ? kNoNode : c;
}

int GameTree::ChildIndex(NodeId n) const {
    const NodeId parent = nodes_[n].parent;
    if (parent == kNoNode) return 0;
    int index = 0;
    for (NodeId c = nodes_[parent].firstChild; c != n && c != kNoNode; c = nodes_[c].nextSibling) ++index;
    return index;
}

bool GameTree::IsAttached(NodeId n) const {
    while (nodes_[n].parent != kNoNode) n = nodes_[n].parent;
    return n == Root();
}

int GameTree::Depth(NodeId n) const {
    int depth = 0;
    for (; nodes_[n].parent != kNoNode; n = nodes_[n].parent) ++depth;
    return depth;
}

NodeId GameTree::LineEnd(NodeId n) const {
    while (nodes_[n].firstChild != kNoNode) n = nodes_[n].firstChild;
    return n;
}

std::string_view GameTree::Value(NodeId n, int i, int v) const {
    const Span span = values_[Prop(n, i).valueBegin + static_cast<std::uint32_t>(v)];
    return std::string_view(text_).substr(span.offset, span.length);
}

int GameTree::Find(NodeId n, std::string_view id) const {
    const int count = PropertyCount(n);
    for (int i = 0; i < count; ++i)
        if (PropertyId(n, i) == id) return i;
    return -1;
}

std::string_view GameTree::FirstValue(NodeId n, std::string_view id) const {
    const int i = Find(n, id);
    return i >= 0 && ValueCount(n, i) > 0 ? Value(n, i) : std::string_view{};
}

std::vector<std::string_view> GameTree::Values(NodeId n, std::string_view id) const {
    std::vector<std::string_view> out;
    const int i = Find(n, id);
    if (i < 0) return out;
    for (int v = 0; v < ValueCount(n, i); ++v) out.push_back(Value(n, i, v));
    return out;
}

std::vector<SgfProperty> GameTree::Properties(NodeId n) const {
    std::vector<SgfProperty> out(static_cast<std::size_t>(PropertyCount(n)));
    for (int i = 0; i < PropertyCount(n); ++i) {
        SgfProperty& p = out[static_cast<std::size_t>(i)];
        p.id = PropertyId(n, i);
        for (int v = 0; v < ValueCount(n, i); ++v) p.values.emplace_back(Value(n, i, v));
    }
    return out;
}

NodeId GameTree::AddNode(NodeId parent) {
    const NodeId id = static_cast<NodeId>(nodes_.size());
    Node node;
    node.propertyBegin = static_cast<std::uint32_t>(properties_.size());
    nodes_.push_back(node);
    if (parent != kNoNode) Attach(id, parent, ChildCount(parent));
    return id;
}

NodeId GameTree::AddFirstNode(NodeId parent) {
    const NodeId id = AddNode(kNoNode);
    Attach(id, parent, 0);
    return id;
}

std::uint32_t GameTree::Intern(std::string_view id) {
    const auto found = idIndex_.find(std::string(id));
    if (found != idIndex_.end()) return found->second;
    const auto index = static_cast<std::uint32_t>(ids_.size());
    ids_.emplace_back(id);
    idIndex_.emplace(std::string(id), index);
    return index;
}

GameTree::Span GameTree::Store(std::string_view text) {
    const Span span{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size())};
    text_.append(text);
    return span;
}

void GameTree::AddValue(NodeId n, std::string_view id, std::string_view value) {
    Node& node = nodes_[n];
    const std::uint32_t idIndex = Intern(id);
    // The node's run must end the property array to grow in place; move it there otherwise.
    if (node.propertyBegin + node.propertyCount != properties_.size()) {
        const std::uint32_t begin = static_cast<std::uint32_t>(properties_.size());
        for (std::uint32_t i = 0; i < node.propertyCount; ++i)
            properties_.push_back(properties_[node.propertyBegin + i]);
        node.propertyBegin = begin;
    }
    Property* found = nullptr;
    for (std::uint32_t i = 0; i < node.propertyCount; ++i)
        if (properties_[node.propertyBegin + i].id == idIndex) found = &properties_[node.propertyBegin + i];
    if (found == nullptr) {
        properties_.push_back(Property{idIndex, static_cast<std::uint32_t>(values_.size()), 0});
        ++node.propertyCount;
        found = &properties_.back();
    } else if (found->valueBegin + found->valueCount != values_.size()) {
        // A property met again after others: its values move to the end to stay one run.
        const std::uint32_t begin = static_cast<std::uint32_t>(values_.size());
        for (std::uint32_t v = 0; v < found->valueCount; ++v) values_.push_back(values_[found->valueBegin + v]);
        found->valueBegin = begin;
    }
    values_.push_back(Store(value));
    ++found->valueCount;
}

TreeEdit GameTree::Attach(NodeId n, NodeId parent, int index) {
    assert(nodes_[n].parent == kNoNode && n != Root());
    nodes_[n].parent = parent;
    if (index <= 0 || nodes_[parent].firstChild == kNoNode) {
        nodes_[n].nextSibling = nodes_[parent].firstChild;
        nodes_[parent].firstChild = n;
    } else {
        NodeId before = nodes_[parent].firstChild;
        for (int i = 1; i < index && nodes_[before].nextSibling != kNoNode; ++i) before = nodes_[before].nextSibling;
        nodes_[n].nextSibling = nodes_[before].nextSibling;
        nodes_[before].nextSibling = n;
    }
    TreeEdit undo;
    undo.kind = TreeEdit::Kind::kDetach;
    undo.node = n;
    return undo;
}

TreeEdit GameTree::Detach(NodeId n) {
    TreeEdit undo;
    undo.kind = TreeEdit::Kind::kAttach;
    undo.node = n;
    undo.parent = nodes_[n].parent;
    if (undo.parent == kNoNode) {
        undo.kind = TreeEdit::Kind::kDetach;  // nothing to undo: it hung nowhere
        return undo;
    }
    undo.index = ChildIndex(n);
    const NodeId previous = PreviousSibling(n);
    if (previous == kNoNode) {
        nodes_[undo.parent].firstChild = nodes_[n].nextSibling;
    } else {
        nodes_[previous].nextSibling = nodes_[n].nextSibling;
    }
    nodes_[n].parent = kNoNode;
    nodes_[n].nextSibling = kNoNode;
    return undo;
}

TreeEdit GameTree::PropertyRange(NodeId n, std::uint32_t begin, std::uint32_t count) {
    TreeEdit undo;
    undo.kind = TreeEdit::Kind::kProperties;
    undo.node = n;
    undo.propertyBegin = nodes_[n].propertyBegin;
    undo.propertyCount = nodes_[n].propertyCount;
    nodes_[n].propertyBegin = begin;
    nodes_[n].propertyCount = count;
    return undo;
}

TreeEdit GameTree::SetProperties(NodeId n, const std::vector<SgfProperty>& properties) {
    const auto begin = static_cast<std::uint32_t>(properties_.size());
    for (const SgfProperty& p : properties) {
        Property property{Intern(p.id), static_cast<std::uint32_t>(values_.size()),
                          static_cast<std::uint32_t>(p.values.size())};
        for (const std::string& value : p.values) values_.push_back(Store(value));
        properties_.push_back(property);
    }
    return PropertyRange(n, begin, static_cast<std::uint32_t>(properties.size()));
}

TreeEdit GameTree::SetProperty(NodeId n, std::string_view id, const std::vector<std::string>& values) {
    std::vector<SgfProperty> properties = Properties(n);
    const auto found =
        std::find_if(properties.begin(), properties.end(), [&](const SgfProperty& p) { return p.id == id; });
    if (values.empty()) {
        if (found != properties.end()) properties.erase(found);
    } else if (found != properties.end()) {
        found->values = values;
    } else {
        properties.push_back(SgfProperty{std::string(id), values});
    }
    return SetProperties(n, properties);
}

TreeEdit GameTree::Apply(const TreeEdit& edit) {
    switch (edit.kind) {
        case TreeEdit::Kind::kAttach:
            return Attach(edit.node, edit.parent, edit.index);
        case TreeEdit::Kind::kDetach:
            return Detach(edit.node);
        case TreeEdit::Kind::kProperties:
            break;
    }
    return PropertyRange(edit.node, edit.propertyBegin, edit.propertyCount);
}

std::size_t GameTree::MemoryUsed() const {
    std::size_t ids = 0;
    for (const std::string& id : ids_) ids += sizeof(std::string) + id.capacity();
    return nodes_.capacity() * sizeof(Node) + properties_.capacity() * sizeof(Property) +
           values_.capacity() * sizeof(Span) + text_.capacity() + ids * 2;
}

}  // namespace velmora
