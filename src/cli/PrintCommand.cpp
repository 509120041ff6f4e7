#include "cli/PrintCommand.h"

#include <QDate>
#include <QPageLayout>
#include <QPdfWriter>
#include <memory>
#include <optional>

#include "cli/BookCommand.h"
#include "cli/CliGui.h"
#include "cli/RecordTools.h"
#include "compose/PageComposer.h"
#include "compose/PictureExport.h"
#include "compose/VectorExport.h"

namespace velmora {

const char* const kPrintUsage =
    "print FILE… [--kind whole|current|range|split] [--from B] [--to D] [--move N] [--moves M] "
    "[--per-page 1|2|4] [--paper A4|Letter|B5] [--landscape] [--coordinates usual|classic] "
    "[--commentary] [--restart-numbers] "
    "-o OUT.pdf|OUT.bmp";
const char* const kPrintHelp =
    "prints the record's diagrams with the game-information header as the editor's print "
    "window does: the whole record (default), the position after move N (current, default the "
    "end), moves B to D (range) or the whole record split into diagrams of M moves (split, "
    "default 50), 1, 2 or 4 to a page; OUT.pdf gets one page per printed page, on A4 paper upright "
    "unless --paper Letter or B5 (182×257 mm) or --landscape says otherwise, the diagrams laid "
    "out to fit it and the pages numbered; OUT.bmp gets the 1500×2130 pictures (no --paper nor "
    "--landscape), named with the date as the editor names them (…game.bmp, …gamea.bmp, …). "
    "Several files make one book in OUT.pdf: a contents page naming each file, its players and "
    "the page it starts on, then each record's pages; \"3/10 a.sgf\" on standard error as each "
    "record is printed, and nothing written when a file cannot be read. --coordinates labels "
    "every board's edges as `diagram --coordinates` does. --commentary sets each "
    "diagram's move comments beside and below it, each led by the move's number as the diagram "
    "draws it, with the reference diagrams stored on those moves drawn small, going on over as "
    "many pages as they need; --restart-numbers numbers the moves of each range or split "
    "diagram from 1 (its list and commentary too)";

namespace {

struct PrintOptions {
    std::string file;
    std::vector<std::string> files;  // more than one: a book
    int game = 1;
    std::string output;
    std::string kind = "whole";
    int from = -1;
    int to = -1;
    int move = -1;
    int moves = 50;
    int perPage = 1;
    std::string paper;
    bool landscape = false;
    DiagramCoordinates coordinates = DiagramCoordinates::kNone;
    bool commentary = false;
    bool restartNumbers = false;
};

// → the message of a usage error, or "".
std::string Parse(const std::vector<std::string>& args, PrintOptions& o) {
    const auto take = [&](const std::string& a, const std::string& v) -> std::string {
        if (a == "-o") {
            o.output = v;
        } else if (a == "--kind") {
            if (v != "whole" && v != "current" && v != "range" && v != "split")
                return "--kind needs whole, current, range or split";
            o.kind = v;
        } else if (a == "--landscape") {
            o.landscape = true;
        } else if (a == "--commentary") {
            o.commentary = true;
        } else if (a == "--restart-numbers") {
            o.restartNumbers = true;
        } else if (a == "--paper") {
            QPageSize size;
            if (!PaperSizeByName(v, size)) return "--paper needs A4, Letter or B5";
            o.paper = v;
        } else if (a == "--coordinates") {
            if (!DiagramCoordinatesByName(v, o.coordinates))
                return "--coordinates needs usual or classic";
        } else if (a == "--per-page") {
            if (v != "1" && v != "2" && v != "4") return "--per-page needs 1, 2 or 4";
            o.perPage = v[0] - '0';
        } else {
            const std::optional<int> n = ParseWholeNumber(v);
            if (!n || *n < 0) return a + " needs a number of 0 or more, not " + v;
            (a == "--from" ? o.from : a == "--to" ? o.to : a == "--move" ? o.move : o.moves) = *n;
        }
        return {};
    };
    std::vector<std::string> files;
    const std::string why = WalkCliArguments(
        args, {"-o", "--kind", "--from", "--to", "--move", "--moves", "--per-page", "--paper",
               "--coordinates"},
        {"--landscape", "--commentary", "--restart-numbers"}, files, take, o.game, true);
    if (!why.empty()) return why;
    o.file = files.front();
    o.files = files;
    if (o.output.empty()) return "print needs -o OUT.pdf or -o OUT.bmp";
    if (o.kind == "range" && (o.from < 0 || o.to < o.from))
        return "--kind range needs --from B and --to D with B ≤ D";
    if (o.kind == "split" && o.moves < 1) return "--moves must be 1 or more";
    return {};
}

// The printed page of a PDF: A4 with 8 mm margins, 600 dots per inch.
void SetUpPdfPage(QPdfWriter& writer, const QPageSize& paper, bool landscape) {
    writer.setPageLayout(PrintPageLayout(paper, landscape));
    writer.setResolution(600);
}

PrintSettings Settings(const PrintOptions& o) {
    PrintSettings s;
    if (o.kind == "current") s.kind = 201;
    if (o.kind == "range") s = {202, o.from, o.to, 0, 0, 1};
    if (o.kind == "split") s = {203, 0, 0, 0, o.moves, o.perPage};
    s.coordinates = o.coordinates;
    s.commentary = o.commentary;
    s.restartNumbers = o.restartNumbers;
    return s;
}

}  // namespace

int RunPrintCommand(const std::vector<std::string>& args, std::ostream& /*out*/,
                    std::ostream& err) {
    PrintOptions o;
    if (const std::string why = Parse(args, o); !why.empty()) return CliUsage(err, why);
    const bool pdf = EndsWithNoCase(o.output, ".pdf");
    if (!pdf && !EndsWithNoCase(o.output, ".bmp"))
        return CliUsage(err, "print writes OUT.pdf or OUT.bmp, not " + o.output);
    // Pictures keep their one size; a paper only means something to a PDF.
    if (!pdf && (o.landscape || !o.paper.empty()))
        return CliUsage(err, "--paper and --landscape are for OUT.pdf; pictures stay 1500×2130");
    QPageSize paper(QPageSize::A4);
    if (!o.paper.empty()) PaperSizeByName(o.paper, paper);
    const auto setUpPage = [&](QPdfWriter& writer) { SetUpPdfPage(writer, paper, o.landscape); };
    if (o.files.size() > 1) {
        if (!pdf) return CliUsage(err, "a book of several files is written as OUT.pdf");
        return RunBook({o.files, o.game, o.move >= 0 ? std::optional(o.move) : std::nullopt,
                        Settings(o), o.output, setUpPage},
                       err);
    }

    int status = kCliOk;
    const std::unique_ptr<CliRecord> loaded =
        LoadCliRecordAt(o.file, o.game, o.move >= 0 ? std::optional(o.move) : std::nullopt, err, status);
    if (!loaded) return status;
    BoardLogic& board = loaded->board;
    const int total = board.Record().MainLineLength();

    const std::unique_ptr<QGuiApplication> gui = EnsureCliGuiApplication();

    PageRequest request = RecordPageRequest(board, loaded->file.Info());
    request.settings = Settings(o);
    const int pages = PageCount(request.settings, total);

    if (pdf) {
        QPdfWriter writer(QString::fromStdString(o.output));
        setUpPage(writer);
        writer.setTitle(QString::fromStdString(o.file));
        writer.setCreator(QStringLiteral("velmora-cli"));
        if (PrintPages(writer, request, pages) != PrintOutcome::kPrinted) {
            err << "velmora-cli: cannot write " << o.output << "\n";
            return kCliFailed;
        }
        return kCliOk;
    }
    const QDate today = QDate::currentDate();
    const ExportResult result = ExportPages(
        request, pages, ExportFirstPath(o.output, today.year(), today.month(), today.day()));
    if (!result.ok()) {
        err << "velmora-cli: " << result.error << "\n";
        return kCliFailed;
    }
    return kCliOk;
}

}  // namespace velmora
