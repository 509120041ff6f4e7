#include "record/SgfReader.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

#include "record/BoardGrid.h"
#include "record/RecordEncoding.h"
#include "record/SgfHandicap.h"
#include "record/SgfTree.h"

namespace velmora {

namespace {

// How the program's older writer opened every record. It decides only what the structure of
// the tree leaves open: a record that ends in variations at its last move.
constexpr std::string_view kOwnHeader = "(;GM[1]FF[4]SZ[19]";

// How many properties all diagram lines together may hold: a few times the tree's own size
// (each line repeats its parent line) and a base, far above any real record's variations,
// but within a limit that keeps opening a hostile tree quick and its memory small.
constexpr std::size_t kLineBudget = 200000;
constexpr std::size_t kLineBudgetPerItem = 8;
constexpr std::size_t kLineBudgetLimit = 1000000;

// Every identifier the program's own writer uses; any other marks another program's record.
const std::set<std::string, std::less<>> kOwnIdentifiers = {
    "GM", "FF", "SZ", "CA", "PB", "PW", "RE", "TM", "OT", "DT", "KM", "HA", "GN",
    "PC", "B",  "W",  "C",  "HI", "AB", "AW", "SQ", "CR", "TR", "MA", "LB"};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The groups of a game tree. items hold node starts, properties and child groups in text order.
struct Group {
    static constexpr int kProperty = -1;
    static constexpr int kNode = -2;  // a ";"
    struct Item {
        int child = kProperty;  // a child group's index, or kProperty, or kNode
        std::string id;
        std::string value;
    };
    std::vector<Item> items;
    int parent = -1;
    bool started = false;        // something was read inside the group
    bool opensWithNode = false;  // the first thing inside was ";"
    bool closed = false;
    bool holds = false;  // a property stands in it or in a group inside it (TreeBuilder)

    bool IsChild(std::size_t k) const { return items[k].child >= 0; }
    // Index of the first item of the run of child groups that ends the group (items.size()
    // when the group ends in a node or property).
    std::size_t TrailingStart() const {
        std::size_t k = items.size();
        while (k > 0 && IsChild(k - 1)) --k;
        return k;
    }
};

class TreeBuilder {
  public:
    explicit TreeBuilder(std::string_view text) : text_(text) { groups_.push_back(Group{}); }

    void Build(std::size_t start) {
        std::size_t previousEnd = start;
        while (!rootClosed_) {
            const std::size_t open = text_.find('[', previousEnd);
            const std::size_t past = open == std::string_view::npos ? open : PastSgfValue(text_, open);
            if (past == std::string_view::npos) {
                if (open != std::string_view::npos) unclosedValue_ = open;
                // The rest after the last value: only its structure counts.
                Structure(text_.substr(previousEnd, open == std::string_view::npos
                                                        ? std::string_view::npos
                                                        : open - previousEnd));
                break;
            }
            const std::string_view between = text_.substr(previousEnd, open - previousEnd);
            std::string id = Structure(between);
            if (id.empty() && IsBlank(between)) id = previousId_;
            previousId_ = id;
            previousEnd = past;
            if (rootClosed_) break;
            Group& group = groups_[current_];
            group.started = true;
            group.items.push_back(Group::Item{Group::kProperty, std::move(id),
                                              Unescape(text_.substr(open + 1, past - open - 2))});
        }
        FindHolders();
    }

    const std::vector<Group>& Groups() const { return groups_; }
    // The index just past the game's closing ")"; npos when the text ends inside it.
    std::size_t End() const { return end_; }
    // The "[" of a value the text ends in; npos when every value was closed.
    std::size_t UnclosedValue() const { return unclosedValue_; }

  private:
    // Whether a save can write a property of this identifier back: capital letters only, and
    // none of those the writer alone decides.
    static bool Kept(const std::string& id) {
        return !id.empty() && std::all_of(id.begin(), id.end(), [](char c) { return c >= 'A' && c <= 'Z'; }) &&
               id != "FF" && id != "CA" && id != "SZ" && id != "GM" && id != "AP";
    }

    // Marks each group that holds a property a save writes back, in itself or a group inside
    // it. Groups come after their parent: walked backwards, each one's children are known.
    void FindHolders() {
        for (std::size_t g = groups_.size(); g-- > 0;) {
            Group& group = groups_[g];
            group.holds = std::any_of(group.items.begin(), group.items.end(), [&](const Group::Item& item) {
                return (item.child == Group::kProperty && Kept(item.id)) ||
                       (item.child >= 0 && groups_[static_cast<std::size_t>(item.child)].holds);
            });
        }
    }

    static bool IsBlank(std::string_view s) {
        for (char c : s)
            if (!IsSpace(c)) return false;
        return true;
    }

    static std::string Unescape(std::string_view raw) {
        std::string out;
        out.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size()) {
                ++i;
                if (raw[i] == '\n') continue;  // a soft line break
            }
            out += raw[i];
        }
        return out;
    }

