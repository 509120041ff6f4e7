#include "record/SgfTree.h"

#include <cstring>

namespace velmora {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// True when the "(" at i opens a game tree: ";" follows, white space aside.
bool OpensGameTree(std::string_view text, std::size_t i) {
    for (++i; i < text.size() && IsSpace(text[i]); ++i) {
    }
    return i < text.size() && text[i] == ';';
}

// The identifier written between two values: old files spell it out ("AddBlack"), and then
// its capitals are the identifier; a name without capitals is kept as written.
std::string Identifier(std::string letters, bool lowerCase) {
    if (!lowerCase) return letters;
    std::string capitals = letters;
    std::erase_if(capitals, [](char c) { return c >= 'a' && c <= 'z'; });
    return capitals.empty() ? letters : capitals;
}

// One sequence being read: the node the next node hangs below, whether the sequence has made
// a node yet, and whether a variation inside it has closed.
struct Level {
    NodeId current = kNoNode;
    bool started = false;
    bool branched = false;
};

class TreeReader {
  public:
    TreeReader(std::string_view text, SgfTreeRead& read) : text_(text), read_(read), tree_(read.tree) {}

    void Read(std::size_t open) {
        levels_.push_back(Level{tree_.Root(), false, false});
        std::string letters;
        bool lowerCase = false;
        bool blank = true;  // nothing but white space since the last value
        for (std::size_t i = open + 1; i < text_.size(); ++i) {
            const char c = text_[i];
            switch (c) {
                case '[': {
                    const std::size_t past = PastSgfValue(text_, i);
                    if (past == std::string_view::npos) {
                        read_.unclosedValue = i;
                        return;
                    }
                    std::string id = Identifier(std::move(letters), lowerCase);
                    if (id.empty() && blank) id = previousId_;
                    previousId_ = id;
                    letters.clear();
                    lowerCase = false;
                    blank = true;
                    if (!id.empty()) Value(id, text_.substr(i + 1, past - i - 2));
                    i = past - 1;
                    break;
                }
                case ';':
                    Node();
                    break;
                case '(':
                    levels_.push_back(Level{levels_.back().current, false, false});
                    break;
                case ')':
                    levels_.pop_back();
                    if (levels_.empty()) {
                        read_.end = i + 1;
                        return;
                    }
                    levels_.back().branched = true;
                    break;
                default:
                    if (IsSpace(c)) break;
                    blank = false;
                    lowerCase = lowerCase || (c >= 'a' && c <= 'z');
                    letters += c;
            }
            if (c == ';' || c == '(' || c == ')') {
                letters.clear();
                lowerCase = false;
                blank = false;
            }
        }
    }

  private:
    // A ";": the next node of the innermost sequence.
    void Node() {
        Level& level = levels_.back();
        NodeId node = kNoNode;
        if (!rootUsed_) {
            node = tree_.Root();
            rootUsed_ = true;
        } else if (level.branched) {
            // Nodes after a variation in the same sequence continue the line before it.
            node = tree_.AddFirstNode(level.current);
            read_.oldLayout = true;
        } else {
            node = tree_.AddNode(level.current);
        }
        level.current = node;
        level.started = true;
        level.branched = false;
    }

    void Value(const std::string& id, std::string_view raw) {
        Level& level = levels_.back();
        if (!rootUsed_) {
            rootUsed_ = true;  // properties before the first ";" belong to the root
            level.started = true;
        } else if (!level.started) {
            Node();  // a variation opening without a node: its properties make one
            read_.oldLayout = true;
        }
        if (raw.find('\\') == std::string_view::npos) {
            tree_.AddValue(levels_.back().current, id, raw);
        } else {
            tree_.AddValue(levels_.back().current, id, UnescapeSgfValue(raw));
        }
    }

    std::string_view text_;
    SgfTreeRead& read_;
    GameTree& tree_;
    std::vector<Level> levels_;
    std::string previousId_;
    bool rootUsed_ = false;
};

void WriteNode(std::string& out, const GameTree& tree, NodeId n) {
    out += ';';
    const int count = tree.PropertyCount(n);
    for (int i = 0; i < count; ++i) {
        out += tree.PropertyId(n, i);
        for (int v = 0; v < tree.ValueCount(n, i); ++v) {
            out += '[';
            AppendSgfValue(out, tree.Value(n, i, v));
            out += ']';
        }
    }
}

}  // namespace

std::size_t PastSgfValue(std::string_view text, std::size_t open) {
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == ']') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

std::string UnescapeSgfValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            const char next = raw[++i];
            if (next == '\n' || next == '\r') {
                // A soft line break: LF, CR, CR LF or LF CR, all of it dropped.
                const char pair = next == '\n' ? '\r' : '\n';
                if (i + 1 < raw.size() && raw[i + 1] == pair) ++i;
                continue;
            }
            out += next;
            continue;
        }
        out += raw[i];
    }
    return out;
}

void AppendSgfValue(std::string& out, std::string_view value) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' && value[i] != ']') continue;
        out.append(value.substr(from, i - from));
        out += '\\';
        from = i;
    }
    out.append(value.substr(from));
}

std::vector<std::size_t> SgfGameStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[' && depth > 0) {
            i = PastSgfValue(text, i);
            if (i == std::string_view::npos) break;
            --i;
        } else if (c == '(') {
            if (depth == 0 && !OpensGameTree(text, i)) continue;  // prose between games
            if (depth++ == 0) starts.push_back(i);
        } else if (c == ')' && depth > 0) {
            --depth;
        }
    }
    return starts;
}

SgfTreeRead ReadSgfTree(std::string_view text, int game) {
    SgfTreeRead read;
    const std::vector<std::size_t> starts = SgfGameStarts(text);
    read.games = static_cast<int>(starts.size());
    read.game = game;
    if (game < 1 || game > read.games) return read;
    read.begin = starts[static_cast<std::size_t>(game - 1)];
    TreeReader(text, read).Read(read.begin);
    return read;
}

std::string WriteSgfBranch(const GameTree& tree, NodeId n) {
    struct Step {
        NodeId node;  // a sequence to write from, or kNoNode for a ")"
    };
    std::string out;
    std::vector<Step> todo{{kNoNode}, {n}};
    std::vector<NodeId> children;
    while (!todo.empty()) {
        const Step step = todo.back();
        todo.pop_back();
        if (step.node == kNoNode) {
            out += ')';
            continue;
        }
        out += '(';
        for (NodeId m = step.node;;) {
            WriteNode(out, tree, m);
            const NodeId first = tree.FirstChild(m);
            if (first == kNoNode) break;
            if (tree.NextSibling(first) == kNoNode) {
                m = first;
                continue;
            }
            children.clear();
            for (NodeId c = first; c != kNoNode; c = tree.NextSibling(c)) children.push_back(c);
            for (auto c = children.rbegin(); c != children.rend(); ++c) {
                todo.push_back({kNoNode});
                todo.push_back({*c});
            }
            break;
        }
    }
    return out;
}

std::string WriteSgfTree(const GameTree& tree) {
    return WriteSgfBranch(tree, tree.Root());
}

}  // namespace velmora
