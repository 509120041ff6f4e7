#include "cli/Cli.h"

#include <memory>

#include "board/BoardRender.h"
#include "cli/CliGui.h"
#include "cli/DiagramCommand.h"
#include "cli/EngineCommands.h"
#include "cli/LibraryCommand.h"
#include "cli/PrintCommand.h"
#include "cli/RecordTools.h"
#include "platform/ProgramFolder.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora {

namespace {

struct Command {
    const char* name;
    const char* usage;
    const char* help;
    int (*run)(const CliOptions&, std::ostream&, std::ostream&);
};

int RunRender(const CliOptions& options, std::ostream& /*out*/, std::ostream& err) {
    if (options.output.empty()) return CliUsage(err, "render needs -o OUT.png");
    int status = kCliOk;
    const std::unique_ptr<CliRecord> loaded =
        LoadCliRecordAt(options.files.front(), options.game, options.move, err, status);
    if (!loaded) return status;
    BoardLogic& board = loaded->board;
    if (options.coordinates) board.ShowCoordinates(true);
    if (options.numbers) board.SetNumberDisplay(*options.numbers);

    const std::unique_ptr<QGuiApplication> gui = EnsureCliGuiApplication();
    // The board images come from the program folder's Resource.bk2 (or a Resource/ folder).
    ResourceArchive& archive = ResourceArchive::Instance();
    if (archive.ArchiveCount() == 0) {
        archive.SetFolder(ProgramFolder());
        archive.AddArchive(ProgramFolder() + "/Resource.bk2");
    }

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
     "the position after move N (default: the end of the main line): N lines of N "
     "characters for a board of N lines, X black, O white, . empty, top row first, column A "
     "on the left",
     RunBoard},
    {"convert", "convert FILE -o OUT [--extended]",
     "reads FILE and writes it to OUT as the editor saves it, as FF[4] in UTF-8 with CA[UTF-8] "
     "and AP[Velmora:1.0]: the main line as the first child at every branch point, each "
     "reference diagram a further child of its base move's node in the order it was made, "
     "opening with a node that holds its kind and text (C[참고도-…]) and its start marks, each "
     "diagram move with its own comment and marks; other programs' branches as they were read, "
     "nested where they branch; handicap stones as AB beside HA; brackets and backslashes in "
     "texts as FF[4] escapes; marks, passes and properties kept where they stood; --extended "
     "adds the edit stories (HI) on their nodes as in a .sgfx file",
     RunConvert},
    {"render", "render FILE [--move N] [--size WxH] [--coords] [--numbers 0|1|2] -o OUT.png",
     "draws the board after move N (default: the end of the main line) as the board control "
     "does in a client of W×H pixels (default 800x800), with coordinates and the move numbers "
     "of every stone (2), of diagram stones only (1, the default) or none (0), into a PNG file",
     RunRender},
};

}  // namespace

std::string CliHelp() {
    std::string text =
        "velmora-cli: the headless companion of the Velmora record editor.\n"
        "Reads SGF records (the editor's own form and other programs' game trees, in the encoding\n"
        "their CA names, UTF-8, UTF-16 or a guessed Korean, Chinese or Japanese one) on square\n"
        "boards of 2 to 25 lines (SZ; 19×19 when a record names none); board, render, diagram\n"
        "and print draw every size. Refused moves, passes (kept in the record, not played on the\n"
        "board), branch lines left out of a tree too large to read whole, a file cut short (where\n"
        "it ends) and the number of games in a file are noted on standard error.\n\n"
        "Usage:\n";
    for (const Command& c : kCommands)
        text += "  velmora-cli " + std::string(c.usage) + "\n      " + c.help + "\n";
    text += "  velmora-cli " + std::string(kPrintUsage) + "\n      " + kPrintHelp + "\n";
    text += DiagramCommandHelp();
    text += EngineCommandsHelp();
    text += LibraryCommandHelp();
    text +=
        "  velmora-cli --help\n      this text\n\n"
        "Every command but library takes --game N: the file's N-th game tree (1-based; default 1). A file of\n"
        "several games is written back by convert with game N replaced and the others as they\n"
        "were, in their places. An N the file does not hold is an error (exit 1).\n\n"
        "Exit status: 0 done; 1 the file cannot be read, is refused (no SGF record, a board not\n"
        "square or not of 2 to 25 lines, no game N) or cannot be written, with a one-line message\n"
        "on standard error; 2 a usage error.\n"
        "Output is UTF-8.\n";
    return text;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliPrompter prompter(err);
    if (args.empty()) return CliUsage(err, "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << CliHelp();
        return kCliOk;
    }
    if (args[0] == kDiagramCommandName) return RunDiagramCommand(args, out, err);
    if (args[0] == "review" || args[0] == "score") {
        if (AsksForHelp(args)) {
            out << CliHelp();
            return kCliOk;
        }
        return (args[0] == "review" ? RunReviewCommand : RunScoreCommand)(args, out, err);
    }
    if (args[0] == kLibraryCommandName) {
        if (!AsksForHelp(args)) return RunLibraryCommand(args, out, err);
        out << CliHelp();
        return kCliOk;
    }
    for (const Command& command : kCommands) {
        if (args[0] != command.name) continue;
        if (AsksForHelp(args)) {
            out << CliHelp();
            return kCliOk;
        }
        CliOptions options;
        if (const std::string why = ParseCliOptions(args, options); !why.empty())
            return CliUsage(err, why);
        return command.run(options, out, err);
    }
    if (args[0] == "print") {
        if (AsksForHelp(args)) {
            out << CliHelp();
            return kCliOk;
        }
        return RunPrintCommand(args, out, err);
    }
    return CliUsage(err, "unknown command " + args[0]);
}

}  // namespace velmora
