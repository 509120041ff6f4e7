// Feeds arbitrary bytes to the record reader: decoding, the tokenizer, the game-tree reading
// and the replay through a board, then writes the record, checks that what it wrote is valid
// FF[4], and reads that once more: written again, it must give the same tree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "game/SgfFile.h"
#include "platform/Prompter.h"
#include "platform/TextCodec.h"
#include "record/SgfReader.h"

namespace {

// FF[4]'s grammar, strictly, for the first game tree of text (what follows is other games,
// written back as they were read):
//   GameTree = "(" Sequence { GameTree } ")"   Sequence = Node { Node }
//   Node = ";" { Property }   Property = UcLetter { UcLetter } PropValue { PropValue }
//   PropValue = "[" text with "\\" escaping the next character "]"
// It also gives the tree as one text that does not depend on what a tree leaves open: the
// order of a node's properties and of a property's values, and whether a single child stands
// in a variation of its own; stories aside (see ReadNode).
class Ff4Check {
  public:
    explicit Ff4Check(std::string_view text) : text_(text) {}

    bool GameTree() {
        // Explicit stacks: a saved record may nest deeper than the call stack.
        if (!Eat('(')) return false;
        std::vector<int> opened{-1};  // the node each open variation hangs from
        int current = -1;
        bool sequence = true;  // a "(" was just read: a sequence must follow
        while (!opened.empty()) {
            if (sequence) {
                if (!Sequence(current)) return false;
                sequence = false;
            } else if (Eat('(')) {
                opened.push_back(current);
                sequence = true;
            } else if (Eat(')')) {
                current = opened.back();
                opened.pop_back();
            } else {
                return false;
            }
        }
        return true;
    }

    std::string Canonical() const {
        std::string out;
        std::vector<std::pair<int, const char*>> stack;  // a node to write, or a text
        for (auto root = roots_.rbegin(); root != roots_.rend(); ++root)
            stack.insert(stack.end(), {{-1, ")"}, {*root, nullptr}, {-1, "("}});
        while (!stack.empty()) {
            const auto [node, text] = stack.back();
            stack.pop_back();
            if (text) {
                out += text;
                continue;
            }
            out += ';' + nodes_[node].properties;
            const std::vector<int>& children = nodes_[node].children;
            if (children.size() == 1) {
                stack.push_back({children.front(), nullptr});
                continue;
            }
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                stack.insert(stack.end(), {{-1, ")"}, {*child, nullptr}, {-1, "("}});
        }
        return out;
    }

  private:
    struct Node {
        std::string properties;
        std::vector<int> children;
    };

    bool Eat(char c) {
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool Sequence(int& current) {
        if (!ReadNode(current)) return false;
        while (at_ < text_.size() && text_[at_] == ';')
            if (!ReadNode(current)) return false;
        return true;
    }
    bool ReadNode(int& current) {
        if (!Eat(';')) return false;
        std::vector<std::string> properties;
        while (at_ < text_.size() && text_[at_] >= 'A' && text_[at_] <= 'Z') {
            std::string property;
            if (!Property(property)) return false;
            properties.push_back(std::move(property));
        }
        std::sort(properties.begin(), properties.end());
        Node node;
        // Stories (HI) are left out: the reader keeps at most ten, and those of equal
        // diagrams go to the one it stores.
        for (const std::string& p : properties)
            if (!p.starts_with("HI[")) node.properties += p;
        const int index = static_cast<int>(nodes_.size());
        nodes_.push_back(std::move(node));
        (current < 0 ? roots_ : nodes_[current].children).push_back(index);
        current = index;
        return true;
    }
    bool Property(std::string& property) {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= 'A' && text_[at_] <= 'Z') ++at_;
        property = text_.substr(start, at_ - start);
        std::vector<std::string_view> values;
        do {
            const std::size_t open = at_;
            if (!Value()) return false;
            values.push_back(text_.substr(open, at_ - open));
        } while (at_ < text_.size() && text_[at_] == '[');
        std::sort(values.begin(), values.end());
        for (const std::string_view v : values) property += v;
        return true;
    }
    bool Value() {
        if (!Eat('[')) return false;
        for (; at_ < text_.size(); ++at_) {
            if (text_[at_] == '\\') {
                ++at_;
            } else if (text_[at_] == ']') {
                ++at_;
                return true;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::vector<Node> nodes_;
    std::vector<int> roots_;
};

// A board in a state it cannot explain ("error Prev GetputStone!!", …) is a finding.
class TrapPrompter : public velmora::Prompter {
  public:
    int MessageBox(const std::string&, const std::string&, int) override { __builtin_trap(); }
    int Popup(const std::string&, int) override { __builtin_trap(); }
    std::string OpenFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string SaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    int ChooseItem(const std::string&, const std::vector<std::string>&,
                   const std::vector<std::vector<std::string>>&) override {
        __builtin_trap();
    }
};

// Shows what was written before stopping, so that a find explains itself.
[[noreturn]] void Finding(const char* what, const std::string& written,
                          const std::string& rewritten) {
    std::fprintf(stderr, "%s\nwritten:   ", what);
    std::fwrite(written.data(), 1, written.size(), stderr);
    std::fprintf(stderr, "\nrewritten: ");
    std::fwrite(rewritten.data(), 1, rewritten.size(), stderr);
    std::fprintf(stderr, "\n");
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    static TrapPrompter trap;
    Prompter::Install(&trap);
    const std::string text =
        DecodeRecordBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (!IsValidUtf8(text)) __builtin_trap();

    BoardLogic board;
    SgfFile file;
    StoryList stories;
    file.SetBoard(&board);
    file.SetStorySink(&stories);
    const SgfReadResult read = file.OpenText(text);
    // Lines left out of a tree too bushy to read whole are told to the user; the tree then
    // cannot come back as it was.
    if (!read.ok || read.leftOutLines > 0) return 0;
    board.JumpToMove(0);
    board.JumpToMove(board.Record().MainLineLength());

    // What the writer makes of any record is valid FF[4] and reads back to the same record:
    // the same main line, and written again, the same text.
    const std::string written = file.ExtendedText(stories);
    Ff4Check check(written);
    if (!check.GameTree()) Finding("not FF[4]", written, {});
    BoardLogic again;
    SgfFile back;
    StoryList storiesBack;
    back.SetBoard(&again);
    back.SetStorySink(&storiesBack);
    // (The main line may grow: another program's branch that a refused move left at its end
    // is read back as its continuation, as every reader takes the first child.)
    const SgfReadResult readBack = back.OpenText(written);
    if (!readBack.ok) Finding("refused on reading back", written, {});
    if (readBack.leftOutLines > 0) return 0;
    if (again.Record().MainLineLength() < board.Record().MainLineLength())
        Finding("a shorter main line read back", written, {});
    const std::string rewritten = back.ExtendedText(storiesBack);
    Ff4Check checkAgain(rewritten);
    if (!checkAgain.GameTree() || checkAgain.Canonical() != check.Canonical())
        Finding("another tree written again", written, rewritten);
    return 0;
}
