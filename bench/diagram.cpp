// Speed of the diagram composer: a whole-record diagram of a 300-move game at W = 1050, a page
// of four split diagrams (50 moves each) painted into their quarter-page slots, and the plan of
// a 2,000-move ko fight whose list must be drawn small to fit.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "common/GuiBenchMain.h"
#include "compose/DiagramComposer.h"
#include "game/BoardLogic.h"

namespace velmora {
namespace {

// A 300-move game of random legal moves (fixed seed), with its captures and retakes.
const DiagramSource& Game() {
    static const DiagramSource source = [] {
        BoardLogic board;
        std::mt19937 random(20261207);
        std::uniform_int_distribution<int> point(1, 19);
        int colour = kBlack;
        while (board.Record().MainLineLength() < 300) {
            board.SetColourToPlay(colour);
            if (board.ReplayMoveQuiet(point(random), point(random)) == 1) colour = 3 - colour;
        }
        return DiagramSourceFromBoard(board, "6.5/호선");
    }();
    return source;
}

void WholeDiagram(benchmark::State& state) {
    DiagramRequest request;
    request.kind = kComposeWhole;
    request.width = 1050;
    for (auto _ : state) {
        const QImage image = ComposeDiagramImage(Game(), request);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(WholeDiagram)->Unit(benchmark::kMillisecond);

void SplitPage(benchmark::State& state) {
    const int W = 1050;
    const int Hp = 1485;
    const int U = Hp / 10;
    const int s = 2 * (W / 4);
    QImage page(W, Hp, QImage::Format_RGB32);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter painter(&page);
        for (int i = 0; i < 4; ++i) {
            DiagramRequest request;
            request.kind = kComposeSplit;
            request.first = 50 * i;
            request.last = request.first + 50;
            request.width = W;
            const QRectF slot(i % 2 == 0 ? 0 : s, i < 2 ? 1.5 * U : 5.5 * U, s, s + 3 * (s / 21));
            ComposeDiagram(painter, slot, Game(), request);
        }
        painter.end();
        benchmark::DoNotOptimize(page.constBits());
    }
}
BENCHMARK(SplitPage)->Unit(benchmark::kMillisecond);

void LongKoFightPlan(benchmark::State& state) {
    // Every move after the first two retakes one of their points: one list entry each.
    DiagramSource source;
    for (int j = 1; j <= 2000; ++j) {
        MoveRecord m;
        m.x = 10 + j % 2;
        m.y = 10;
        m.colour = j % 2 == 1 ? kBlack : kWhite;
        m.number = j;
        source.moves[j] = m;
    }
    DiagramRequest request;
    request.width = 1050;
    for (auto _ : state) {
        const DiagramPlan plan = PlanDiagram(source, request);
        benchmark::DoNotOptimize(plan.listScale);
    }
}
BENCHMARK(LongKoFightPlan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) { return velmora::RunGuiBenchmarks(argc, argv); }
