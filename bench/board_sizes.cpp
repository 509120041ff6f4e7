// Speed by board size, 9×9 against 19×19: replaying a record through the rules (the read's
// own document replayed each time, so the parse is left out), and a full re-layout of a 4K
// window (board surface and stone strip rebuilt, back buffer composed) at the record's end.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <string>

#include "board/BoardCanvas.h"
#include "common/GuiBenchMain.h"
#include "game/SgfFile.h"
#include "skin/ResourceArchive.h"

namespace velmora {
namespace {

// The record of each size: GNU Go's 9×9 game and the sample's 19×19 one.
std::string RecordOf(int size) {
    return std::string(VELMORA_TEST_DATA) +
           (size == 9 ? "/sizes/gnugo-9-handicap3.sgf" : "/../../resources/samples/sample.sgf");
}

void BM_ReplayRecord(benchmark::State& state) {
    const SgfFile::Loaded loaded = SgfFile::Load(RecordOf(static_cast<int>(state.range(0))));
    BoardLogic logic;
    SgfFile file;
    file.SetBoard(&logic);
    for (auto _ : state) {
        const SgfReadResult result = file.OpenDocument(loaded.document);
        benchmark::DoNotOptimize(result.ok);
    }
    state.counters["moves"] = logic.Record().MainLineLength();
}
BENCHMARK(BM_ReplayRecord)->Arg(9)->Arg(19)->Unit(benchmark::kMicrosecond);

void BM_FullRelayout4K(benchmark::State& state) {
    BoardLogic logic;
    BoardCanvas canvas{logic};
    SgfFile file;
    file.SetBoard(&logic);
    file.Open(RecordOf(static_cast<int>(state.range(0))));
    logic.SetNumberDisplay(kNumbersAll);
    ResourceArchive& archive = ResourceArchive::Instance();
    Surface texture = archive.LoadBitmapFile("image\\Board\\바둑판_01.bmp");
    Surface black = archive.LoadBitmapFile("image\\Board\\흑바둑알_01.bmp");
    Surface white = archive.LoadBitmapFile("image\\Board\\백바둑알_01.bmp");
    if (texture.isNull() || black.isNull() || white.isNull()) {
        // Without Resource.bk2 flat images still exercise every drawing step.
        texture = Surface(512, 512);
        texture.Fill(0xD0A050);
        black = white = Surface(96, 96);
    }
    logic.SetView(&canvas);
    canvas.SetClientSize(3840, 2160);
    for (auto _ : state) {
        // Setting the images again forces the rebuild a change of cell or size causes.
        canvas.SetImages(texture, black, white);
        canvas.Relayout();
        benchmark::DoNotOptimize(canvas.BackBuffer().image().constBits());
    }
    logic.SetView(nullptr);
}
BENCHMARK(BM_FullRelayout4K)->Arg(9)->Arg(19)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) { return velmora::RunSkinnedGuiBenchmarks(argc, argv); }
