// The record's game tree in and out: a generated tree of 100,000 nodes (a 300-move main line
// with nested branches, comments, marks and set-up nodes, about 1 MB) read from its text and
// written back, and the bytes the tree holds a node.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string_view>

#include "../tests/common/GeneratedTree.h"
#include "game/TreeCursor.h"
#include "record/SgfTree.h"

namespace velmora {
namespace {

const std::string& BigTreeText() {
    static const std::string text =
        test::GeneratedTreeText(test::FixtureGameMoves(VELMORA_TEST_DATA), 100000, 300);
    return text;
}

void BM_ReadBigTree(benchmark::State& state) {
    const std::string& text = BigTreeText();
    std::size_t nodes = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        SgfTreeRead read = ReadSgfTree(text);
        nodes = read.tree.NodeCount();
        bytes = read.tree.MemoryUsed();
        benchmark::DoNotOptimize(read);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["bytes_a_node"] = static_cast<double>(bytes) / static_cast<double>(nodes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadBigTree)->Unit(benchmark::kMillisecond);

void BM_WriteBigTree(benchmark::State& state) {
    const SgfTreeRead read = ReadSgfTree(BigTreeText());
    for (auto _ : state) benchmark::DoNotOptimize(WriteSgfTree(read.tree));
}
BENCHMARK(BM_WriteBigTree)->Unit(benchmark::kMillisecond);

// The deepest node below each of the root's first two main-line branch points, and a jump back
// and forth between them with the position ready (the path between them undone and replayed).
void BM_JumpBetweenDeepLeaves(benchmark::State& state) {
    const SgfTreeRead read = ReadSgfTree(BigTreeText());
    const GameTree& tree = read.tree;
    const auto deepestBelow = [&](NodeId from) {
        NodeId deepest = from;
        int depth = 0;
        std::vector<std::pair<NodeId, int>> stack{{from, 0}};
        while (!stack.empty()) {
            const auto [n, d] = stack.back();
            stack.pop_back();
            if (d > depth) deepest = n, depth = d;
            for (NodeId c = tree.FirstChild(n); c != kNoNode; c = tree.NextSibling(c)) stack.push_back({c, d + 1});
        }
        return deepest;
    };
    // The second move's side branches, and the main line's own end.
    const NodeId second = tree.FirstChild(tree.FirstChild(tree.Root()));
    const NodeId a = deepestBelow(tree.Child(second, 1));
    const NodeId b = tree.LineEnd(tree.Root());
    TreeCursor cursor(tree, 19);
    for (auto _ : state) {
        cursor.GoTo(a);
        cursor.GoTo(b);
        benchmark::DoNotOptimize(cursor.Board().Hash());
    }
    state.counters["path_nodes"] = static_cast<double>(tree.Depth(a) + tree.Depth(b));
}
BENCHMARK(BM_JumpBetweenDeepLeaves)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

// With --write-tree FILE, writes the generated tree's text there instead (for whole-process
// comparisons, bench/cli-vs-node.sh).
int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--write-tree") {
        std::ofstream(argv[2], std::ios::binary) << velmora::BigTreeText();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
