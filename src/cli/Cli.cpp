#include "cli/Cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "board/BoardRender.h"
#include "board/SgfFile.h"
#include "cli/DiagramCommand.h"
#include "cli/PrintCommand.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompter.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora {

namespace {

struct Options {
    std::vector<std::string> files;
    std::optional<int> move;
    std::string output;
    bool extended = false;
    int width = 800;  // render: the client size
    int height = 800;
    bool coordinates = false;
    std::optional<int> numbers;
};

// A record read onto a board of its own, with its stories.
struct Loaded {
    BoardLogic board;
    SgfFile file;
    StoryList stories;
};

struct Command {
    const char* name;
    const char* usage;
    const char* help;
    int (*run)(const Options&, std::ostream&, std::ostream&);
};

int Usage(std::ostream& err, const std::string& why) {
    err << "velmora-cli: " << why << " (velmora-cli --help)\n";
    return kCliUsage;
}

// Reads the command's one file → the loaded record, or nullptr after the message on err.
std::unique_ptr<Loaded> Load(const Options& options, std::ostream& err) {
    auto loaded = std::make_unique<Loaded>();
    loaded->file.SetBoard(&loaded->board);
    loaded->file.SetStorySink(&loaded->stories);
    const SgfReadResult result = loaded->file.Open(options.files.front());
    if (!result.ok) {
        err << "velmora-cli: " << result.message << "\n";
        return nullptr;
    }
    if (!result.message.empty()) err << "velmora-cli: " << result.message << "\n";
    return loaded;
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

// Shows the position after --move, when given → kCliOk, or the usage error when it lies
// outside the main line.
int JumpToRequestedMove(BoardLogic& board, const Options& options, std::ostream& err) {
    if (!options.move) return kCliOk;
    const int length = board.Record().MainLineLength();
    if (*options.move < 0 || *options.move > length)
        return Usage(err, "--move must lie in 0.." + std::to_string(length));
    board.JumpToMove(*options.move);
    return kCliOk;
}

int RunInfo(const Options& options, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<Loaded> loaded = Load(options, err);
    if (!loaded) return kCliFailed;
    const GameInfo& g = loaded->file.Info();
    const GameRecord& record = loaded->board.Record();
    const std::pair<const char*, std::string> fields[] = {
        {"game name", g.gameName},
        {"black", g.blackName},
        {"black rank", g.blackRank},
        {"white", g.whiteName},
        {"white rank", g.whiteRank},
        {"result", g.result},
        {"date", g.year.empty() ? g.day : g.year + "-" + g.month + "-" + g.day},
        {"place", g.place},
        {"komi", g.komiText},
        {"handicap", g.handicapText},
        {"main time", g.mainTimeHours.empty()
                          ? std::string()
                          : g.mainTimeHours + ":" + g.mainTimeMinutes + ":" + g.mainTimeSeconds},
        {"overtime",
         g.overtimeMinutes.empty() && g.overtimeSeconds.empty()
             ? std::string()
             : g.overtimeCountText + " × " + g.overtimeMinutes + ":" + g.overtimeSeconds},
    };
    for (const auto& [name, value] : fields) out << name << ": " << OneLine(value) << "\n";
    out << "moves: " << record.MainLineLength() << "\n";
    out << "diagrams: " << record.StoredDiagramMap().size() << "\n";
    // By base move; diagrams of one base in key order.
    std::vector<const ReferenceDiagram*> diagrams;
    for (const auto& entry : record.StoredDiagramMap()) diagrams.push_back(&entry.second);
    std::stable_sort(diagrams.begin(), diagrams.end(),
                     [](const auto* a, const auto* b) { return a->base < b->base; });
    for (const ReferenceDiagram* diagram : diagrams) {
        const ReferenceDiagram& d = *diagram;
        out << "diagram: base " << d.base << ", kind " << (d.kind < 0 ? 0 : d.kind) << " "
            << KindWord(d.kind) << ", " << d.moves.size() << " moves";
        if (!d.text.empty()) out << ", " << OneLine(d.text);
        out << "\n";
    }
    out << "stories: " << loaded->stories.Stories().size() << "\n";
    return kCliOk;
}

int RunBoard(const Options& options, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<Loaded> loaded = Load(options, err);
    if (!loaded) return kCliFailed;
    BoardLogic& board = loaded->board;
    if (const int status = JumpToRequestedMove(board, options, err); status != kCliOk)
        return status;
    const BoardGrid& grid = board.Rules().Grid();
    for (int y = 1; y <= 19; ++y) {
        std::string row;
        for (int x = 1; x <= 19; ++x) {
            const int stone = grid.Get(x, y);
            row += stone == kBlack ? 'X' : stone == kWhite ? 'O' : '.';
        }
        out << row << "\n";
    }
    return kCliOk;
}

int RunConvert(const Options& options, std::ostream& /*out*/, std::ostream& err) {
    if (options.output.empty()) return Usage(err, "convert needs -o OUT");
    const std::unique_ptr<Loaded> loaded = Load(options, err);
    if (!loaded) return kCliFailed;
    const bool written = options.extended
                             ? loaded->file.WriteExtendedRecord(options.output, loaded->stories)
                             : loaded->file.WritePlainRecord(options.output);
    if (!written) {
        err << "velmora-cli: cannot write " << options.output << "\n";
        return kCliFailed;
    }
    return kCliOk;
}

int RunRender(const Options& options, std::ostream& /*out*/, std::ostream& err) {
    if (options.output.empty()) return Usage(err, "render needs -o OUT.png");
    const std::unique_ptr<Loaded> loaded = Load(options, err);
    if (!loaded) return kCliFailed;
    BoardLogic& board = loaded->board;
    if (const int status = JumpToRequestedMove(board, options, err); status != kCliOk)
        return status;
    if (options.coordinates) board.ShowCoordinates(true);
    if (options.numbers) board.SetNumberDisplay(*options.numbers);

    // Fonts and painting need a GUI application; without a display it draws off-screen.
    std::unique_ptr<QGuiApplication> gui;
    static int argc = 1;
    static char name[] = "velmora-cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    // The board images come from the program folder's Resource.bk2 (or a Resource/ folder).
    ResourceArchive& archive = ResourceArchive::Instance();
    if (archive.ArchiveCount() == 0)
        archive.AddArchive(ProgramFolder() + "/Resource.bk2");

    // The colour around the board is the board pane's, as in the editor.
    static const bool colours = SkinResources::Instance().LoadColorSet();
    (void)colours;
    RenderOptions render;
    render.width = options.width;
    render.height = options.height;
    render.background = SkinBoardBackground("Skin\\BadukPan.xml", render.background);
    if (!RenderPositionPng(board, render, options.output)) {
        err << "velmora-cli: cannot draw the board or write " << options.output << "\n";
        return kCliFailed;
    }
    return kCliOk;
}

// New subcommands go here; the dispatch and the help text follow this table.
const Command kCommands[] = {
    {"info", "info FILE",
     "the game information, the number of main-line moves and the reference diagrams with "
     "their base moves and kinds, one per line",
     RunInfo},
    {"board", "board FILE [--move N]",
     "the position after move N (default: the end of the main line): 19 lines of 19 "
     "characters, X black, O white, . empty, top row first, column A on the left",
     RunBoard},
    {"convert", "convert FILE -o OUT [--extended]",
     "reads FILE and writes it to OUT in the editor's own SGF form; --extended adds the edit "
     "stories (HI) as in a .sgfx file",
     RunConvert},
    {"render", "render FILE [--move N] [--size WxH] [--coords] [--numbers 0|1|2] -o OUT.png",
     "draws the board after move N (default: the end of the main line) as the board control "
     "does in a client of W×H pixels (default 800x800), with coordinates and the move numbers "
     "of every stone (2), of diagram stones only (1, the default) or none (0), into a PNG file",
     RunRender},
};

// Parses the options after the subcommand → the message of a usage error, or "".
std::string ParseOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--move" || a == "-o" || a == "--size" || a == "--numbers";
        if (takesValue && i + 1 >= args.size()) return a + " needs a value";
        const std::string& value = takesValue ? args[++i] : a;
        if (a == "-o") {
            options.output = value;
        } else if (a == "--move") {
            std::size_t used = 0;
            try {
                options.move = std::stoi(value, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used == 0 || used != value.size()) return "--move needs a number, not " + value;
        } else if (a == "--extended") {
            options.extended = true;
        } else if (a == "--coords") {
            options.coordinates = true;
        } else if (a == "--size") {
            int w = 0;
            int h = 0;
            char x = 0;
            char rest = 0;
            if (std::sscanf(value.c_str(), "%d%c%d%c", &w, &x, &h, &rest) != 3 || x != 'x' ||
                w < 1 || h < 1 || w > 16384 || h > 16384)
                return "--size needs WxH, not " + value;
            options.width = w;
            options.height = h;
        } else if (a == "--numbers") {
            if (value != "0" && value != "1" && value != "2") return "--numbers needs 0, 1 or 2";
            options.numbers = value[0] - '0';
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option " + a;
        } else {
            options.files.push_back(a);
        }
    }
    if (options.files.size() != 1) return "give exactly one FILE";
    return {};
}

// No window may open here: the board's rare plain messages go to standard error.
class StreamPrompter : public Prompter {
  public:
    explicit StreamPrompter(std::ostream& err) : err_(err), previous_(&Prompter::Current()) {
        Install(this);
    }
    ~StreamPrompter() override { Install(previous_ == this ? nullptr : previous_); }
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