    // Applies the "(", ")" and ";" between two values → the identifier among them. Old files
    // spell identifiers out ("AddBlack", "Comment"): their capitals are the identifier.
    std::string Structure(std::string_view between) {
        std::string letters;
        bool lowerCase = false;
        for (const char& c : between) {
            if (rootClosed_) break;
            Group& group = groups_[current_];
            if (c == '(') {
                group.started = true;
                Group child;
                child.parent = current_;
                groups_.push_back(std::move(child));
                const int index = static_cast<int>(groups_.size()) - 1;
                groups_[current_].items.push_back(Group::Item{index, {}, {}});
                current_ = index;
            } else if (c == ')') {
                group.closed = true;
                if (current_ == 0) {
                    rootClosed_ = true;  // a file with several games: the first one only
                    end_ = static_cast<std::size_t>(&c - text_.data()) + 1;
                } else {
                    current_ = group.parent;
                }
            } else if (c == ';') {
                if (!group.started) group.opensWithNode = true;
                group.started = true;
                group.items.push_back(Group::Item{Group::kNode, {}, {}});
            } else if (!IsSpace(c)) {
                lowerCase = lowerCase || (c >= 'a' && c <= 'z');
                letters += c;
            }
        }
        if (lowerCase) {
            std::string capitals = letters;
            std::erase_if(capitals, [](char c) { return c >= 'a' && c <= 'z'; });
            // A name without capitals stands for no identifier: kept as written, it cannot
            // turn into the continuation of the property before it.
            if (!capitals.empty()) letters = std::move(capitals);
        }
        return letters;
    }

    std::string_view text_;
    std::vector<Group> groups_;
    int current_ = 0;
    bool rootClosed_ = false;
    std::size_t end_ = std::string_view::npos;
    std::size_t unclosedValue_ = std::string_view::npos;
    std::string previousId_;
};

// Whether the root names this program as its writer (AP): it writes that only in the standard
// form of another program's record, whose marks use the usual letters everywhere.
bool NamesOwnWriter(const std::vector<Group>& groups) {
    for (const Group::Item& item : groups[0].items)
        if (item.child == Group::kProperty && item.id == "AP" &&
            item.value.starts_with(kOwnApplication))
            return true;
    return false;
}

// The board size the root's SZ gives: its number for a square board, the first number of a
// value "a:b" whose two numbers are equal; kDefaultBoardSize without SZ. Any other value
// (not square, no number) gives 0.
int DeclaredSize(const std::vector<Group>& groups) {
    for (const Group::Item& item : groups[0].items) {
        if (item.child != Group::kProperty || item.id != "SZ") continue;
        const int n = AtoI(item.value);
        const std::size_t colon = item.value.find(':');
        const bool square =
            colon == std::string::npos || AtoI(std::string_view(item.value).substr(colon + 1)) == n;
        return square ? n : 0;
    }
    return kDefaultBoardSize;
}

// Whether the first node names HA's own stones with AB: the own writer leaves those to HA, so
// such a record comes from a program that writes them out.
bool NamesHandicapStones(const std::vector<Group>& groups) {
    std::set<std::string> stones;
    int handicap = 0;
    for (const Group::Item& item : groups[0].items) {
        if (item.child != Group::kProperty) {
            if (!stones.empty() || handicap > 0) break;  // past the first node with either
            continue;
        }
        if (item.id == "B" || item.id == "W") break;
        if (item.id == "AB") stones.insert(item.value);
        if (item.id == "HA") handicap = AtoI(item.value);
    }
    std::set<std::string> table;
    for (const GridPoint& p : HandicapTable(handicap, DeclaredSize(groups)))
        table.insert(
            std::string{static_cast<char>('a' + p.x - 1), static_cast<char>('a' + p.y - 1)});
    return !table.empty() && stones == table;
}

bool IsMove(const std::string& id) {
    return id == "B" || id == "W";
}

// The kind words a diagram text may begin with, followed by "-".
bool BeginsWithKind(const std::string& text) {
    for (const char* word : {"참고도-", "장면도-", "실전진행-", "문제도-", "정답도-"})
        if (text.rfind(word, 0) == 0) return true;
    return false;
}

// Whether group g is a diagram made here: it opens with a node without a move whose comment
// begins with a kind word ("참고도-…"), as the writer puts every diagram it makes.
bool IsKindBranch(const std::vector<Group>& groups, int g) {
    const Group& group = groups[g];
    if (!group.opensWithNode) return false;
    bool kind = false;
    for (std::size_t k = 1; k < group.items.size(); ++k) {
        const Group::Item& item = group.items[k];
        if (item.child != Group::kProperty) break;
        if (IsMove(item.id)) return false;
        kind = kind || (item.id == "C" && BeginsWithKind(item.value));
    }
    return kind;
}

// Where the sequence of group branches in a game tree: whether any of its trailing children
// (from TrailingStart) opens with a node, and the one that continues the main line, the first
// of them that opens with a node, holds something and is no diagram made here (−1 when none
// does). A child
// that opens without a node ("()", "(C[…])") is never the main line, wherever it stands.
struct BranchPoint {
    bool branch = false;
    int next = -1;
};
BranchPoint BranchOf(const std::vector<Group>& groups, const Group& group, std::size_t trailing) {
    BranchPoint point;
    for (std::size_t k = trailing; k < group.items.size(); ++k) {
        const int child = group.items[k].child;
        if (!groups[child].opensWithNode) continue;
        point.branch = true;
        // Nodes with nothing in them continue nothing: the writer never writes them.
        if (point.next < 0 && groups[child].holds && !IsKindBranch(groups, child)) point.next = child;
    }
    return point;
}

// Whether the tree is the program's older dialect (a flat main line with each diagram where it
// stands) rather than a game tree, as other programs and the program itself now write. The
// structure decides: a variation that opens with a property or is followed by more nodes is
// the older writer's; a nested variation, a diagram's node of kind and text, or an identifier
// or value the older writer never wrote is a tree.
bool IsOwnDialect(const std::vector<Group>& groups, std::string_view text, std::size_t first) {
    bool nested = false;
    bool otherProperty = false;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const Group& group = groups[g];
        if (g > 0 && group.started && !group.opensWithNode) return true;
        const std::size_t trailing = group.TrailingStart();
        for (std::size_t k = 0; k < group.items.size(); ++k) {
            const Group::Item& item = group.items[k];
            if (item.child >= 0) {
                if (k < trailing) return true;  // nodes after a variation
                nested = nested || g > 0;
            } else if (item.child == Group::kProperty) {
                otherProperty = otherProperty || !kOwnIdentifiers.contains(item.id) ||
                                (item.id == "FF" && item.value != "4") ||
                                (item.id == "GM" && item.value != "1") ||
                                (item.id == "CA" && AsciiUpper(item.value) != "UTF-8");
            }
        }
    }
    if (nested) return false;
    for (std::size_t g = 1; g < groups.size(); ++g)
        if (IsKindBranch(groups, static_cast<int>(g))) return false;
    // The older writer opened every record with the same header; the writer now names CA
    // before SZ.
    if (text.substr(first, kOwnHeader.size()) != kOwnHeader) return false;
    return NamesOwnWriter(groups) || !(otherProperty || NamesHandicapStones(groups));
}

// AE is no mark: after the first move it is kept as it stands.
bool IsPointList(const std::string& id) {
    return id == "AB" || id == "AW" || id == "SQ" || id == "CR" || id == "TR" || id == "MA";
}

bool IsMark(const std::string& id) {
    return IsPointList(id) || id == "LB";
}

// The letter one column or row up and to the left: another program's "a" is the board's first
// line, which marks hold as index 0.
char LetterBefore(char c) {
    return c >= 'a' && c <= 'y' ? static_cast<char>(c - 1) : c;
}

// Turns the tree into the own dialect's flat sequence of events.
class Flattener {
  public:
    Flattener(const std::vector<Group>& groups, bool ownDialect, SgfDocument& doc)
        : groups_(groups), own_(ownDialect), doc_(doc) {
        usualLetters_ = doc.standardForm;
        // A line as long as the tree itself always fits: one deep line is no threat.
        std::size_t items = 0;
        for (const Group& group : groups) items += group.items.size();
        budget_ =
            std::max(items, std::min(kLineBudget + kLineBudgetPerItem * items, kLineBudgetLimit));
    }

    // The main line. In a game tree a sequence ending in children that open with a node
    // branches (BranchOf): its first child that opens with a node and is no diagram made here
    // continues the main line, the others are diagrams based at the branch. In the older dialect every other group is a
    // diagram where it stands, as its writer put it.
    void Main(int g) {
        for (;;) {
            const Group& group = groups_[g];
            const std::size_t trailing = group.TrailingStart();
            const BranchPoint point = own_ ? BranchPoint{} : BranchOf(groups_, group, trailing);
            const bool branch = point.branch;
            const std::size_t end = branch ? trailing : group.items.size();
            std::vector<const Group::Item*> node;
            for (std::size_t k = 0; k < end; ++k) {
                const Group::Item& item = group.items[k];
                if (item.child == Group::kProperty) {
                    node.push_back(&item);
                    continue;
                }
                MainNode(node);
                if (item.child == Group::kNode) ++nodeMarks_;
                if (item.child >= 0) Diagram(item.child);
            }
            MainNode(node);
            if (!branch) return;
            const int next = point.next;
            // A side child the text ended in is closed all the same: the main line follows it.
            // A branch with nothing in it is no diagram: the writer puts an empty node first
            // where the game ends and diagrams follow, for other readers to see the end.
            for (std::size_t k = trailing; k < group.items.size(); ++k)
                if (group.items[k].child != next && groups_[group.items[k].child].holds)
                    Diagram(group.items[k].child, next >= 0);
            if (next < 0) return;
            g = next;
        }
    }

