// Feeds arbitrary bytes to the record reader: decoding, the tokenizer, the game-tree reading
// and the replay through a board, then writes the record, checks that what it wrote is valid
// FF[4], and reads that once more: written again, it must give the same tree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
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
//   PropValue = "[" text with "\" escaping the next character "]"
class Ff4Check {
  public:
    explicit Ff4Check(std::string_view text) : text_(text) {}

    const std::string& Canonical() const { return canonical_; }

    bool GameTree() {
        // An explicit stack of open trees: a saved record may nest deeper than the call stack.
        if (!Eat('(')) return false;
        int depth = 1;
        bool sequence = true;  // a "(" was just read: a sequence must follow
        while (depth > 0) {
            if (sequence) {
                if (!Sequence()) return false;
                sequence = false;
            } else if (Eat('(')) {
                ++depth;
                sequence = true;
            } else if (Eat(')')) {
                --depth;
            } else {
                return false;
            }
        }
        return true;
    }

  private:
    bool Eat(char c) {
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        if (c == '(' || c == ')') canonical_ += c;
        return true;
    }
    bool Sequence() {
        if (!Node()) return false;
        while (at_ < text_.size() && text_[at_] == ';')
            if (!Node()) return false;
        return true;
    }
    bool Node() {
        if (!Eat(';')) return false;
        std::vector<std::string_view> properties;
        while (at_ < text_.size() && text_[at_] >= 'A' && text_[at_] <= 'Z') {
            const std::size_t start = at_;
            if (!Property()) return false;
            properties.push_back(text_.substr(start, at_ - start));
        }
        std::sort(properties.begin(), properties.end());
        canonical_ += ';';
        for (const std::string_view p : properties) canonical_ += p;
        return true;
    }
    bool Property() {
        while (at_ < text_.size() && text_[at_] >= 'A' && text_[at_] <= 'Z') ++at_;
        if (!Value()) return false;
        while (at_ < text_.size() && text_[at_] == '[')
            if (!Value()) return false;
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
    std::string canonical_;
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
};

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
    if (!file.OpenText(text).ok) return 0;
    board.JumpToMove(0);
    board.JumpToMove(board.Record().MainLineLength());

    // What the writer makes of any record is valid FF[4] and reads back to the same record:
    // the same main line, and written again, the same text.
    const std::string written = file.ExtendedText(stories);
    Ff4Check check(written);
    if (!check.GameTree()) __builtin_trap();
    BoardLogic again;
    SgfFile back;
    StoryList storiesBack;
    back.SetBoard(&again);
    back.SetStorySink(&storiesBack);
    if (!back.OpenText(written).ok) __builtin_trap();
    if (again.Record().MainLineLength() != board.Record().MainLineLength()) __builtin_trap();
    const std::string rewritten = back.ExtendedText(storiesBack);
    Ff4Check checkAgain(rewritten);
    if (!checkAgain.GameTree() || checkAgain.Canonical() != check.Canonical()) __builtin_trap();
    return 0;
}
