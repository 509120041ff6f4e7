// Speed of the board picture: a full re-layout (board surface and stone strip rebuilt, back
// buffer composed) and a plain recompose of a late-game position at 1920×1080 and 3840×2160,
// and one single-point change — a move that captures — with the squares it shows.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <memory>

#include "board/BoardCanvas.h"
#include "common/GuiBenchMain.h"
#include "game/SgfFile.h"
#include "skin/ResourceArchive.h"

namespace velmora {
namespace {

// A board showing the sample game at move 150 with every number, drawn by a canvas.
struct Scene {
    BoardLogic logic;
    BoardCanvas canvas{logic};
    SgfFile file;

    Scene(int width, int height) {
        file.SetBoard(&logic);
        file.Open(std::string(VELMORA_TEST_DATA) + "/../../resources/samples/sample.sgf");
        logic.JumpToMove(150);
        logic.SetNumberDisplay(kNumbersAll);
        if (!canvas.LoadImages()) {
            // Without Resource.bk2 flat images still exercise every drawing step.
            Surface wood(512, 512), black(96, 96), white(96, 96);
            wood.Fill(0xD0A050);
            black.Fill(0x101010);
            white.Fill(0xF0F0F0);
            canvas.SetImages(wood, black, white);
        }
        logic.SetView(&canvas);
        canvas.SetClientSize(width, height);
        canvas.Relayout();
    }
    ~Scene() { logic.SetView(nullptr); }
};

void BM_FullRelayout(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    ResourceArchive& archive = ResourceArchive::Instance();
    Surface texture = archive.LoadBitmapFile("image\\Board\\바둑판_01.bmp");
    Surface black = archive.LoadBitmapFile("image\\Board\\흑바둑알_01.bmp");
    Surface white = archive.LoadBitmapFile("image\\Board\\백바둑알_01.bmp");
    if (texture.isNull() || black.isNull() || white.isNull()) {
        texture = scene.canvas.BoardSurface();
        black = white = Surface(96, 96);
    }
    for (auto _ : state) {
        // Setting the images again forces the rebuild a change of cell causes.
        scene.canvas.SetImages(texture, black, white);
        scene.canvas.Relayout();
        benchmark::DoNotOptimize(scene.canvas.BackBuffer().image().constBits());
    }
}
BENCHMARK(BM_FullRelayout)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

void BM_Recompose(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        scene.canvas.Relayout();  // same cell: compose only
        benchmark::DoNotOptimize(scene.canvas.BackBuffer().image().constBits());
    }
}
BENCHMARK(BM_Recompose)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

void BM_CaptureMove(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    BoardLogic& logic = scene.logic;
    logic.SetBoardMode(kModePlay);
    logic.JumpToMove(0);
    // White (1,1) is taken by black (1,2) after black (2,1): three changed squares.
    logic.SetColourToPlay(kBlack);
    logic.PlayMainLineMove(2, 1, true);
    logic.SetColourToPlay(kWhite);
    logic.PlayMainLineMove(1, 1, true);
    for (auto _ : state) {
        logic.SetColourToPlay(kBlack);
        if (!logic.PlayMainLineMove(1, 2, false)) state.SkipWithError("the capture was refused");
        state.PauseTiming();
        logic.StepBack();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureMove)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) { return velmora::RunSkinnedGuiBenchmarks(argc, argv); }