  private:
    using Line = std::vector<const Group::Item*>;

    void Push(SgfEvent::Kind kind, const std::string& id = {}, const std::string& value = {}) {
        doc_.events.push_back(SgfEvent{kind, id, value});
    }

    // One node of the main line, its move first; set-up stones before the first move are the
    // start position. A later node without a move is announced by a ";" event, so that what
    // the record keeps of it is written back in a node of its own.
    void MainNode(std::vector<const Group::Item*>& node) {
        // An empty root is a node all the same: the node after it is not the root.
        if (node.empty()) {
            if (nodeMarks_ > 0 && mainNodes_ == 0) mainNodes_ = 1;
            return;
        }
        const std::vector<const Group::Item*> ordered = MoveFirst(node);
        const bool moveless = mainNodes_++ > 0 && !IsMove(ordered.front()->id);
        if (moveless) Push(SgfEvent::kProperty, ";");
        // A node without a move keeps its comment where it stands, not in the move before.
        for (const Group::Item* item : ordered) {
            if (IsMove(item->id)) moved_ = true;
            if (moveless && item->id == "C") {
                Push(SgfEvent::kProperty, kKeptCommentId, item->value);
            } else if (!moved_ && (item->id == "AB" || item->id == "AW" || item->id == "AE")) {
                ForEachPoint(item->value,
                             [&](const std::string& point) { Setup(item->id, point); });
            } else {
                // The main line's marks are the program's own addition: always the usual
                // letters, also in its own files.
                Property(item->id, item->value, true);
            }
        }
        node.clear();
    }

    void Setup(const std::string& id, const std::string& point) {
        int x = 0;
        int y = 0;
        SgfPointOf(point, x, y);
        if (!OnBoard(x, y, doc_.size)) return;
        const int colour = id == "AB" ? kBlack : id == "AW" ? kWhite : kEmpty;
        std::erase_if(doc_.setup, [&](const SetupStone& s) { return s.x == x && s.y == y; });
        if (colour != kEmpty) doc_.setup.push_back(SetupStone{x, y, colour});
    }

    // A property as the own dialect has it: point lists one point a value, and another
    // program's mark letters (or any on the main line) turned into the board's point index.
    void Property(const std::string& id, const std::string& value, bool usualLetters = false) {
        if (!IsMark(id)) return Push(SgfEvent::kProperty, id, value);
        const bool shift = usualLetters || usualLetters_;
        if (id == "LB") return Push(SgfEvent::kProperty, id, MarkPoint(value, shift));
        ForEachPoint(value, [&](const std::string& point) {
            Push(SgfEvent::kProperty, id, MarkPoint(point, shift));
        });
    }

    static std::string MarkPoint(std::string value, bool shift) {
        if (!shift) return value;
        for (std::size_t i = 0; i < 2 && i < value.size(); ++i) value[i] = LetterBefore(value[i]);
        return value;
    }

    // Calls f for each point of value (SgfPointList).
    template <class F>
    static void ForEachPoint(const std::string& value, F f) {
        for (const std::string& point : SgfPointList(value)) f(point);
    }

    // The node's items with its move first, so that what follows in the node belongs to it.
    static std::vector<const Group::Item*> MoveFirst(const std::vector<const Group::Item*>& node) {
        std::vector<const Group::Item*> ordered = node;
        std::stable_partition(ordered.begin(), ordered.end(),
                              [](const Group::Item* item) { return IsMove(item->id); });
        return ordered;
    }

    // Calls visit with each node of a line (the items between node marks), its move first.
    template <class Visit>
    static void ForEachNode(const Line& line, Visit visit) {
        Line node;
        auto flush = [&] {
            visit(MoveFirst(node));
            node.clear();
        };
        for (const Group::Item* item : line) {
            if (item->child == Group::kNode) {
                flush();
            } else {
                node.push_back(item);
            }
        }
        flush();
    }

