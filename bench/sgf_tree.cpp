// The record's game tree in and out: a generated tree of 100,000 nodes (a 300-move main line
// with nested branches, comments, marks and set-up nodes, about 1 MB) read from its text and
// written back, and the bytes the tree holds a node.
#include <benchmark/benchmark.h>

#include "../tests/common/GeneratedTree.h"
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

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
