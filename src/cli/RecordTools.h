#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "game/BoardLogic.h"
#include "game/SgfFile.h"
#include "platform/Prompter.h"
#include "record/SgfStories.h"

// The record tools of velmora-cli (info, board, convert) and what every subcommand shares.
// Nothing here links a GUI library, so velmora-cli runs these tools without loading one.

namespace velmora {

// The options of one subcommand, as parsed from its arguments.
struct CliOptions {
    std::vector<std::string> files;
    int game = 1;  // --game: which game tree of the file
    std::optional<int> move;
    std::string output;
    bool extended = false;
    int width = 800;  // render: the client size
    int height = 800;
    bool coordinates = false;
    std::optional<int> numbers;
};

// A record read onto a board of its own, with its stories.
struct CliRecord {
    BoardLogic board;
    SgfFile file;
    StoryList stories;
};

// No window may open here: the board's rare plain messages go to standard error.
class CliPrompter : public Prompter {
  public:
    explicit CliPrompter(std::ostream& err) : err_(err), previous_(&Prompter::Current()) {
        Install(this);
    }
    ~CliPrompter() override { Install(previous_ == this ? nullptr : previous_); }
    int MessageBox(const std::string& text, const std::string&, int) override {
        err_ << "velmora-cli: " << text << "\n";
        return kAnswerOk;
    }
    int Popup(const std::string& markup, int buttons) override {
        return MessageBox(markup, {}, buttons);
    }
    std::string OpenFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string SaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    // --game chooses here; a question that comes all the same takes the first row.
    int ChooseItem(const std::string&, const std::vector<std::string>&,
                   const std::vector<std::vector<std::string>>& rows) override {
        return rows.empty() ? -1 : 0;
    }

  private:
    std::ostream& err_;
    Prompter* previous_;
};

// Writes the usage error why to err → kCliUsage.
int CliUsage(std::ostream& err, const std::string& why);
// True when any argument is --help.
bool AsksForHelp(const std::vector<std::string>& args);
// The whole of text as a number ("12", "-3"), or nullopt for anything else ("12a", "", "x").
std::optional<int> ParseWholeNumber(const std::string& text);

// Takes one option with its value ("" for a flag) → the message of a usage error, or "".
using CliOptionHandler = std::function<std::string(const std::string& option, const std::string& value)>;
// Walks the arguments after the subcommand (args[0]) in order: --game N, which every
// subcommand takes, sets game; an option in withValue goes to handle with the argument after
// it, one in flags with "", any other "-…" is refused, the rest are files, of which there must
// be exactly one (at least one with manyFiles) → the first usage error, or "".
std::string WalkCliArguments(const std::vector<std::string>& args,
                             std::initializer_list<std::string_view> withValue,
                             std::initializer_list<std::string_view> flags,
                             std::vector<std::string>& files, const CliOptionHandler& handle,
                             int& game, bool manyFiles = false);
// Parses the options after the subcommand (args[0]) → the message of a usage error, or "".
std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options);

// Reads game number game (1-based) of path, notes what the reader refused on err and shows the
// main line → the loaded record, or nullptr after the message on err (a game the file does not
// hold among them).
std::unique_ptr<CliRecord> LoadCliRecord(const std::string& path, int game, std::ostream& err);
// The same for the command's one file and game.
std::unique_ptr<CliRecord> LoadCliRecord(const CliOptions& options, std::ostream& err);
// LoadCliRecord, then the position after move when given → the record, or nullptr with status
// kCliFailed (unreadable, no such game) or kCliUsage (move outside the main line), the message
// on err.
std::unique_ptr<CliRecord> LoadCliRecordAt(const std::string& path, int game,
                                           std::optional<int> move, std::ostream& err,
                                           int& status);

// The record tools, each → its exit status.
int RunInfo(const CliOptions& options, std::ostream& out, std::ostream& err);
int RunBoard(const CliOptions& options, std::ostream& out, std::ostream& err);
int RunConvert(const CliOptions& options, std::ostream& out, std::ostream& err);

// True when args ask for a record tool and no help: what velmora-cli runs by itself.
bool IsRecordTool(const std::vector<std::string>& args);
// Runs the record tool args ask for, exactly as RunCli does → its exit status.
int RunRecordTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmora
