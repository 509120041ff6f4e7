#include "cli/RecordTools.h"

#include <algorithm>
#include <cstdio>


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

std::unique_ptr<CliRecord> LoadCliRecord(const CliOptions& options, std::ostream& err) {
    auto loaded = std::make_unique<CliRecord>();
    loaded->file.SetBoard(&loaded->board);
    loaded->file.SetStorySink(&loaded->stories);
    const SgfReadResult result = loaded->file.Open(options.files.front());
    if (!result.ok) {
        err << "velmora-cli: " << result.message << "\n";
        return nullptr;
    }
    if (!result.message.empty()) {
        std::string notes = result.message;
        for (std::size_t at = notes.find('\n'); at != std::string::npos; at = notes.find('\n', at))
            notes.replace(at, 1, "\nvelmora-cli: ");
        err << "velmora-cli: " << notes << "\n";
    }
    // A text that ends inside a variation leaves that diagram open; the commands show the
    // main line.
    loaded->board.SetBoardMode(kModeView);
    if (loaded->board.DiagramBase() >= 0) loaded->board.LeaveDiagram();
    return loaded;
}

int JumpToRequestedMove(BoardLogic& board, const CliOptions& options, std::ostream& err) {
    if (!options.move) return kCliOk;
    const int length = board.Record().MainLineLength();
    if (*options.move < 0 || *options.move > length)
        return CliUsage(err, "--move must lie in 0.." + std::to_string(length));
    board.JumpToMove(*options.move);
    return kCliOk;
}

int RunInfo(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<CliRecord> loaded = LoadCliRecord(options, err);
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

int RunBoard(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<CliRecord> loaded = LoadCliRecord(options, err);
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

bool IsRecordTool(const std::vector<std::string>& args) {
    if (args.empty() || std::find(args.begin(), args.end(), "--help") != args.end()) return false;
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
