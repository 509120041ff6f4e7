// Speed of printing: one exported picture page of four split diagrams (1500 × 2130), and the
// whole PDF of a 600-move record split by 50 moves, two diagrams to an A4 page (6 pages); a
// book of five such records split by 60 moves (50 diagrams, 26 pages with the contents), plain
// (/0) and with coordinates around every diagram (/1).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>

#include "common/GuiBenchMain.h"
#include "compose/BookComposer.h"
#include "compose/PageComposer.h"
#include "compose/PictureExport.h"
#include "game/BoardLogic.h"
#include "game/SgfFile.h"
#include "record/InfoTexts.h"

namespace velmora {
namespace {

// The long fixture record, loaded once, as a page request.
const PageRequest& Record(int moves, int perPage) {
    static BoardLogic board;
    static SgfFile file;
    static const bool loaded = [] {
        file.SetBoard(&board);
        return file.Open(std::string(VELMORA_TEST_DATA) + "/print/long600.sgf").ok;
    }();
    static PageRequest request;
    if (!loaded) std::abort();
    request.texts = MakePrintTexts(file.Info());
    request.settings = {203, 0, 0, 0, moves, perPage};
    request.diagram = BoardDiagramPainter(board, request.texts[kPrintKomiHandicap]);
    return request;
}

void ExportPage(benchmark::State& state) {
    PageRequest request = Record(50, 4);
    request.width = kExportPageWidth;
    request.height = kExportPageHeight;
    request.output = PageOutput::kPicture;
    QImage page(kExportPageWidth, kExportPageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&page);
        ComposePage(painter, request, 2);
        painter.end();
        benchmark::DoNotOptimize(page.constBits());
    }
}
BENCHMARK(ExportPage)->Unit(benchmark::kMillisecond);

void SplitPdf(benchmark::State& state) {
    const PageRequest& request = Record(50, 2);
    const QString path = QDir::temp().filePath(QStringLiteral("velmora-bench-print.pdf"));
    for (auto _ : state) {
        QPdfWriter writer(path);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(8, 8, 8, 8), QPageLayout::Millimeter));
        writer.setResolution(600);
        if (PrintPages(writer, request, PageCount(request.settings, 600)) != PrintOutcome::kPrinted)
            state.SkipWithError("the PDF could not be written");
    }
    QFile::remove(path);
}
BENCHMARK(SplitPdf)->Unit(benchmark::kMillisecond);

// state.range(0): 1 puts the usual coordinates around every diagram.
void BookPdf(benchmark::State& state) {
    std::vector<BookRecord> records;
    for (int i = 1; i <= 5; ++i) {
        BookRecord record;
        record.name = "long600-" + std::to_string(i) + ".sgf";
        record.request = Record(60, 2);
        if (state.range(0) == 1) record.request.settings.coordinates = DiagramCoordinates::kUsual;
        record.pages = PageCount(record.request.settings, 600);
        records.push_back(record);
    }
    const QString path = QDir::temp().filePath(QStringLiteral("velmora-bench-book.pdf"));
    for (auto _ : state) {
        QPdfWriter writer(path);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(8, 8, 8, 8), QPageLayout::Millimeter));
        writer.setResolution(600);
        if (PrintBook(writer, records) != PrintOutcome::kPrinted)
            state.SkipWithError("the book could not be written");
    }
    QFile::remove(path);
}
BENCHMARK(BookPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) { return velmora::RunGuiBenchmarks(argc, argv); }
