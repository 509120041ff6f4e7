#include "cli/DiagramCommand.h"

#include <QImageWriter>
#include <map>
#include <memory>
#include <optional>

#include "cli/CliGui.h"
#include "cli/RecordTools.h"
#include "compose/DiagramComposer.h"
#include "compose/VectorExport.h"
#include "record/InfoTexts.h"

namespace velmora {

namespace {

struct DiagramOptions {
    std::string file;
    int game = 1;
    std::string output;
    int kind = kComposeWhole;
    std::optional<int> from;
    std::optional<int> to;
    std::optional<int> move;
    int width = 1050;
    DiagramCoordinates coordinates = DiagramCoordinates::kNone;
};

const std::map<std::string, int> kKinds = {
    {"whole", kComposeWhole},
    {"current", kComposeCurrent},
    {"range", kComposeRange},
    {"split", kComposeSplit},
};

// Parses the arguments after "diagram" → the message of a usage error, or "".
std::string Parse(const std::vector<std::string>& args, DiagramOptions& options) {
    const auto take = [&](const std::string& a, const std::string& value) -> std::string {
        if (a == "-o") {
            options.output = value;
        } else if (a == "--kind") {
            const auto kind = kKinds.find(value);
            if (kind == kKinds.end()) return "--kind needs whole, current, range or split";
            options.kind = kind->second;
        } else if (a == "--coordinates") {
            if (!DiagramCoordinatesByName(value, options.coordinates))
                return "--coordinates needs usual or classic";
        } else {
            const std::optional<int> number = ParseWholeNumber(value);
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
        return {};
    };
    std::vector<std::string> files;
    const std::string why = WalkCliArguments(
        args, {"-o", "--kind", "--from", "--to", "--move", "--width", "--coordinates"}, {}, files, take,
        options.game);
    if (!why.empty()) return why;
    options.file = files.front();
    if (options.output.empty()) return "diagram needs -o OUT.png, OUT.svg or OUT.pdf";
    const bool ranged = options.kind == kComposeRange || options.kind == kComposeSplit;
    if (ranged && (!options.from || !options.to)) return "range and split need --from and --to";
    if (!ranged && (options.from || options.to)) return "--from and --to go with range or split";
    if (options.move && options.kind != kComposeCurrent) return "--move goes with --kind current";
    return {};
}

}  // namespace

int RunDiagramCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (AsksForHelp(args)) {
        out << CliHelp();
        return kCliOk;
    }
    DiagramOptions options;
    if (const std::string why = Parse(args, options); !why.empty()) return CliUsage(err, why);

    int status = kCliOk;
    const std::unique_ptr<CliRecord> loaded =
        LoadCliRecordAt(options.file, options.game, options.move, err, status);
    if (!loaded) return status;
    BoardLogic& board = loaded->board;

    const std::unique_ptr<QGuiApplication> gui = EnsureCliGuiApplication();

    const DiagramSource source =
        DiagramSourceFromBoard(board, MakePrintTexts(loaded->file.Info())[kPrintKomiHandicap]);
    DiagramRequest request;
    request.kind = options.kind;
    request.first = options.from.value_or(0);
    request.last = options.to.value_or(0);
    request.width = options.width;
    request.coordinates = options.coordinates;
    if (VectorFormatOf(options.output) != VectorFormat::kNone) {
        const int written = WriteDiagramVector(source, request, options.output);
        if (written < 0) err << "velmora-cli: cannot write " << options.output << "\n";
        return written > 0 ? kCliOk : kCliFailed;  // a refused range: the composer has said why
    }
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
           "              [--move N] [--width W] [--coordinates usual|classic]\n"
           "              -o OUT.png|OUT.svg|OUT.pdf\n"
           "      draws a printable game diagram into a PNG of W×(W+3·(W/21)) pixels (W 21..4200,\n"
           "      default 1050), or the same drawing in vectors, by OUT's extension: an SVG\n"
           "      picture of that size or a one-page PDF (a pixel a 96th of an inch). It shows\n"
           "      the whole record (the default); the position at move N (current, default the\n"
           "      end); moves B to D numbered (range); or one diagram of a split, moves after B\n"
           "      numbered up to D (split); a range or split starts from the position standing\n"
           "      before its first numbered move. Below the board, the list of the diagram's\n"
           "      moves played on points already used, and its passes.\n"
           "      A range with D before B is refused. --coordinates labels the board's edges,\n"
           "      the board drawn smaller in the same picture: usual gives columns A–T (and on)\n"
           "      without I and rows counted from the bottom, classic the letters and numbers the\n"
           "      editor's board shows (rows counted from the top).\n";
}

}  // namespace velmora