    // Every line through the variation g becomes a diagram of its own: a side branch holds its
    // parent line up to the branch, then its own moves.
    // A line after the first branches from an earlier one: the first line through the
    // deepest point the two share. It holds the shared items again, so that it is whole
    // wherever it is read, and says where it leaves the other (where a node begins).
    void Diagram(int g, bool close = false) {
        std::vector<std::pair<Line, bool>> lines;  // (items, every group on it closed)
        Line prefix;
        Lines(g, prefix, lines);
        std::vector<int> parents(lines.size(), -1);
        std::vector<std::size_t> shared(lines.size(), 0);  // items shared with the parent
        const int first = emittedLines_;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                // In text order the line before shares the most; the first line sharing as
                // much is found through the parents.
                const Line& line = lines[i].first;
                const Line& before = lines[i - 1].first;
                std::size_t n = 0;
                while (n < line.size() && n < before.size() && line[n] == before[n]) ++n;
                int j = static_cast<int>(i) - 1;
                while (parents[j] >= 0 && shared[j] >= n) j = parents[j];
                parents[i] = j;
                shared[i] = n;
            }
            const Line& line = lines[i].first;
            const int j = parents[i];
            const std::size_t n = shared[i];
            const bool branches = j >= 0 && n > 0 && n < line.size() &&
                                  n < lines[j].first.size() &&
                                  line[n]->child == Group::kNode &&
                                  lines[j].first[n]->child == Group::kNode;
            // Only the last line can stand in a variation the text ended in.
            const bool last = i + 1 == lines.size();
            EmitLine(line, lines[i].second || close || !last, branches ? first + j : -1,
                     branches ? n : 0);
        }
    }

    // The lines through g in text order: a group's items, then each of its trailing children
    // in turn; a child in the middle is a branch from where it stands. Walked with a stack of
    // its own, as another program's tree may nest deeper than the call stack allows.
    void Lines(int g, Line& prefix, std::vector<std::pair<Line, bool>>& out) {
        struct Frame {
            int group;
            std::size_t next;      // the item to visit next
            std::size_t trailing;  // the group's TrailingStart
            std::size_t kept;      // the prefix length on entry
            bool closed;           // every group down to this one is closed
        };
        std::vector<Frame> stack;
        const auto enter = [&](int child, bool closed) {
            const Group& group = groups_[child];
            stack.push_back(
                Frame{child, 0, group.TrailingStart(), prefix.size(), closed && group.closed});
        };
        enter(g, true);
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const Group& group = groups_[frame.group];
            if (frame.next < group.items.size()) {
                const Group::Item& item = group.items[frame.next++];
                if (item.child >= 0) {
                    enter(item.child, frame.closed);  // frame is not used after this
                } else {
                    prefix.push_back(&item);
                }
                continue;
            }
            if (frame.trailing == group.items.size()) {
                // Each line repeats its parent line: a branch at every level would grow
                // without bound, so lines past the budget are left out and counted.
                if (prefix.size() <= budget_) {
                    budget_ -= prefix.size();
                    out.emplace_back(prefix, frame.closed);
                } else {
                    ++doc_.leftOutLines;
                }
            }
            prefix.resize(frame.kept);
            stack.pop_back();
        }
    }

    // One line as a diagram. In the older dialect every property goes to the diagram as it
    // stands, its comment being the diagram's text. In a tree, a first node without a move
    // whose comment begins with a kind word holds the kind and text of a diagram made here;
    // any other line is another program's branch, kept as read (kBranchAsReadId), its first
    // node's comment the diagram's text when that node has no move. Every later comment is
    // its move's own (kMoveCommentId), a pass's too.
    // A line that branches from line parent (not −1) at item at hands over where it does
    // (kBranchPointId); the stories of the shared part are the parent's, and a first node of
    // its own without a move whose comment begins with a kind word holds its kind and text.
    void EmitLine(const Line& line, bool close, int parent = -1, std::size_t at = 0) {
        Push(SgfEvent::kOpenVariation);
        ++emittedLines_;
        bool first = true;
        bool shared = parent >= 0;
        bool head = false;    // the first node after the shared part
        bool asRead = false;  // another program's branch
        const auto visit = [&](const Line& node) {
            if (node.empty()) return;
            // The shared part holds the kind node its parent line opened with, if any.
            const bool kindHead =
                (head || (shared && !first)) && !asRead && !IsMove(node.front()->id) &&
                std::any_of(node.begin(), node.end(), [](const Group::Item* item) {
                    return item->id == "C" && BeginsWithKind(item->value);
                });
            head = false;
            if (kindHead) {
                for (const Group::Item* item : node) {
                    if (item->id == "C" && BeginsWithKind(item->value)) {
                        Push(SgfEvent::kProperty, "C", item->value);
                    } else {
                        Property(item->id, item->value);
                    }
                }
                return;
            }
            const bool start = first && !IsMove(node.front()->id);
            if (first && !own_) {
                bool kind = false;
                for (const Group::Item* item : node)
                    kind = kind || (start && item->id == "C" && BeginsWithKind(item->value));
                asRead = !kind;
                if (!kind) Push(SgfEvent::kProperty, kBranchAsReadId);
            }
            // A later node without a move (set-up, a name, a comment of its own) stays a node
            // of its own after the move it follows, as on the main line.
            const bool moveless = !first && !own_ && !IsMove(node.front()->id);
            if (moveless) Push(SgfEvent::kProperty, ";");
            first = false;
            for (const Group::Item* item : node) {
                if (shared && item->id == "HI") continue;
                if (own_ || item->id != "C") {
                    Property(item->id, item->value);
                } else if (moveless) {
                    Push(SgfEvent::kProperty, kKeptCommentId, item->value);
                } else if (!start) {
                    Push(SgfEvent::kProperty, kMoveCommentId, item->value);
                } else if (BeginsWithKind(item->value)) {
                    Push(SgfEvent::kProperty, "C", item->value);
                } else if (!item->value.empty()) {
                    Push(SgfEvent::kProperty, "C", "참고도-" + item->value);
                }
            }
        };
        if (parent < 0) {
            ForEachNode(line, visit);
        } else {
            ForEachNode(Line(line.begin(), line.begin() + static_cast<long>(at)), visit);
            shared = false;
            head = true;
            Push(SgfEvent::kProperty, kBranchPointId, std::to_string(parent));
            ForEachNode(Line(line.begin() + static_cast<long>(at), line.end()), visit);
        }
        if (close) Push(SgfEvent::kCloseVariation);
    }

    const std::vector<Group>& groups_;
    bool own_;
    SgfDocument& doc_;
    bool usualLetters_ = false;         // every mark in the usual letters, diagrams' too
    bool moved_ = false;                // a move of the main line was met
    int mainNodes_ = 0;                 // main-line nodes, the root counted even when empty
    int nodeMarks_ = 0;                 // the ";" of the main line met so far
    int emittedLines_ = 0;              // diagram lines handed over so far
    std::size_t budget_ = kLineBudget;  // properties the diagram lines may still hold
};

