#include "cli/RecordTools.h"

#include <algorithm>
#include <cstdio>

#include "game/TreeFile.h"
#include "record/RecordViews.h"


namespace velmora {

namespace {

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

struct RecordTool {
    const char* name;
    int (*run)(const CliOptions&, std::ostream&, std::ostream&);
};

const RecordTool kRecordTools[] = {{"info", RunInfo}, {"board", RunBoard}, {"convert", RunConvert}};

}  // namespace

int CliUsage(std::ostream& err, const std::string& why) {
    err << "velmora-cli: " << why << " (velmora-cli --help)\n";
    return kCliUsage;
}

bool AsksForHelp(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--help") != args.end();
}

std::optional<int> ParseWholeNumber(const std::string& text) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != text.size()) return std::nullopt;
    return value;
}

std::string WalkCliArguments(const std::vector<std::string>& args,
                             std::initializer_list<std::string_view> withValue,
                             std::initializer_list<std::string_view> flags,
                             std::vector<std::string>& files, const CliOptionHandler& handle,
                             int& game, bool manyFiles) {
    const auto among = [](const std::string& a, std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), a) != names.end();
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string why;
        if (a == "--game") {
            if (i + 1 >= args.size()) return a + " needs a value";
            const std::optional<int> n = ParseWholeNumber(args[++i]);
            if (!n) return "--game needs a number, not " + args[i];
            game = *n;  // out of the file's range: the reader refuses it
        } else if (among(a, withValue)) {
            if (i + 1 >= args.size()) return a + " needs a value";
            why = handle(a, args[++i]);
        } else if (among(a, flags)) {
            why = handle(a, {});
        } else if (a.size() > 1 && a[0] == '-') {
            return "unknown option " + a;
        } else {
            files.push_back(a);
        }
        if (!why.empty()) return why;
    }
    if (manyFiles && files.empty()) return "give one FILE or more";
    if (!manyFiles && files.size() != 1) return "give exactly one FILE";
    return {};
}

std::unique_ptr<CliRecord> LoadCliRecord(const CliOptions& options, std::ostream& err) {
    return LoadCliRecord(options.files.front(), options.game, err);
}

namespace {

// A read's notes on standard error, one a line, each marked as the program's.
void PrintNotes(const std::string& message, std::ostream& err) {
    if (message.empty()) return;
    const std::string mark = "\nvelmora-cli: ";
    std::string notes = message;
    for (std::size_t at = notes.find('\n'); at != std::string::npos; at = notes.find('\n', at + mark.size()))
        notes.replace(at, 1, mark);
    err << "velmora-cli: " << notes << "\n";
}

// The record of path read into its tree, its notes printed → nullopt (the reason printed) when
// it cannot be opened.
std::optional<TreeRecord> LoadCliTree(const std::string& path, int game, std::ostream& err) {
    TreeRecord record = LoadTreeRecord(path, game);
    if (!record.refusal.empty()) {
        err << "velmora-cli: " << record.refusal << "\n";
        return std::nullopt;
    }
    PrintNotes(record.message, err);
    return record;
}

}  // namespace

std::unique_ptr<CliRecord> LoadCliRecord(const std::string& path, int game, std::ostream& err) {
    auto loaded = std::make_unique<CliRecord>();
    loaded->file.SetBoard(&loaded->board);
    loaded->file.SetStorySink(&loaded->stories);
    const SgfReadResult result = loaded->file.Open(path, game);
    if (!result.ok) {
        err << "velmora-cli: " << result.message << "\n";
        return nullptr;
    }
    PrintNotes(result.message, err);
    // A text that ends inside a variation leaves that diagram open; the commands show the
    // main line.
    loaded->board.SetBoardMode(kModeView);
    if (loaded->board.DiagramBase() >= 0) loaded->board.LeaveDiagram();
    return loaded;
}

std::unique_ptr<CliRecord> LoadCliRecordAt(const std::string& path, int game,
                                           std::optional<int> move, std::ostream& err,
                                           int& status) {
    std::unique_ptr<CliRecord> loaded = LoadCliRecord(path, game, err);
    status = loaded ? kCliOk : kCliFailed;
    if (!loaded || !move) return loaded;
    const int length = loaded->board.Record().MainLineLength();
    if (*move < 0 || *move > length) {
        status = CliUsage(err, "--move must lie in 0.." + std::to_string(length));
        return nullptr;
    }
    loaded->board.JumpToMove(*move);
    return loaded;
}