  private:
    std::ostream& err_;
    Prompter* previous_;
};

}  // namespace

std::string CliHelp() {
    std::string text =
        "velmora-cli: the headless companion of the Velmora record editor.\n"
        "Reads SGF records (the editor's own form and other programs' game trees; CA, UTF-8 or\n"
        "CP949 text) on a 19×19 board.\n\nUsage:\n";
    for (const Command& c : kCommands)
        text += "  velmora-cli " + std::string(c.usage) + "\n      " + c.help + "\n";
    text += "  velmora-cli " + std::string(kPrintUsage) + "\n      " + kPrintHelp + "\n";
    text += DiagramCommandHelp();
    text +=
        "  velmora-cli --help\n      this text\n\n"
        "Exit status: 0 done; 1 the file cannot be read, is refused (a board other than 19×19)\n"
        "or cannot be written, with a one-line message on standard error; 2 a usage error.\n"
        "Output is UTF-8.\n";
    return text;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    StreamPrompter prompter(err);
    if (args.empty()) return Usage(err, "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << CliHelp();
        return kCliOk;
    }
    if (args[0] == kDiagramCommandName) return RunDiagramCommand(args, out, err);
    for (const Command& command : kCommands) {
        if (args[0] != command.name) continue;
        Options options;
        for (const std::string& a : args)
            if (a == "--help") {
                out << CliHelp();
                return kCliOk;
            }
        if (const std::string why = ParseOptions(args, options); !why.empty())
            return Usage(err, why);
        return command.run(options, out, err);
    }
    if (args[0] == "print") {
        if (std::find(args.begin(), args.end(), "--help") != args.end()) {
            out << CliHelp();
            return kCliOk;
        }
        return RunPrintCommand(args, out, err);
    }
    return Usage(err, "unknown command " + args[0]);
}

}  // namespace velmora