// text with every CA property left out that names an encoding other than UTF-8: a save writes
// the whole file in UTF-8, which the game it writes names.
std::string WithoutCharset(std::string_view text) {
    std::string out;
    std::size_t copied = 0;
    for (std::size_t open = text.find('['); open != std::string_view::npos;) {
        std::size_t start = open;
        while (start > 0 && text[start - 1] >= 'A' && text[start - 1] <= 'Z') --start;
        const std::size_t past = PastSgfValue(text, open);
        if (past == std::string_view::npos) break;
        if (text.substr(start, open - start) == "CA" &&
            AsciiUpper(text.substr(open + 1, past - open - 2)) != "UTF-8") {
            out += text.substr(copied, start - copied);
            copied = past;
        }
        open = text.find('[', past);
    }
    return out += text.substr(copied);
}

std::string SizeRefusal(const std::vector<Group>& groups) {
    const int size = DeclaredSize(groups);
    if (IsBoardSize(size)) return {};
    std::string value;
    for (const Group::Item& item : groups[0].items)
        if (item.child == Group::kProperty && item.id == "SZ") value = item.value;
    return SizeRefusalText(value, size);
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void SplitPlayer(const std::string& value, std::string& name, std::string& second,
                 std::string& rank, bool& alone) {
    const std::size_t first = value.find(':');
    alone = first == std::string::npos;
    if (alone) {
        // No rank is made up for a player: one comes from BR/WR, or there is none.
        name = value;
        second = value;
        return;
    }
    name = value.substr(0, first);
    const std::size_t next = value.find(':', first + 1);
    if (next == std::string::npos) {
        rank = value.substr(first + 1);
    } else {
        second = value.substr(first + 1, next - first - 1);
        rank = value.substr(next + 1);
    }
}

// The line and column (1-based, the column in characters) of the byte at index in text.
std::pair<int, int> LineAndColumn(std::string_view text, std::size_t index) {
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < index && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;  // continuation bytes of UTF-8 belong to the character before
        }
    }
    return {line, column};
}

// The B and W events outside every variation.
int MainLineMoves(const std::vector<SgfEvent>& events) {
    int depth = 0;
    int moves = 0;
    for (const SgfEvent& event : events) {
        if (event.kind == SgfEvent::kOpenVariation) ++depth;
        if (event.kind == SgfEvent::kCloseVariation && depth > 0) --depth;
        if (event.kind == SgfEvent::kProperty && depth == 0 && IsMove(event.id)) ++moves;
    }
    return moves;
}

}  // namespace

std::string CutNotice(std::string_view text, std::size_t value, int moves) {
    const auto place = [&](std::size_t at) {
        const auto [line, column] = LineAndColumn(text, at);
        return std::to_string(line) + "번째 줄 " + std::to_string(column) + "번째 글자";
    };
    std::string where;
    if (value != std::string_view::npos) {
        where = place(value) + "에서 연 값이 ']'로 닫히지 않았습니다";
    } else {
        // The last character that is not white space, at its first byte.
        std::size_t last = text.size();
        while (last > 0 && IsSpace(text[last - 1])) --last;
        if (last > 0) --last;
        while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
        where = "기보가 ')'로 닫히지 않은 채 " + place(last) + "에서 끝납니다";
    }
    return "파일이 중간에 끊겨 있습니다: " + where + ". 그 앞까지(본 줄기 " +
           std::to_string(moves) + "수) 읽었습니다.";
}

namespace {

}  // namespace

std::optional<std::string> ReadRecordFile(const std::string& path, std::string* notice) {
    // A folder opens as a stream that reads nothing; it is no empty record.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return DecodeRecordBytes(bytes.str(), notice);
}

std::optional<SgfDocument> ReadSgfFile(const std::string& path, int game) {
    std::string notice;
    const std::optional<std::string> text = ReadRecordFile(path, &notice);
    if (!text) return std::nullopt;
    SgfDocument doc = ParseSgfText(*text, game);
    doc.notice = std::move(notice);
    return doc;
}

