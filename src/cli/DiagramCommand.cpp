#include "cli/DiagramCommand.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageWriter>
#include <map>
#include <memory>
#include <optional>

#include "board/BoardLogic.h"
#include "board/DiagramComposer.h"
#include "board/SgfFile.h"
#include "cli/Cli.h"
#include "record/InfoTexts.h"

namespace velmora {

namespace {

struct DiagramOptions {
    std::string file;
    std::string output;
    int kind = kComposeWhole;
    std::optional<int> from;
    std::optional<int> to;
    std::optional<int> move;
    int width = 1050;
};

const std::map<std::string, int> kKinds = {
    {"whole", kComposeWhole},
    {"current", kComposeCurrent},
    {"range", kComposeRange},
    {"split", kComposeSplit},
};

int Usage(std::ostream& err, const std::string& why) {
    err << "velmora-cli: " << why << " (velmora-cli --help)\n";
    return kCliUsage;
}

std::optional<int> WholeNumber(const std::string& text) {
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

// Parses the arguments after "diagram" → the message of a usage error, or "".
std::string Parse(const std::vector<std::string>& args, DiagramOptions& options) {
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "-o" || a == "--kind" || a == "--from" || a == "--to" ||
                                a == "--move" || a == "--width";
        if (!takesValue) {
            if (a.size() > 1 && a[0] == '-') return "unknown option " + a;
            files.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) return a + " needs a value";
        const std::string& value = args[++i];
        if (a == "-o") {
            options.output = value;
        } else if (a == "--kind") {
            const auto kind = kKinds.find(value);
            if (kind == kKinds.end()) return "--kind needs whole, current, range or split";
            options.kind = kind->second;
        } else {
            const std::optional<int> number = WholeNumber(value);
            if (!number) return a + " needs a number, not " + value;
            if (a == "--from") options.from = number;
            if (a == "--to") options.to = number;
            if (a == "--move") options.move = number;
            if (a == "--width") {
                // Past about 4000 pixels the picture outgrows any page and most memory.
                if (*number < 21 || *number > 4200) return "--width must lie in 21..4200";
                options.width = *number;
            }
        }
    }
    if (files.size() != 1) return "give exactly one FILE";
    options.file = files.front();
    if (options.output.empty()) return "diagram needs -o OUT.png";
    const bool ranged = options.kind == kComposeRange || options.kind == kComposeSplit;
    if (ranged && (!options.from || !options.to)) return "range and split need --from and --to";
    if (!ranged && (options.from || options.to)) return "--from and --to go with range or split";
    if (options.move && options.kind != kComposeCurrent) return "--move goes with --kind current";
    return {};
}

}  // namespace

int RunDiagramCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    for (const std::string& a : args)
        if (a == "--help") {
            out << CliHelp();
            return kCliOk;
        }
    DiagramOptions options;
    if (const std::string why = Parse(args, options); !why.empty()) return Usage(err, why);

    BoardLogic board;
    SgfFile file;
    file.SetBoard(&board);
    const SgfReadResult read = file.Open(options.file);
    if (!read.ok) {
        err << "velmora-cli: " << read.message << "\n";
        return kCliFailed;
    }
    if (!read.message.empty()) err << "velmora-cli: " << read.message << "\n";
    if (options.move) {
        const int length = board.Record().MainLineLength();
        if (*options.move < 0 || *options.move > length)
            return Usage(err, "--move must lie in 0.." + std::to_string(length));
        board.JumpToMove(*options.move);
    }

    // Fonts and painting need a GUI application; without a display it draws off-screen.
    std::unique_ptr<QGuiApplication> gui;
    static int argc = 1;
    static char name[] = "velmora-cli";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }

    const DiagramSource source =
        DiagramSourceFromBoard(board, MakePrintTexts(file.Info())[kPrintKomiHandicap]);
    DiagramRequest request;
    request.kind = options.kind;
    request.first = options.from.value_or(0);
    request.last = options.to.value_or(0);
    request.width = options.width;
    const QImage image = ComposeDiagramImage(source, request);
    if (image.isNull()) return kCliFailed;  // the composer has said why
    QImageWriter writer(QString::fromStdString(options.output), "png");
    if (!writer.write(image)) {
        err << "velmora-cli: cannot write " << options.output << "\n";
        return kCliFailed;
    }
    return kCliOk;
}

std::string DiagramCommandHelp() {
    return "  velmora-cli diagram FILE [--kind whole|current|range|split] [--from B] [--to D]\n"
           "              [--move N] [--width W] -o OUT.png\n"
           "      draws a printable game diagram into a PNG of W×(W+3·(W/21)) pixels (W 21..4200,\n"
           "      default 1050): the whole record (the default); the position at move N (current,\n"
           "      default the end); moves B to D numbered (range); or one diagram of a split,\n"
           "      moves after B numbered up to D (split); with the list of moves played on\n"
           "      points already used. A range with D before B is refused.\n";
}

}  // namespace velmora
