#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora {

// A node's identity inside its tree: stable for the tree's life, whatever is cut or moved.
using NodeId = std::uint32_t;
inline constexpr NodeId kNoNode = 0xFFFFFFFFu;

// One property of a node as the file has it: its identifier and every value, escapes resolved.
struct SgfProperty {
    std::string id;
    std::vector<std::string> values;
    bool operator==(const SgfProperty&) const = default;
};

// A reversible change of a GameTree: what Apply takes and what it gives back to undo it.
struct TreeEdit {
    enum class Kind : std::uint8_t { kAttach, kDetach, kProperties };
    Kind kind = Kind::kProperties;
    NodeId node = kNoNode;
    NodeId parent = kNoNode;  // kAttach: the new parent
    int index = 0;            // kAttach: the place among its children (clamped to their count)
    std::uint32_t propertyBegin = 0;  // kProperties: the node's property list to take
    std::uint32_t propertyCount = 0;
};

// The file's game tree: an arena of nodes, each with its parent, its children in order and its
// properties in the order read, with every value (unknown properties included). The main line
// is the chain of first children from the root. Nodes are never freed: a node cut off stays in
// the arena, detached, so that undo can attach it again.
//
// Storage is compact (some 50 bytes for a node with one move): properties and values live in
// shared arrays and each node points at its own run. Changing a node's properties writes a new
// run; the old one stays for undo.
class GameTree {
  public:
    // A tree of one root without properties.
    GameTree();

    NodeId Root() const { return 0; }
    // Nodes made so far, attached or not; ids run from 0 to NodeCount() − 1.
    std::size_t NodeCount() const { return nodes_.size(); }

    // --- shape ---
    NodeId Parent(NodeId n) const { return nodes_[n].parent; }
    NodeId FirstChild(NodeId n) const { return nodes_[n].firstChild; }
    NodeId NextSibling(NodeId n) const { return nodes_[n].nextSibling; }
    // The sibling before n, kNoNode for a first child or a node without parent.
    NodeId PreviousSibling(NodeId n) const;
    int ChildCount(NodeId n) const;
    // The index-th child (from 0) → kNoNode when there are fewer.
    NodeId Child(NodeId n, int index) const;
    // n's place among its parent's children (0 the first); 0 for a node without parent.
    int ChildIndex(NodeId n) const;
    // Whether n hangs in the tree below the root (the root itself included).
    bool IsAttached(NodeId n) const;
    // Nodes from the root down: the number of parents above n.
    int Depth(NodeId n) const;
    // The last node of the chain of first children from n.
    NodeId LineEnd(NodeId n) const;

    // --- properties ---
    int PropertyCount(NodeId n) const { return static_cast<int>(nodes_[n].propertyCount); }
    std::string_view PropertyId(NodeId n, int i) const { return ids_[Prop(n, i).id]; }
    int ValueCount(NodeId n, int i) const { return static_cast<int>(Prop(n, i).valueCount); }
    std::string_view Value(NodeId n, int i, int v = 0) const;
    // Index of property id of n → −1 when n has none.
    int Find(NodeId n, std::string_view id) const;
    bool Has(NodeId n, std::string_view id) const { return Find(n, id) >= 0; }
    // The first value of property id of n; empty when n has none.
    std::string_view FirstValue(NodeId n, std::string_view id) const;
    // Every value of property id of n; empty when n has none.
    std::vector<std::string_view> Values(NodeId n, std::string_view id) const;
    // A copy of n's properties, for an edit to change and give back to SetProperties.
    std::vector<SgfProperty> Properties(NodeId n) const;

    // --- building (the reader) ---

    // A new node as the last child of parent (kNoNode: unattached) → its id.
    NodeId AddNode(NodeId parent);
    // A new node as the first child of parent → its id.
    NodeId AddFirstNode(NodeId parent);
    // Adds value to property id of n: a property met before in n takes it as a further value,
    // otherwise the property is appended. Quickest when n is the node built last.
    void AddValue(NodeId n, std::string_view id, std::string_view value);

    // --- reversible changes: each returns the edit that undoes it ---

    // Puts the detached node n (with what hangs below it) among parent's children at index.
    TreeEdit Attach(NodeId n, NodeId parent, int index);
    // Takes n (with what hangs below it) out of its parent's children; the root stays.
    TreeEdit Detach(NodeId n);
    // Gives n these properties, in this order.
    TreeEdit SetProperties(NodeId n, const std::vector<SgfProperty>& properties);
    // Sets property id of n to values (appended when new, in place otherwise); empty values
    // remove it.
    TreeEdit SetProperty(NodeId n, std::string_view id, const std::vector<std::string>& values);
    // Carries out edit → its inverse.
    TreeEdit Apply(const TreeEdit& edit);

    // Bytes the arena holds (nodes, properties, values, texts), for measuring.
    std::size_t MemoryUsed() const;

  private:
    struct Node {
        NodeId parent = kNoNode;
        NodeId firstChild = kNoNode;
        NodeId nextSibling = kNoNode;
        std::uint32_t propertyBegin = 0;
        std::uint32_t propertyCount = 0;
    };
    struct Property {
        std::uint32_t id = 0;  // index into ids_
        std::uint32_t valueBegin = 0;
        std::uint32_t valueCount = 0;
    };
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };

    const Property& Prop(NodeId n, int i) const { return properties_[nodes_[n].propertyBegin + i]; }
    std::uint32_t Intern(std::string_view id);
    Span Store(std::string_view text);
    TreeEdit PropertyRange(NodeId n, std::uint32_t begin, std::uint32_t count);

    std::vector<Node> nodes_;
    std::vector<Property> properties_;
    std::vector<Span> values_;
    std::string text_;
    std::vector<std::string> ids_;
    std::unordered_map<std::string, std::uint32_t> idIndex_;
};

}  // namespace velmora