SgfDocument ParseSgfText(std::string_view text, int game) {
    SgfDocument doc;
    const std::vector<std::size_t> starts = SgfGameStarts(text);
    if (starts.empty()) return doc;
    const std::size_t first = starts.front();
    doc.games = static_cast<int>(starts.size());
    doc.game = game;
    if (game < 1 || game > doc.games) {
        doc.refusal = "이 파일에는 기보가 " + std::to_string(doc.games) + "개 있어 " +
                      std::to_string(game) + "번째 기보는 없습니다.";
        return doc;
    }
    const std::size_t start = starts[static_cast<std::size_t>(game - 1)];
    TreeBuilder builder(text);
    builder.Build(start + 1);
    // Saving keeps the other games as they stand, in their places.
    if (game > 1) doc.earlierGames = WithoutCharset(text.substr(first, start - first));
    if (doc.games > game && builder.End() != std::string_view::npos)
        doc.laterGames = WithoutCharset(text.substr(builder.End()));
    doc.refusal = SizeRefusal(builder.Groups());
    if (!doc.refusal.empty()) return doc;
    doc.size = DeclaredSize(builder.Groups());
    const bool own = IsOwnDialect(builder.Groups(), text, start);
    doc.standardForm = !own || NamesOwnWriter(builder.Groups());
    Flattener(builder.Groups(), own, doc).Main(0);
    // The stones follow the handicap the game information ends with (the last HA read), so
    // that the record written from it places the same stones again.
    for (const SgfEvent& event : doc.events) {
        if (event.kind != SgfEvent::kProperty || event.id != "HA") continue;
        if (const int n = AtoI(event.value); n >= 0) doc.handicap = n;
    }
    if (builder.End() == std::string_view::npos)
        doc.cutNotice = CutNotice(text, builder.UnclosedValue(), MainLineMoves(doc.events));
    return doc;
}

