// Feeds arbitrary bytes to the record reader: decoding, the tokenizer, the game-tree reading
// and the replay through a board, then writes the record and reads the text once more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "game/SgfFile.h"
#include "platform/Prompter.h"
#include "platform/TextCodec.h"
#include "record/SgfReader.h"

namespace {

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

    // What the writer makes of any record must read back to the same main line.
    const std::string written = file.ExtendedText(stories);
    BoardLogic again;
    SgfFile back;
    back.SetBoard(&again);
    if (!back.OpenText(written).ok) __builtin_trap();
    if (again.Record().MainLineLength() != board.Record().MainLineLength()) __builtin_trap();
    return 0;
}
