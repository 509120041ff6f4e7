// The tree pane on a generated tree of 100,000 nodes (a 300-move main line with nested
// branches): laying it all out, the layout after an edit, the bytes it holds a node, and a
// frame of a 600×1600 pane painted at device pixel ratio 2 while scrolling.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "../tests/common/GeneratedTree.h"
#include "app/panes/TreePane.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

GameTree& BigTree() {
    static SgfTreeRead read =
        ReadSgfTree(test::GeneratedTreeText(test::FixtureGameMoves(VELMORA_TEST_DATA), 100000, 300));
    return read.tree;
}

void BM_LayOutBigTree(benchmark::State& state) {
    const GameTree& tree = BigTree();
    TreeLayout layout(tree);
    for (auto _ : state) layout.Relayout();
    state.counters["nodes"] = static_cast<double>(tree.NodeCount());
    state.counters["lanes"] = layout.Lanes();
    state.counters["bytes_a_node"] = static_cast<double>(layout.MemoryUsed()) / static_cast<double>(tree.NodeCount());
}
BENCHMARK(BM_LayOutBigTree)->Unit(benchmark::kMillisecond);

// A move played and taken back again (two edits) at the end of the main line (0), as a new
// variation of its 150th move (1), at the end of a variation (2).
void BM_EditAMove(benchmark::State& state) {
    GameTree& tree = BigTree();
    NodeId at = tree.LineEnd(tree.Root());
    if (state.range(0) >= 1) {
        at = tree.Root();
        for (int i = 0; i < 150; ++i) at = tree.FirstChild(at);
    }
    if (state.range(0) == 2) at = tree.LineEnd(tree.Child(at, 1));
    TreeLayout layout(tree);
    for (auto _ : state) {
        const NodeId played = tree.AddNode(at);
        layout.NodeAdded(played);
        tree.Detach(played);
        layout.NodeDetached(played);
    }
}
BENCHMARK(BM_EditAMove)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A variation of the 150th move deleted (it goes back untimed).
void BM_DeleteABranch(benchmark::State& state) {
    GameTree& tree = BigTree();
    NodeId at = tree.Root();
    for (int i = 0; i < 150; ++i) at = tree.FirstChild(at);
    const NodeId branch = tree.Child(at, 1);
    TreeLayout layout(tree);
    for (auto _ : state) {
        tree.Detach(branch);
        layout.NodeDetached(branch);
        state.PauseTiming();
        tree.Attach(branch, at, 1);
        layout.Relayout();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteABranch)->Unit(benchmark::kMicrosecond);

// Frames of a 600×1600 pane at device pixel ratio 2, scrolled a few cells a frame through the
// dense middle of the tree; horizontal (0) and vertical (1).
void BM_PaintScrolling(benchmark::State& state) {
    const GameTree& tree = BigTree();
    TreePane pane;
    pane.resize(600, 1600);
    pane.SetTree(&tree);
    pane.SetOrientation(state.range(0) ? TreeOrientation::kVertical : TreeOrientation::kHorizontal);
    NodeId current = tree.Root();
    for (int i = 0; i < 150; ++i) current = tree.FirstChild(current);
    pane.SetCurrent(current);
    QImage frame(1200, 3200, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    int step = 0;
    for (auto _ : state) {
        const QPoint scroll(140 * TreePane::kCell + (step % 40) * 17, (step % 50) * 23);
        ++step;
        QPainter painter(&frame);
        painter.translate(-scroll);
        pane.Paint(painter, QRect(scroll, QSize(600, 1600)));
    }
}
BENCHMARK(BM_PaintScrolling)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the pane paints of a frame while it scrolls: the pixels still in view move, and only the
// strip scrolled in (a wheel step, 3 cells) is painted; across (0) and down (1), vertical layout.
void BM_PaintScrolledStrip(benchmark::State& state) {
    const GameTree& tree = BigTree();
    TreePane pane;
    pane.resize(600, 1600);
    pane.SetTree(&tree);
    pane.SetOrientation(TreeOrientation::kVertical);
    QImage frame(1200, 3200, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    const int step = 3 * TreePane::kCell;
    int frames = 0;
    for (auto _ : state) {
        const int along = 40 * TreePane::kCell + (frames++ % 200) * step;
        const QRect strip = state.range(0) ? QRect(0, along + 1600 - step, 600, step) : QRect(along + 600 - step, 0, step, 1600);
        QPainter painter(&frame);
        painter.translate(-strip.topLeft());
        pane.Paint(painter, strip);
    }
}
BENCHMARK(BM_PaintScrolledStrip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