std::vector<GameSummary> SummariseGames(std::string_view text) {
    std::vector<GameSummary> summaries;
    for (const std::size_t start : SgfGameStarts(text)) {
        TreeBuilder builder(text);
        builder.Build(start + 1);
        const std::vector<Group>& groups = builder.Groups();
        const bool own = IsOwnDialect(groups, text, start);
        GameSummary summary;
        // The main line as the flattener takes it: in a tree, at each branch the first child
        // that is no diagram made here; in the older dialect, the root's own nodes.
        for (int g = 0; g >= 0;) {
            const Group& group = groups[static_cast<std::size_t>(g)];
            const std::size_t trailing = group.TrailingStart();
            const BranchPoint point = own ? BranchPoint{} : BranchOf(groups, group, trailing);
            const bool branch = point.branch;
            for (std::size_t k = 0; k < (branch ? trailing : group.items.size()); ++k) {
                const Group::Item& item = group.items[k];
                if (item.child != Group::kProperty) continue;
                if (IsMove(item.id)) ++summary.moves;
                if (item.id == "PB" || item.id == "PW" || item.id == "BR" || item.id == "WR" ||
                    item.id == "DT" || item.id == "RE")
                    ApplyGameInfoProperty(summary.info, item.id, item.value);
            }
            g = point.next;
        }
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

void SplitDate(std::string_view value, std::string& year, std::string& month, std::string& day) {
    // Of several dates ("1996-05-06,07", "1996-12-27,1997-01-03") the first fills the boxes.
    const std::string_view first = value.substr(0, value.find(','));
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dash = first.find('-', start);
        parts.push_back(first.substr(start, dash == std::string_view::npos ? dash : dash - start));
        if (dash == std::string_view::npos) break;
        start = dash + 1;
    }
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    // YYYY, YYYY-MM, YYYY-MM-DD (also unpadded, as typed into the boxes); any other date
    // ("April 14-15, 1957", "봄-여름-가을") stays whole in the day box.
    if (parts.size() > 3 || parts[0].empty() || !std::all_of(parts.begin(), parts.end(), digits)) {
        year.clear();
        month.clear();
        day = value;
        return;
    }
    year = parts[0];
    month = parts.size() > 1 ? parts[1] : std::string_view();
    day = parts.size() > 2 ? parts[2] : std::string_view();
}

std::string GameDateText(const GameInfo& info) {
    if (!info.dateAsRead.empty()) return info.dateAsRead;
    // A day alone is a date kept whole (or typed so): it goes back as it stands.
    if (info.year.empty() && info.month.empty()) return info.day;
    // FF[4] writes months and days in two digits: a "5" typed in a box goes out as "05".
    const auto padded = [](const std::string& part) {
        return part.size() == 1 && part[0] >= '0' && part[0] <= '9' ? "0" + part : part;
    };
    std::string text = info.year;
    if (!info.month.empty() || !info.day.empty()) text += "-" + padded(info.month);
    if (!info.day.empty()) text += "-" + padded(info.day);
    return text;
}

bool IsPassValue(std::string_view value, int size) {
    return value.empty() || (value == "tt" && size <= kLargestBoardWithTtPass);
}

int AtoI(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::string SizeRefusalText(const std::string& value, int size) {
    if (size == 0 && value.find(':') != std::string::npos)
        return "정사각형 바둑판의 기보만 열 수 있습니다 (이 기보는 SZ[" + value + "]: 가로 " +
               std::to_string(AtoI(value)) + "줄, 세로 " +
               std::to_string(AtoI(value.substr(value.find(':') + 1))) + "줄).";
    return "2줄부터 25줄까지의 바둑판만 열 수 있습니다 (이 기보는 SZ[" + value + "]).";
}

int SgfCoordinate(char letter) {
    if (letter >= 'a' && letter <= 'y') return letter - 'a' + 1;
    return letter == 'z' ? -10 : 0;
}

std::vector<std::string> SgfPointList(std::string_view value) {
    if (value.size() != 5 || value[2] != ':') return {std::string(value)};
    const auto [x0, x1] = std::minmax(value[0], value[3]);
    const auto [y0, y1] = std::minmax(value[1], value[4]);
    if (x0 < 'a' || x1 > 'y' || y0 < 'a' || y1 > 'y') return {std::string(value)};
    std::vector<std::string> points;
    for (char x = x0; x <= x1; ++x)
        for (char y = y0; y <= y1; ++y) points.push_back(std::string{x, y});
    return points;
}

void SgfPointOf(std::string_view value, int& x, int& y) {
    x = value.size() > 0 ? SgfCoordinate(value[0]) : 0;
    y = value.size() > 1 ? SgfCoordinate(value[1]) : 0;
}

bool ApplyGameInfoProperty(GameInfo& info, const std::string& id, const std::string& value) {
    if (id == "PB") {
        SplitPlayer(value, info.blackName, info.blackSecondText, info.blackRank,
                    info.blackNameAlone);
    } else if (id == "PW") {
        SplitPlayer(value, info.whiteName, info.whiteSecondText, info.whiteRank,
                    info.whiteNameAlone);
    } else if (id == "PC") {
        info.place = value;
    } else if (id == "RE") {
        info.result = value;
    } else if (id == "GN") {
        info.gameName = value;
    } else if (id == "EV") {
        info.event = value;
    } else if (id == "BR") {
        info.blackRankAsRead = value;
        info.blackRank = NormalisedRank(value);
    } else if (id == "WR") {
        info.whiteRankAsRead = value;
        info.whiteRank = NormalisedRank(value);
    } else if (id == "DT") {
        info.dateAsRead = value;
        SplitDate(value, info.year, info.month, info.day);
    } else if (id == "KM") {
        info.komiText = value;
    } else if (id == "HA") {
        const int n = AtoI(value);
        if (n == 0) info.handicapText = "호선";
        if (n == 1) info.handicapText = "정선";
        if (n >= 2) info.handicapText = std::to_string(n) + "점접바둑";
    } else if (id == "TM") {
        // Another program's time ("7200.5", "2 hours") is no field's: the caller keeps it.
        if (!AllDigits(value)) return false;
        const int s = AtoI(value);
        info.mainTimeHours = std::to_string(s / 3600);
        info.mainTimeMinutes = std::to_string(s % 3600 / 60);
        info.mainTimeSeconds = std::to_string(s % 60);
    } else if (id == "OT") {
        const std::size_t colon = value.find(':');
        // Only "count:seconds" or seconds fit the fields; "5x30 byo-yomi" is kept whole.
        if (!AllDigits(colon == std::string::npos ? value : value.substr(colon + 1))) return false;
        const int s = AtoI(colon == std::string::npos ? value : value.substr(colon + 1));
        info.overtimeCountText =
            colon == std::string::npos ? std::string() : value.substr(0, colon);
        info.overtimeMinutes = std::to_string(s / 60);
        info.overtimeSeconds = std::to_string(s % 60);
    } else {
        return false;
    }
    return true;
}

std::string NormalisedRank(std::string_view rank) {
    std::size_t i = 0;
    int n = 0;
    while (i < rank.size() && rank[i] >= '0' && rank[i] <= '9' && n < 1000)
        n = n * 10 + (rank[i++] - '0');
    if (i == 0 || n == 0) return std::string(rank);
    std::size_t end = rank.size();
    // A mark of an uncertain rank ("1d*", "3k?") goes with the translation.
    while (end > i && (rank[end - 1] == '*' || rank[end - 1] == '?')) --end;
    while (i < end && rank[i] == ' ') ++i;
    const std::string unit = AsciiUpper(rank.substr(i, end - i));
    if (unit == "D" || unit == "DAN" || unit == "P" || unit == "PRO" || unit == "段" ||
        unit == "단")
        return std::to_string(n) + "단";
    if (unit == "K" || unit == "KYU" || unit == "級" || unit == "级" || unit == "급")
        return std::to_string(n) + "급";
    return std::string(rank);
}

}  // namespace velmora