int RunInfo(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<TreeRecord> record = LoadCliTree(options.files.front(), options.game, err);
    if (!record) return kCliFailed;
    const GameInfo& g = record->info;
    const GameTree& tree = record->read.tree;
    const std::pair<const char*, std::string> fields[] = {
        {"game name", g.gameName},
        {"black", g.blackName},
        {"black rank", g.blackRank},
        {"white", g.whiteName},
        {"white rank", g.whiteRank},
        {"result", g.result},
        {"date", GameDateText(g)},
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
        {"event", g.event},
    };
    for (const auto& [name, value] : fields) out << name << ": " << OneLine(value) << "\n";
    out << "moves: " << record->mainLine.size() - 1 << "\n";
    std::vector<TreeDiagram> diagrams = TreeDiagrams(tree, record->mainLine);
    out << "diagrams: " << diagrams.size() << "\n";
    // By base move; diagrams of one base in the tree's order.
    std::stable_sort(diagrams.begin(), diagrams.end(),
                     [](const TreeDiagram& a, const TreeDiagram& b) { return a.base < b.base; });
    for (const TreeDiagram& d : diagrams) {
        out << "diagram: base " << d.base << ", kind " << d.kind << " " << KindWord(d.kind) << ", "
            << d.moves << " moves";
        if (!d.text.empty()) out << ", " << OneLine(d.text);
        out << "\n";
    }
    // The stories of the main line's moves and of the diagrams (HI of an .sgfx file).
    // Those before the first move are no one's. (A tree just read holds no node cut off.)
    std::size_t stories = 0;
    for (NodeId n = 0; n < tree.NodeCount(); ++n) stories += tree.Values(n, "HI").size();
    for (NodeId n = tree.Root();; n = Continuation(tree, n)) {
        stories -= tree.Values(n, "HI").size();
        if (n == GroupEnd(tree, tree.Root())) break;
    }
    out << "stories: " << stories << "\n";
    return kCliOk;
}

int RunBoard(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<TreeRecord> record = LoadCliTree(options.files.front(), options.game, err);
    if (!record) return kCliFailed;
    const int length = static_cast<int>(record->mainLine.size()) - 1;
    const int move = options.move.value_or(length);
    if (move < 0 || move > length) return CliUsage(err, "--move must lie in 0.." + std::to_string(length));
    const Position position = TreeRecordPosition(*record, move);
    for (int y = 1; y <= position.Size(); ++y) {
        std::string row;
        for (int x = 1; x <= position.Size(); ++x) {
            const int stone = position.Colour(Position::PointAt(x, y));
            row += stone == kBlack ? 'X' : stone == kWhite ? 'O' : '.';
        }
        out << row << "\n";
    }
    return kCliOk;
}

int RunConvert(const CliOptions& options, std::ostream& /*out*/, std::ostream& err) {
    if (options.output.empty()) return CliUsage(err, "convert needs -o OUT");
    const std::unique_ptr<CliRecord> loaded = LoadCliRecord(options, err);
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

std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options) {
    const auto take = [&](const std::string& a, const std::string& value) -> std::string {
        if (a == "-o") {
            options.output = value;
        } else if (a == "--move") {
            options.move = ParseWholeNumber(value);
            if (!options.move) return "--move needs a number, not " + value;
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
        }
        return {};
    };
    return WalkCliArguments(args, {"--move", "-o", "--size", "--numbers"},
                            {"--extended", "--coords"}, options.files, take, options.game);
}

bool IsRecordTool(const std::vector<std::string>& args) {
    if (args.empty() || AsksForHelp(args)) return false;
    return std::any_of(std::begin(kRecordTools), std::end(kRecordTools),
                       [&](const RecordTool& tool) { return args[0] == tool.name; });
}

int RunRecordTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliPrompter prompter(err);
    for (const RecordTool& tool : kRecordTools) {
        if (args.empty() || args[0] != tool.name) continue;
        CliOptions options;
        if (const std::string why = ParseCliOptions(args, options); !why.empty())
            return CliUsage(err, why);
        return tool.run(options, out, err);
    }
    return CliUsage(err, args.empty() ? "no command given" : "unknown command " + args[0]);
}

}  // namespace velmora
